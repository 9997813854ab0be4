#include "Engine/Lfo.h"
#include "Engine/FastSine.h"
#include "Engine/Velmora.h"

#include <cmath>

namespace
{
    constexpr double pi = juce::MathConstants<double>::pi;
    constexpr double twoPi = juce::MathConstants<double>::twoPi;

    // Unsynchronised, the rate is the speed setting times this.
    constexpr double hertzPerSpeed = 10.0;

    // Synchronised, the rate is speed / 10 / tempo x sample rate x this, in whole Hz.
    constexpr double syncedRateScale = 0.25;
}

Lfo::Lfo (Velmora& synthToUse)
    : synth (synthToUse)
{
}

void Lfo::retrigger (double newSampleRate) noexcept
{
    const auto& settings = synth.settings;

    envelope.reset();
    sampleRate = newSampleRate;

    active = settings.Lfo1Active;
    waveType = settings.Lfo1WaveType.load();
    mode = settings.Lfo1Mode.load();
    sync = settings.Lfo1Sync.load();
    target = settings.Lfo1Target;

    // Unsynchronised even when sync is on: the next refresh applies the tempo.
    const double newSpeed = settings.Lfo1Speed;
    const double newRate = newSpeed * hertzPerSpeed;
    speed = newSpeed;
    rate = newRate;

    envelope.setActive (settings.EnvLfo1Active);

    if (envelope.isActive())
    {
        envelope.start (newSampleRate);
        envelope.setAttack (settings.EnvLfo1Attack);
        envelope.setDecay (settings.EnvLfo1Decay);
        envelope.setSustain (settings.EnvLfo1Sustain);
        envelope.setRelease (settings.EnvLfo1Release);
    }

    phaseIncrement = twoPi * newRate / newSampleRate;
}

void Lfo::refresh() noexcept
{
    const auto& settings = synth.settings;

    waveType = settings.Lfo1WaveType.load();
    mode = settings.Lfo1Mode.load();
    const bool isSynced = settings.Lfo1Sync;
    sync = isSynced;
    mix = settings.Lfo1Mix.load();

    const double s = settings.Lfo1Speed;
    const double fs = sampleRate;
    const double r = isSynced ? std::trunc (s / hertzPerSpeed / synth.tempo * fs * syncedRateScale)
                                : s * hertzPerSpeed;

    // Comparing the increment as well as the rate catches a new sample rate, and mends
    // a rate and an increment written by two threads from different settings.
    const double increment = twoPi * r / fs;

    if (r != rate || increment != phaseIncrement)
    {
        speed = s;
        rate = r;
        phaseIncrement = increment;
    }
}

double Lfo::nextValue (bool refreshFirst) noexcept
{
    if (refreshFirst)
        refresh();

    double w = 0.0;

    switch (waveType)
    {
        case LfoWave::sine:    w = fastSine (phase); break;
        case LfoWave::square:  w = phase < pi ? 1.0 : -1.0; break;
        case LfoWave::sawUp:   w = 2.0 * (phase / twoPi) - 1.0; break;
        case LfoWave::sawDown: w = 1.0 - 2.0 * (phase / twoPi); break;

        // A duck at each cycle start that recovers smoothly: on the amplitude at full
        // mix the gain falls to 0 and returns to 1, the side-chain "pumping" effect.
        case LfoWave::pump:
        {
            const auto rest = 1.0 - phase / twoPi;
            w = -(rest * rest);
            break;
        }

        default:      break;   // values no editor item names do not modulate
    }

    phase += phaseIncrement;

    if (phase >= twoPi)
    {
        phase -= twoPi;

        // Only speeds far beyond the editor's range step more than a cycle.
        if (phase >= twoPi)
            phase = std::fmod (phase, twoPi);
    }

    // An infinite or NaN speed from a host would otherwise spoil the phase for good.
    if (! std::isfinite (phase))
        phase = 0.0;

    if (envelope.isActive())
        return (envelope.process() * w) * mix;

    return w * mix;
}

// The global LFO's block start: the settings, then the envelope decided once for the block.
void Lfo::startBlock (bool keyPressedInBlock) noexcept
{
    refresh();

    const bool envelopeOn = synth.settings.EnvLfo1Active;
    envelope.setActive (envelopeOn);

    if (envelopeOn)
    {
        if (keyPressedInBlock || anyKeyDown())
        {
            if (envelope.isIdle() || armed)
                retrigger (sampleRate);

            armed = false;
        }
        else
        {
            armed = true;

            // The envelope keeps running while releases sound, and rests once all are over.
            if (! envelope.isIdle() && ! anyVoiceActive())
                envelope.reset();
        }
    }
}

void Lfo::applyToBuffer (juce::AudioBuffer<float>& buffer, int startSample, int numSamples) noexcept
{
    startBlock (false);

    const int channels = juce::jmin (2, buffer.getNumChannels());
    startSample = juce::jlimit (0, buffer.getNumSamples(), startSample);
    numSamples = juce::jmin (numSamples, buffer.getNumSamples() - startSample);

    float* data[2] = { channels > 0 ? buffer.getWritePointer (0, startSample) : nullptr,
                       channels > 1 ? buffer.getWritePointer (1, startSample) : nullptr };

    for (int i = 0; i < numSamples; ++i)
    {
        const double gain = 1.0 + nextValue (false);

        for (int c = 0; c < channels; ++c)
            data[c][i] = (float) (data[c][i] * gain);
    }
}

void Lfo::reserveBlock (int maximumBlockSize)
{
    blockValues.resize ((size_t) juce::jmax (1, maximumBlockSize));
    blockLength = 0;
}

void Lfo::computeBlock (int numSamples, bool keyPressedInBlock)
{
    startBlock (keyPressedInBlock);
    numSamples = juce::jmax (0, numSamples);

    // Only a host that breaks its announced block size makes this allocate.
    if ((size_t) numSamples > blockValues.size())
        blockValues.resize ((size_t) numSamples);

    for (int i = 0; i < numSamples; ++i)
        blockValues[(size_t) i] = nextValue (false);

    blockLength = numSamples;
}

const double* Lfo::getBlockValues (int startSample, int numSamples) const noexcept
{
    if (startSample < 0 || numSamples < 0 || startSample + numSamples > blockLength)
        return nullptr;

    return blockValues.data() + startSample;
}

// Voices are examined under the synthesiser's lock, which the audio thread already holds
// while rendering; other threads hold it only briefly.
bool Lfo::anyKeyDown() const noexcept
{
    const juce::ScopedLock lock (synth.getLock());

    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (synth.getVoice (i)->isKeyDown())
            return true;

    return false;
}

bool Lfo::anyVoiceActive() const noexcept
{
    const juce::ScopedLock lock (synth.getLock());

    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (synth.getVoice (i)->isVoiceActive())
            return true;

    return false;
}
