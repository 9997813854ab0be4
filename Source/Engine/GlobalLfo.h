#pragma once

#include "Engine/Envelope.h"
#include "Engine/LfoStep.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

// The one free-running LFO: on the amplitude it scales the summed output; on the pitch or
// the filter every voice follows it, from values computed once per block before the
// voices render. Its envelope restarts at a key press after a block with no key down (or
// once it has come to rest) and comes to rest when every voice has ended. When the LFO
// follows the tempo and the host plays, its phase follows the song position: one cycle
// per note value from the song's start. Its owner hands it its settings at each block.
// Audio thread only, once prepared.
class GlobalLfo
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

    // The LFO over channels 0 and 1 (channel 0 alone in a one-channel buffer), numSamples
    // samples from startSample: each sample times 1 + the LFO's value.
    void applyToBuffer (juce::AudioBuffer<float>& buffer, int startSample, int numSamples, const BlockSettings& settings) noexcept;

    // The values of a block for the voices to follow. Allocates only for a block longer
    // than prepared.
    void computeBlock (int numSamples, const BlockSettings& settings);

    // The values computed for samples startSample ... startSample + numSamples - 1 of the
    // last block, or null when the last block had fewer.
    const double* getBlockValues (int startSample, int numSamples) const noexcept;

    // Hz, and radians per sample.
    double getRate() const noexcept                { return rate; }
    double getPhaseIncrement() const noexcept      { return state.increment; }

    // Radians, 0 <= phase < 2 pi.
    double getPhase() const noexcept               { return state.phase; }

    // The envelope on the depth.
    const Envelope& getEnvelope() const noexcept   { return envelope; }

private:
    void startBlock (const BlockSettings& settings) noexcept;
    void retrigger (const BlockSettings& settings) noexcept;
    double nextValue() noexcept;

    bool active = false;                 // the switch at the last retrigger; not consulted
    int waveType = 0;
    int mode = 0;
    int target = 0;                      // not consulted
    bool sync = false;
    double speed = 0.0;                  // the speed setting the rate came from
    double sampleRate = 44100.0;         // Hz
    double rate = 0.0;                   // Hz
    bool armed = true;                   // the next key press restarts the envelope
    Envelope envelope;
    LfoState<double> state;              // phase, phase increment and mix
    std::vector<double> blockValues;     // the values of the last block
    int blockLength = 0;                 // how many of them were computed

    JUCE_DECLARE_NON_COPYABLE (GlobalLfo)
};
