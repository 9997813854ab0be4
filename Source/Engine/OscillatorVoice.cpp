#include "Engine/OscillatorVoice.h"
#include "Engine/OscillatorSound.h"
#include "Engine/VoiceKernel.h"
#include "Model/ParameterTable.h"

#include <cmath>

OscillatorVoice::~OscillatorVoice() = default;

bool OscillatorVoice::canPlaySound (juce::SynthesiserSound* sound)
{
    return dynamic_cast<OscillatorSound*> (sound) != nullptr;
}

void OscillatorVoice::startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound*, int)
{
    const auto& settings = nextNote;

    note = midiNoteNumber;
    sampleRate = getSampleRate();
    // At full amplitude velocity the level follows the velocity alone: 0 + 1 x velocity.
    const double touch = settings.ampVelocity == 1.0 ? (double) velocity : (1.0 - settings.ampVelocity) + settings.ampVelocity * velocity;
    level = touch * levelPerVelocity;

    // The cutoff in Hz follows the note and the velocity; without either it is the knob's.
    cutoffScale = 1.0;

    if (settings.filterKeyTrack != 0.0)
        cutoffScale *= std::exp2 (settings.filterKeyTrack * (note - 60) / 12.0);

    if (settings.filterVelocity != 0.0)
        cutoffScale *= (1.0 - settings.filterVelocity) + settings.filterVelocity * velocity;

    for (size_t o = 0; o < 2; ++o)
        oscillators[o].start (settings.oscillatorNotes[o], settings.lfoTarget, level, sampleRate, note, settings.wheel);

    startGlide (settings.glideFromNote, settings.glide);

    if (settings.lfoOn)
        lfo.retrigger (settings, sampleRate);

    // With the filter off the filter keeps its earlier set-up.
    auto& envelope = filter.getEnvelope();
    filter.setActive (settings.filterOn);
    envelope.setActive (filter.isActive());

    if (! filter.isActive())
        return;

    filter.startNote ((float) sampleRate, settings.filterType, scaledCutoff (settings.cutoff), settings.resonance);
    envelope.setActive (settings.filterEnvelopeOn);

    if (envelope.isActive())
    {
        // The envelope then drives the cutoff sample by sample.
        envelope.reset();
        envelope.start (filter.getSampleRate());
        envelope.setParameters (settings.filterEnvelope);
    }
    else
    {
        filter.setCutoff (scaledCutoff (settings.cutoff));
    }
}

// Within the filter's range: no higher than the full cutoff, or than the knob when it
// stands above it.
float OscillatorVoice::scaledCutoff (float cutoff) const noexcept
{
    if (cutoffScale == 1.0)
        return cutoff;

    return (float) juce::jmin (juce::jmax (1.0, (double) cutoff), cutoff * cutoffScale);
}

// Play mode Glide: the note starts at the pitch of the note the synthesiser chose (the
// one started before it, while another voice sounds) and slides to its own, linearly in
// semitones, over Glide^2 x 2 s. Without a glide time it starts at its own pitch.
void OscillatorVoice::startGlide (int previousNote, double glideSetting)
{
    glide = {};

    if (previousNote < 0)
        return;

    constexpr double secondsAtFullGlide = 2.0;
    constexpr double longestGlideSamples = 1.0e9;      // host values far beyond the editor's
    const double samples = std::round (glideSetting * glideSetting * secondsAtFullGlide * sampleRate);

    if (! (samples >= 1.0))
        return;

    glide.samplesLeft = (int) juce::jmin (samples, longestGlideSamples);
    glide.semitones = previousNote - note;
    glide.step = glide.semitones / glide.samplesLeft;
}

// The voice is never cut by stopNote, even without tail-off: it stays active until
// its rendering finds every envelope finished.
void OscillatorVoice::stopNote (float, bool)
{
    for (auto& oscillator : oscillators)
        oscillator.release();

    filter.getEnvelope().release();
}

void OscillatorVoice::pitchWheelMoved (int newPitchWheelValue)
{
    for (size_t o = 0; o < 2; ++o)
        oscillators[o].refresh (blockSettings.oscillators[o], newPitchWheelValue);
}

void OscillatorVoice::prepare (int maximumBlockSize)
{
    scratch.setSize (2, juce::jmax (1, maximumBlockSize), false, true, false);
}

void OscillatorVoice::silence()
{
    endNote();
    glide = {};

    for (auto& oscillator : oscillators)
        oscillator.silence();
}

void OscillatorVoice::renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples)
{
    if (! isVoiceActive())
        return;

    const auto plan = beginBlock (blockSettings, numSamples);
    renderPlannedBlock (plan, output, startSample, numSamples);
}

// The settings are taken once here; JUCE splits blocks at MIDI events, so wheel messages
// still take effect at their sample.
OscillatorVoice::BlockPlan OscillatorVoice::beginBlock (const VoiceBlockSettings& settings, int numSamples) noexcept
{
    blockSettings = settings;

    // Reuses the storage; only a block longer than any before allocates.
    scratch.setSize (2, numSamples, false, false, true);

    BlockPlan plan;
    auto& route = plan.route;
    auto& parts = plan.parts;
    route.master = settings.master;

    const bool lfoOn = settings.lfoOn;
    const int target = settings.lfoTarget;
    const bool retriggered = settings.lfo.mode == LfoMode::retrigger;
    const bool filterOn = settings.filterOn;

    // The pitch and filter targets act while chosen, on notes that started with them.
    const int noteTarget = oscillators[0].getLfoTarget();
    const bool lfoOnPitch = lfoOn && target == LfoTarget::pitch && noteTarget == LfoTarget::pitch;
    const bool lfoOnFilter = lfoOn && filterOn && target == LfoTarget::filter && noteTarget == LfoTarget::filter;

    // In Free mode they follow the global LFO's values, computed once for the whole block.
    const double* sharedValues = (lfoOnPitch || lfoOnFilter) && ! retriggered ? settings.sharedLfoValues : nullptr;

    // The oscillators sounding in this block, in order.
    for (size_t o = 0; o < 2; ++o)
    {
        auto& oscillator = oscillators[o];

        if (settings.oscillators[o].on && oscillator.hasStarted())
        {
            oscillator.refreshForBlock (settings.oscillators[o], settings.wheel);
            const int s = route.numOscillators++;
            route.oscillators[s] = oscillator.getPlan (settings.oscillators[o].pan);
            parts.oscillators[s] = &oscillator.getState();
            parts.amplitude[s] = &oscillator.getAmplitudeEnvelope().getState();
            parts.pitch[s] = &oscillator.getPitchEnvelope().getState();
        }
    }

    route.lfoOnSound = lfoOn && target != LfoTarget::filter && retriggered;
    route.lfoOnPitch = lfoOnPitch;
    route.pitchModulated = lfoOnPitch || glide.samplesLeft > 0;
    route.sharedLfoValues = sharedValues;

    if (lfoOnFilter)
        route.filterLfo = retriggered ? FilterLfo::own : (sharedValues != nullptr ? FilterLfo::shared : FilterLfo::none);

    if (usesLfo (route))
    {
        lfo.refresh (settings.lfo);
        route.lfoWave = lfo.getWaveType();
        route.lfoFollowsEnvelope = lfo.getEnvelope().isActive();
    }

    // The switch is read now, not at note start.
    if (filterOn)
    {
        route.filtered = true;
        route.filterType = filter.getType();
        route.filterFollowsEnvelope = filter.getEnvelope().isActive();
        parts.filter = &filter.startBlock (scaledCutoff (settings.cutoff), settings.resonance);

        // The envelope's amount: cutoff x (1 - a + a x envelope), or x (1 + a x envelope)
        // when it closes the filter; at +1 the envelope alone, as the kernel computes it then.
        const auto amount = settings.filterEnvAmount;
        route.filterEnvelopeScaled = route.filterFollowsEnvelope && amount != 1.0;
        route.filterEnvelopeOffset = amount >= 0.0 ? 1.0 - amount : 1.0;
        route.filterEnvelopeDepth = amount;
    }

    parts.lfo = &lfo.getState();
    parts.lfoEnvelope = &lfo.getEnvelope().getState();
    parts.filterEnvelope = &filter.getEnvelope().getState();
    parts.glide = &glide;
    return plan;
}

// Alone: the voice kernel one voice wide.
void OscillatorVoice::renderPlannedBlock (const BlockPlan& plan, juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept
{
    VoiceLanes::Batch batch;
    batch.plan = plan.route;
    batch.parts[0] = plan.parts;
    batch.left[0] = getScratch (0);
    batch.right[0] = getScratch (1);
    batch.alive[0] = true;
    batch.endSample[0] = -1;

    VoiceKernel::renderBatch<double> (batch, 0, numSamples);

    if (batch.endSample[0] >= 0)
        endNote();

    finishBlock (output, startSample, numSamples);
}

void OscillatorVoice::finishBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept
{
    output.addFrom (0, startSample, scratch, 0, 0, numSamples);

    if (output.getNumChannels() > 1)
        output.addFrom (1, startSample, scratch, 1, 0, numSamples);
}

void OscillatorVoice::endNote() noexcept
{
    clearCurrentNote();
    note = 0;
}
