#pragma once

#include "Model/RelaxedAtomic.h"

#include <juce_audio_basics/juce_audio_basics.h>

class Velmora;

// Stereo feedback delay on the summed output. Its time is a whole number of sixteenth
// notes (0 ... 8) at the synthesiser's tempo, taken from Delay1Time; Delay1Mix is the
// level of the echo added to the dry signal, Delay1Feedback how much of it goes back in.
// Delay1Sync and Delay1Swing are not read: the time is always tempo-locked and even.
class Delay
{
public:
    // Reads the delay settings and the tempo of this synthesiser. Does nothing until prepared.
    explicit Delay (Velmora& synthesiser);

    // Sizes the line to two seconds and clears it. Allocates: never on the audio thread
    // (the host does not process while it prepares).
    void prepare (double newSampleRate);

    // Reads the delay settings and the tempo. Any thread; takes no lock, the new delay
    // takes effect at the next block, without a crossfade.
    void updateSettings() noexcept;

    // Audio thread: adds the echo to channels 0 and 1 (channel 0 alone when the buffer
    // has one channel), numSamples samples from startSample. Does nothing before the first
    // prepare or with a delay of 0.
    void process (juce::AudioSampleBuffer& audio, int startSample, int numSamples) noexcept;

    // The current delay, 0 ... the line's length, in samples.
    int getDelaySamples() const noexcept    { return delaySamples; }

    // Samples per channel of the line: two seconds at the prepared rate.
    int getBufferLength() const noexcept    { return bufferLength; }

private:
    Velmora& synthesiser;
    RelaxedAtomic<float> mix, time, feedback;
    RelaxedAtomic<float> sampleRate;            // Hz, single precision
    juce::AudioSampleBuffer buffer;             // the line: 2 channels x bufferLength
    RelaxedAtomic<int> bufferLength;            // samples per channel: two seconds
    int readIndex = 0, writeIndex = 0;          // audio thread only (and prepare)
    RelaxedAtomic<int> delaySamples;            // 0 ... bufferLength

    JUCE_DECLARE_NON_COPYABLE (Delay)
};
