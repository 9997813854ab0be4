#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// The built-in phrases the renderer plays instead of a MIDI file (--phrase), with
// timestamps in seconds:
//   audition: what every factory program is judged by, at the demo song's tempo: a low
//             note (C2), a chord (C3 E3 G3 B3), a short melody whose last note is held,
//             and one sweep of the modulation wheel (controller 1) up and back during it;
//   held16:   16 notes struck together and held, the bank's speed check.
namespace AuditionPhrase
{
    constexpr double bpm = 100.0;

    // The phrase of that name, or an empty sequence for a name that is none.
    juce::MidiMessageSequence get (const juce::String& name);

    // The names --phrase takes.
    juce::StringArray getNames();

    juce::MidiMessageSequence audition();
    juce::MidiMessageSequence heldNotes (int numNotes, double seconds);

    // Where the audition's parts lie, in seconds.
    constexpr double secondsPerBeat = 60.0 / bpm;
    constexpr double lowNoteStart = 0.0,   lowNoteEnd = 2.0 * secondsPerBeat;
    constexpr double chordStart = 3.0 * secondsPerBeat, chordEnd = 7.0 * secondsPerBeat;
    constexpr double melodyStart = 8.0 * secondsPerBeat, melodyEnd = 15.0 * secondsPerBeat;
    constexpr int lowNote = 36;
}
