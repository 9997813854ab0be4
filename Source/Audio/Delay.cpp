#include "Audio/Delay.h"
#include "Engine/Velmora.h"

#include <cmath>

namespace
{
    // The longest delay, in seconds.
    constexpr int longestDelaySeconds = 2;

    // Samples per sixteenth note: 60 / tempo x sample rate x this.
    constexpr double secondsPerMinute = 60.0;
    constexpr double beatsPerSixteenth = 0.25;

    // The time setting 0 ... 1 spans this many sixteenths.
    constexpr float maximumSixteenths = 8.0f;
}

Delay::Delay (Velmora& synthesiserToUse)
    : synthesiser (synthesiserToUse)
{
}

void Delay::prepare (double newSampleRate)
{
    sampleRate = (float) newSampleRate;
    bufferLength = (int) sampleRate.load() * longestDelaySeconds;

    // Swung echoes come in pairs fed back once per pair: twice the longest delay.
    lineLength = 2 * bufferLength.load();

    buffer.setSize (0, 0);
    buffer.setSize (2, lineLength);
    buffer.clear();

    readIndex = 0;
    writeIndex = 0;

    updateSettings();
}

void Delay::updateSettings() noexcept
{
    const auto& settings = synthesiser.settings;
    mix = (float) settings.Delay1Mix;
    time = (float) settings.Delay1Time;
    feedback = (float) settings.Delay1Feedback;

    const int longest = bufferLength;
    double requested;

    if (settings.Delay1Sync)
    {
        const auto samplesPerSixteenth = std::trunc (secondsPerMinute / synthesiser.tempo * (double) sampleRate.load() * beatsPerSixteenth);
        const auto sixteenths = std::trunc (time.load() * maximumSixteenths);
        requested = samplesPerSixteenth * (double) sixteenths;
    }
    else
    {
        // Free: the time setting spans the whole line, 0 ... 2 s, to the nearest sample.
        requested = std::round ((double) time.load() * longest);
    }

    // Values only a host can send (negative, huge or not a number) stay inside the line.
    const int delay = requested > 0.0 ? (int) juce::jmin ((double) longest, requested) : 0;

    // Full swing delays the odd echoes by a third of the delay: a triplet shuffle.
    const double swing = settings.Delay1Swing;
    const double limitedSwing = swing > 0.0 ? juce::jmin (1.0, swing) : 0.0;

    delaySamples = delay;
    swingSamples = (int) std::round (delay * limitedSwing / 3.0);
}

void Delay::process (juce::AudioSampleBuffer& audio, int startSample, int numSamples) noexcept
{
    const int delay = juce::jmin ((int) delaySamples, (int) bufferLength);
    const int numChannels = juce::jmin (2, audio.getNumChannels(), buffer.getNumChannels());
    numSamples = juce::jmin (numSamples, audio.getNumSamples() - startSample);

    if (delay <= 0 || numChannels == 0 || numSamples <= 0)
        return;

    float* out[2] = { audio.getWritePointer (0, startSample), nullptr };

    if (numChannels > 1)
        out[1] = audio.getWritePointer (1, startSample);

    // The swing was computed with the delay; a block between two updates keeps it in range.
    const int swing = juce::jlimit (0, delay, (int) swingSamples);

    if (swing == 0)
        processEven (out, numChannels, numSamples, delay);
    else
        processSwung (out, numChannels, numSamples, delay, swing);
}

void Delay::processEven (float* const* out, int numChannels, int numSamples, int delay) noexcept
{
    const int length = lineLength;
    const float blockMix = mix;
    const float blockFeedback = feedback;
    float* line[2] = { buffer.getWritePointer (0), buffer.getWritePointer (1) };

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
            line[channel][writeIndex] = out[channel][i] + delayed * blockFeedback;
            out[channel][i] = out[channel][i] + delayed * blockMix;
        }

        ++writeIndex;
    }
}

// Echo k comes at k x delay for even k and swing samples later than (k - 1) x delay + delay
// for odd k, at mix x feedback^(k - 1). The line holds the input plus itself two delays
// earlier times feedback squared; the odd echoes are read from it delay + swing back, the
// even ones two delays back, one feedback step lower.
void Delay::processSwung (float* const* out, int numChannels, int numSamples, int delay, int swing) noexcept
{
    const int length = lineLength;
    const float blockMix = mix;
    const float blockFeedback = feedback;
    const float pairFeedback = blockFeedback * blockFeedback;
    const int oddDelay = delay + swing;
    const int evenDelay = 2 * delay;
    float* line[2] = { buffer.getWritePointer (0), buffer.getWritePointer (1) };

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
            line[channel][writeIndex] = out[channel][i] + even * pairFeedback;
            out[channel][i] = out[channel][i] + (odd + even * blockFeedback) * blockMix;
        }

        ++writeIndex;
    }
}
