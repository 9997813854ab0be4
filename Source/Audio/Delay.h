#pragma once

#include "Model/RelaxedAtomic.h"

#include <juce_audio_basics/juce_audio_basics.h>

class Velmora;

// Stereo feedback delay on the summed output. With Delay1Sync on its time is a whole
// number of sixteenth notes (0 ... 8) at the synthesiser's tempo, taken from Delay1Time;
// with it off the time is Delay1Time x 2 s. Delay1Mix is the level of the echo added to
// the dry signal, Delay1Feedback how much of it goes back in. Delay1Swing makes the echoes
// alternate long and short: every second echo stays on the grid of the delay time, the
// ones between come late by up to a third of it (a triplet shuffle at full swing).
class Delay
{
public:
    // Reads the delay settings and the tempo of this synthesiser. Does nothing until prepared.
    explicit Delay (Velmora& synthesiser);

    // Sizes the line to four seconds (the longest swung echo pair) and clears it. Allocates: never on the audio thread
    // (the host does not process while it prepares).
    void prepare (double newSampleRate);

    // Reads the delay settings and the tempo. Any thread; takes no lock, the new delay
    // takes effect at the next block, without a crossfade.
    void updateSettings() noexcept;

    // Audio thread: adds the echo to channels 0 and 1 (channel 0 alone when the buffer
    // has one channel), numSamples samples from startSample. Does nothing before the first
    // prepare or with a delay of 0.
    void process (juce::AudioSampleBuffer& audio, int startSample, int numSamples) noexcept;

    // The current delay, 0 ... getBufferLength(), in samples.
    int getDelaySamples() const noexcept    { return delaySamples; }

    // How much later than the delay the odd echoes come, in samples; 0 without swing.
    int getSwingSamples() const noexcept    { return swingSamples; }

    // The longest delay in samples: two seconds at the prepared rate.
    int getBufferLength() const noexcept    { return bufferLength; }

private:
    void processEven (float* const* out, int numChannels, int numSamples, int delay) noexcept;
    void processSwung (float* const* out, int numChannels, int numSamples, int delay, int swing) noexcept;

    Velmora& synthesiser;
    RelaxedAtomic<float> mix, time, feedback;
    RelaxedAtomic<float> sampleRate;            // Hz, single precision
    juce::AudioSampleBuffer buffer;             // the line: 2 channels x lineLength
    RelaxedAtomic<int> bufferLength;            // the longest delay: two seconds
    RelaxedAtomic<int> lineLength;              // samples per channel: twice bufferLength
    int readIndex = 0, writeIndex = 0;          // audio thread only (and prepare)
    RelaxedAtomic<int> delaySamples;            // 0 ... bufferLength
    RelaxedAtomic<int> swingSamples;            // 0 ... delaySamples / 3

    JUCE_DECLARE_NON_COPYABLE (Delay)
};
