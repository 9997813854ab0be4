#include "Engine/GlobalLfo.h"

#include <cmath>

void GlobalLfo::prepare (double newSampleRate, int maximumBlockSize)
{
    sampleRate = newSampleRate;
    blockValues.resize ((size_t) juce::jmax (1, maximumBlockSize));
    blockLength = 0;
}

// The envelope restarts; the phase continues where it was.
void GlobalLfo::retrigger (const BlockSettings& settings) noexcept
{
    envelope.reset();
    active = true;
    envelope.setActive (settings.envelopeOn);

    if (envelope.isActive())
    {
        envelope.start (sampleRate);
        envelope.setParameters (settings.envelope);
    }
}

// The settings, then the envelope, decided once for the block.
void GlobalLfo::startBlock (const BlockSettings& settings) noexcept
{
    waveType = settings.lfo.wave;
    mode = settings.lfo.mode;
    sync = settings.lfo.sync;
    speed = settings.lfo.speed;
    state.mix = settings.lfo.mix;
    rate = settings.lfo.rate;
    state.increment = LfoStep::incrementFor (rate, sampleRate);

    if (settings.followsSong)
    {
        const auto cycles = settings.songBeats / settings.cycleBeats;
        const auto phase = LfoStep::twoPi * (cycles - std::floor (cycles));
        state.phase = phase >= 0.0 && phase < LfoStep::twoPi ? phase : 0.0;
    }

    envelope.setActive (settings.envelopeOn);

    if (! settings.envelopeOn)
        return;

    if (settings.keyDown)
    {
        if (envelope.isIdle() || armed)
            retrigger (settings);

        armed = false;
    }
    else
    {
        armed = true;

        // The envelope keeps running while releases sound, and rests once all are over.
        if (! envelope.isIdle() && ! settings.voicesSounding)
            envelope.reset();
    }
}

double GlobalLfo::nextValue() noexcept
{
    return LfoStep::step<false> (state, envelope.getState(), waveType, envelope.isActive(), true);
}

void GlobalLfo::applyToBuffer (juce::AudioBuffer<float>& buffer, int startSample, int numSamples, const BlockSettings& settings) noexcept
{
    startBlock (settings);

    const int channels = juce::jmin (2, buffer.getNumChannels());
    startSample = juce::jlimit (0, buffer.getNumSamples(), startSample);
    numSamples = juce::jmin (numSamples, buffer.getNumSamples() - startSample);

    float* data[2] = { channels > 0 ? buffer.getWritePointer (0, startSample) : nullptr,
                       channels > 1 ? buffer.getWritePointer (1, startSample) : nullptr };

    for (int i = 0; i < numSamples; ++i)
    {
        const double gain = 1.0 + nextValue();

        for (int c = 0; c < channels; ++c)
            data[c][i] = (float) (data[c][i] * gain);
    }
}

void GlobalLfo::computeBlock (int numSamples, const BlockSettings& settings)
{
    startBlock (settings);
    numSamples = juce::jmax (0, numSamples);

    // Only a host that breaks its announced block size makes this allocate.
    if ((size_t) numSamples > blockValues.size())
        blockValues.resize ((size_t) numSamples);

    for (int i = 0; i < numSamples; ++i)
        blockValues[(size_t) i] = nextValue();

    blockLength = numSamples;
}

const double* GlobalLfo::getBlockValues (int startSample, int numSamples) const noexcept
{
    if (startSample < 0 || numSamples < 0 || startSample + numSamples > blockLength)
        return nullptr;

    return blockValues.data() + startSample;
}
