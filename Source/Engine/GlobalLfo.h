#pragma once

#include "Engine/Lfo.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

// The one free-running LFO: on the amplitude it scales the summed output; on the pitch or
// the filter every voice follows it, from values computed once per block before the
// voices render. Its envelope restarts at a key press after a block with no key down (or
// once it has come to rest) and comes to rest when every voice has ended. When it
// follows the tempo and the host plays, its phase follows the song position: one cycle
// per note value from the song's start. Its owner hands it its settings at each block.
class GlobalLfo : public Lfo
{
public:
    // A block's settings, and what the owner knows of the keys, the voices and the song.
    struct BlockSettings
    {
        LfoSettings lfo;
        bool envelopeOn = false;
        Envelope::Parameters envelope;
        bool keyDown = false;                 // a key is down, or pressed in the block
        bool voicesSounding = false;          // some voice still sounds
        bool followsSong = false;             // the song position says where the cycle is
        double songBeats = 0.0;               // the song position in beats (quarter notes)
        double cycleBeats = 1.0;              // the note value of a cycle, in beats
    };

    GlobalLfo() = default;

    // The sample rate, and room for the values of blocks up to this length. Allocates.
    void prepare (double newSampleRate, int maximumBlockSize);

    // Each sample of channels 0 and 1 (channel 0 alone in a one-channel buffer) times
    // 1 + the LFO's value, numSamples samples from startSample.
    void applyToBuffer (juce::AudioBuffer<float>& buffer, int startSample, int numSamples, const BlockSettings& settings) noexcept;

    // The values of a block for the voices to follow; allocates only for a block longer
    // than prepared. getBlockValues gives those of samples startSample ... startSample +
    // numSamples - 1, or null when the last block had fewer.
    void computeBlock (int numSamples, const BlockSettings& settings);
    const double* getBlockValues (int startSample, int numSamples) const noexcept;

private:
    void startBlock (const BlockSettings& settings) noexcept;

    bool armed = true;                   // the next key press restarts the envelope
    std::vector<double> blockValues;     // the values of the last block
    int blockLength = 0;                 // how many of them were computed

    JUCE_DECLARE_NON_COPYABLE (GlobalLfo)
};
