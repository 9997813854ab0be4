#pragma once

#include <iterator>

// Everything known about the 71 parameters, in index order: name, default value, kind and
// what the editor's control offers. Every other part of the system reads these facts here.

namespace ParameterIndex
{
    enum Index : int
    {
        none = -1,
        Osc1Active = 0, Osc1WaveType, Osc1Gain, Osc1Detune, Osc1Pan, Osc1Offset,
        Osc1PitchRange, Osc1PitchEnvRange, Osc1PitchEnvDown,
        Osc2Active, Osc2WaveType, Osc2Gain, Osc2Detune, Osc2Pan, Osc2Offset,
        Osc2PitchRange, Osc2PitchEnvRange, Osc2PitchEnvDown,
        Filter1Active, Filter1Type, Filter1Cutoff, Filter1Resonance,
        Lfo1Active, Lfo1WaveType, Lfo1Speed, Lfo1Mode, Lfo1Sync, Lfo1Target, Lfo1Mix,
        Delay1Active, Delay1Sync, Delay1Mix, Delay1Time, Delay1Feedback, Delay1Swing,
        Reverb1Active, Reverb1Mix, Reverb1Damping, Reverb1Feedback,
        EnvAmpOsc1Attack, EnvAmpOsc1Decay, EnvAmpOsc1Sustain, EnvAmpOsc1Release,
        EnvAmpOsc2Attack, EnvAmpOsc2Decay, EnvAmpOsc2Sustain, EnvAmpOsc2Release,
        EnvPitchOsc1Active, EnvPitchOsc1Attack, EnvPitchOsc1Decay, EnvPitchOsc1Sustain, EnvPitchOsc1Release,
        EnvPitchOsc2Active, EnvPitchOsc2Attack, EnvPitchOsc2Decay, EnvPitchOsc2Sustain, EnvPitchOsc2Release,
        EnvFilter1Active, EnvFilter1Attack, EnvFilter1Decay, EnvFilter1Sustain, EnvFilter1Release,
        EnvLfo1Active, EnvLfo1Attack, EnvLfo1Decay, EnvLfo1Sustain, EnvLfo1Release,
        MasterVolume, MidiLearn, Glide, CurrentPlayMode
    };

    constexpr int count = CurrentPlayMode + 1;

    constexpr bool isValid (int index) noexcept   { return index >= 0 && index < count; }
}

// What a stored value means. Values are stored exactly as written, whatever the kind.
enum class ParameterKind
{
    toggle,           // 0 off, anything else on; the editor writes 0 or 1
    choice,           // the 0-based index of an item, read by truncation toward zero
    semitoneOffset,   // 100 x value - 12 semitones, to the nearest whole number; editor 0 ... 0.24
    semitoneRange,    // 100 x value semitones, to the nearest whole number; editor 0 ... 0.12
    plain             // a fraction; editor 0 ... 1
};

struct ParameterInfo
{
    const char* name;
    float defaultValue;                  // the float nearest the decimal written here
    ParameterKind kind;
    float editorMaximum;                 // the editor's control covers 0 ... this, in steps of 0.01
    const char* const* items = nullptr;  // a choice's item texts, as the editor lists them
    int numItems = 0;
    bool hasEditorControl = true;        // MidiLearn is stored and exchanged, never shown

    constexpr float getEditorMaximum() const noexcept   { return editorMaximum; }
};

// The items of the choice parameters: a stored value (truncated toward zero) is the index
// of its item. The engine compares settings with these values, the editor lists the texts.
namespace OscillatorWave    { enum Value : int { sine = 0, square, triangle, sawtooth }; }
namespace FilterType        { enum Value : int { lowpass = 0, bandpass, highpass }; }
namespace LfoWave           { enum Value : int { sine = 0, square, sawUp, sawDown, pump }; }
namespace LfoMode           { enum Value : int { freeRunning = 0, retrigger }; }
namespace LfoTarget         { enum Value : int { amp = 0, pitch, filter }; }
namespace PlayMode          { enum Value : int { poly = 0, mono, glide }; }   // glide: poly with slides

namespace ParameterItems
{
    inline constexpr const char* oscillatorWave[] = { "Sine", "Square", "Triangle", "Sawtooth" };
    inline constexpr const char* filterType[] = { "Lowpass", "Bandpass", "Highpass" };
    inline constexpr const char* lfoWave[] = { "Sine", "Square", "SawUp", "SawDown", "Pump" };
    inline constexpr const char* lfoMode[] = { "Free", "Retrigger" };
    inline constexpr const char* lfoTarget[] = { "Amp", "Pitch", "Filter" };
    inline constexpr const char* playMode[] = { "Poly", "Mono", "Glide" };

    static_assert (std::size (oscillatorWave) == OscillatorWave::sawtooth + 1, "one text per wave");
    static_assert (std::size (filterType) == FilterType::highpass + 1, "one text per filter type");
    static_assert (std::size (lfoWave) == LfoWave::pump + 1, "one text per LFO wave");
    static_assert (std::size (lfoMode) == LfoMode::retrigger + 1, "one text per LFO mode");
    static_assert (std::size (lfoTarget) == LfoTarget::filter + 1, "one text per LFO target");
    static_assert (std::size (playMode) == PlayMode::glide + 1, "one text per play mode");
}

namespace ParameterTableRows
{
    constexpr ParameterInfo toggle (const char* name, float defaultValue)
    {
        return { name, defaultValue, ParameterKind::toggle, 1.0f };
    }

    template <int numItems>
    constexpr ParameterInfo choice (const char* name, float defaultValue, const char* const (&items)[numItems])
    {
        return { name, defaultValue, ParameterKind::choice, (float) (numItems - 1), items, numItems };
    }

    constexpr ParameterInfo plain (const char* name, float defaultValue)
    {
        return { name, defaultValue, ParameterKind::plain, 1.0f };
    }

    constexpr ParameterInfo offset (const char* name, float defaultValue)
    {
        return { name, defaultValue, ParameterKind::semitoneOffset, 0.24f };
    }

    constexpr ParameterInfo range (const char* name, float defaultValue)
    {
        return { name, defaultValue, ParameterKind::semitoneRange, 0.12f };
    }

    constexpr ParameterInfo storedOnly (const char* name, float defaultValue)
    {
        return { name, defaultValue, ParameterKind::plain, 1.0f, nullptr, 0, false };
    }

    using namespace ParameterItems;

    inline constexpr ParameterInfo all[] =
    {
        toggle ("Osc1Active", 1.0f),
        choice ("Osc1WaveType", 0.0f, oscillatorWave),
        plain  ("Osc1Gain", 0.5f),
        plain  ("Osc1Detune", 0.5f),
        plain  ("Osc1Pan", 0.5f),
        offset ("Osc1Offset", 0.12f),
        range  ("Osc1PitchRange", 0.02f),
        range  ("Osc1PitchEnvRange", 0.01f),
        toggle ("Osc1PitchEnvDown", 0.0f),

        toggle ("Osc2Active", 0.0f),
        choice ("Osc2WaveType", 0.0f, oscillatorWave),
        plain  ("Osc2Gain", 0.5f),
        plain  ("Osc2Detune", 0.5f),
        plain  ("Osc2Pan", 0.5f),
        offset ("Osc2Offset", 0.12f),
        range  ("Osc2PitchRange", 0.02f),
        range  ("Osc2PitchEnvRange", 0.01f),
        toggle ("Osc2PitchEnvDown", 0.0f),

        toggle ("Filter1Active", 0.0f),
        choice ("Filter1Type", 0.0f, filterType),
        plain  ("Filter1Cutoff", 0.3f),
        plain  ("Filter1Resonance", 0.0f),

        toggle ("Lfo1Active", 0.0f),
        choice ("Lfo1WaveType", 0.0f, lfoWave),
        plain  ("Lfo1Speed", 0.5f),
        choice ("Lfo1Mode", 0.0f, lfoMode),
        toggle ("Lfo1Sync", 0.0f),
        choice ("Lfo1Target", 0.0f, lfoTarget),
        plain  ("Lfo1Mix", 1.0f),

        toggle ("Delay1Active", 0.0f),
        toggle ("Delay1Sync", 1.0f),
        plain  ("Delay1Mix", 0.5f),
        plain  ("Delay1Time", 0.5f),
        plain  ("Delay1Feedback", 0.5f),
        plain  ("Delay1Swing", 0.0f),

        toggle ("Reverb1Active", 0.0f),
        plain  ("Reverb1Mix", 0.5f),
        plain  ("Reverb1Damping", 0.5f),
        plain  ("Reverb1Feedback", 0.5f),

        plain  ("EnvAmpOsc1Attack", 0.1f),
        plain  ("EnvAmpOsc1Decay", 0.5f),
        plain  ("EnvAmpOsc1Sustain", 0.5f),
        plain  ("EnvAmpOsc1Release", 0.5f),
        plain  ("EnvAmpOsc2Attack", 0.1f),
        plain  ("EnvAmpOsc2Decay", 0.5f),
        plain  ("EnvAmpOsc2Sustain", 0.5f),
        plain  ("EnvAmpOsc2Release", 0.5f),

        toggle ("EnvPitchOsc1Active", 0.0f),
        plain  ("EnvPitchOsc1Attack", 0.5f),
        plain  ("EnvPitchOsc1Decay", 0.5f),
        plain  ("EnvPitchOsc1Sustain", 1.0f),
        plain  ("EnvPitchOsc1Release", 0.0f),
        toggle ("EnvPitchOsc2Active", 0.0f),
        plain  ("EnvPitchOsc2Attack", 0.5f),
        plain  ("EnvPitchOsc2Decay", 0.5f),
        plain  ("EnvPitchOsc2Sustain", 1.0f),
        plain  ("EnvPitchOsc2Release", 0.0f),

        toggle ("EnvFilter1Active", 0.0f),
        plain  ("EnvFilter1Attack", 0.5f),
        plain  ("EnvFilter1Decay", 0.5f),
        plain  ("EnvFilter1Sustain", 0.5f),
        plain  ("EnvFilter1Release", 0.5f),

        toggle ("EnvLfo1Active", 0.0f),
        plain  ("EnvLfo1Attack", 0.5f),
        plain  ("EnvLfo1Decay", 0.5f),
        plain  ("EnvLfo1Sustain", 0.5f),
        plain  ("EnvLfo1Release", 0.5f),

        plain      ("MasterVolume", 0.5f),
        storedOnly ("MidiLearn", 0.0f),
        plain      ("Glide", 0.0f),
        choice     ("CurrentPlayMode", 0.0f, playMode),
    };

    static_assert (std::size (all) == ParameterIndex::count, "one row per parameter index");
}

namespace ParameterTable
{
    // The editor's controls move in steps of this size, from 0 to a row's editorMaximum.
    constexpr double editorStep = 0.01;

    // The row of a valid index (ParameterIndex::isValid).
    constexpr const ParameterInfo& get (int index) noexcept   { return ParameterTableRows::all[index]; }
}

// The parameters of one envelope, in the order of its knobs.
struct EnvelopeParameters
{
    ParameterIndex::Index attack, decay, sustain, release;
};

// The parameters of one oscillator, in the order its panel binds them, and its two envelopes.
struct OscillatorParameters
{
    ParameterIndex::Index active, waveType, gain, detune, pan, offset, pitchRange, pitchEnvRange,
                          pitchEnvDown, pitchEnvActive;
    EnvelopeParameters amplitudeEnvelope, pitchEnvelope;
};

// Which parameters belong to which oscillator and envelope, for code that serves either of
// two alike sections: the engine's oscillators, the editor's panels, the tests.
namespace ParameterGroups
{
    using namespace ParameterIndex;

    inline constexpr EnvelopeParameters amplitudeEnvelope1 { EnvAmpOsc1Attack, EnvAmpOsc1Decay, EnvAmpOsc1Sustain, EnvAmpOsc1Release };
    inline constexpr EnvelopeParameters amplitudeEnvelope2 { EnvAmpOsc2Attack, EnvAmpOsc2Decay, EnvAmpOsc2Sustain, EnvAmpOsc2Release };
    inline constexpr EnvelopeParameters pitchEnvelope1 { EnvPitchOsc1Attack, EnvPitchOsc1Decay, EnvPitchOsc1Sustain, EnvPitchOsc1Release };
    inline constexpr EnvelopeParameters pitchEnvelope2 { EnvPitchOsc2Attack, EnvPitchOsc2Decay, EnvPitchOsc2Sustain, EnvPitchOsc2Release };
    inline constexpr EnvelopeParameters filterEnvelope { EnvFilter1Attack, EnvFilter1Decay, EnvFilter1Sustain, EnvFilter1Release };
    inline constexpr EnvelopeParameters lfoEnvelope { EnvLfo1Attack, EnvLfo1Decay, EnvLfo1Sustain, EnvLfo1Release };

    // The six envelopes in the edit page's order: amp 1, amp 2, pitch 1, pitch 2, filter, LFO.
    inline constexpr EnvelopeParameters envelopes[] = { amplitudeEnvelope1, amplitudeEnvelope2, pitchEnvelope1,
                                                        pitchEnvelope2, filterEnvelope, lfoEnvelope };

    // Oscillator 1, then oscillator 2.
    inline constexpr OscillatorParameters oscillators[] =
    {
        { Osc1Active, Osc1WaveType, Osc1Gain, Osc1Detune, Osc1Pan, Osc1Offset, Osc1PitchRange, Osc1PitchEnvRange,
          Osc1PitchEnvDown, EnvPitchOsc1Active, amplitudeEnvelope1, pitchEnvelope1 },
        { Osc2Active, Osc2WaveType, Osc2Gain, Osc2Detune, Osc2Pan, Osc2Offset, Osc2PitchRange, Osc2PitchEnvRange,
          Osc2PitchEnvDown, EnvPitchOsc2Active, amplitudeEnvelope2, pitchEnvelope2 },
    };
}
