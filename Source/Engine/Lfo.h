#pragma once

#include "Engine/Envelope.h"
#include "Engine/LfoStep.h"

// What every LFO has: a modulation value envelope x wave x mix, the settings it follows
// and the rate they give. The voice LFO and the global LFO build on it; its step is
// LfoStep's, which the voice lanes take as well. Audio thread only.
class Lfo
{
public:
    // A block's wave, mode, sync, mix and rate.
    void refresh (const LfoSettings& settings) noexcept;

    // One value in -mix ... +mix; advances the phase and the envelope.
    double nextValue() noexcept     { return LfoStep::step<false> (state, envelope.getState(), waveType, envelope.isActive(), true); }

    double getRate() const noexcept                { return rate; }             // Hz
    double getPhaseIncrement() const noexcept      { return state.increment; }  // radians per sample
    double getPhase() const noexcept               { return state.phase; }      // radians, 0 <= phase < 2 pi
    int getWaveType() const noexcept               { return waveType; }         // LfoWave's values

    // The envelope on the depth.
    const Envelope& getEnvelope() const noexcept   { return envelope; }
    Envelope& getEnvelope() noexcept               { return envelope; }

    // The state the steps move, for the voice lanes.
    LfoState<double>& getState() noexcept          { return state; }

protected:
    // Restarts the envelope, as each note (or a key press) does; the phase continues.
    void restartEnvelope (bool envelopeOn, const Envelope::Parameters& parameters) noexcept;

    bool active = false;                 // the switch at the last retrigger; not consulted
    int waveType = 0;
    int mode = 0;
    int target = 0;                      // at the last retrigger; not consulted
    bool sync = false;
    double speed = 0.0;                  // the speed setting the rate came from
    double sampleRate = 44100.0;         // Hz
    double rate = 0.0;                   // Hz
    Envelope envelope;
    LfoState<double> state;              // phase, phase increment and mix
};
