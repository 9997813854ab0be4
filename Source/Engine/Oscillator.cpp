#include "Engine/Oscillator.h"
#include "Engine/Velmora.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

namespace
{
    constexpr double twoPi = juce::MathConstants<double>::twoPi;

    // The wheel bends in whole percent of its full deflection: 100 / 8192 percent per step
    // away from the centre.
    constexpr double fullDeflectionPercent = 100.0;
    constexpr double wheelPercentPerStep = fullDeflectionPercent / Velmora::pitchWheelCentre;
    static_assert (wheelPercentPerStep == 0.01220703125, "exact in binary");

    double noteHz (int note) noexcept
    {
        return juce::MidiMessage::getMidiNoteInHertz (note);
    }
}

// Each field by name, so that the two oscillators cannot be mixed up by position.
Oscillator::Settings::Settings (const EngineSettings& s, int oscillatorIndex) noexcept
    : active         (oscillatorIndex == 0 ? s.Osc1Active : s.Osc2Active),
      waveType       (oscillatorIndex == 0 ? s.Osc1WaveType : s.Osc2WaveType),
      gain           (oscillatorIndex == 0 ? s.Osc1Gain : s.Osc2Gain),
      detune         (oscillatorIndex == 0 ? s.Osc1Detune : s.Osc2Detune),
      offset         (oscillatorIndex == 0 ? s.Osc1Offset : s.Osc2Offset),
      pitchRange     (oscillatorIndex == 0 ? s.Osc1PitchRange : s.Osc2PitchRange),
      pitchEnvRange  (oscillatorIndex == 0 ? s.Osc1PitchEnvRange : s.Osc2PitchEnvRange),
      pitchEnvDown   (oscillatorIndex == 0 ? s.Osc1PitchEnvDown : s.Osc2PitchEnvDown),
      ampAttack      (oscillatorIndex == 0 ? s.EnvAmpOsc1Attack : s.EnvAmpOsc2Attack),
      ampDecay       (oscillatorIndex == 0 ? s.EnvAmpOsc1Decay : s.EnvAmpOsc2Decay),
      ampSustain     (oscillatorIndex == 0 ? s.EnvAmpOsc1Sustain : s.EnvAmpOsc2Sustain),
      ampRelease     (oscillatorIndex == 0 ? s.EnvAmpOsc1Release : s.EnvAmpOsc2Release),
      pitchEnvActive (oscillatorIndex == 0 ? s.EnvPitchOsc1Active : s.EnvPitchOsc2Active),
      pitchAttack    (oscillatorIndex == 0 ? s.EnvPitchOsc1Attack : s.EnvPitchOsc2Attack),
      pitchDecay     (oscillatorIndex == 0 ? s.EnvPitchOsc1Decay : s.EnvPitchOsc2Decay),
      pitchSustain   (oscillatorIndex == 0 ? s.EnvPitchOsc1Sustain : s.EnvPitchOsc2Sustain),
      pitchRelease   (oscillatorIndex == 0 ? s.EnvPitchOsc1Release : s.EnvPitchOsc2Release)
{
}

Oscillator::Oscillator (Velmora& synthToUse, int oscillatorIndex)
    : synth (synthToUse),
      index (oscillatorIndex),
      settings (synthToUse.settings, oscillatorIndex)
{
}

bool Oscillator::isSwitchedOn() const noexcept
{
    return settings.active;
}

void Oscillator::start (double newLevel, double newSampleRate, int note)
{
    amplitudeEnvelope.reset();
    pitchEnvelope.reset();

    lfoTarget = synth.settings.Lfo1Target;
    started = true;

    if (! settings.active)
        return;

    waveType = settings.waveType;
    detune = settings.detune;
    gain = settings.gain;
    offset = settings.offset;
    pitchRange = settings.pitchRange;
    pitchEnvRange = settings.pitchEnvRange;
    pitchEnvDown = settings.pitchEnvDown;

    level = newLevel;
    pitchEnvelope.setActive (settings.pitchEnvActive);

    noteWithOffset = note + offset;
    baseFrequency = noteHz (noteWithOffset);
    computeNoteFrequencies();

    computeFrequencies();

    lastWheel = synth.pitchWheelValue;
    sampleRate = newSampleRate;
    computeBend();

    amplitudeEnvelope.start (sampleRate);
    pitchEnvelope.start (sampleRate);

    amplitudeEnvelope.setAttack (settings.ampAttack);
    amplitudeEnvelope.setDecay (settings.ampDecay);
    amplitudeEnvelope.setSustain (settings.ampSustain);
    amplitudeEnvelope.setRelease (settings.ampRelease);

    pitchEnvelope.setAttack (settings.pitchAttack);
    pitchEnvelope.setDecay (settings.pitchDecay);
    pitchEnvelope.setSustain (settings.pitchSustain);
    pitchEnvelope.setRelease (settings.pitchRelease);
}

void Oscillator::refresh() noexcept
{
    refreshForBlock();

    if (pitchEnvelope.isActive())
        followPitchEnvelope();
}

// Gain, detune and wheel as they are now. Without the pitch envelope the frequencies follow
// a changed detune or wheel here; with it, followPitchEnvelope recomputes them every sample.
void Oscillator::refreshForBlock() noexcept
{
    const auto previousDetune = detune;

    gain = settings.gain;
    detune = settings.detune;

    const int wheel = synth.pitchWheelValue;

    if (pitchEnvelope.isActive())
    {
        lastWheel = wheel;
        return;
    }

    const bool recomputed = detune != previousDetune;

    if (recomputed)
        computeFrequencies();

    if (wheel != lastWheel || recomputed)
    {
        lastWheel = wheel;
        computeBend();
    }
}

// One step of the pitch envelope: new frequencies and phase increment.
void Oscillator::followPitchEnvelope() noexcept
{
    computeFrequencies();
    computeBend();
}

// The wheel bends linearly in Hz towards the pitch-range frequencies, in whole percent.
// The wheel position in whole percent, -100 ... +100.
int Oscillator::bendPercentFor (int wheel) noexcept
{
    if (wheel == Velmora::pitchWheelCentre)
        return 0;

    return (int) ((wheel - Velmora::pitchWheelCentre) * wheelPercentPerStep);
}

void Oscillator::computeBend() noexcept
{
    double bend = 0.0;

    // The bend is t percent of the way to the pitch-range frequency.
    const auto t = bendPercentFor (lastWheel);

    if (t > 0)
        bend = (frequencyUp - frequency) / fullDeflectionPercent * t;
    else if (t < 0)
        bend = (frequency - frequencyDown) / fullDeflectionPercent * t;

    bentFrequency = frequency + bend;
    phaseIncrement = bentFrequency * twoPi / sampleRate;
}

// The note frequencies computeFrequencies needs depend only on the note, the offset and
// the pitch range, all fixed at start: taken once here rather than every sample.
void Oscillator::computeNoteFrequencies() noexcept
{
    const int n = noteWithOffset;
    const int r = pitchRange;

    noteFrequencies = { noteHz (n + r), noteHz (n - r),
                        noteHz (n + 1), noteHz (n + r + 1), noteHz (n - r + 1),
                        noteHz (n - 1), noteHz (n + r - 1), noteHz (n - r - 1) };
}

void Oscillator::computeFrequencies() noexcept
{
    const auto& notes = noteFrequencies;
    double d = detune;

    double a = baseFrequency;
    double b = notes.up;
    double c = notes.down;

    if (pitchEnvelope.isActive())
    {
        const auto e = pitchEnvelope.process();
        const auto stage = pitchEnvelope.getStage();

        if (stage == Envelope::attackStage || stage == Envelope::sustainStage || stage == Envelope::releaseStage
             || (stage == Envelope::idleStage && pitchEnvelope.isFinished()))
        {
            const auto g = 1.0 - pitchEnvRange * (pitchEnvelope.isFinished() ? 1.0 : e);
            d = pitchEnvDown ? d + g : d - g;
        }
    }

    if (d > 0.0)
    {
        a = a + (notes.above - a) * d;
        b = b + (notes.upAbove - b) * d;
        c = c + (notes.downAbove - c) * d;
    }
    else if (d < 0.0)
    {
        a = a + (a - notes.below) * d;
        b = b + (b - notes.upBelow) * d;
        c = c + (c - notes.downBelow) * d;
    }

    frequency = a;
    frequencyUp = b;
    frequencyDown = c;
}

double Oscillator::nextSample (double lfoValue) noexcept
{
    refreshForBlock();
    return nextSampleOfBlock (lfoValue);
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
