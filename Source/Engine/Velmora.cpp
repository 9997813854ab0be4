#include "Engine/Velmora.h"
#include "Model/PluginState.h"

#include <cmath>
#include <limits>

namespace
{
    // Whole numbers from choice and semitone parameters. Values a host may send far outside
    // the editor's ranges (huge, NaN) saturate instead of overflowing the conversion.
    int toInt (double value) noexcept
    {
        if (std::isnan (value))
            return 0;

        // Far beyond any meaningful index or semitone count, yet small enough that the
        // engine's sums of a note and such values (note + offset) cannot overflow an int.
        constexpr double lowest = -(1 << 20);
        constexpr double highest = 1 << 20;
        return (int) juce::jlimit (lowest, highest, value);
    }

    bool flag (float p) noexcept            { return p != 0.0f; }
    int truncated (float p) noexcept        { return toInt (std::trunc ((double) p)); }
    int rounded (double x) noexcept         { return toInt (std::nearbyint (x)); }   // ties to even
    double attackSeconds (float p) noexcept { return p <= 0.5f ? 3.0 * p : 15.0 * p; }
    double releaseSeconds (float p) noexcept { return p <= 0.5f ? 5.0 * p : 15.0 * p; }

    void convertOscillator (const float* p, EngineSettings::Flag& active, EngineSettings::Index& waveType,
                            EngineSettings::Number& gain, EngineSettings::Number& detune,
                            EngineSettings::Number& pan, EngineSettings::Index& offset,
                            EngineSettings::Index& pitchRange, EngineSettings::Index& pitchEnvRange,
                            EngineSettings::Flag& pitchEnvDown)
    {
        active = flag (p[0]);
        waveType = truncated (p[1]);
        gain = 2.0 * p[2];
        detune = 2.0 * p[3] - 1.0;
        pan = 2.0 * p[4] - 1.0;
        offset = rounded (100.0 * p[5] - 12.0);
        pitchRange = rounded (100.0 * p[6]);
        pitchEnvRange = rounded (100.0 * p[7]);
        pitchEnvDown = flag (p[8]);
    }

    void convertEnvelope (const float* p, EngineSettings::Number& attack, EngineSettings::Number& decay,
                          EngineSettings::Number& sustain, EngineSettings::Number& release)
    {
        attack = attackSeconds (p[0]);
        decay = (double) p[1];
        sustain = (double) p[2];
        release = releaseSeconds (p[3]);
    }
}

Velmora::Velmora()
{
    setNoteStealingEnabled (true);
}

void Velmora::updateSettings (double newTempo)
{
    // No play head (or one reporting 0) means 120 beats per minute. A negative or
    // non-finite tempo would give negative delay lengths, so it is treated the same way.
    if (! (newTempo > 0.0) || ! std::isfinite (newTempo))
        newTempo = 120.0;

    tempo = newTempo;

    auto* program = state != nullptr ? state->getCurrentProgram() : nullptr;

    if (program == nullptr)
        return;

    float p[71];

    for (int index = 0; index < 71; ++index)
    {
        const auto* parameter = program->getParameter (index);
        p[index] = parameter != nullptr ? parameter->getValue() : 0.0f;
    }

    auto& s = settings;

    convertOscillator (p + 0, s.Osc1Active, s.Osc1WaveType, s.Osc1Gain, s.Osc1Detune, s.Osc1Pan,
                       s.Osc1Offset, s.Osc1PitchRange, s.Osc1PitchEnvRange, s.Osc1PitchEnvDown);
    convertOscillator (p + 9, s.Osc2Active, s.Osc2WaveType, s.Osc2Gain, s.Osc2Detune, s.Osc2Pan,
                       s.Osc2Offset, s.Osc2PitchRange, s.Osc2PitchEnvRange, s.Osc2PitchEnvDown);

    s.Filter1Active = flag (p[18]);
    s.Filter1Type = truncated (p[19]);
    s.Filter1Cutoff = (double) p[20];
    s.Filter1Resonance = (double) p[21];

    s.Lfo1Active = flag (p[22]);
    s.Lfo1WaveType = truncated (p[23]);
    s.Lfo1Speed = (double) p[24];
    s.Lfo1Mode = truncated (p[25]);
    s.Lfo1Sync = flag (p[26]);
    s.Lfo1Target = truncated (p[27]);
    s.Lfo1Mix = (double) p[28];

    s.Delay1Active = flag (p[29]);
    s.Delay1Sync = flag (p[30]);
    s.Delay1Mix = (double) p[31];
    s.Delay1Time = (double) p[32];
    s.Delay1Feedback = (double) p[33];
    s.Delay1Swing = (double) p[34];

    s.Reverb1Active = flag (p[35]);
    s.Reverb1Mix = (double) p[36];
    s.Reverb1Damping = (double) p[37];
    s.Reverb1Feedback = (double) p[38];

    convertEnvelope (p + 39, s.EnvAmpOsc1Attack, s.EnvAmpOsc1Decay, s.EnvAmpOsc1Sustain, s.EnvAmpOsc1Release);
    convertEnvelope (p + 43, s.EnvAmpOsc2Attack, s.EnvAmpOsc2Decay, s.EnvAmpOsc2Sustain, s.EnvAmpOsc2Release);

    s.EnvPitchOsc1Active = flag (p[47]);
    convertEnvelope (p + 48, s.EnvPitchOsc1Attack, s.EnvPitchOsc1Decay, s.EnvPitchOsc1Sustain, s.EnvPitchOsc1Release);
    s.EnvPitchOsc2Active = flag (p[52]);
    convertEnvelope (p + 53, s.EnvPitchOsc2Attack, s.EnvPitchOsc2Decay, s.EnvPitchOsc2Sustain, s.EnvPitchOsc2Release);
    s.EnvFilter1Active = flag (p[57]);
    convertEnvelope (p + 58, s.EnvFilter1Attack, s.EnvFilter1Decay, s.EnvFilter1Sustain, s.EnvFilter1Release);
    s.EnvLfo1Active = flag (p[62]);
    convertEnvelope (p + 63, s.EnvLfo1Attack, s.EnvLfo1Decay, s.EnvLfo1Sustain, s.EnvLfo1Release);

    s.MasterVolume = 2.0 * p[67];
    s.MidiLearn = truncated (p[68]);
    s.Glide = (double) p[69];
    s.CurrentPlayMode = truncated (p[70]);
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

    if (controllerNumber == 1)
        modWheelValue = controllerValue;
}
