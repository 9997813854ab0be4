#include "Engine/GlobalLfo.h"

#include <cmath>

void GlobalLfo::prepare (double newSampleRate, int maximumBlockSize)
{
    sampleRate = newSampleRate;
    blockValues.resize ((size_t) juce::jmax (1, maximumBlockSize));
    blockLength = 0;
}

// The settings, then the envelope, decided once for the block.
void GlobalLfo::startBlock (const BlockSettings& settings) noexcept
{
    refresh (settings.lfo);

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
        {
            active = true;
            restartEnvelope (true, settings.envelope);
        }

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
