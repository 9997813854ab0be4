#include "Engine/OscillatorVoice.h"
#include "Engine/OscillatorSound.h"
#include "Engine/SynthAudioSource.h"
#include "Engine/Velmora.h"

#include <cmath>
#include <utility>

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
      lfo (std::make_unique<Lfo> (synthToUse)),
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
    if (settings.CurrentPlayMode == PlayMode::mono)
        for (int i = 0; i < synth.getNumVoices(); ++i)
            if (auto* other = synth.getVoice (i); other != this)
                other->stopNote (0.0f, true);

    note = midiNoteNumber;
    sampleRate = getSampleRate();
    level = velocity * levelPerVelocity;

    for (auto& oscillator : oscillators)
        oscillator->start (level, sampleRate, note);

    startGlide (std::exchange (synth.lastStartedNote, note));

    if (settings.Lfo1Active)
        lfo->retrigger (sampleRate);

    // With the filter off the filter keeps its earlier set-up.
    auto& envelope = filter.getEnvelope();
    filter.setActive (settings.Filter1Active);
    envelope.setActive (filter.isActive());

    if (! filter.isActive())
        return;

    filter.startNote ((float) sampleRate, settings.Filter1Type, (float) settings.Filter1Cutoff,
                      (float) settings.Filter1Resonance);

    envelope.setActive (settings.EnvFilter1Active);

    if (envelope.isActive())
    {
        // The envelope then drives the cutoff sample by sample.
        envelope.reset();
        envelope.start (filter.getSampleRate());
        envelope.setAttack (settings.EnvFilter1Attack);
        envelope.setDecay (settings.EnvFilter1Decay);
        envelope.setSustain (settings.EnvFilter1Sustain);
        envelope.setRelease (settings.EnvFilter1Release);
    }
    else
    {
        filter.setCutoff ((float) settings.Filter1Cutoff);
    }
}

// Play mode Glide: the note starts at the pitch of the note started before it and slides
// to its own, linearly in semitones, over Glide^2 x 2 s. Without a glide time, or when
// nothing else sounds, it starts at its own pitch.
void OscillatorVoice::startGlide (int previousNote)
{
    glideSemitones = 0.0;
    glideStep = 0.0;
    glideSamplesLeft = 0;

    const auto& settings = synth.settings;

    if (settings.CurrentPlayMode != PlayMode::glide || previousNote < 0 || previousNote == note)
        return;

    constexpr double secondsAtFullGlide = 2.0;
    constexpr double longestGlideSamples = 1.0e9;      // host values far beyond the editor's
    const double glide = settings.Glide;
    const double samples = std::round (glide * glide * secondsAtFullGlide * sampleRate);

    if (! (samples >= 1.0) || ! anyOtherVoiceSounding())
        return;

    glideSamplesLeft = (int) juce::jmin (samples, longestGlideSamples);
    glideSemitones = previousNote - note;
    glideStep = glideSemitones / glideSamplesLeft;
}

bool OscillatorVoice::anyOtherVoiceSounding() const noexcept
{
    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (auto* other = synth.getVoice (i); other != this && other->isVoiceActive())
            return true;

    return false;
}

// The voice is never cut by stopNote, even without tail-off: it stays active until
// renderNextBlock finds every envelope finished.
void OscillatorVoice::stopNote (float, bool)
{
    for (auto& oscillator : oscillators)
        oscillator->release();

    filter.getEnvelope().release();
}

void OscillatorVoice::pitchWheelMoved (int)
{
    for (auto& oscillator : oscillators)
        oscillator->refresh();
}

void OscillatorVoice::controllerMoved (int, int)
{
}

void OscillatorVoice::prepare (int maximumBlockSize)
{
    scratch.setSize (2, juce::jmax (1, maximumBlockSize), false, true, false);
}

void OscillatorVoice::silence()
{
    clearCurrentNote();
    note = 0;
    glideSemitones = 0.0;
    glideSamplesLeft = 0;

    for (auto& oscillator : oscillators)
        oscillator->silence();
}

void OscillatorVoice::renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples)
{
    if (! isVoiceActive())
        return;

    const auto plan = beginBlock (startSample, numSamples);
    renderPlannedBlock (plan, output, startSample, numSamples);
}

// Settings, wheel and LFO rate are taken once here; JUCE splits blocks at MIDI events, so
// wheel messages still take effect at their sample.
OscillatorVoice::BlockPlan OscillatorVoice::beginBlock (int startSample, int numSamples) noexcept
{
    // Reuses the storage; only a block longer than any before allocates.
    scratch.setSize (2, numSamples, false, false, true);

    BlockPlan plan;
    const auto& settings = synth.settings;
    plan.master = settings.MasterVolume;
    const bool on[2] = { settings.Osc1Active, settings.Osc2Active };
    const double pan[2] = { settings.Osc1Pan, settings.Osc2Pan };
    const bool lfoOn = settings.Lfo1Active;
    const int target = settings.Lfo1Target;
    const bool retriggered = settings.Lfo1Mode == LfoMode::retrigger;
    plan.filterOn = settings.Filter1Active;
    const bool voiceLfo = lfoOn && target != LfoTarget::filter && retriggered;

    // The pitch and filter targets act while chosen, on notes that started with them.
    const int noteTarget = oscillators[0]->getLfoTarget();
    const bool lfoOnPitch = lfoOn && target == LfoTarget::pitch && noteTarget == LfoTarget::pitch;
    plan.lfoOnFilter = lfoOn && plan.filterOn && target == LfoTarget::filter && noteTarget == LfoTarget::filter;

    // In Free mode they follow the global LFO's values, computed once for the whole block.
    const double* sharedValues = (lfoOnPitch || plan.lfoOnFilter) && ! retriggered
                                   ? source.getGlobalLfo().getBlockValues (startSample, numSamples)
                                   : nullptr;

    // The oscillators sounding in this block with their linear pan gains.
    for (size_t o = 0; o < 2; ++o)
    {
        if (on[o] && oscillators[o]->hasStarted())
        {
            oscillators[o]->refreshForBlock();
            plan.sources[plan.numSources++] = { oscillators[o].get(), 1.0 - pan[o], 1.0 + pan[o] };
        }
    }

    plan.voiceLfoOnFilter = plan.lfoOnFilter && retriggered;

    if (voiceLfo || plan.voiceLfoOnFilter)
        lfo->refresh();

    plan.modulation = { voiceLfo, lfoOnPitch, sharedValues };
    plan.pitchModulated = lfoOnPitch || glideSamplesLeft > 0;

    // Every voice with something sounding can run side by side with others.
    plan.fitsLanes = plan.numSources > 0;

    plan.filterFitsLanes = plan.filterOn && ! plan.lfoOnFilter;

    return plan;
}

void OscillatorVoice::renderPlannedBlock (const BlockPlan& plan, juce::AudioBuffer<float>& output,
                                          int startSample, int numSamples) noexcept
{
    // The oscillators add into a cleared block and leave the rest of it silent when the voice ends.
    scratch.clear();
    auto* left = scratch.getWritePointer (0);
    auto* right = scratch.getWritePointer (1);

    // Notes without a glide or the LFO on their pitch take the plain path.
    if (plan.pitchModulated)
        renderOscillators<true> (left, right, numSamples, plan.sources, plan.numSources, plan.master, plan.modulation);
    else
        renderOscillators<false> (left, right, numSamples, plan.sources, plan.numSources, plan.master, plan.modulation);

    finishBlock (plan, output, startSample, numSamples);
}

// The filter, then the voice into the output.
void OscillatorVoice::finishBlock (const BlockPlan& plan, juce::AudioBuffer<float>& output,
                                   int startSample, int numSamples) noexcept
{
    // The switch is read now, not at note start.
    if (plan.filterOn && ! plan.filteredInLanes)
    {
        setUpFilter();
        const auto* sharedValues = plan.modulation.sharedValues;

        if (plan.voiceLfoOnFilter)
            filter.processWithCutoffModulation (scratch, 0, numSamples, [this] (int) { return lfo->nextValue (false); });
        else if (plan.lfoOnFilter && sharedValues != nullptr)
            filter.processWithCutoffModulation (scratch, 0, numSamples, [sharedValues] (int i) { return sharedValues[i]; });
        else
            filter.process (scratch, 0, numSamples);
    }

    output.addFrom (0, startSample, scratch, 0, 0, numSamples);

    if (output.getNumChannels() > 1)
        output.addFrom (1, startSample, scratch, 1, 0, numSamples);
}

void OscillatorVoice::setUpFilter() noexcept
{
    const auto& settings = synth.settings;
    filter.set ((float) settings.Filter1Cutoff, (float) settings.Filter1Resonance);
}

void OscillatorVoice::endNote() noexcept
{
    clearCurrentNote();
    note = 0;
}

// The per-sample loop. With modulatesPitch the oscillators' pitch is multiplied by
// 2^(LFO value + glide semitones / 12) at every sample.
template <bool modulatesPitch>
void OscillatorVoice::renderOscillators (float* left, float* right, int numSamples, const Source* sources,
                                         int numSources, double master, BlockModulation modulation) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        const double lfoValue = modulation.voiceLfo ? lfo->nextValue (false) : 0.0;
        double pitchFactor = 1.0;

        if constexpr (modulatesPitch)
        {
            double octaves = 0.0;

            if (modulation.lfoOnPitch)
                octaves = modulation.sharedValues != nullptr ? modulation.sharedValues[i] : lfoValue;

            if (glideSamplesLeft > 0)
            {
                octaves += glideSemitones / 12.0;
                glideSemitones = --glideSamplesLeft > 0 ? glideSemitones - glideStep : 0.0;
            }

            pitchFactor = std::exp2 (octaves);
        }

        double l = 0.0, r = 0.0;
        bool allIdle = true;

        for (int s = 0; s < numSources; ++s)
        {
            auto& oscillator = *sources[s].oscillator;
            double v;

            if constexpr (modulatesPitch)
                v = oscillator.nextSampleOfBlock (lfoValue, pitchFactor);
            else
                v = oscillator.nextSampleOfBlock (lfoValue);

            const auto oscLeft = sources[s].leftGain * v;
            const auto oscRight = sources[s].rightGain * v;

            if (! oscillator.getAmplitudeEnvelope().isIdle())
                allIdle = false;

            if (s == 0)
            {
                l = oscLeft;
                r = oscRight;
            }
            else
            {
                // Signed soft sum: two full-scale sources of one sign do not simply add.
                auto sum = oscLeft + l;
                l = sum - oscLeft * l * sign (sum);
                sum = oscRight + r;
                r = sum - oscRight * r * sign (sum);
            }
        }

        left[i] += (float) (l * master);
        right[i] += (float) (r * master);

        if (allIdle)
        {
            endNote();
            break;
        }
    }
}
