#include "Audio/Reverb.h"

Reverb::Reverb()
    : engine (std::make_unique<juce::Reverb>())
{
    engine->reset();
}

// The engine resets its ramps to the values it was last given: they are handed over first.
void Reverb::prepare (double sampleRate)
{
    handOver();
    engine->setSampleRate (sampleRate);
}

void Reverb::reset() noexcept
{
    engine->reset();
}

void Reverb::setParameters (const Parameters& newParameters) noexcept
{
    if (handedOver && newParameters == parameters)
        return;

    parameters = newParameters;
    handOver();
}

void Reverb::handOver() noexcept
{
    juce::Reverb::Parameters engineParameters;
    engineParameters.width = width;
    engineParameters.dryLevel = dryLevel;
    engineParameters.roomSize = parameters.feedback;
    engineParameters.damping = parameters.damping;
    engineParameters.wetLevel = parameters.mix;
    engineParameters.freezeMode = 0.0f;
    engine->setParameters (engineParameters);
    handedOver = true;
}

void Reverb::processStereo (float* left, float* right, int numSamples) noexcept
{
    engine->processStereo (left, right, numSamples);
}

void Reverb::processMono (float* samples, int numSamples) noexcept
{
    engine->processMono (samples, numSamples);
}
