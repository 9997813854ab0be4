#pragma once

#include "Engine/Envelope.h"
#include "Engine/EngineSettings.h"
#include "Engine/FastSine.h"
#include "Model/ParameterTable.h"

#include <juce_core/juce_core.h>

#include <cmath>

class Velmora;

// One of a voice's two sound sources: a band-limited sine, square, triangle or sawtooth
// by phase accumulation, tuned by note, offset, detune, pitch envelope and pitch wheel,
// and scaled by the voice level, its gain, its amplitude envelope and the voice LFO.
class Oscillator
{
public:
    // Oscillator index 0 reads oscillator 1's settings, index 1 oscillator 2's.
    Oscillator (Velmora& synth, int index);

    // Prepares for a new note: resets and starts both envelopes and takes the wave, the
    // tuning and the envelope times from the settings. Marks the oscillator started even
    // when it is switched off, which leaves its envelopes idle.
    void start (double level, double sampleRate, int note);

    // Re-reads gain, detune and wheel, and recomputes the pitch where they changed (every
    // sample while the pitch envelope runs). The voice calls it when the wheel moves.
    void refresh() noexcept;

    // Recomputes the detuned frequencies, advancing the pitch envelope when it is active.
    void computeFrequencies() noexcept;

    // The next output sample: refreshes, then advances the phase and the amplitude envelope.
    double nextSample (double lfoValue) noexcept;

    // The voice's way through a block: refreshForBlock once, where the settings and the
    // wheel are taken, then nextSampleOfBlock for each sample. Together they give exactly
    // what refresh and nextSample give per sample while the settings stay as they are.
    void refreshForBlock() noexcept;

    // One sample of a block begun with refreshForBlock.
    double nextSampleOfBlock (double lfoValue) noexcept     { return step<false> (lfoValue, 1.0); }

    // The same with the pitch multiplied by pitchFactor for this sample alone (the LFO on
    // the pitch, a glide): the wheel and the pitch envelope act beneath it as usual.
    double nextSampleOfBlock (double lfoValue, double pitchFactor) noexcept  { return step<true> (lfoValue, pitchFactor); }

    // Sends both envelopes into their release; idle envelopes stay idle.
    void release() noexcept;

    // Forgets the note at once: not started, both envelopes switched off. The phase stays.
    void silence() noexcept;

    // The LFO target taken at the last start (LfoTarget's values).
    int getLfoTarget() const noexcept                     { return lfoTarget; }

    // 0 for oscillator 1, 1 for oscillator 2.
    int getIndex() const noexcept                         { return index; }

    // This oscillator's switch, read live by the voice.
    bool isSwitchedOn() const noexcept;

    // True from the first start on, until silence; the voice skips oscillators never started.
    bool hasStarted() const noexcept                      { return started; }

    // The amplitude envelope; the oscillator has ended when it is idle.
    const Envelope& getAmplitudeEnvelope() const noexcept  { return amplitudeEnvelope; }

    // The pitch envelope, active when the note started with it switched on.
    const Envelope& getPitchEnvelope() const noexcept      { return pitchEnvelope; }

    // Hz: after detune and pitch envelope, and after the pitch wheel as well.
    double getFrequency() const noexcept                  { return frequency; }
    double getBentFrequency() const noexcept              { return bentFrequency; }

    // Radians, 0 <= phase < 2 pi, and radians per sample.
    double getPhase() const noexcept                      { return phase; }
    double getPhaseIncrement() const noexcept             { return phaseIncrement; }

    // Moves the waveform to a phase in radians, 0 <= phase < 2 pi; the next sample starts there.
    void setPhase (double newPhase) noexcept              { phase = newPhase; }

private:
    friend struct VoiceLaneAccess;     // the voice lanes copy the state in and out

    // The settings this oscillator reads, oscillator 1's or oscillator 2's, by name.
    struct Settings
    {
        Settings (const EngineSettings& settings, int oscillatorIndex) noexcept;

        const EngineSettings::Flag& active;
        const EngineSettings::Index& waveType;
        const EngineSettings::Number& gain;
        const EngineSettings::Number& detune;
        const EngineSettings::Index& offset;
        const EngineSettings::Index& pitchRange;
        const EngineSettings::Index& pitchEnvRange;
        const EngineSettings::Flag& pitchEnvDown;
        const EngineSettings::Number& ampAttack;
        const EngineSettings::Number& ampDecay;
        const EngineSettings::Number& ampSustain;
        const EngineSettings::Number& ampRelease;
        const EngineSettings::Flag& pitchEnvActive;
        const EngineSettings::Number& pitchAttack;
        const EngineSettings::Number& pitchDecay;
        const EngineSettings::Number& pitchSustain;
        const EngineSettings::Number& pitchRelease;
    };

    template <bool scalesPitch>
    double step (double lfoValue, double pitchFactor) noexcept;

    static int bendPercentFor (int wheel) noexcept;
    void computeBend() noexcept;
    void computeNoteFrequencies() noexcept;
    void followPitchEnvelope() noexcept;
    static double blep (double x, double dt) noexcept;
    static double wrapToUnit (double x) noexcept;

    Velmora& synth;
    int waveType = OscillatorWave::sine;
    bool started = false;
    const int index;
    double phase = 0.0;                 // radians, 0 <= phase < 2 pi after each step
    double phaseIncrement = 0.0;        // radians per sample
    double level = 0.0;
    double gain = 0.0;
    double detune = 0.0;
    double baseFrequency = 0.0;         // Hz, note + offset without detune
    double frequency = 0.0;             // Hz, after detune and pitch envelope
    double bentFrequency = 0.0;         // Hz, after the pitch wheel
    double sampleRate = 44100.0;
    double frequencyUp = 0.0;           // Hz at full upward wheel
    double frequencyDown = 0.0;         // Hz at full downward wheel
    double triangleState = 0.0;
    int lastWheel = 0;
    int noteWithOffset = 0;
    int pitchRange = 0;
    int pitchEnvRange = 0;
    bool pitchEnvDown = false;
    int offset = 0;
    int lfoTarget = LfoTarget::amp;
    Envelope amplitudeEnvelope;
    Envelope pitchEnvelope;

    // Hz: note with offset +- pitch range, and the semitones above and below each.
    struct NoteFrequencies
    {
        double up = 0.0, down = 0.0;
        double above = 0.0, upAbove = 0.0, downAbove = 0.0;
        double below = 0.0, upBelow = 0.0, downBelow = 0.0;
    };

    NoteFrequencies noteFrequencies;

    const Settings settings;
};

// The two-sample polynomial correction of a step at the cycle start.
inline double Oscillator::blep (double x, double dt) noexcept
{
    if (x < dt)
    {
        const auto u = x / dt;
        return 2.0 * u - u * u - 1.0;
    }

    if (x > 1.0 - dt)
    {
        const auto u = (x - 1.0) / dt;
        return u * u + 2.0 * u + 1.0;
    }

    return 0.0;
}

// fmod (x, 1) without the library call for the usual 0 <= x < 2; exact, since the
// subtraction of 1 from a value in [1, 2) loses nothing.
inline double Oscillator::wrapToUnit (double x) noexcept
{
    if (x >= 0.0 && x < 1.0)
        return x;

    if (x >= 1.0 && x < 2.0)
        return x - 1.0;

    return std::fmod (x, 1.0);
}

// Inline: the voice calls it for every oscillator and sample. Without scalesPitch the
// phase moves by the phase increment itself, so unmodulated notes pay nothing for it.
template <bool scalesPitch>
inline double Oscillator::step (double lfoValue, double pitchFactor) noexcept
{
    if (pitchEnvelope.isActive())
        followPitchEnvelope();

    constexpr double pi = juce::MathConstants<double>::pi;
    constexpr double twoPi = juce::MathConstants<double>::twoPi;
    auto increment = phaseIncrement;

    if constexpr (scalesPitch)
        increment *= pitchFactor;
    else
        juce::ignoreUnused (pitchFactor);

    double v;

    if (waveType == OscillatorWave::sine)
    {
        v = fastSine (phase);
    }
    else
    {
        const auto t = phase / twoPi;
        const auto dt = increment / twoPi;

        if (waveType == OscillatorWave::sawtooth)
        {
            v = 2.0 * t - 1.0 - blep (t, dt);
        }
        else
        {
            v = (phase < pi ? 1.0 : -1.0) + blep (t, dt) - blep (wrapToUnit (t + 0.5), dt);

            if (waveType == OscillatorWave::triangle)
            {
                v = increment * v + (1.0 - increment) * triangleState;
                triangleState = v;
            }
        }
    }

    phase += increment;

    if (phase >= twoPi)
    {
        phase -= twoPi;

        // Only pitches above the sample rate (host values far outside the editor's
        // ranges) step more than a cycle; an infinite step would never wrap.
        if (phase >= twoPi)
            phase = std::isfinite (phase) ? std::fmod (phase, twoPi) : 0.0;
    }

    const auto env = amplitudeEnvelope.process();
    auto result = (v * level * gain) * env;

    if (lfoTarget == LfoTarget::amp)
        result *= (1.0 + lfoValue);

    return result;
}
