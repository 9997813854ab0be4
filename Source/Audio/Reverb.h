#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

// The last effect on the output: JUCE's reverb, with the feedback setting as its room size,
// the damping as its damping and the mix as its wet level; the width is fixed at 0.5 and
// the dry level at 0.4 (a gain of 0.8), so the direct sound is always passed. Audio thread
// only, once prepared: the parameters reach JUCE's reverb there, between two blocks.
class Reverb
{
public:
    // What the reverb follows, handed in by its owner before each block.
    struct Parameters
    {
        float mix = 0.0f;
        float damping = 0.0f;
        float feedback = 0.0f;

        bool operator== (const Parameters& other) const noexcept
        {
            return mix == other.mix && damping == other.damping && feedback == other.feedback;
        }
    };

    // The engine starts at 44100 Hz with JUCE's default parameters, cleared.
    Reverb();

    // Allocates the engine's lines for the rate and clears them, starting from the
    // parameters last handed in. Never on the audio thread: the host does not process meanwhile.
    void prepare (double sampleRate);

    // Empties the engine's lines.
    void reset() noexcept;

    // JUCE ramps a change over 10 ms from here on; the same values again change nothing.
    void setParameters (const Parameters& newParameters) noexcept;

    // Replaces the samples with JUCE's mix of dry and wet signal.
    void processStereo (float* left, float* right, int numSamples) noexcept;

    // The same for one channel, in the one-channel configuration.
    void processMono (float* samples, int numSamples) noexcept;

    // The parameters the engine runs with.
    juce::Reverb::Parameters getEngineParameters() const noexcept   { return engine->getParameters(); }

private:
    // Fixed, whatever the settings: half width, and a dry level JUCE turns into a gain of 0.8.
    static constexpr float width = 0.5f;
    static constexpr float dryLevel = 0.4f;

    void handOver() noexcept;

    Parameters parameters;
    bool handedOver = false;        // the engine still has JUCE's defaults until the first hand-over
    std::unique_ptr<juce::Reverb> engine;

    JUCE_DECLARE_NON_COPYABLE (Reverb)
};
