#include "Engine/Velmora.h"
#include "Engine/OscillatorVoice.h"
#include "Engine/VoiceLaneRenderer.h"
#include "Engine/VoiceStealing.h"
#include "Model/NoteValue.h"
#include "Model/ParameterTable.h"
#include "Model/ParameterValue.h"
#include "Model/PluginProgram.h"
#include "Model/PluginState.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
    // The conversions of the settings table, from a stored value p.
    bool flag (float p) noexcept                { return ParameterValue::isOn (p); }
    int truncated (float p) noexcept            { return ParameterValue::truncated (p); }
    int rounded (double x) noexcept             { return ParameterValue::toWholeNumber (std::nearbyint (x)); }   // ties to even
    double plain (float p) noexcept             { return (double) p; }
    double doubled (float p) noexcept           { return 2.0 * p; }                     // gains 0 ... 2
    double centred (float p) noexcept           { return 2.0 * p - 1.0; }               // detune, pan -1 ... +1
    int semitoneOffset (float p) noexcept       { return rounded (100.0 * p - 12.0); }
    int semitones (float p) noexcept            { return rounded (100.0 * p); }
    double attackSeconds (float p) noexcept     { return p <= 0.5f ? 3.0 * p : 15.0 * p; }
    double releaseSeconds (float p) noexcept    { return p <= 0.5f ? 5.0 * p : 15.0 * p; }

    // Unsynchronised, the LFO's rate is the speed setting times this.
    constexpr double hertzPerSpeed = 10.0;
    constexpr double secondsPerMinute = 60.0;

    // Oscillator 1's settings or oscillator 2's, each field by name, so that the two
    // oscillators cannot be mixed up by position.
    OscillatorNoteSettings oscillatorNote (const EngineSettings& s, int o) noexcept
    {
        const bool first = o == 0;
        return { first ? s.Osc1Active : s.Osc2Active, first ? s.Osc1WaveType : s.Osc2WaveType,
                 first ? s.Osc1Detune : s.Osc2Detune, first ? s.Osc1Gain : s.Osc2Gain, first ? s.Osc1Offset : s.Osc2Offset,
                 first ? s.Osc1PitchRange : s.Osc2PitchRange, first ? s.Osc1PitchEnvRange : s.Osc2PitchEnvRange,
                 first ? s.Osc1PitchEnvDown : s.Osc2PitchEnvDown, first ? s.EnvPitchOsc1Active : s.EnvPitchOsc2Active,
                 first ? Envelope::Parameters { s.EnvAmpOsc1Attack, s.EnvAmpOsc1Decay, s.EnvAmpOsc1Sustain, s.EnvAmpOsc1Release }
                       : Envelope::Parameters { s.EnvAmpOsc2Attack, s.EnvAmpOsc2Decay, s.EnvAmpOsc2Sustain, s.EnvAmpOsc2Release },
                 first ? Envelope::Parameters { s.EnvPitchOsc1Attack, s.EnvPitchOsc1Decay, s.EnvPitchOsc1Sustain, s.EnvPitchOsc1Release }
                       : Envelope::Parameters { s.EnvPitchOsc2Attack, s.EnvPitchOsc2Decay, s.EnvPitchOsc2Sustain, s.EnvPitchOsc2Release } };
    }

    OscillatorBlockSettings oscillatorBlock (const EngineSettings& s, int o) noexcept
    {
        const bool first = o == 0;
        return { first ? s.Osc1Active : s.Osc2Active, first ? s.Osc1Gain : s.Osc2Gain,
                 first ? s.Osc1Detune : s.Osc2Detune, first ? s.Osc1Pan : s.Osc2Pan };
    }
}

Velmora::Velmora()
    : laneRenderer (std::make_unique<VoiceLaneRenderer>())
{
    setNoteStealingEnabled (true);
}

Velmora::~Velmora() = default;

void Velmora::setSharedLfoValues (const double* values, int count) noexcept
{
    sharedLfoValues = values;
    numSharedLfoValues = values != nullptr ? count : 0;
}

juce::SynthesiserVoice* Velmora::findVoiceToSteal (juce::SynthesiserSound* soundToPlay, int, int midiNoteNumber) const
{
    return VoiceStealing::chooseVoice (voices, soundToPlay, midiNoteNumber);
}

void Velmora::renderVoices (juce::AudioBuffer<float>& buffer, int startSample, int numSamples)
{
    laneRenderer->render (voices, getBlockSettings (startSample, numSamples), buffer, startSample, numSamples);
}

LfoSettings Velmora::getLfoSettings() const noexcept
{
    const auto& s = settings;
    const double speed = s.Lfo1Speed;
    const bool sync = s.Lfo1Sync;

    // Synchronised, a cycle lasts the note value the speed chooses, at the tempo.
    const double rate = sync ? tempo / secondsPerMinute / NoteValue::forSpeed (speed).beats : speed * hertzPerSpeed;

    // The modulation wheel or the channel pressure, whichever is higher, adds its share of
    // its depth to the mix, up to a full mix.
    double mix = s.Lfo1Mix;
    const double wheelDepth = s.Lfo1ModWheel;

    if (const auto amount = getModulationAmount(); wheelDepth != 0.0 && amount > 0.0)
        mix = juce::jmin (juce::jmax (1.0, mix), mix + wheelDepth * amount);

    return { s.Lfo1WaveType, s.Lfo1Mode, sync, speed, mix, rate };
}

NoteSettings Velmora::getNoteSettings (int glideFromNote) const noexcept
{
    const auto& s = settings;
    NoteSettings note;
    static_cast<VoiceBlockSettings&> (note) = getBlockSettings (0, 0);

    for (int o = 0; o < 2; ++o)
    {
        note.oscillatorNotes[o] = oscillatorNote (s, o);
        note.oscillatorNotes[o].tuning = &noteFrequencies;
    }

    note.lfoEnvelopeOn = s.EnvLfo1Active;
    note.lfoEnvelope = { s.EnvLfo1Attack, s.EnvLfo1Decay, s.EnvLfo1Sustain, s.EnvLfo1Release };
    note.filterType = s.Filter1Type;
    note.filterEnvelopeOn = s.EnvFilter1Active;
    note.filterEnvelope = { s.EnvFilter1Attack, s.EnvFilter1Decay, s.EnvFilter1Sustain, s.EnvFilter1Release };
    note.filterKeyTrack = s.Filter1KeyTrack;
    note.filterVelocity = s.Filter1Velocity;
    note.ampVelocity = s.AmpVelocity;
    note.glideFromNote = glideFromNote;
    note.glide = s.Glide;
    return note;
}

VoiceBlockSettings Velmora::getBlockSettings (int startSample, int numSamples) const noexcept
{
    const auto& s = settings;
    VoiceBlockSettings block;

    for (int o = 0; o < 2; ++o)
        block.oscillators[o] = oscillatorBlock (s, o);

    block.wheel = pitchWheelValue;
    block.master = s.MasterVolume;
    block.lfoOn = s.Lfo1Active;
    block.lfoTarget = s.Lfo1Target;
    block.lfo = getLfoSettings();
    block.filterOn = s.Filter1Active;
    block.cutoff = (float) s.Filter1Cutoff;
    block.resonance = (float) s.Filter1Resonance;
    block.filterEnvAmount = s.Filter1EnvAmount;

    if (sharedLfoValues != nullptr && startSample >= 0 && startSample + numSamples <= numSharedLfoValues)
        block.sharedLfoValues = sharedLfoValues + startSample;

    return block;
}

void Velmora::updateSettings()
{
    auto* program = state != nullptr ? state->getCurrentProgram() : nullptr;

    if (program == nullptr)
        return;

    using namespace ParameterIndex;
    // The current program's values, read once each by parameter index.
    const auto p = [program] (Index index)
    {
        const auto* parameter = program->getParameter (index);
        return parameter != nullptr ? parameter->getValue() : 0.0f;
    };

    auto& s = settings;

    // One line per parameter, in index order; each field is named after its parameter.
    s.Osc1Active          = flag (p (Osc1Active));
    s.Osc1WaveType        = truncated (p (Osc1WaveType));
    s.Osc1Gain            = doubled (p (Osc1Gain));
    s.Osc1Detune          = centred (p (Osc1Detune));
    s.Osc1Pan             = centred (p (Osc1Pan));
    s.Osc1Offset          = semitoneOffset (p (Osc1Offset));
    s.Osc1PitchRange      = semitones (p (Osc1PitchRange));
    s.Osc1PitchEnvRange   = semitones (p (Osc1PitchEnvRange));
    s.Osc1PitchEnvDown    = flag (p (Osc1PitchEnvDown));

    s.Osc2Active          = flag (p (Osc2Active));
    s.Osc2WaveType        = truncated (p (Osc2WaveType));
    s.Osc2Gain            = doubled (p (Osc2Gain));
    s.Osc2Detune          = centred (p (Osc2Detune));
    s.Osc2Pan             = centred (p (Osc2Pan));
    s.Osc2Offset          = semitoneOffset (p (Osc2Offset));
    s.Osc2PitchRange      = semitones (p (Osc2PitchRange));
    s.Osc2PitchEnvRange   = semitones (p (Osc2PitchEnvRange));
    s.Osc2PitchEnvDown    = flag (p (Osc2PitchEnvDown));

    s.Filter1Active       = flag (p (Filter1Active));
    s.Filter1Type         = truncated (p (Filter1Type));
    s.Filter1Cutoff       = plain (p (Filter1Cutoff));
    s.Filter1Resonance    = plain (p (Filter1Resonance));

    s.Lfo1Active          = flag (p (Lfo1Active));
    s.Lfo1WaveType        = truncated (p (Lfo1WaveType));
    s.Lfo1Speed           = plain (p (Lfo1Speed));
    s.Lfo1Mode            = truncated (p (Lfo1Mode));
    s.Lfo1Sync            = flag (p (Lfo1Sync));
    s.Lfo1Target          = truncated (p (Lfo1Target));
    s.Lfo1Mix             = plain (p (Lfo1Mix));

    s.Delay1Active        = flag (p (Delay1Active));
    s.Delay1Sync          = flag (p (Delay1Sync));
    s.Delay1Mix           = plain (p (Delay1Mix));
    s.Delay1Time          = plain (p (Delay1Time));
    s.Delay1Feedback      = plain (p (Delay1Feedback));
    s.Delay1Swing         = plain (p (Delay1Swing));

    s.Reverb1Active       = flag (p (Reverb1Active));
    s.Reverb1Mix          = plain (p (Reverb1Mix));
    s.Reverb1Damping      = plain (p (Reverb1Damping));
    s.Reverb1Feedback     = plain (p (Reverb1Feedback));

    s.EnvAmpOsc1Attack    = attackSeconds (p (EnvAmpOsc1Attack));
    s.EnvAmpOsc1Decay     = plain (p (EnvAmpOsc1Decay));
    s.EnvAmpOsc1Sustain   = plain (p (EnvAmpOsc1Sustain));
    s.EnvAmpOsc1Release   = releaseSeconds (p (EnvAmpOsc1Release));
    s.EnvAmpOsc2Attack    = attackSeconds (p (EnvAmpOsc2Attack));
    s.EnvAmpOsc2Decay     = plain (p (EnvAmpOsc2Decay));
    s.EnvAmpOsc2Sustain   = plain (p (EnvAmpOsc2Sustain));
    s.EnvAmpOsc2Release   = releaseSeconds (p (EnvAmpOsc2Release));

    s.EnvPitchOsc1Active  = flag (p (EnvPitchOsc1Active));
    s.EnvPitchOsc1Attack  = attackSeconds (p (EnvPitchOsc1Attack));
    s.EnvPitchOsc1Decay   = plain (p (EnvPitchOsc1Decay));
    s.EnvPitchOsc1Sustain = plain (p (EnvPitchOsc1Sustain));
    s.EnvPitchOsc1Release = releaseSeconds (p (EnvPitchOsc1Release));
    s.EnvPitchOsc2Active  = flag (p (EnvPitchOsc2Active));
    s.EnvPitchOsc2Attack  = attackSeconds (p (EnvPitchOsc2Attack));
    s.EnvPitchOsc2Decay   = plain (p (EnvPitchOsc2Decay));
    s.EnvPitchOsc2Sustain = plain (p (EnvPitchOsc2Sustain));
    s.EnvPitchOsc2Release = releaseSeconds (p (EnvPitchOsc2Release));

    s.EnvFilter1Active    = flag (p (EnvFilter1Active));
    s.EnvFilter1Attack    = attackSeconds (p (EnvFilter1Attack));
    s.EnvFilter1Decay     = plain (p (EnvFilter1Decay));
    s.EnvFilter1Sustain   = plain (p (EnvFilter1Sustain));
    s.EnvFilter1Release   = releaseSeconds (p (EnvFilter1Release));

    s.EnvLfo1Active       = flag (p (EnvLfo1Active));
    s.EnvLfo1Attack       = attackSeconds (p (EnvLfo1Attack));
    s.EnvLfo1Decay        = plain (p (EnvLfo1Decay));
    s.EnvLfo1Sustain      = plain (p (EnvLfo1Sustain));
    s.EnvLfo1Release      = releaseSeconds (p (EnvLfo1Release));

    s.MasterVolume        = doubled (p (MasterVolume));
    s.MidiLearn           = truncated (p (MidiLearn));
    s.Glide               = plain (p (Glide));
    s.CurrentPlayMode     = truncated (p (CurrentPlayMode));

    s.Filter1EnvAmount    = centred (p (Filter1EnvAmount));
    s.Filter1KeyTrack     = plain (p (Filter1KeyTrack));
    s.Filter1Velocity     = plain (p (Filter1Velocity));
    s.Filter1Slope        = truncated (p (Filter1Slope));
    s.AmpVelocity         = plain (p (AmpVelocity));
    s.Osc1Unison          = truncated (p (Osc1Unison));
    s.Osc1UnisonDetune    = plain (p (Osc1UnisonDetune));
    s.Osc1UnisonWidth     = plain (p (Osc1UnisonWidth));
    s.Osc2Unison          = truncated (p (Osc2Unison));
    s.Osc2UnisonDetune    = plain (p (Osc2UnisonDetune));
    s.Osc2UnisonWidth     = plain (p (Osc2UnisonWidth));
    s.Osc2Sync            = flag (p (Osc2Sync));
    s.Lfo1ModWheel        = plain (p (Lfo1ModWheel));
}

// JUCE's own note-on, with the note assigned to its voice before the voice starts.
void Velmora::noteOn (int midiChannel, int midiNoteNumber, float velocity)
{
    const juce::ScopedLock sl (lock);

    // A key the tuning's keyboard mapping leaves out plays nothing.
    if (! noteFrequencies.sounds (midiNoteNumber))
        return;

    for (auto* sound : sounds)
    {
        if (! (sound->appliesToNote (midiNoteNumber) && sound->appliesToChannel (midiChannel)))
            continue;

        // A note still ringing (the pedals hold it) is stopped first.
        for (auto* voice : voices)
            if (voice->getCurrentlyPlayingNote() == midiNoteNumber && voice->isPlayingChannel (midiChannel))
                stopVoice (voice, 1.0f, true);

        auto* voice = findFreeVoice (sound, midiChannel, midiNoteNumber, isNoteStealingEnabled());

        if (auto* oscillatorVoice = dynamic_cast<OscillatorVoice*> (voice))
            assignNote (*oscillatorVoice, midiNoteNumber);

        startVoice (voice, sound, midiChannel, midiNoteNumber, velocity);
    }
}

// Mono: earlier notes go into their release (free voices are unaffected). Glide: the note
// slides from the one started before it, unless nothing else sounds (the first note after
// silence) or it is the same note again.
void Velmora::assignNote (OscillatorVoice& voice, int midiNoteNumber)
{
    const int playMode = settings.CurrentPlayMode;

    if (playMode == PlayMode::mono)
        for (auto* other : voices)
            if (other != &voice)
                other->stopNote (0.0f, true);

    const int previousNote = std::exchange (lastStartedNote, midiNoteNumber);
    const bool glides = playMode == PlayMode::glide && previousNote >= 0 && previousNote != midiNoteNumber
                         && std::any_of (voices.begin(), voices.end(), [&] (auto* other) { return other != &voice && other->isVoiceActive(); });

    voice.setNextNote (getNoteSettings (glides ? previousNote : -1));
}

// The voices on the channel refresh at once; every voice follows the last wheel message
// on any channel from its next block.
void Velmora::handlePitchWheel (int midiChannel, int wheelValue)
{
    Synthesiser::handlePitchWheel (midiChannel, wheelValue);
    pitchWheelValue = wheelValue;
}

void Velmora::setPitchWheel (int value)
{
    pitchWheelValue = value;

    // Each refresh holds the lock so that it cannot race the voice's rendering.
    for (int i = 0; i < getNumVoices(); ++i)
    {
        const juce::ScopedLock sl (lock);

        if (auto* voice = getVoice (i))
            voice->pitchWheelMoved (value);
    }
}

// Voices are examined under the lock, which the audio thread already holds while
// rendering; other threads hold it only briefly.
bool Velmora::anyKeyDown() const noexcept
{
    const juce::ScopedLock sl (lock);
    return std::any_of (voices.begin(), voices.end(), [] (auto* voice) { return voice->isKeyDown(); });
}

bool Velmora::anyVoiceSounding() const noexcept
{
    const juce::ScopedLock sl (lock);
    return std::any_of (voices.begin(), voices.end(), [] (auto* voice) { return voice->isVoiceActive(); });
}

void Velmora::handleController (int midiChannel, int controllerNumber, int controllerValue)
{
    Synthesiser::handleController (midiChannel, controllerNumber, controllerValue);

    constexpr int modulationWheelController = 1;

    if (controllerNumber == modulationWheelController)
        modWheelValue = controllerValue;
}

void Velmora::handleChannelPressure (int midiChannel, int pressure)
{
    Synthesiser::handleChannelPressure (midiChannel, pressure);
    channelPressureValue = pressure;
}

double Velmora::getModulationAmount() const noexcept
{
    constexpr double fullScale = 127.0;
    return juce::jlimit (0.0, 1.0, juce::jmax (modWheelValue.load(), channelPressureValue.load()) / fullScale);
}
