#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// Stereo feedback delay on the summed output. Synchronised, its time is a whole number of
// sixteenth notes (0 ... 8) at the tempo, from the time setting; free, the time setting
// x 2 s. The mix is the level of the echo added to the dry signal, the feedback how much
// of it goes back in. Swing makes the echoes alternate long and short: every second echo
// stays on the grid of the delay time, the ones between come late by up to a third of it
// (a triplet shuffle at full swing). Audio thread only, once prepared.
class Delay
{
public:
    // What the delay follows, handed in by its owner before each block.
    struct Parameters
    {
        bool sync = true;         // the time is sixteenths of the tempo, else seconds
        float time = 0.0f;        // 0 ... 1
        float mix = 0.0f;
        float feedback = 0.0f;
        double swing = 0.0;       // 0 ... 1
        double tempo = 120.0;     // beats per minute, above 0
    };

    Delay() = default;

    // Sizes the line to four seconds (the longest swung echo pair) and clears it.
    // Allocates: never on the audio thread (the host does not process while it prepares).
    void prepare (double newSampleRate);

    // Empties the line: no echo of what came before.
    void reset() noexcept;

    // The delay time, mix and feedback from the next sample on, without a crossfade.
    void setParameters (const Parameters& newParameters) noexcept;

    // Adds the echo to channels 0 and 1 (channel 0 alone when the buffer has one channel),
    // numSamples samples from startSample. Does nothing before the first prepare or with
    // a delay of 0 (the line then keeps what it holds).
    void process (juce::AudioSampleBuffer& audio, int startSample, int numSamples) noexcept;

    // True while the line holds a sound that an echo has still to play.
    bool holdsSound() const noexcept;

    // The current delay, 0 ... getBufferLength(), in samples.
    int getDelaySamples() const noexcept    { return delaySamples; }

    // How much later than the delay the odd echoes come, in samples; 0 without swing.
    int getSwingSamples() const noexcept    { return swingSamples; }

    // The longest delay in samples: two seconds at the prepared rate.
    int getBufferLength() const noexcept    { return bufferLength; }

private:
    void processEven (float* const* out, int numChannels, int numSamples, int delay) noexcept;
    void processSwung (float* const* out, int numChannels, int numSamples, int delay, int swing) noexcept;
    void noteWrittenPeak (float peak, int numSamples) noexcept;

    Parameters parameters;
    float sampleRate = 0.0f;                    // Hz, single precision
    juce::AudioSampleBuffer buffer;             // the line: 2 channels x lineLength
    int bufferLength = 0;                       // the longest delay: two seconds
    int lineLength = 0;                         // samples per channel: twice bufferLength
    int readIndex = 0, writeIndex = 0;
    int delaySamples = 0;                       // 0 ... bufferLength
    int swingSamples = 0;                       // 0 ... delaySamples / 3
    int samplesSinceSound = 0;                  // since the line was last written above silence

    JUCE_DECLARE_NON_COPYABLE (Delay)
};
