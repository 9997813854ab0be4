#include "Engine/Oscillator.h"
#include "Engine/Velmora.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

namespace
{
    constexpr double twoPi = juce::MathConstants<double>::twoPi;

    double noteHz (int note) noexcept
    {
        return juce::MidiMessage::getMidiNoteInHertz (note);
    }

    Oscillator::Settings settingsFor (const EngineSettings& s, int index)
    {
        if (index == 0)
            return { s.Osc1Active, s.Osc1WaveType, s.Osc1Gain, s.Osc1Detune, s.Osc1Offset,
                     s.Osc1PitchRange, s.Osc1PitchEnvRange, s.Osc1PitchEnvDown,
                     s.EnvAmpOsc1Attack, s.EnvAmpOsc1Decay, s.EnvAmpOsc1Sustain, s.EnvAmpOsc1Release,
                     s.EnvPitchOsc1Active, s.EnvPitchOsc1Attack, s.EnvPitchOsc1Decay,
                     s.EnvPitchOsc1Sustain, s.EnvPitchOsc1Release };

        return { s.Osc2Active, s.Osc2WaveType, s.Osc2Gain, s.Osc2Detune, s.Osc2Offset,
                 s.Osc2PitchRange, s.Osc2PitchEnvRange, s.Osc2PitchEnvDown,
                 s.EnvAmpOsc2Attack, s.EnvAmpOsc2Decay, s.EnvAmpOsc2Sustain, s.EnvAmpOsc2Release,
                 s.EnvPitchOsc2Active, s.EnvPitchOsc2Attack, s.EnvPitchOsc2Decay,
                 s.EnvPitchOsc2Sustain, s.EnvPitchOsc2Release };
    }
}

Oscillator::Oscillator (Velmora& synthToUse, int oscillatorIndex)
    : synth (synthToUse),
      index (oscillatorIndex),
      settings (settingsFor (synthToUse.settings, oscillatorIndex))
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
    pitchEnvelope.active = settings.pitchEnvActive;

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

    if (pitchEnvelope.active)
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

    if (pitchEnvelope.active)
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
void Oscillator::computeBend() noexcept
{
    double bend = 0.0;

    if (lastWheel != 8192)
    {
        const auto t = (int) ((lastWheel - 8192) * 0.01220703125);

        if (t > 0)
            bend = (frequencyUp - frequency) / 100.0 * t;
        else if (t < 0)
            bend = (frequency - frequencyDown) / 100.0 * t;
    }

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

    if (pitchEnvelope.active)
    {
        const auto e = pitchEnvelope.process();
        const auto stage = pitchEnvelope.stage;

        if (stage == Envelope::attackStage || stage == Envelope::sustainStage || stage == Envelope::releaseStage
             || (stage == Envelope::idleStage && pitchEnvelope.finished))
        {
            const auto g = 1.0 - pitchEnvRange * (pitchEnvelope.finished ? 1.0 : e);
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
