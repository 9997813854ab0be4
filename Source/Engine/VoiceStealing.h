#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// The voice a new note takes over when every voice sounds, chosen as JUCE's Synthesiser
// chooses it, in one pass over the voices instead of a sort per voice (which costs
// milliseconds when a hundred notes arrive at once): the oldest voice playing the same
// note; else the oldest released voice, then the oldest without a key held, then the
// oldest of the rest, sparing the lowest and the highest held notes; else the highest of
// those two, or the lowest. Voices start at distinct times, so "oldest" is unambiguous.
namespace VoiceStealing
{
    template <typename Voices>
    juce::SynthesiserVoice* chooseVoice (const Voices& voices, juce::SynthesiserSound* sound, int midiNoteNumber) noexcept
    {
        using Voice = juce::SynthesiserVoice;

        // The notes to spare: lowest and highest not yet released (the first of equals).
        Voice* low = nullptr;
        Voice* top = nullptr;
        Voice* sameNote = nullptr;

        const auto older = [] (Voice* candidate, Voice* best) { return best == nullptr || candidate->wasStartedBefore (*best); };

        for (auto* voice : voices)
        {
            if (! voice->canPlaySound (sound))
                continue;

            if (! voice->isPlayingButReleased())
            {
                const auto note = voice->getCurrentlyPlayingNote();

                if (low == nullptr || note < low->getCurrentlyPlayingNote())
                    low = voice;

                if (top == nullptr || note > top->getCurrentlyPlayingNote())
                    top = voice;
            }

            if (voice->getCurrentlyPlayingNote() == midiNoteNumber && older (voice, sameNote))
                sameNote = voice;
        }

        if (sameNote != nullptr)
            return sameNote;

        // With one note held it is spared as the lowest alone.
        if (top == low)
            top = nullptr;

        Voice* released = nullptr;
        Voice* keyUp = nullptr;
        Voice* unprotected = nullptr;

        for (auto* voice : voices)
        {
            if (! voice->canPlaySound (sound) || voice == low || voice == top)
                continue;

            if (voice->isPlayingButReleased() && older (voice, released))
                released = voice;

            if (! voice->isKeyDown() && older (voice, keyUp))
                keyUp = voice;

            if (older (voice, unprotected))
                unprotected = voice;
        }

        for (auto* choice : { released, keyUp, unprotected, top })
            if (choice != nullptr)
                return choice;

        return low;
    }
}
