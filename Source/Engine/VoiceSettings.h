#pragma once

#include "Engine/Envelope.h"
#include "Engine/LfoStep.h"
#include "Model/Tuning.h"

// What the synthesiser hands its voices, computed from the engine settings: the settings
// a sounding voice follows, once per block, and those a note takes when it starts.

// What a sounding oscillator follows, block by block.
struct OscillatorBlockSettings
{
    bool on = false;
    double gain = 0.0, detune = 0.0;
    double pan = 0.0;                          // -1 left ... +1 right
};

// An oscillator's settings at a note start: its wave, tuning and envelopes.
struct OscillatorNoteSettings
{
    bool on = false;
    int wave = 0;                              // OscillatorWave's values
    double detune = 0.0, gain = 0.0;
    int offset = 0, pitchRange = 0, pitchEnvRange = 0;    // semitones: the offset, the wheel's and the pitch envelope's range
    bool pitchEnvDown = false, pitchEnvOn = false;
    Envelope::Parameters amplitude, pitch;
    const NoteFrequencies* tuning = nullptr;   // the synthesiser's tuning; null: equal temperament
};

// What a sounding voice follows in a block.
struct VoiceBlockSettings
{
    OscillatorBlockSettings oscillators[2];
    int wheel = 8192;                          // the pitch wheel every voice follows
    double master = 0.0;
    bool lfoOn = false;
    int lfoTarget = 0;                         // LfoTarget's values
    LfoSettings lfo;
    bool filterOn = false;
    float cutoff = 0.0f, resonance = 0.0f;
    double filterEnvAmount = 1.0;              // -1 ... +1: +1 the envelope alone moves the cutoff up to the knob
    const double* sharedLfoValues = nullptr;   // the global LFO's values from the block's first sample, or null
};

// A note's start: what a block has, and both oscillators, the voice LFO's and the filter's
// envelopes, and the glide, which the synthesiser decides: the note it starts from, or -1.
struct NoteSettings : VoiceBlockSettings
{
    OscillatorNoteSettings oscillatorNotes[2];
    bool lfoEnvelopeOn = false;
    Envelope::Parameters lfoEnvelope;
    int filterType = 0;                        // FilterType's values
    bool filterEnvelopeOn = false;
    Envelope::Parameters filterEnvelope;
    double filterKeyTrack = 0.0;               // 0 ... 1 of an octave per octave from note 60
    double filterVelocity = 0.0;               // 0 ... 1: how far a soft note closes the filter
    double ampVelocity = 1.0;                  // 0 ... 1: how far the level follows the velocity
    int glideFromNote = -1;
    double glide = 0.0;                        // the glide setting: a glide takes glide^2 x 2 s
};
