#include "Engine/Oscillator.h"
#include "Model/ParameterTable.h"

#include <juce_audio_basics/juce_audio_basics.h>

static_assert ((int) OscillatorStep::sine == (int) OscillatorWave::sine && (int) OscillatorStep::square == (int) OscillatorWave::square
               && (int) OscillatorStep::triangle == (int) OscillatorWave::triangle && (int) OscillatorStep::sawtooth == (int) OscillatorWave::sawtooth,
               "the waves' numbers");
static_assert (OscillatorStep::pi == juce::MathConstants<double>::pi && OscillatorStep::twoPi == juce::MathConstants<double>::twoPi,
               "the oscillators' pi");

namespace
{
    // The wheel bends in whole percent of its full deflection: 100 / 8192 percent per step
    // away from the centre.
    constexpr int wheelCentre = 8192;
    constexpr double wheelPercentPerStep = 100.0 / wheelCentre;
    static_assert (wheelPercentPerStep == 0.01220703125, "exact in binary");

}

// Equal temperament exactly as JUCE computes it, or the tuning's frequency of the note.
double Oscillator::noteHz (int note) const noexcept
{
    if (tuning == nullptr || tuning->isEqualTemperament())
        return juce::MidiMessage::getMidiNoteInHertz (note);

    return tuning->frequencyOf (note);
}

void Oscillator::start (const OscillatorNoteSettings& settings, int noteLfoTarget, double level, double sampleRate, int note, int wheel)
{
    amplitudeEnvelope.reset();
    pitchEnvelope.reset();

    lfoTarget = noteLfoTarget;
    started = true;

    if (! settings.on)
        return;

    waveType = settings.wave;
    tuning = settings.tuning;
    state.detune = settings.detune;
    state.gain = settings.gain;
    offset = settings.offset;
    pitchRange = settings.pitchRange;
    state.pitchEnvRange = settings.pitchEnvRange;
    state.pitchEnvDown = settings.pitchEnvDown;

    state.level = level;
    pitchEnvelope.setActive (settings.pitchEnvOn);

    noteWithOffset = note + offset;
    state.baseFrequency = noteHz (noteWithOffset);
    computeNoteFrequencies();

    computeFrequencies();

    lastWheel = wheel;
    state.sampleRate = sampleRate;
    computeBend();

    amplitudeEnvelope.start (sampleRate);
    pitchEnvelope.start (sampleRate);
    amplitudeEnvelope.setParameters (settings.amplitude);
    pitchEnvelope.setParameters (settings.pitch);
}

void Oscillator::refresh (const OscillatorBlockSettings& settings, int wheel) noexcept
{
    refreshForBlock (settings, wheel);

    if (pitchEnvelope.isActive())
        followPitchEnvelope();
}

// Without the pitch envelope the frequencies follow a changed detune or wheel here; with
// it, the samples recompute them every sample.
void Oscillator::refreshForBlock (const OscillatorBlockSettings& settings, int wheel) noexcept
{
    const auto previousDetune = state.detune;

    state.gain = settings.gain;
    state.detune = settings.detune;

    if (pitchEnvelope.isActive())
    {
        lastWheel = wheel;
        return;
    }

    const bool recomputed = state.detune != previousDetune;

    if (recomputed)
        computeFrequencies();

    if (wheel != lastWheel || recomputed)
    {
        lastWheel = wheel;
        computeBend();
    }
}

void Oscillator::followPitchEnvelope() noexcept { OscillatorStep::followPitchEnvelope<false> (state, pitchEnvelope.getState(), bendPercentFor (lastWheel), true); }
void Oscillator::computeBend() noexcept         { OscillatorStep::computeBend<false> (state, bendPercentFor (lastWheel), true); }

int Oscillator::bendPercentFor (int wheel) noexcept
{
    if (wheel == wheelCentre)
        return 0;

    return (int) ((wheel - wheelCentre) * wheelPercentPerStep);
}

// The note frequencies computeFrequencies needs depend only on the note, the offset and
// the pitch range, all fixed at start: taken once here rather than every sample.
void Oscillator::computeNoteFrequencies() noexcept
{
    const int n = noteWithOffset;
    const int r = pitchRange;

    state.up = noteHz (n + r);
    state.down = noteHz (n - r);
    state.above = noteHz (n + 1);
    state.upAbove = noteHz (n + r + 1);
    state.downAbove = noteHz (n - r + 1);
    state.below = noteHz (n - 1);
    state.upBelow = noteHz (n + r - 1);
    state.downBelow = noteHz (n - r - 1);
}

// With the pitch envelope active this advances it one step, as at the note start.
void Oscillator::computeFrequencies() noexcept
{
    const auto detune = pitchEnvelope.isActive() ? OscillatorStep::detuneAfterPitchEnvelope<false> (state, pitchEnvelope.getState(), true)
                                                 : state.detune;
    OscillatorStep::computeFrequencies<false> (state, detune, true);
}

OscillatorPlan Oscillator::getPlan (double pan) const noexcept
{
    return { index, waveType, lfoTarget == LfoTarget::amp, pitchEnvelope.isActive(), bendPercentFor (lastWheel), 1.0 - pan, 1.0 + pan };
}

double Oscillator::nextSample (double lfoValue) noexcept
{
    bool becameIdle = false;
    auto dt = state.increment / OscillatorStep::twoPi;
    return OscillatorStep::step<false> (state, amplitudeEnvelope.getState(), pitchEnvelope.getState(), getPlan (0.0),
                                        dt, true, lfoValue, false, 1.0, true, becameIdle);
}

void Oscillator::release() noexcept
{
    amplitudeEnvelope.release();
    pitchEnvelope.release();
}

void Oscillator::silence() noexcept
{
    started = false;
    amplitudeEnvelope.setActive (false);
    pitchEnvelope.setActive (false);
}
