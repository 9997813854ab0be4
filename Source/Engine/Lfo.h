#pragma once

#include "Engine/Envelope.h"
#include "Model/ParameterTable.h"
#include "Model/RelaxedAtomic.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

class Velmora;

// A low-frequency oscillator giving a gain modulation value envelope x wave x mix.
// Used once per voice (restarted at each note) and once globally over the summed output.
//
// The global LFO is refreshed from whichever thread reports a parameter change and has
// its sample rate stored by prepareToPlay while the audio thread may be applying it, so
// every value those write is atomic. The phase, the envelope and the armed flag belong
// to the audio thread alone.
class Lfo
{
public:
    // Reads the settings and the tempo of this synthesiser.
    explicit Lfo (Velmora& synth);

    // The global LFO's sample rate, from prepareToPlay. Takes effect at the next refresh.
    void prepare (double newSampleRate) noexcept   { sampleRate = newSampleRate; }

    // Restarts the envelope and takes the settings for a note or a key press. The phase
    // continues where it was.
    void retrigger (double newSampleRate) noexcept;

    // Re-reads wave, mode, sync, mix and speed, and recomputes the rate and the phase
    // increment when they no longer match the settings and the sample rate.
    void refresh() noexcept;

    // One value in -mix ... +mix; advances the phase and the envelope.
    double nextValue (bool refreshFirst) noexcept;

    // The global LFO over channels 0 and 1 (channel 0 alone in a one-channel buffer),
    // numSamples samples from startSample. Audio thread.
    void applyToBuffer (juce::AudioBuffer<float>& buffer, int startSample, int numSamples) noexcept;

    // The global LFO on the pitch or the filter in Free mode: every voice follows the one
    // LFO, whose values for a block are computed once, before the voices render, and
    // shared. reserveBlock allocates (never on the audio thread); computeBlock runs on the
    // audio thread and allocates only for a block longer than any reserved. A key pressed
    // in the block counts as down for the envelope, as a key held from earlier does.
    void reserveBlock (int maximumBlockSize);
    void computeBlock (int numSamples, bool keyPressedInBlock);

    // The values computed for samples startSample ... startSample + numSamples - 1 of the
    // last block, or null when the last block had fewer.
    const double* getBlockValues (int startSample, int numSamples) const noexcept;

    // Hz, and radians per sample.
    double getRate() const noexcept                { return rate; }
    double getPhaseIncrement() const noexcept      { return phaseIncrement; }

    // Radians, 0 <= phase < 2 pi.
    double getPhase() const noexcept               { return phase; }

    // The envelope on the depth, active when the LFO envelope was on at the last retrigger.
    const Envelope& getEnvelope() const noexcept   { return envelope; }

private:
    friend struct VoiceLaneAccess;     // the voice lanes copy the state in and out

    void startBlock (bool keyPressedInBlock) noexcept;
    bool anyKeyDown() const noexcept;
    bool anyVoiceActive() const noexcept;

    bool active = false;                          // the switch at the last retrigger; not consulted
    Velmora& synth;
    RelaxedAtomic<int> waveType { LfoWave::sine };
    RelaxedAtomic<int> mode { LfoMode::freeRunning };
    int target = LfoTarget::amp;                  // at the last retrigger; not consulted
    RelaxedAtomic<bool> sync { false };
    RelaxedAtomic<double> speed { 0.0 };          // the speed setting the rate came from
    RelaxedAtomic<double> mix { 0.0 };
    RelaxedAtomic<double> sampleRate { 44100.0 }; // Hz
    double phase = 0.0;                           // radians, 0 <= phase < 2 pi
    RelaxedAtomic<double> phaseIncrement { 0.0 }; // radians per sample
    RelaxedAtomic<double> rate { 0.0 };           // Hz
    bool armed = true;                            // global LFO: the next key press restarts the envelope
    Envelope envelope;
    std::vector<double> blockValues;              // global LFO: the values of the last block
    int blockLength = 0;                          // how many of them were computed

    JUCE_DECLARE_NON_COPYABLE (Lfo)
};
