#pragma once

#include "Engine/Envelope.h"
#include "Engine/OscillatorStep.h"
#include "Engine/VoiceSettings.h"

// One of a voice's two sound sources: a band-limited sine, square, triangle or sawtooth
// by phase accumulation, tuned by note, offset, detune, pitch envelope and pitch wheel,
// and scaled by the voice level, its gain, its amplitude envelope and the voice LFO. The
// voice hands it its settings; its sample step is OscillatorStep's, which the voice lanes
// take as well.
class Oscillator
{
public:
    // Oscillator index 0 is oscillator 1, index 1 oscillator 2.
    explicit Oscillator (int oscillatorIndex) : index (oscillatorIndex) {}

    // Prepares for a new note: resets and starts both envelopes and takes the wave, the
    // tuning and the envelope times. Marks the oscillator started even when it is switched
    // off, which leaves its envelopes idle. The phase continues where it was.
    void start (const OscillatorNoteSettings& settings, int noteLfoTarget, double level, double sampleRate, int note, int wheel);

    // A block's gain, detune and wheel: recomputes the pitch where they changed (with the
    // pitch envelope, the samples recompute it every sample).
    void refreshForBlock (const OscillatorBlockSettings& settings, int wheel) noexcept;

    // refreshForBlock, and with the pitch envelope one step of it: what the wheel's
    // moving does between two samples.
    void refresh (const OscillatorBlockSettings& settings, int wheel) noexcept;

    // The next output sample, advancing the phase and the amplitude envelope; lfoValue
    // scales it when the LFO is on the amplitude.
    double nextSample (double lfoValue) noexcept;

    // Sends both envelopes into their release; idle envelopes stay idle.
    void release() noexcept;

    // Forgets the note at once: not started, both envelopes switched off. The phase stays.
    void silence() noexcept;

    // What the samples of a block follow besides the state: wave, LFO, pitch envelope and wheel.
    OscillatorPlan getPlan (double pan) const noexcept;

    int getLfoTarget() const noexcept                     { return lfoTarget; }    // at the last start, LfoTarget's values
    int getIndex() const noexcept                         { return index; }        // 0 for oscillator 1, 1 for oscillator 2

    // True from the first start on, until silence; the voice skips oscillators never started.
    bool hasStarted() const noexcept                      { return started; }

    // The amplitude envelope (the oscillator has ended when it is idle), and the pitch
    // envelope, active when the note started with it switched on.
    const Envelope& getAmplitudeEnvelope() const noexcept  { return amplitudeEnvelope; }
    Envelope& getAmplitudeEnvelope() noexcept              { return amplitudeEnvelope; }
    const Envelope& getPitchEnvelope() const noexcept      { return pitchEnvelope; }
    Envelope& getPitchEnvelope() noexcept                  { return pitchEnvelope; }

    // Hz: after detune and pitch envelope, and after the pitch wheel as well.
    double getFrequency() const noexcept                  { return state.frequency; }
    double getBentFrequency() const noexcept              { return state.bentFrequency; }

    // Radians, 0 <= phase < 2 pi, and radians per sample; a new phase is where the next sample starts.
    double getPhase() const noexcept                      { return state.phase; }
    double getPhaseIncrement() const noexcept             { return state.increment; }
    void setPhase (double newPhase) noexcept              { state.phase = newPhase; }

    // The state the sample steps move, for the voice lanes.
    OscillatorState<double>& getState() noexcept          { return state; }

    // The wheel's position in whole percent of its travel, -100 ... +100.
    static int bendPercentFor (int wheel) noexcept;

private:
    double noteHz (int note) const noexcept;
    void computeNoteFrequencies() noexcept;
    void computeFrequencies() noexcept;
    void computeBend() noexcept;
    void followPitchEnvelope() noexcept;

    int waveType = OscillatorStep::sine;
    bool started = false;
    const int index;
    int lastWheel = 0;               // the wheel the bent frequency was computed for
    int noteWithOffset = 0;
    int pitchRange = 0;              // semitones
    int offset = 0;                  // semitones
    int lfoTarget = 0;               // LfoTarget's values
    const NoteFrequencies* tuning = nullptr;   // at the last start; null: equal temperament
    OscillatorState<double> state;   // phase, step, level, gain, detune, frequencies, pitch-envelope range and direction
    Envelope amplitudeEnvelope;
    Envelope pitchEnvelope;
};
