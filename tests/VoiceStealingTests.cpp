#include "Engine/VoiceStealing.h"

#include <gtest/gtest.h>

// The one-pass choice of a voice to take over agrees with JUCE's own choice in every
// state a long random performance reaches: notes held, released, held by the sustain
// pedal, and played again.
namespace
{
    struct AnySound : public juce::SynthesiserSound
    {
        bool appliesToNote (int) override       { return true; }
        bool appliesToChannel (int) override    { return true; }
    };

    // Sounds until stopped without a tail; stopped with one it rings on, released.
    struct RingingVoice : public juce::SynthesiserVoice
    {
        bool canPlaySound (juce::SynthesiserSound*) override                        { return true; }
        void startNote (int, float, juce::SynthesiserSound*, int) override         {}
        void stopNote (float, bool allowTailOff) override                           { if (! allowTailOff) clearCurrentNote(); }
        void pitchWheelMoved (int) override                                         {}
        void controllerMoved (int, int) override                                    {}
        void renderNextBlock (juce::AudioBuffer<float>&, int, int) override         {}
    };

    struct ComparingSynth : public juce::Synthesiser
    {
        juce::SynthesiserVoice* juceChoice (juce::SynthesiserSound* sound, int note) const
        {
            return juce::Synthesiser::findVoiceToSteal (sound, 1, note);
        }

        juce::SynthesiserVoice* onePassChoice (juce::SynthesiserSound* sound, int note) const
        {
            return VoiceStealing::chooseVoice (voices, sound, note);
        }
    };
}

TEST (VoiceStealing, ChoosesTheVoiceJuceChoosesInEveryStateOfALongPerformance)
{
    ComparingSynth synth;
    auto* sound = new AnySound();
    synth.addSound (sound);

    for (int i = 0; i < 12; ++i)
        synth.addVoice (new RingingVoice());

    synth.setNoteStealingEnabled (true);
    juce::Random random (20261210);
    int comparisons = 0;

    for (int event = 0; event < 5000; ++event)
    {
        const int note = 40 + random.nextInt (24);
        const int what = random.nextInt (100);

        if (what < 55)
            synth.noteOn (1, note, 0.8f);
        else if (what < 90)
            synth.noteOff (1, note, 0.0f, random.nextBool());
        else if (what < 97)
            synth.handleSustainPedal (1, random.nextBool());
        else
            synth.allNotesOff (1, random.nextBool());

        bool allSounding = true;

        for (int v = 0; v < synth.getNumVoices(); ++v)
            allSounding = allSounding && synth.getVoice (v)->isVoiceActive();

        if (! allSounding)
            continue;

        for (int candidate = 38; candidate < 66; ++candidate)
        {
            ASSERT_EQ (synth.onePassChoice (sound, candidate), synth.juceChoice (sound, candidate)) << "event " << event << ", note " << candidate;
            ++comparisons;
        }
    }

    EXPECT_GT (comparisons, 10000);
}
