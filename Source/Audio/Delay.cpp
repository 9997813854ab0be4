#include "Audio/Delay.h"

#include <cmath>
#include <limits>

namespace
{
    // The longest delay, in seconds.
    constexpr int longestDelaySeconds = 2;

    // Samples per sixteenth note: 60 / tempo x sample rate x this.
    constexpr double secondsPerMinute = 60.0;
    constexpr double beatsPerSixteenth = 0.25;

    // The time setting 0 ... 1 spans this many sixteenths.
    constexpr float maximumSixteenths = 8.0f;

    // An echo below this adds silence (-100 dB).
    constexpr float silenceLevel = 1.0e-5f;
    constexpr int longAgo = std::numeric_limits<int>::max() / 2;
}

void Delay::prepare (double newSampleRate)
{
    sampleRate = (float) newSampleRate;
    bufferLength = (int) sampleRate * longestDelaySeconds;

    // Swung echoes come in pairs fed back once per pair: twice the longest delay.
    lineLength = 2 * bufferLength;

    buffer.setSize (0, 0);
    buffer.setSize (2, lineLength);
    reset();
    setParameters (parameters);
}

void Delay::reset() noexcept
{
    buffer.clear();
    readIndex = 0;
    writeIndex = 0;
    samplesSinceSound = longAgo;
}

void Delay::setParameters (const Parameters& newParameters) noexcept
{
    parameters = newParameters;
    const auto time = parameters.time;
    double requested;

    if (parameters.sync)
    {
        const auto samplesPerSixteenth = std::trunc (secondsPerMinute / parameters.tempo * (double) sampleRate * beatsPerSixteenth);
        const auto sixteenths = std::trunc (time * maximumSixteenths);
        requested = samplesPerSixteenth * (double) sixteenths;
    }
    else
    {
        // Free: the time setting spans the whole line, 0 ... 2 s, to the nearest sample.
        requested = std::round ((double) time * bufferLength);
    }

    // Values only a host can send (negative, huge or not a number) stay inside the line.
    const int delay = requested > 0.0 ? (int) juce::jmin ((double) bufferLength, requested) : 0;

    // Full swing delays the odd echoes by a third of the delay: a triplet shuffle.
    const double swing = parameters.swing;
    const double limitedSwing = swing > 0.0 ? juce::jmin (1.0, swing) : 0.0;

    delaySamples = delay;
    swingSamples = (int) std::round (delay * limitedSwing / 3.0);
}

bool Delay::holdsSound() const noexcept
{
    // The farthest back an echo reads: the delay, or two delays with swing.
    const int reach = swingSamples > 0 ? 2 * delaySamples : delaySamples;
    return delaySamples > 0 && samplesSinceSound < reach;
}

void Delay::process (juce::AudioSampleBuffer& audio, int startSample, int numSamples) noexcept
{
    const int delay = juce::jmin (delaySamples, bufferLength);
    const int numChannels = juce::jmin (2, audio.getNumChannels(), buffer.getNumChannels());
    numSamples = juce::jmin (numSamples, audio.getNumSamples() - startSample);

    if (delay <= 0 || numChannels == 0 || numSamples <= 0)
        return;

    float* out[2] = { audio.getWritePointer (0, startSample), nullptr };

    if (numChannels > 1)
        out[1] = audio.getWritePointer (1, startSample);

    if (swingSamples == 0)
        processEven (out, numChannels, numSamples, delay);
    else
        processSwung (out, numChannels, numSamples, delay, swingSamples);
}

// Counted per block: an audible sample anywhere in it counts as written at its end.
void Delay::noteWrittenPeak (float peak, int numSamples) noexcept
{
    const bool audible = peak * std::abs (parameters.mix) > silenceLevel;
    samplesSinceSound = audible ? 0 : juce::jmin (longAgo, samplesSinceSound + numSamples);
}

void Delay::processEven (float* const* out, int numChannels, int numSamples, int delay) noexcept
{
    const int length = lineLength;
    const float blockMix = parameters.mix;
    const float blockFeedback = parameters.feedback;
    float* line[2] = { buffer.getWritePointer (0), buffer.getWritePointer (1) };
    float peak = 0.0f;

    for (int i = 0; i < numSamples; ++i)
    {
        if (writeIndex >= length)
            writeIndex = 0;

        readIndex = writeIndex - delay;

        if (readIndex < 0)
            readIndex += length;

        // The delayed sample is read before the new one is stored, so a delay of the
        // whole line still yields the sample stored that long ago.
        for (int channel = 0; channel < numChannels; ++channel)
        {
            const float delayed = line[channel][readIndex];
            const float written = out[channel][i] + delayed * blockFeedback;
            line[channel][writeIndex] = written;
            peak = juce::jmax (peak, std::abs (written));
            out[channel][i] = out[channel][i] + delayed * blockMix;
        }

        ++writeIndex;
    }

    noteWrittenPeak (peak, numSamples);
}

// Echo k comes at k x delay for even k and swing samples later than (k - 1) x delay + delay
// for odd k, at mix x feedback^(k - 1). The line holds the input plus itself two delays
// earlier times feedback squared; the odd echoes are read from it delay + swing back, the
// even ones two delays back, one feedback step lower.
void Delay::processSwung (float* const* out, int numChannels, int numSamples, int delay, int swing) noexcept
{
    const int length = lineLength;
    const float blockMix = parameters.mix;
    const float blockFeedback = parameters.feedback;
    const float pairFeedback = blockFeedback * blockFeedback;
    const int oddDelay = delay + swing;
    const int evenDelay = 2 * delay;
    float* line[2] = { buffer.getWritePointer (0), buffer.getWritePointer (1) };
    float peak = 0.0f;

    for (int i = 0; i < numSamples; ++i)
    {
        if (writeIndex >= length)
            writeIndex = 0;

        readIndex = writeIndex - oddDelay;

        if (readIndex < 0)
            readIndex += length;

        int evenIndex = writeIndex - evenDelay;

        if (evenIndex < 0)
            evenIndex += length;

        for (int channel = 0; channel < numChannels; ++channel)
        {
            const float odd = line[channel][readIndex];
            const float even = line[channel][evenIndex];
            const float written = out[channel][i] + even * pairFeedback;
            line[channel][writeIndex] = written;
            peak = juce::jmax (peak, std::abs (written));
            out[channel][i] = out[channel][i] + (odd + even * blockFeedback) * blockMix;
        }

        ++writeIndex;
    }

    noteWrittenPeak (peak, numSamples);
}
