#include "OscillatorVoice.h"
#include "OscillatorSound.h"
#include "SynthAudioSource.h"
#include "Velmora.h"

namespace
{
    double sign (double x) noexcept
    {
        return (double) ((x > 0.0) - (x < 0.0));
    }
}

OscillatorVoice::OscillatorVoice (SynthAudioSource& sourceToUse, Velmora& synthToUse)
    : source (sourceToUse),
      synth (synthToUse),
      oscillators { std::make_unique<Oscillator> (synthToUse, 0), std::make_unique<Oscillator> (synthToUse, 1) },
      scratch (2, 0)
{
}

OscillatorVoice::~OscillatorVoice() = default;

bool OscillatorVoice::canPlaySound (juce::SynthesiserSound* sound)
{
    return dynamic_cast<OscillatorSound*> (sound) != nullptr;
}

void OscillatorVoice::startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound*, int)
{
    const auto& settings = synth.settings;

    // Mono: earlier notes go into their release; free voices are unaffected.
    if (settings.CurrentPlayMode == 1)
        for (int i = 0; i < synth.getNumVoices(); ++i)
            if (auto* other = synth.getVoice (i); other != this)
                other->stopNote (0.0f, true);

    note = midiNoteNumber;
    sampleRate = getSampleRate();
    level = velocity * 0.15;

    for (auto& oscillator : oscillators)
        oscillator->start (level, sampleRate, note);

    // The voice LFO is retriggered here, and the filter set up for the note after it.
}

// The voice is never cut by stopNote, even without tail-off: it stays active until
// renderNextBlock finds every envelope finished.
void OscillatorVoice::stopNote (float, bool)
{
    for (auto& oscillator : oscillators)
    {
        if (! oscillator->amplitudeEnvelope.isIdle())
            oscillator->amplitudeEnvelope.release();

        if (! oscillator->pitchEnvelope.isIdle())
            oscillator->pitchEnvelope.release();
    }

    // The filter envelope is released here too.
}

void OscillatorVoice::pitchWheelMoved (int)
{
    for (auto& oscillator : oscillators)
        oscillator->refresh();
}

void OscillatorVoice::controllerMoved (int, int)
{
}

void OscillatorVoice::prepareScratch (int maximumBlockSize)
{
    scratch.setSize (2, juce::jmax (1, maximumBlockSize), false, true, false);
}

void OscillatorVoice::silence()
{
    clearCurrentNote();
    note = 0;

    for (auto& oscillator : oscillators)
    {
        oscillator->started = false;
        oscillator->amplitudeEnvelope.active = false;
        oscillator->pitchEnvelope.active = false;
    }
}

void OscillatorVoice::renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples)
{
    if (! isVoiceActive())
        return;

    // Reuses the storage; only a block longer than any before allocates.
    scratch.setSize (2, numSamples, false, false, true);
    scratch.clear();

    const auto& settings = synth.settings;
    const double master = settings.MasterVolume;
    const bool on[2] = { settings.Osc1Active, settings.Osc2Active };
    const double pan[2] = { settings.Osc1Pan, settings.Osc2Pan };

    auto* left = scratch.getWritePointer (0);
    auto* right = scratch.getWritePointer (1);

    for (int i = 0; i < numSamples; ++i)
    {
        const double lfo = 0.0;
        double l = 0.0, r = 0.0;
        int contributions = 0;
        bool allIdle = true;

        for (size_t o = 0; o < 2; ++o)
        {
            auto& oscillator = *oscillators[o];

            if (! on[o] || ! oscillator.started)
                continue;

            const auto v = oscillator.nextSample (lfo);
            const auto oscLeft = (1.0 - pan[o]) * v;
            const auto oscRight = (1.0 + pan[o]) * v;

            if (! oscillator.amplitudeEnvelope.isIdle())
                allIdle = false;

            if (contributions == 0)
            {
                l = oscLeft;
                r = oscRight;
            }
            else
            {
                // Signed soft sum: two full-scale sources of one sign do not simply add.
                auto s = oscLeft + l;
                l = s - oscLeft * l * sign (s);
                s = oscRight + r;
                r = s - oscRight * r * sign (s);
            }

            ++contributions;
        }

        left[i] += (float) (l * master);
        right[i] += (float) (r * master);

        if (allIdle)
        {
            clearCurrentNote();
            note = 0;
            break;
        }
    }

    // The voice filter runs over the scratch block here.

    output.addFrom (0, startSample, scratch, 0, 0, numSamples);

    if (output.getNumChannels() > 1)
        output.addFrom (1, startSample, scratch, 1, 0, numSamples);
}
