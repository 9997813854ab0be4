#include "Audio/Reverb.h"
#include "Engine/Velmora.h"

Reverb::Reverb (Velmora& synthesiserToUse)
    : synthesiser (synthesiserToUse),
      engine (std::make_unique<juce::Reverb>())
{
    engine->reset();
}

void Reverb::updateSettings()
{
    const juce::ScopedLock sl (lock);

    const auto& settings = synthesiser.settings;
    mix = (float) settings.Reverb1Mix;
    damping = (float) settings.Reverb1Damping;
    feedback = (float) settings.Reverb1Feedback;

    reverbParameters.width = width;
    reverbParameters.dryLevel = dryLevel;
    reverbParameters.roomSize = feedback;
    reverbParameters.damping = damping;
    reverbParameters.wetLevel = mix;

    pendingRoomSize = reverbParameters.roomSize;
    pendingDamping = reverbParameters.damping;
    pendingWetLevel = reverbParameters.wetLevel;
    parametersPending.store (true, std::memory_order_release);
}

// The host does not process while it prepares, so the engine may be written here.
void Reverb::setSampleRate (double sampleRate)
{
    const juce::ScopedLock sl (lock);

    // The engine resets its ramps to the values it was last given: hand them over first.
    applyPendingParameters();
    engine->setSampleRate (sampleRate);

    updateSettings();
    applyPendingParameters();
}

// A block that raced an update may start with a mixture of old and new values; the
// update raised the flag again, so the next block corrects it.
void Reverb::applyPendingParameters() noexcept
{
    if (! parametersPending.exchange (false, std::memory_order_acquire))
        return;

    juce::Reverb::Parameters parameters;
    parameters.width = width;
    parameters.dryLevel = dryLevel;
    parameters.roomSize = pendingRoomSize;
    parameters.damping = pendingDamping;
    parameters.wetLevel = pendingWetLevel;
    parameters.freezeMode = 0.0f;
    engine->setParameters (parameters);   // JUCE ramps the change over 10 ms
}

void Reverb::processStereo (float* left, float* right, int numSamples) noexcept
{
    applyPendingParameters();
    engine->processStereo (left, right, numSamples);
}

void Reverb::processMono (float* samples, int numSamples) noexcept
{
    applyPendingParameters();
    engine->processMono (samples, numSamples);
}
