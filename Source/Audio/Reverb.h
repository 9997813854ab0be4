#pragma once

#include "Model/RelaxedAtomic.h"

#include <juce_audio_basics/juce_audio_basics.h>

class Velmora;

// The last effect on the output: JUCE's reverb, with Reverb1Feedback as its room size,
// Reverb1Damping as its damping and Reverb1Mix as its wet level; the width is fixed at
// 0.5 and the dry level at 0.4 (a gain of 0.8), so the direct sound is always passed.
//
// JUCE's reverb must not be written while it processes. Settings therefore travel in
// atomics and the audio thread hands them to the engine at the start of its next block;
// the lock keeps settings updates and sample-rate changes apart and is never taken on
// the audio thread.
class Reverb
{
public:
    // Reads the reverb settings of this synthesiser; the engine starts at 44100 Hz, cleared.
    explicit Reverb (Velmora& synthesiser);

    // Reads the reverb settings. Any thread but the audio thread.
    void updateSettings();

    // Allocates the engine's lines for the rate and clears them; hands the settings
    // over at once. Never on the audio thread: the host does not process meanwhile.
    void setSampleRate (double sampleRate);

    // Audio thread: replaces the samples with JUCE's mix of dry and wet signal.
    void processStereo (float* left, float* right, int numSamples) noexcept;

    // Audio thread: the same for one channel, in the one-channel configuration.
    void processMono (float* samples, int numSamples) noexcept;

    // The parameters the engine runs with; read only while no block is being processed.
    juce::Reverb::Parameters getEngineParameters() const noexcept   { return engine->getParameters(); }

private:
    void applyPendingParameters() noexcept;

    // Fixed, whatever the settings: half width, and a dry level JUCE turns into a gain of 0.8.
    static constexpr float width = 0.5f;
    static constexpr float dryLevel = 0.4f;

    Velmora& synthesiser;
    float mix = 0.0f, damping = 0.0f, feedback = 0.0f;        // under lock
    std::unique_ptr<juce::Reverb> engine;
    juce::Reverb::Parameters reverbParameters;                 // under lock: the values last handed over
    juce::CriticalSection lock;

    // Handed from updateSettings to the audio thread.
    RelaxedAtomic<float> pendingRoomSize, pendingDamping, pendingWetLevel;
    std::atomic<bool> parametersPending { false };

    JUCE_DECLARE_NON_COPYABLE (Reverb)
};
