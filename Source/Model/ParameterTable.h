#pragma once

#include <iterator>

// Everything known about the parameters, in index order: name, default value, kind and
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
        MasterVolume, MidiLearn, Glide, CurrentPlayMode,

        // Appended after the first 71, whose indices hosts' projects keep.
        Filter1EnvAmount, Filter1KeyTrack, Filter1Velocity, Filter1Slope, AmpVelocity,
        Osc1Unison, Osc1UnisonDetune, Osc1UnisonWidth, Osc2Unison, Osc2UnisonDetune, Osc2UnisonWidth,
        Osc2Sync, Lfo1ModWheel
    };

    constexpr int count = Lfo1ModWheel + 1;

    // The parameters every program had from the start; a file or chunk written before the
    // later ones holds these alone.
    constexpr int numOriginal = CurrentPlayMode + 1;

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

// What a plain value is to the musician, as the engine makes it of the stored value p.
// The texts of each unit are ParameterUnits'; switches, choices and semitones have texts of
// their kind and no unit (number).
enum class ParameterUnit
{
    number,      // the stored value itself, two decimals: "0.50"
    percent,     // 100 p: mixes, depths, sustain: "50 %"
    bipolarPercent, // 200 p - 100, with its sign: "+50 %", "0 %", "-100 %"
    level,       // the gain 2p, in percent: "100 %" at the middle
    cents,       // the detune 2p - 1 of a semitone, in cents: "+20 ct"
    spreadCents, // 100 p cents between the outermost unison copies: "35 cents"
    pan,         // 2p - 1 from left to right: "40L", "C", "40R"
    cutoff,      // 5000 p Hz, at least 10: "350 Hz", "1.50 kHz"
    resonance,   // the filter's Q, 50 p, at least 1: "Q 12.5"
    attack,      // 3p seconds up to p = 0.5, above it 15p: "300 ms", "7.65 s"
    decay,       // p seconds
    release,     // 5p seconds up to p = 0.5, above it 15p
    glide,       // 2 p^2 seconds
    lfoSpeed,    // 10 p Hz; while the LFO follows the tempo, the note value of its cycle
    delayTime,   // following the tempo, trunc (8p) sixteenths: "3/16"; free, 2p seconds
    voices       // a choice of how many voices, its item with the word: "1 voice", "7 voices"
};

struct ParameterInfo
{
    const char* name;                    // the host's name, the attribute in files and chunks
    const char* label;                   // what the window calls it: "Filter Cutoff"
    float defaultValue;                  // the float nearest the decimal written here
    ParameterKind kind;
    ParameterUnit unit;
    float editorMaximum;                 // the editor's control covers 0 ... this, in steps of 0.01
    const char* description;             // what it does, in a musician's words (the control's tooltip)
    const char* const* items = nullptr;  // a choice's item texts, as the editor lists them
    int numItems = 0;
    bool hasEditorControl = true;        // MidiLearn is stored and exchanged, never shown

    constexpr float getEditorMaximum() const noexcept   { return editorMaximum; }
};

// The items of the choice parameters: a stored value (truncated toward zero) is the index
// of its item. The engine compares settings with these values, the editor lists the texts.
namespace OscillatorWave    { enum Value : int { sine = 0, square, triangle, sawtooth, noise }; }
namespace FilterType        { enum Value : int { lowpass = 0, bandpass, highpass }; }
namespace LfoWave           { enum Value : int { sine = 0, square, sawUp, sawDown, pump, sampleAndHold }; }
namespace FilterSlope       { enum Value : int { twelveDb = 0, twentyFourDb }; }
namespace LfoMode           { enum Value : int { freeRunning = 0, retrigger }; }
namespace LfoTarget         { enum Value : int { amp = 0, pitch, filter }; }
namespace PlayMode          { enum Value : int { poly = 0, mono, glide }; }   // glide: poly with slides

namespace ParameterItems
{
    inline constexpr const char* oscillatorWave[] = { "Sine", "Square", "Triangle", "Sawtooth", "Noise" };
    inline constexpr const char* filterType[] = { "Lowpass", "Bandpass", "Highpass" };
    inline constexpr const char* lfoWave[] = { "Sine", "Square", "SawUp", "SawDown", "Pump", "S&H" };
    inline constexpr const char* filterSlope[] = { "12 dB", "24 dB" };
    inline constexpr const char* unisonVoices[] = { "1", "2", "3", "4", "5", "6", "7", "8" };
    inline constexpr const char* lfoMode[] = { "Free", "Retrigger" };
    inline constexpr const char* lfoTarget[] = { "Amp", "Pitch", "Filter" };
    inline constexpr const char* playMode[] = { "Poly", "Mono", "Glide" };

    static_assert (std::size (oscillatorWave) == OscillatorWave::noise + 1, "one text per wave");
    static_assert (std::size (filterSlope) == FilterSlope::twentyFourDb + 1, "one text per slope");
    static_assert (std::size (filterType) == FilterType::highpass + 1, "one text per filter type");
    static_assert (std::size (lfoWave) == LfoWave::sampleAndHold + 1, "one text per LFO wave");
    static_assert (std::size (lfoMode) == LfoMode::retrigger + 1, "one text per LFO mode");
    static_assert (std::size (lfoTarget) == LfoTarget::filter + 1, "one text per LFO target");
    static_assert (std::size (playMode) == PlayMode::glide + 1, "one text per play mode");
}

namespace ParameterTableRows
{
    using Unit = ParameterUnit;

    constexpr ParameterInfo toggle (const char* name, const char* label, float defaultValue, const char* description)
    {
        return { name, label, defaultValue, ParameterKind::toggle, Unit::number, 1.0f, description };
    }

    template <int numItems>
    constexpr ParameterInfo choice (const char* name, const char* label, float defaultValue,
                                    const char* const (&items)[numItems], const char* description)
    {
        return { name, label, defaultValue, ParameterKind::choice, Unit::number, (float) (numItems - 1), description, items, numItems };
    }

    // A choice of a number of voices, whose items are "1", "2", ...: texts name the voices.
    template <int numItems>
    constexpr ParameterInfo voiceCount (const char* name, const char* label, const char* const (&items)[numItems], const char* description)
    {
        return { name, label, 0.0f, ParameterKind::choice, Unit::voices, (float) (numItems - 1), description, items, numItems };
    }

    constexpr ParameterInfo plain (const char* name, const char* label, float defaultValue, Unit unit, const char* description)
    {
        return { name, label, defaultValue, ParameterKind::plain, unit, 1.0f, description };
    }

    // Stored 0 ... 1 with 0.5 as zero.
    constexpr ParameterInfo bipolar (const char* name, const char* label, float defaultValue, const char* description)
    {
        return { name, label, defaultValue, ParameterKind::plain, Unit::bipolarPercent, 1.0f, description };
    }

    constexpr ParameterInfo offset (const char* name, const char* label, float defaultValue, const char* description)
    {
        return { name, label, defaultValue, ParameterKind::semitoneOffset, Unit::number, 0.24f, description };
    }

    constexpr ParameterInfo range (const char* name, const char* label, float defaultValue, const char* description)
    {
        return { name, label, defaultValue, ParameterKind::semitoneRange, Unit::number, 0.12f, description };
    }

    constexpr ParameterInfo storedOnly (const char* name, const char* label, float defaultValue, const char* description)
    {
        return { name, label, defaultValue, ParameterKind::plain, Unit::number, 1.0f, description, nullptr, 0, false };
    }

    using namespace ParameterItems;

    inline constexpr ParameterInfo all[] =
    {
        toggle ("Osc1Active",        "Osc 1 On",             1.0f, "Switches oscillator 1 on or off"),
        choice ("Osc1WaveType",      "Osc 1 Wave",           0.0f, oscillatorWave, "The shape of oscillator 1's wave: sine is pure, square hollow, triangle soft, sawtooth bright, noise a hiss without pitch"),
        plain  ("Osc1Gain",          "Osc 1 Gain",           0.5f, Unit::level, "How loud oscillator 1 sounds"),
        plain  ("Osc1Detune",        "Osc 1 Detune",         0.5f, Unit::cents, "Fine tuning of oscillator 1, up to a semitone either way; detune the two oscillators against each other for a fat sound"),
        plain  ("Osc1Pan",           "Osc 1 Pan",            0.5f, Unit::pan, "Where oscillator 1 sits between the left and right speaker"),
        offset ("Osc1Offset",        "Osc 1 Offset",         0.12f, "Transposes oscillator 1 by whole semitones, up to an octave either way"),
        range  ("Osc1PitchRange",    "Osc 1 Wheel Range",    0.02f, "How far the pitch wheel bends oscillator 1, in semitones"),
        range  ("Osc1PitchEnvRange", "Osc 1 Pitch Env Range", 0.01f, "How far the pitch envelope moves oscillator 1, in semitones"),
        toggle ("Osc1PitchEnvDown",  "Osc 1 Pitch Env Down", 0.0f, "The pitch envelope bends oscillator 1 down instead of up"),

        toggle ("Osc2Active",        "Osc 2 On",             0.0f, "Switches oscillator 2 on or off"),
        choice ("Osc2WaveType",      "Osc 2 Wave",           0.0f, oscillatorWave, "The shape of oscillator 2's wave: sine is pure, square hollow, triangle soft, sawtooth bright, noise a hiss without pitch"),
        plain  ("Osc2Gain",          "Osc 2 Gain",           0.5f, Unit::level, "How loud oscillator 2 sounds"),
        plain  ("Osc2Detune",        "Osc 2 Detune",         0.5f, Unit::cents, "Fine tuning of oscillator 2, up to a semitone either way; detune the two oscillators against each other for a fat sound"),
        plain  ("Osc2Pan",           "Osc 2 Pan",            0.5f, Unit::pan, "Where oscillator 2 sits between the left and right speaker"),
        offset ("Osc2Offset",        "Osc 2 Offset",         0.12f, "Transposes oscillator 2 by whole semitones, up to an octave either way"),
        range  ("Osc2PitchRange",    "Osc 2 Wheel Range",    0.02f, "How far the pitch wheel bends oscillator 2, in semitones"),
        range  ("Osc2PitchEnvRange", "Osc 2 Pitch Env Range", 0.01f, "How far the pitch envelope moves oscillator 2, in semitones"),
        toggle ("Osc2PitchEnvDown",  "Osc 2 Pitch Env Down", 0.0f, "The pitch envelope bends oscillator 2 down instead of up"),

        toggle ("Filter1Active",     "Filter On",            0.0f, "Switches the filter on; off, every note passes unfiltered"),
        choice ("Filter1Type",       "Filter Type",          0.0f, filterType, "Lowpass keeps the lows, bandpass a band around the cutoff, highpass the highs"),
        plain  ("Filter1Cutoff",     "Filter Cutoff",        0.3f, Unit::cutoff, "Where the filter cuts: lower is darker for the lowpass"),
        plain  ("Filter1Resonance",  "Filter Resonance",     0.0f, Unit::resonance, "Emphasis at the cutoff: higher rings and whistles"),

        toggle ("Lfo1Active",        "LFO On",               0.0f, "Switches the LFO on: a slow wave that moves the amplitude, the pitch or the filter"),
        choice ("Lfo1WaveType",      "LFO Wave",             0.0f, lfoWave, "The shape of the LFO's movement; Pump ducks the sound at every cycle, S&H jumps to a new random value at every cycle"),
        plain  ("Lfo1Speed",         "LFO Speed",            0.5f, Unit::lfoSpeed, "How fast the LFO moves: in Hz, or a note value while Sync is on"),
        choice ("Lfo1Mode",          "LFO Mode",             0.0f, lfoMode, "Free: every note sways together; Retrigger: every note starts its own cycle"),
        toggle ("Lfo1Sync",          "LFO Sync",             0.0f, "The LFO's speed follows the tempo, in note values"),
        choice ("Lfo1Target",        "LFO Target",           0.0f, lfoTarget, "What the LFO moves: the amplitude (tremolo), the pitch (vibrato) or the filter (wah)"),
        plain  ("Lfo1Mix",           "LFO Mix",              1.0f, Unit::percent, "How deep the LFO moves its target"),

        toggle ("Delay1Active",      "Delay On",             0.0f, "Switches the echo on"),
        toggle ("Delay1Sync",        "Delay Sync",           1.0f, "The echo's time follows the tempo, in sixteenth notes; off, it is in seconds"),
        plain  ("Delay1Mix",         "Delay Mix",            0.5f, Unit::percent, "How loud the echoes are"),
        plain  ("Delay1Time",        "Delay Time",           0.5f, Unit::delayTime, "The time between echoes: sixteenth notes with Sync on, seconds without"),
        plain  ("Delay1Feedback",    "Delay Feedback",       0.5f, Unit::percent, "How much of each echo comes back: more gives more repeats"),
        plain  ("Delay1Swing",       "Delay Swing",          0.0f, Unit::percent, "Pushes every other echo late, for a shuffle; full swing is a triplet feel"),

        toggle ("Reverb1Active",     "Reverb On",            0.0f, "Switches the reverb on"),
        plain  ("Reverb1Mix",        "Reverb Mix",           0.5f, Unit::percent, "How loud the room is against the dry sound"),
        plain  ("Reverb1Damping",    "Reverb Damping",       0.5f, Unit::percent, "How much the room swallows the highs: more is darker"),
        plain  ("Reverb1Feedback",   "Reverb Room Size",     0.5f, Unit::percent, "How big the room is: more is a longer tail"),

        plain  ("EnvAmpOsc1Attack",  "Osc 1 Attack",         0.1f, Unit::attack, "How long oscillator 1 takes to rise to full level after a key is struck"),
        plain  ("EnvAmpOsc1Decay",   "Osc 1 Decay",          0.5f, Unit::decay, "How long oscillator 1 takes to fall from full level to the sustain level"),
        plain  ("EnvAmpOsc1Sustain", "Osc 1 Sustain",        0.5f, Unit::percent, "The level oscillator 1 holds while the key is held"),
        plain  ("EnvAmpOsc1Release", "Osc 1 Release",        0.5f, Unit::release, "How long oscillator 1 takes to fade after the key is let go"),
        plain  ("EnvAmpOsc2Attack",  "Osc 2 Attack",         0.1f, Unit::attack, "How long oscillator 2 takes to rise to full level after a key is struck"),
        plain  ("EnvAmpOsc2Decay",   "Osc 2 Decay",          0.5f, Unit::decay, "How long oscillator 2 takes to fall from full level to the sustain level"),
        plain  ("EnvAmpOsc2Sustain", "Osc 2 Sustain",        0.5f, Unit::percent, "The level oscillator 2 holds while the key is held"),
        plain  ("EnvAmpOsc2Release", "Osc 2 Release",        0.5f, Unit::release, "How long oscillator 2 takes to fade after the key is let go"),

        toggle ("EnvPitchOsc1Active",  "Osc 1 Pitch Env On",      0.0f, "Switches oscillator 1's pitch envelope on: each note bends into its pitch"),
        plain  ("EnvPitchOsc1Attack",  "Osc 1 Pitch Attack",      0.5f, Unit::attack, "How long oscillator 1's pitch envelope takes to reach its peak"),
        plain  ("EnvPitchOsc1Decay",   "Osc 1 Pitch Decay",       0.5f, Unit::decay, "How long oscillator 1's pitch envelope takes to fall to its sustain"),
        plain  ("EnvPitchOsc1Sustain", "Osc 1 Pitch Sustain",     1.0f, Unit::percent, "Where oscillator 1's pitch envelope stays while the key is held"),
        plain  ("EnvPitchOsc1Release", "Osc 1 Pitch Release",     0.0f, Unit::release, "How long oscillator 1's pitch envelope takes to return after the key is let go"),
        toggle ("EnvPitchOsc2Active",  "Osc 2 Pitch Env On",      0.0f, "Switches oscillator 2's pitch envelope on: each note bends into its pitch"),
        plain  ("EnvPitchOsc2Attack",  "Osc 2 Pitch Attack",      0.5f, Unit::attack, "How long oscillator 2's pitch envelope takes to reach its peak"),
        plain  ("EnvPitchOsc2Decay",   "Osc 2 Pitch Decay",       0.5f, Unit::decay, "How long oscillator 2's pitch envelope takes to fall to its sustain"),
        plain  ("EnvPitchOsc2Sustain", "Osc 2 Pitch Sustain",     1.0f, Unit::percent, "Where oscillator 2's pitch envelope stays while the key is held"),
        plain  ("EnvPitchOsc2Release", "Osc 2 Pitch Release",     0.0f, Unit::release, "How long oscillator 2's pitch envelope takes to return after the key is let go"),

        toggle ("EnvFilter1Active",  "Filter Env On",        0.0f, "Switches the filter envelope on: each note opens and closes the filter"),
        plain  ("EnvFilter1Attack",  "Filter Env Attack",    0.5f, Unit::attack, "How long the filter takes to open after a key is struck"),
        plain  ("EnvFilter1Decay",   "Filter Env Decay",     0.5f, Unit::decay, "How long the filter takes to close to its sustain"),
        plain  ("EnvFilter1Sustain", "Filter Env Sustain",   0.5f, Unit::percent, "How far open the filter stays while the key is held"),
        plain  ("EnvFilter1Release", "Filter Env Release",   0.5f, Unit::release, "How long the filter takes to close after the key is let go"),

        toggle ("EnvLfo1Active",     "LFO Env On",           0.0f, "Switches the LFO envelope on: the LFO fades in with each note"),
        plain  ("EnvLfo1Attack",     "LFO Env Attack",       0.5f, Unit::attack, "How long the LFO takes to reach its full depth"),
        plain  ("EnvLfo1Decay",      "LFO Env Decay",        0.5f, Unit::decay, "How long the LFO's depth takes to fall to its sustain"),
        plain  ("EnvLfo1Sustain",    "LFO Env Sustain",      0.5f, Unit::percent, "The LFO's depth while the key is held"),
        plain  ("EnvLfo1Release",    "LFO Env Release",      0.5f, Unit::release, "How long the LFO's depth takes to fade after the key is let go"),

        plain      ("MasterVolume",    "Master Volume",      0.5f, Unit::level, "The level of the whole instrument"),
        storedOnly ("MidiLearn",       "MIDI Learn",         0.0f, "Stored with the program; nothing in the instrument acts on it"),
        plain      ("Glide",           "Glide Time",         0.0f, Unit::glide, "In Glide mode, how long each note slides from the note played before it"),
        choice     ("CurrentPlayMode", "Play Mode",          0.0f, playMode, "Poly plays chords, Mono one note at a time, Glide slides from note to note"),

        bipolar ("Filter1EnvAmount", "Filter Env Amount",    1.0f, "How far the filter envelope moves the cutoff: at +100 % it opens up to the knob, at 0 % not at all, below 0 it closes the filter from the knob down"),
        plain   ("Filter1KeyTrack",  "Filter Key Track",     0.0f, Unit::percent, "The cutoff follows the keys: at 100 % it rises an octave with every octave played above middle C"),
        plain   ("Filter1Velocity",  "Filter Velocity",      0.0f, Unit::percent, "Soft notes close the filter: the more, the darker a gentle touch sounds"),
        choice  ("Filter1Slope",     "Filter Slope",         0.0f, filterSlope, "How steeply the filter cuts: 24 dB is twice as steep as 12 dB"),
        plain   ("AmpVelocity",      "Amp Velocity",         1.0f, Unit::percent, "How much the touch sets the loudness: at 0 % every note plays at full level"),

        voiceCount ("Osc1Unison",    "Osc 1 Unison",         unisonVoices, "How many copies of oscillator 1 each note plays, detuned against each other for a thick sound"),
        plain   ("Osc1UnisonDetune", "Osc 1 Unison Detune",  0.3f, Unit::spreadCents, "How far apart oscillator 1's unison copies are tuned, up to 100 cents between the outermost"),
        plain   ("Osc1UnisonWidth",  "Osc 1 Unison Width",   0.5f, Unit::percent, "How far oscillator 1's unison copies spread across the stereo field around its pan"),
        voiceCount ("Osc2Unison",    "Osc 2 Unison",         unisonVoices, "How many copies of oscillator 2 each note plays, detuned against each other for a thick sound"),
        plain   ("Osc2UnisonDetune", "Osc 2 Unison Detune",  0.3f, Unit::spreadCents, "How far apart oscillator 2's unison copies are tuned, up to 100 cents between the outermost"),
        plain   ("Osc2UnisonWidth",  "Osc 2 Unison Width",   0.5f, Unit::percent, "How far oscillator 2's unison copies spread across the stereo field around its pan"),
        toggle  ("Osc2Sync",         "Osc 2 Sync",           0.0f, "Oscillator 2 restarts its wave with every cycle of oscillator 1: hard sync, for tearing leads when oscillator 2 is tuned higher"),
        plain   ("Lfo1ModWheel",     "LFO Mod Wheel",        0.0f, Unit::percent, "How much the modulation wheel adds to the LFO's mix: wheel up brings in the vibrato, wobble or tremolo"),
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
