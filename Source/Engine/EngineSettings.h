#pragma once

#include "Model/RelaxedAtomic.h"

// The converted values of all 71 parameters, one field per parameter, named after it.
// Written only by Velmora::updateSettings, on whichever thread reports a change; read on
// the audio thread, where the synthesiser and the processor turn them into the settings
// of each voice, LFO and effect. Every field is read and written whole; a block may see a
// mixture of old and new values.
struct EngineSettings
{
    using Flag = RelaxedAtomic<bool>;
    using Index = RelaxedAtomic<int>;
    using Number = RelaxedAtomic<double>;

    Flag   Osc1Active;
    Index  Osc1WaveType;          // 0 sine, 1 square, 2 triangle, 3 sawtooth
    Number Osc1Gain;              // linear, 0 ... 2
    Number Osc1Detune;            // -1 ... +1, fraction of a semitone step
    Number Osc1Pan;               // -1 left ... +1 right
    Index  Osc1Offset;            // semitones
    Index  Osc1PitchRange;        // pitch-wheel range, semitones
    Index  Osc1PitchEnvRange;     // pitch-envelope range, semitones
    Flag   Osc1PitchEnvDown;

    Flag   Osc2Active;
    Index  Osc2WaveType;
    Number Osc2Gain;
    Number Osc2Detune;
    Number Osc2Pan;
    Index  Osc2Offset;
    Index  Osc2PitchRange;
    Index  Osc2PitchEnvRange;
    Flag   Osc2PitchEnvDown;

    Flag   Filter1Active;
    Index  Filter1Type;           // 0 lowpass, 1 bandpass, 2 highpass
    Number Filter1Cutoff;         // 0 ... 1
    Number Filter1Resonance;      // 0 ... 1

    Flag   Lfo1Active;
    Index  Lfo1WaveType;          // 0 sine, 1 square, 2 saw up, 3 saw down, 4 pump
    Number Lfo1Speed;             // 0 ... 1: x 10 Hz, or synchronised a note value
    Index  Lfo1Mode;              // 0 free, 1 retrigger
    Flag   Lfo1Sync;
    Index  Lfo1Target;            // 0 amp, 1 pitch, 2 filter
    Number Lfo1Mix;

    Flag   Delay1Active;
    Flag   Delay1Sync;
    Number Delay1Mix;
    Number Delay1Time;
    Number Delay1Feedback;
    Number Delay1Swing;

    Flag   Reverb1Active;
    Number Reverb1Mix;
    Number Reverb1Damping;
    Number Reverb1Feedback;

    Number EnvAmpOsc1Attack;      // seconds
    Number EnvAmpOsc1Decay;       // seconds
    Number EnvAmpOsc1Sustain;     // level
    Number EnvAmpOsc1Release;     // seconds
    Number EnvAmpOsc2Attack;
    Number EnvAmpOsc2Decay;
    Number EnvAmpOsc2Sustain;
    Number EnvAmpOsc2Release;

    Flag   EnvPitchOsc1Active;
    Number EnvPitchOsc1Attack;
    Number EnvPitchOsc1Decay;
    Number EnvPitchOsc1Sustain;
    Number EnvPitchOsc1Release;
    Flag   EnvPitchOsc2Active;
    Number EnvPitchOsc2Attack;
    Number EnvPitchOsc2Decay;
    Number EnvPitchOsc2Sustain;
    Number EnvPitchOsc2Release;

    Flag   EnvFilter1Active;
    Number EnvFilter1Attack;
    Number EnvFilter1Decay;
    Number EnvFilter1Sustain;
    Number EnvFilter1Release;

    Flag   EnvLfo1Active;
    Number EnvLfo1Attack;
    Number EnvLfo1Decay;
    Number EnvLfo1Sustain;
    Number EnvLfo1Release;

    Number MasterVolume;          // linear, 0 ... 2
    Index  MidiLearn;             // stored only
    Number Glide;                 // a glide takes Glide^2 x 2 s
    Index  CurrentPlayMode;       // 0 poly, 1 mono, 2 glide (poly with slides)

    Number Filter1EnvAmount;      // -1 ... +1: the filter envelope's depth, +1 the envelope alone
    Number Filter1KeyTrack;       // 0 ... 1: 1 doubles the cutoff per octave above note 60
    Number Filter1Velocity;       // 0 ... 1: how far a soft note closes the filter
    Index  Filter1Slope;          // 0 12 dB, 1 24 dB
    Number AmpVelocity;           // 0 ... 1: 1 the level follows the velocity, 0 every note full
    Index  Osc1Unison;            // copies - 1
    Number Osc1UnisonDetune;      // 0 ... 1: 100 cents between the outermost copies
    Number Osc1UnisonWidth;       // 0 ... 1
    Index  Osc2Unison;
    Number Osc2UnisonDetune;
    Number Osc2UnisonWidth;
    Flag   Osc2Sync;              // oscillator 2 restarts with oscillator 1's cycles
    Number Lfo1ModWheel;          // 0 ... 1: added to the LFO's mix with the wheel at the top
};
