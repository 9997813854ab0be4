#include "Engine/Velmora.h"
#include "Engine/VoiceLaneRenderer.h"
#include "Engine/VoiceStealing.h"
#include "Model/ParameterTable.h"
#include "Model/ParameterValue.h"
#include "Model/PluginProgram.h"
#include "Model/PluginState.h"

#include <cmath>
#include <limits>

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

    // The current program's values, read once each by parameter index.
    class ProgramValues
    {
    public:
        explicit ProgramValues (const PluginProgram& programToRead) noexcept : program (programToRead) {}

        float operator[] (ParameterIndex::Index index) const noexcept
        {
            const auto* parameter = program.getParameter (index);
            return parameter != nullptr ? parameter->getValue() : 0.0f;
        }

    private:
        const PluginProgram& program;
    };
}

Velmora::Velmora()
    : laneRenderer (std::make_unique<VoiceLaneRenderer>())
{
    setNoteStealingEnabled (true);
}

Velmora::~Velmora() = default;

juce::SynthesiserVoice* Velmora::findVoiceToSteal (juce::SynthesiserSound* soundToPlay, int, int midiNoteNumber) const
{
    return VoiceStealing::chooseVoice (voices, soundToPlay, midiNoteNumber);
}

void Velmora::renderVoices (juce::AudioBuffer<float>& buffer, int startSample, int numSamples)
{
    laneRenderer->render (voices, buffer, startSample, numSamples);
}

void Velmora::updateSettings (double newTempo)
{
    // No play head (or one reporting 0) means 120 beats per minute. A negative or
    // non-finite tempo would give negative delay lengths, so it is treated the same way.
    if (! (newTempo > 0.0) || ! std::isfinite (newTempo))
        newTempo = defaultTempo;

    tempo = newTempo;

    auto* program = state != nullptr ? state->getCurrentProgram() : nullptr;

    if (program == nullptr)
        return;

    using namespace ParameterIndex;
    const ProgramValues p (*program);
    auto& s = settings;

    // One line per parameter, in index order; each field is named after its parameter.
    s.Osc1Active          = flag (p[Osc1Active]);
    s.Osc1WaveType        = truncated (p[Osc1WaveType]);
    s.Osc1Gain            = doubled (p[Osc1Gain]);
    s.Osc1Detune          = centred (p[Osc1Detune]);
    s.Osc1Pan             = centred (p[Osc1Pan]);
    s.Osc1Offset          = semitoneOffset (p[Osc1Offset]);
    s.Osc1PitchRange      = semitones (p[Osc1PitchRange]);
    s.Osc1PitchEnvRange   = semitones (p[Osc1PitchEnvRange]);
    s.Osc1PitchEnvDown    = flag (p[Osc1PitchEnvDown]);

    s.Osc2Active          = flag (p[Osc2Active]);
    s.Osc2WaveType        = truncated (p[Osc2WaveType]);
    s.Osc2Gain            = doubled (p[Osc2Gain]);
    s.Osc2Detune          = centred (p[Osc2Detune]);
    s.Osc2Pan             = centred (p[Osc2Pan]);
    s.Osc2Offset          = semitoneOffset (p[Osc2Offset]);
    s.Osc2PitchRange      = semitones (p[Osc2PitchRange]);
    s.Osc2PitchEnvRange   = semitones (p[Osc2PitchEnvRange]);
    s.Osc2PitchEnvDown    = flag (p[Osc2PitchEnvDown]);

    s.Filter1Active       = flag (p[Filter1Active]);
    s.Filter1Type         = truncated (p[Filter1Type]);
    s.Filter1Cutoff       = plain (p[Filter1Cutoff]);
    s.Filter1Resonance    = plain (p[Filter1Resonance]);

    s.Lfo1Active          = flag (p[Lfo1Active]);
    s.Lfo1WaveType        = truncated (p[Lfo1WaveType]);
    s.Lfo1Speed           = plain (p[Lfo1Speed]);
    s.Lfo1Mode            = truncated (p[Lfo1Mode]);
    s.Lfo1Sync            = flag (p[Lfo1Sync]);
    s.Lfo1Target          = truncated (p[Lfo1Target]);
    s.Lfo1Mix             = plain (p[Lfo1Mix]);

    s.Delay1Active        = flag (p[Delay1Active]);
    s.Delay1Sync          = flag (p[Delay1Sync]);
    s.Delay1Mix           = plain (p[Delay1Mix]);
    s.Delay1Time          = plain (p[Delay1Time]);
    s.Delay1Feedback      = plain (p[Delay1Feedback]);
    s.Delay1Swing         = plain (p[Delay1Swing]);

    s.Reverb1Active       = flag (p[Reverb1Active]);
    s.Reverb1Mix          = plain (p[Reverb1Mix]);
    s.Reverb1Damping      = plain (p[Reverb1Damping]);
    s.Reverb1Feedback     = plain (p[Reverb1Feedback]);

    s.EnvAmpOsc1Attack    = attackSeconds (p[EnvAmpOsc1Attack]);
    s.EnvAmpOsc1Decay     = plain (p[EnvAmpOsc1Decay]);
    s.EnvAmpOsc1Sustain   = plain (p[EnvAmpOsc1Sustain]);
    s.EnvAmpOsc1Release   = releaseSeconds (p[EnvAmpOsc1Release]);
    s.EnvAmpOsc2Attack    = attackSeconds (p[EnvAmpOsc2Attack]);
    s.EnvAmpOsc2Decay     = plain (p[EnvAmpOsc2Decay]);
    s.EnvAmpOsc2Sustain   = plain (p[EnvAmpOsc2Sustain]);
    s.EnvAmpOsc2Release   = releaseSeconds (p[EnvAmpOsc2Release]);

    s.EnvPitchOsc1Active  = flag (p[EnvPitchOsc1Active]);
    s.EnvPitchOsc1Attack  = attackSeconds (p[EnvPitchOsc1Attack]);
    s.EnvPitchOsc1Decay   = plain (p[EnvPitchOsc1Decay]);
    s.EnvPitchOsc1Sustain = plain (p[EnvPitchOsc1Sustain]);
    s.EnvPitchOsc1Release = releaseSeconds (p[EnvPitchOsc1Release]);
    s.EnvPitchOsc2Active  = flag (p[EnvPitchOsc2Active]);
    s.EnvPitchOsc2Attack  = attackSeconds (p[EnvPitchOsc2Attack]);
    s.EnvPitchOsc2Decay   = plain (p[EnvPitchOsc2Decay]);
    s.EnvPitchOsc2Sustain = plain (p[EnvPitchOsc2Sustain]);
    s.EnvPitchOsc2Release = releaseSeconds (p[EnvPitchOsc2Release]);

    s.EnvFilter1Active    = flag (p[EnvFilter1Active]);
    s.EnvFilter1Attack    = attackSeconds (p[EnvFilter1Attack]);
    s.EnvFilter1Decay     = plain (p[EnvFilter1Decay]);
    s.EnvFilter1Sustain   = plain (p[EnvFilter1Sustain]);
    s.EnvFilter1Release   = releaseSeconds (p[EnvFilter1Release]);

    s.EnvLfo1Active       = flag (p[EnvLfo1Active]);
    s.EnvLfo1Attack       = attackSeconds (p[EnvLfo1Attack]);
    s.EnvLfo1Decay        = plain (p[EnvLfo1Decay]);
    s.EnvLfo1Sustain      = plain (p[EnvLfo1Sustain]);
    s.EnvLfo1Release      = releaseSeconds (p[EnvLfo1Release]);

    s.MasterVolume        = doubled (p[MasterVolume]);
    s.MidiLearn           = truncated (p[MidiLearn]);
    s.Glide               = plain (p[Glide]);
    s.CurrentPlayMode     = truncated (p[CurrentPlayMode]);
}

void Velmora::noteOn (int midiChannel, int midiNoteNumber, float velocity)
{
    Synthesiser::noteOn (midiChannel, midiNoteNumber, velocity);
}

void Velmora::noteOff (int midiChannel, int midiNoteNumber, float velocity, bool allowTailOff)
{
    Synthesiser::noteOff (midiChannel, midiNoteNumber, velocity, allowTailOff);
}

// Every voice follows the last wheel message on any channel: oscillators read the value
// when they refresh.
void Velmora::handlePitchWheel (int midiChannel, int wheelValue)
{
    Synthesiser::handlePitchWheel (midiChannel, wheelValue);
    pitchWheelValue = wheelValue;
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
