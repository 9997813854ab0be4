#pragma once

#include "Engine/Envelope.h"
#include "Model/ParameterTable.h"
#include "Model/RelaxedAtomic.h"

#include <juce_audio_basics/juce_audio_basics.h>

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

    // Hz, and radians per sample.
    double getRate() const noexcept                { return rate; }
    double getPhaseIncrement() const noexcept      { return phaseIncrement; }

    // Radians, 0 <= phase < 2 pi.
    double getPhase() const noexcept               { return phase; }

    // The envelope on the depth, active when the LFO envelope was on at the last retrigger.
    const Envelope& getEnvelope() const noexcept   { return envelope; }

private:
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

    JUCE_DECLARE_NON_COPYABLE (Lfo)
};
