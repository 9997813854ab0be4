#include "Engine/Filter.h"

Filter::Filter()
{
    envelope.setActive (false);
}

Filter::~Filter() = default;

void Filter::reset()
{
    envelope.reset();
}

void Filter::set (float newCutoff, float newResonance)
{
    cutoff = newCutoff;
    setResonance (newResonance);
    setCutoff (newCutoff);
}

void Filter::setResonance (float newResonance)
{
    resonance = newResonance;
}

void Filter::setSampleRate (float newSampleRate)
{
    sampleRate = newSampleRate;
}

void Filter::process (juce::AudioBuffer<float>&, int, int)
{
}

void Filter::setCutoff (float)
{
}

void Filter::startNote (float newSampleRate, int newType, float newCutoff, float newResonance)
{
    setSampleRate (newSampleRate);
    type = newType;
    cutoff = newCutoff;
    setResonance (newResonance);
}
