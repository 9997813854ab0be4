#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// The synthesiser's single sound: every note on every channel.
struct OscillatorSound : public juce::SynthesiserSound
{
    bool appliesToNote (int midiNoteNumber) override;
    bool appliesToChannel (int midiChannel) override;
};
