#include "Audio/Delay.h"
#include "Engine/Velmora.h"

#include <cmath>

namespace
{
    // The line holds this many seconds.
    constexpr int lineSeconds = 2;

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
    bufferLength = (int) sampleRate.load() * lineSeconds;

    buffer.setSize (0, 0);
    buffer.setSize (2, bufferLength);
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

    const auto samplesPerSixteenth = std::trunc (secondsPerMinute / synthesiser.tempo * (double) sampleRate.load() * beatsPerSixteenth);
    const auto sixteenths = std::trunc (time.load() * maximumSixteenths);
    const auto requested = samplesPerSixteenth * (double) sixteenths;

    // Values only a host can send (negative, huge or not a number) stay inside the line.
    delaySamples = requested > 0.0 ? (int) juce::jmin ((double) bufferLength.load(), requested) : 0;
}

void Delay::process (juce::AudioSampleBuffer& audio, int startSample, int numSamples) noexcept
{
    const int length = bufferLength;
    const int delay = juce::jmin ((int) delaySamples, length);
    const int numChannels = juce::jmin (2, audio.getNumChannels(), buffer.getNumChannels());
    numSamples = juce::jmin (numSamples, audio.getNumSamples() - startSample);

    if (delay <= 0 || numChannels == 0 || numSamples <= 0)
        return;

    const float blockMix = mix;
    const float blockFeedback = feedback;

    float* out[2] = { audio.getWritePointer (0, startSample), nullptr };
    float* line[2] = { buffer.getWritePointer (0), buffer.getWritePointer (1) };

    if (numChannels > 1)
        out[1] = audio.getWritePointer (1, startSample);

    for (int i = 0; i < numSamples; ++i)
    {
        if (writeIndex >= length)
            writeIndex = 0;

        readIndex = writeIndex - delay;

        if (readIndex < 0)
            readIndex += length;

        // The delayed sample is read before the new one is stored, so a delay of the
        // whole line still yields the sample stored two seconds earlier.
        for (int channel = 0; channel < numChannels; ++channel)
        {
            const float delayed = line[channel][readIndex];
            line[channel][writeIndex] = out[channel][i] + delayed * blockFeedback;
            out[channel][i] = out[channel][i] + delayed * blockMix;
        }

        ++writeIndex;
    }
}
