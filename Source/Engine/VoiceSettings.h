#pragma once

#include "Engine/Envelope.h"
#include "Engine/LfoStep.h"

// What the synthesiser hands its voices, computed from the engine settings: the settings
// a note takes when it starts, and those a sounding voice follows, once per block.

// An oscillator's settings at a note start: its wave, tuning and envelopes.
struct OscillatorNoteSettings
{
    bool on = false;
    int wave = 0;                    // OscillatorWave's values
    double detune = 0.0, gain = 0.0;
    int offset = 0;                  // semitones
    int pitchRange = 0;              // the wheel's range, semitones
    int pitchEnvRange = 0;           // the pitch envelope's range, semitones
    bool pitchEnvDown = false;
    bool pitchEnvOn = false;
    Envelope::Parameters amplitude, pitch;
};

// What a sounding oscillator follows, block by block.
struct OscillatorBlockSettings
{
    bool on = false;
    double gain = 0.0, detune = 0.0;
    double pan = 0.0;                // -1 left ... +1 right
};

// A note's start: both oscillators, the voice LFO and the filter, and the glide, which the
// synthesiser decides: the note it starts from, or -1 for none.
struct NoteSettings
{
    OscillatorNoteSettings oscillators[2];
    int wheel = 8192;                // the pitch wheel every voice follows
    bool lfoOn = false;
    int lfoTarget = 0;               // LfoTarget's values
    LfoSettings lfo;
    bool lfoEnvelopeOn = false;
    Envelope::Parameters lfoEnvelope;
    bool filterOn = false;
    int filterType = 0;              // FilterType's values
    float cutoff = 0.0f, resonance = 0.0f;
    bool filterEnvelopeOn = false;
    Envelope::Parameters filterEnvelope;
    int glideFromNote = -1;
    double glide = 0.0;              // the glide setting: it takes glide^2 x 2 s
};

// What a sounding voice follows in a block.
struct VoiceBlockSettings
{
    OscillatorBlockSettings oscillators[2];
    int wheel = 8192;
    double master = 0.0;
    bool lfoOn = false;
    int lfoTarget = 0;
    LfoSettings lfo;
    bool filterOn = false;
    float cutoff = 0.0f, resonance = 0.0f;
    const double* sharedLfoValues = nullptr;   // the global LFO's values from the block's first sample, or null
};
