#pragma once

#include "Engine/Envelope.h"
#include "Engine/VoiceSettings.h"

// A voice's own LFO: a modulation value envelope x wave x mix, restarted with each note
// of its voice (its phase continues from the note before) and stepped while the voice
// renders with it. The voice hands it its settings; its step is LfoStep's, which the voice
// lanes take as well. Audio thread only.
class VoiceLfo
{
public:
    // Restarts the envelope and takes the note's settings and sample rate.
    void retrigger (const NoteSettings& note, double newSampleRate) noexcept;

    // A block's wave, mode, sync, mix and rate.
    void refresh (const LfoSettings& settings) noexcept;

    // One value in -mix ... +mix; advances the phase and the envelope.
    double nextValue() noexcept;

    // Hz, and radians per sample.
    double getRate() const noexcept                { return rate; }
    double getPhaseIncrement() const noexcept      { return state.increment; }

    // Radians, 0 <= phase < 2 pi.
    double getPhase() const noexcept               { return state.phase; }

    // LfoWave's values, as last refreshed.
    int getWaveType() const noexcept               { return waveType; }

    // The envelope on the depth, active when the LFO envelope was on at the last retrigger.
    const Envelope& getEnvelope() const noexcept   { return envelope; }
    Envelope& getEnvelope() noexcept               { return envelope; }

    // The state the steps move, for the voice lanes.
    LfoState<double>& getState() noexcept          { return state; }

private:
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
