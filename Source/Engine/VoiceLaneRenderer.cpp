#include "Engine/VoiceLaneRenderer.h"
#include "Engine/FilterDesign.h"

#include <cstring>
#include <limits>

static_assert (VoiceLanes::pi == juce::MathConstants<double>::pi, "the oscillators' pi");
static_assert (VoiceLanes::twoPi == juce::MathConstants<double>::twoPi, "the oscillators' two pi");
static_assert ((int) VoiceLanes::sineWave == (int) OscillatorWave::sine && (int) VoiceLanes::squareWave == (int) OscillatorWave::square
               && (int) VoiceLanes::triangleWave == (int) OscillatorWave::triangle && (int) VoiceLanes::sawtoothWave == (int) OscillatorWave::sawtooth,
               "the waves' numbers");
static_assert ((int) VoiceLanes::idleStage == (int) Envelope::idleStage && (int) VoiceLanes::attackStage == (int) Envelope::attackStage
               && (int) VoiceLanes::decayStage == (int) Envelope::decayStage && (int) VoiceLanes::sustainStage == (int) Envelope::sustainStage
               && (int) VoiceLanes::releaseStage == (int) Envelope::releaseStage,
               "the stages' numbers");
static_assert ((int) VoiceLanes::lfoSine == (int) LfoWave::sine && (int) VoiceLanes::lfoSquare == (int) LfoWave::square
               && (int) VoiceLanes::lfoSawUp == (int) LfoWave::sawUp && (int) VoiceLanes::lfoSawDown == (int) LfoWave::sawDown
               && (int) VoiceLanes::lfoPump == (int) LfoWave::pump,
               "the LFO waves' numbers");
static_assert ((int) FilterDesign::lowpass == (int) FilterType::lowpass && (int) FilterDesign::bandpass == (int) FilterType::bandpass
               && (int) FilterDesign::highpass == (int) FilterType::highpass,
               "the filter types' numbers");

namespace
{
    struct InstructionSet
    {
        const char* name;
        int width;
        VoiceLanes::Kernel kernel;
        bool (*isAvailable)();
    };

    // Widest first. The compiler's check covers the processor and the operating system's
    // saving of the wider registers.
    const InstructionSet instructionSets[] = {
        { "avx512", 8, VoiceLanes::renderAvx512,
          [] { return __builtin_cpu_supports ("avx512f") && __builtin_cpu_supports ("avx512dq") && __builtin_cpu_supports ("avx2"); } },
        { "avx2", 4, VoiceLanes::renderAvx2, [] { return __builtin_cpu_supports ("avx2") != 0; } }
    };
}

// Friend of Envelope and Oscillator: copies their state into a lane and back.
struct VoiceLaneAccess
{
    static void loadEnvelope (VoiceLanes::EnvelopeLanes& e, int j, const Envelope& envelope) noexcept
    {
        e.output[j] = envelope.output;
        e.stage[j] = envelope.stage;
        e.finished[j] = envelope.finished;
        e.attackCoefficient[j] = envelope.attackCoefficient;
        e.attackBase[j] = envelope.attackBase;
        e.decayCoefficient[j] = envelope.decayCoefficient;
        e.decayBase[j] = envelope.decayBase;
        e.sustainLevel[j] = envelope.sustainLevel;
        e.releaseCoefficient[j] = envelope.releaseCoefficient;
        e.releaseBase[j] = envelope.releaseBase;

        constexpr auto unreachable = -std::numeric_limits<double>::infinity();

        switch (envelope.stage)
        {
            case Envelope::attackStage:  setStage (e, j, envelope.attackCoefficient, envelope.attackBase, 1.0); break;
            case Envelope::decayStage:   setStage (e, j, envelope.decayCoefficient, envelope.decayBase, envelope.sustainLevel); break;
            case Envelope::releaseStage: setStage (e, j, envelope.releaseCoefficient, envelope.releaseBase, Envelope::releaseEndLevel); break;
            case Envelope::idleStage:
            case Envelope::sustainStage:
            default:                     setStage (e, j, 1.0, 0.0, unreachable); break;
        }
    }

    static void storeEnvelope (const VoiceLanes::EnvelopeLanes& e, int j, Envelope& envelope) noexcept
    {
        envelope.output = e.output[j];
        envelope.stage = (Envelope::Stage) e.stage[j];
        envelope.finished = e.finished[j];
    }

    static void loadOscillator (VoiceLanes::OscillatorLanes& o, int j, const Oscillator& oscillator) noexcept
    {
        o.phase[j] = oscillator.phase;
        o.increment[j] = oscillator.phaseIncrement;
        o.level[j] = oscillator.level;
        o.gain[j] = oscillator.gain;
        o.triangleState[j] = oscillator.triangleState;
        loadEnvelope (o.amplitude, j, oscillator.amplitudeEnvelope);

        if (o.followsPitchEnvelope)
        {
            const auto& notes = oscillator.noteFrequencies;
            o.baseFrequency[j] = oscillator.baseFrequency;
            o.detune[j] = oscillator.detune;
            o.sampleRate[j] = oscillator.sampleRate;
            o.pitchEnvRange[j] = oscillator.pitchEnvRange;
            o.pitchEnvDown[j] = oscillator.pitchEnvDown;
            o.up[j] = notes.up;
            o.down[j] = notes.down;
            o.above[j] = notes.above;
            o.upAbove[j] = notes.upAbove;
            o.downAbove[j] = notes.downAbove;
            o.below[j] = notes.below;
            o.upBelow[j] = notes.upBelow;
            o.downBelow[j] = notes.downBelow;
            o.frequency[j] = oscillator.frequency;
            o.frequencyUp[j] = oscillator.frequencyUp;
            o.frequencyDown[j] = oscillator.frequencyDown;
            o.bentFrequency[j] = oscillator.bentFrequency;
            loadEnvelope (o.pitch, j, oscillator.pitchEnvelope);
        }
    }

    static void storeOscillator (const VoiceLanes::OscillatorLanes& o, int j, Oscillator& oscillator) noexcept
    {
        oscillator.phase = o.phase[j];
        oscillator.triangleState = o.triangleState[j];
        storeEnvelope (o.amplitude, j, oscillator.amplitudeEnvelope);

        if (o.followsPitchEnvelope)
        {
            oscillator.phaseIncrement = o.increment[j];
            oscillator.frequency = o.frequency[j];
            oscillator.frequencyUp = o.frequencyUp[j];
            oscillator.frequencyDown = o.frequencyDown[j];
            oscillator.bentFrequency = o.bentFrequency[j];
            storeEnvelope (o.pitch, j, oscillator.pitchEnvelope);
        }
    }

    static int getBendPercent (const Oscillator& oscillator) noexcept
    {
        return Oscillator::bendPercentFor (oscillator.lastWheel);
    }

    static int getWaveType (const Lfo& lfo) noexcept     { return lfo.waveType; }

    static void loadGlide (VoiceLanes::Batch& b, int j, const OscillatorVoice& voice) noexcept
    {
        b.glideSemitones[j] = voice.glideSemitones;
        b.glideStep[j] = voice.glideStep;
        b.glideSamplesLeft[j] = voice.glideSamplesLeft;
    }

    static void storeGlide (const VoiceLanes::Batch& b, int j, OscillatorVoice& voice) noexcept
    {
        voice.glideSemitones = b.glideSemitones[j];
        voice.glideSamplesLeft = b.glideSamplesLeft[j];
    }

    static void loadNoGlide (VoiceLanes::Batch& b, int j) noexcept
    {
        b.glideSemitones[j] = b.glideStep[j] = 0.0;
        b.glideSamplesLeft[j] = 0;
    }

    static void loadLfo (VoiceLanes::LfoLanes& l, int j, const Lfo& lfo) noexcept
    {
        l.phase[j] = lfo.phase;
        l.increment[j] = lfo.phaseIncrement;
        l.mix[j] = lfo.mix;

        if (l.followsEnvelope)
            loadEnvelope (l.envelope, j, lfo.envelope);
    }

    static void storeLfo (const VoiceLanes::LfoLanes& l, int j, Lfo& lfo) noexcept
    {
        lfo.phase = l.phase[j];

        if (l.followsEnvelope)
            storeEnvelope (l.envelope, j, lfo.envelope);
    }

    static void loadSilentLfo (VoiceLanes::LfoLanes& l, int j) noexcept
    {
        l.phase[j] = l.increment[j] = l.mix[j] = 0.0;
        loadSilentEnvelope (l.envelope, j);
    }

    static void loadFilter (VoiceLanes::FilterLanes& f, int j, const AnalogFilter& filter) noexcept
    {
        f.b0[j] = filter.coefficients.b0;
        f.b1[j] = filter.coefficients.b1;
        f.b2[j] = filter.coefficients.b2;
        f.a1[j] = filter.coefficients.a1;
        f.a2[j] = filter.coefficients.a2;
        f.leftZ1[j] = filter.leftZ1;
        f.leftZ2[j] = filter.leftZ2;
        f.rightZ1[j] = filter.rightZ1;
        f.rightZ2[j] = filter.rightZ2;
        f.baseCutoff[j] = filter.getCutoff();
        f.computedCutoff[j] = filter.computedCutoff;
        f.q[j] = filter.q;
        f.twiceQ[j] = filter.twiceQ;
        f.inverseSampleRate[j] = filter.inverseSampleRate;

        if (f.followsEnvelope)
            loadEnvelope (f.envelope, j, filter.getEnvelope());
    }

    static void storeFilter (const VoiceLanes::FilterLanes& f, int j, AnalogFilter& filter) noexcept
    {
        filter.coefficients = { f.b0[j], f.b1[j], f.b2[j], f.a1[j], f.a2[j] };
        filter.leftZ1 = f.leftZ1[j];
        filter.leftZ2 = f.leftZ2[j];
        filter.rightZ1 = f.rightZ1[j];
        filter.rightZ2 = f.rightZ2[j];
        filter.computedCutoff = f.computedCutoff[j];

        if (f.followsEnvelope)
            storeEnvelope (f.envelope, j, filter.getEnvelope());
    }

    // A filter lane that passes nothing and never moves.
    static void loadSilentFilter (VoiceLanes::FilterLanes& f, int j) noexcept
    {
        f.b0[j] = f.b1[j] = f.b2[j] = f.a1[j] = f.a2[j] = 0.0f;
        f.leftZ1[j] = f.leftZ2[j] = f.rightZ1[j] = f.rightZ2[j] = 0.0f;
        f.baseCutoff[j] = f.computedCutoff[j] = 0.0f;
        f.q[j] = f.twiceQ[j] = 1.0f;
        f.inverseSampleRate[j] = 0.0f;
        loadSilentEnvelope (f.envelope, j);
    }

    static int getWaveType (const Oscillator& oscillator) noexcept      { return oscillator.waveType; }

    // A lane that stays silent: no step, no level, an idle envelope.
    static void loadSilence (VoiceLanes::OscillatorLanes& o, int j) noexcept
    {
        o.phase[j] = o.increment[j] = o.level[j] = o.gain[j] = o.triangleState[j] = 0.0;
        loadSilentEnvelope (o.amplitude, j);

        if (o.followsPitchEnvelope)
        {
            o.baseFrequency[j] = o.detune[j] = o.pitchEnvRange[j] = 0.0;
            o.sampleRate[j] = 1.0;
            o.up[j] = o.down[j] = o.above[j] = o.upAbove[j] = o.downAbove[j] = 0.0;
            o.below[j] = o.upBelow[j] = o.downBelow[j] = 0.0;
            o.frequency[j] = o.frequencyUp[j] = o.frequencyDown[j] = o.bentFrequency[j] = 0.0;
            o.pitchEnvDown[j] = false;
            loadSilentEnvelope (o.pitch, j);
        }
    }

    static void loadSilentEnvelope (VoiceLanes::EnvelopeLanes& e, int j) noexcept
    {
        e.output[j] = 0.0;
        e.stage[j] = VoiceLanes::idleStage;
        e.finished[j] = false;
        e.attackCoefficient[j] = e.attackBase[j] = e.decayCoefficient[j] = e.decayBase[j] = 0.0;
        e.sustainLevel[j] = e.releaseCoefficient[j] = e.releaseBase[j] = 0.0;
        setStage (e, j, 1.0, 0.0, -std::numeric_limits<double>::infinity());
    }

private:
    static void setStage (VoiceLanes::EnvelopeLanes& e, int j, double coefficient, double base, double limit) noexcept
    {
        e.coefficient[j] = coefficient;
        e.base[j] = base;
        e.limit[j] = limit;
    }
};

VoiceLaneRenderer::VoiceLaneRenderer()
{
    for (const auto& set : instructionSets)
    {
        if (set.isAvailable())
        {
            laneWidth = set.width;
            instructionSetName = set.name;
            kernel = set.kernel;
            break;
        }
    }
}

bool VoiceLaneRenderer::useInstructionSet (const char* name) noexcept
{
    for (const auto& set : instructionSets)
    {
        if (std::strcmp (set.name, name) == 0 && set.isAvailable())
        {
            laneWidth = set.width;
            instructionSetName = set.name;
            kernel = set.kernel;
            return true;
        }
    }

    return false;
}

void VoiceLaneRenderer::render (const juce::OwnedArray<juce::SynthesiserVoice>& allVoices, juce::AudioBuffer<float>& output,
                                int startSample, int numSamples)
{
    const int numVoices = allVoices.size();

    if (! enabled || kernel == nullptr || numVoices > maxVoices || numSamples <= 0)
    {
        for (auto* voice : allVoices)
            voice->renderNextBlock (output, startSample, numSamples);

        return;
    }

    // Every active voice takes its block's settings; the plain ones join a group.
    numGroups = 0;

    for (int i = 0; i < numVoices; ++i)
    {
        auto* anyVoice = allVoices.getUnchecked (i);
        auto& route = routes[(size_t) i];

        // Free voices render nothing.
        if (! anyVoice->isVoiceActive())
        {
            route = Route::free;
            continue;
        }

        auto* voice = dynamic_cast<OscillatorVoice*> (anyVoice);
        voices[(size_t) i] = voice;

        if (voice == nullptr)
        {
            route = Route::elsewhere;
            continue;
        }

        route = Route::alone;
        plans[(size_t) i] = voice->beginBlock (startSample, numSamples);

        if (! plans[(size_t) i].fitsLanes)
            continue;

        const int g = findGroup (*voice, plans[(size_t) i]);

        if (g >= 0)
        {
            auto& group = groups[(size_t) g];
            group.voices[(size_t) group.numVoices++] = i;
            route = Route::lanes;
        }
    }

    for (int g = 0; g < numGroups; ++g)
        renderGroup (groups[(size_t) g], numSamples);

    // Into the output in the voices' order, as the synthesiser adds them.
    for (int i = 0; i < numVoices; ++i)
    {
        switch (routes[(size_t) i])
        {
            case Route::lanes:     voices[(size_t) i]->finishBlock (plans[(size_t) i], output, startSample, numSamples); break;
            case Route::alone:     voices[(size_t) i]->renderPlannedBlock (plans[(size_t) i], output, startSample, numSamples); break;
            case Route::elsewhere: allVoices.getUnchecked (i)->renderNextBlock (output, startSample, numSamples); break;
            case Route::free:      break;
        }
    }
}

bool VoiceLaneRenderer::Kind::operator== (const Kind& other) const noexcept
{
    const auto sameSource = [&] (int s)
    {
        return oscillatorIndex[s] == other.oscillatorIndex[s] && waveType[s] == other.waveType[s]
                && followsLfo[s] == other.followsLfo[s] && followsPitchEnvelope[s] == other.followsPitchEnvelope[s];
    };

    return numSources == other.numSources && sameSource (0) && sameSource (1)
            && modulated == other.modulated && lfoWaveType == other.lfoWaveType && lfoFollowsEnvelope == other.lfoFollowsEnvelope
            && pitchModulated == other.pitchModulated && lfoOnPitch == other.lfoOnPitch
            && filtered == other.filtered && filterType == other.filterType && filterFollowsEnvelope == other.filterFollowsEnvelope;
}

int VoiceLaneRenderer::findGroup (OscillatorVoice& voice, const OscillatorVoice::BlockPlan& plan) noexcept
{
    Kind kind;
    kind.numSources = plan.numSources;

    for (int s = 0; s < plan.numSources; ++s)
    {
        const auto& oscillator = *plan.sources[s].oscillator;
        kind.oscillatorIndex[s] = oscillator.getIndex();
        kind.waveType[s] = VoiceLaneAccess::getWaveType (oscillator);
        kind.followsLfo[s] = oscillator.getLfoTarget() == LfoTarget::amp;
        kind.followsPitchEnvelope[s] = oscillator.getPitchEnvelope().isActive();
    }

    kind.modulated = plan.modulation.voiceLfo;
    kind.pitchModulated = plan.pitchModulated;
    kind.lfoOnPitch = plan.modulation.lfoOnPitch;

    if (kind.modulated)
    {
        kind.lfoWaveType = VoiceLaneAccess::getWaveType (voice.getLfo());
        kind.lfoFollowsEnvelope = voice.getLfo().getEnvelope().isActive();
    }

    kind.filtered = plan.filterFitsLanes;

    if (kind.filtered)
    {
        kind.filterType = voice.getFilter().getType();
        kind.filterFollowsEnvelope = voice.getFilter().getEnvelope().isActive();
    }

    for (int g = 0; g < numGroups; ++g)
        if (groups[(size_t) g].kind == kind)
            return g;

    if (numGroups == maxGroups)
        return -1;

    auto& group = groups[(size_t) numGroups];
    group.kind = kind;
    group.numVoices = 0;
    return numGroups++;
}

// Full batches, then the remainder in one narrower batch; a lone voice renders alone.
void VoiceLaneRenderer::renderGroup (const Group& group, int numSamples) noexcept
{
    int first = 0;

    for (; first + laneWidth <= group.numVoices; first += laneWidth)
        renderBatch (group, group.voices.data() + first, laneWidth, numSamples);

    const int rest = group.numVoices - first;

    if (rest > 1)
    {
        renderBatch (group, group.voices.data() + first, rest, numSamples);
    }
    else if (rest == 1)
    {
        routes[(size_t) group.voices[(size_t) first]] = Route::alone;
    }
}

void VoiceLaneRenderer::renderBatch (const Group& group, const int* voiceIndices, int numLanes, int numSamples) noexcept
{
    const int width = laneWidth;
    const auto& kind = group.kind;

    // Each lane from its voice; the lanes no voice fills stay silent.
    const auto fillLanes = [&] (auto&& loadVoice, auto&& loadSilent)
    {
        for (int j = 0; j < width; ++j)
        {
            if (j < numLanes)
                loadVoice (j, voiceIndices[j]);
            else
                loadSilent (j);
        }
    };

    batch.numOscillators = kind.numSources;
    batch.master = plans[(size_t) voiceIndices[0]].master;

    for (int s = 0; s < kind.numSources; ++s)
    {
        auto& lanes = batch.oscillators[s];
        const auto& source = plans[(size_t) voiceIndices[0]].sources[s];
        lanes.waveType = kind.waveType[s];
        lanes.leftGain = source.leftGain;
        lanes.rightGain = source.rightGain;
        lanes.followsLfo = kind.followsLfo[s];
        lanes.followsPitchEnvelope = kind.followsPitchEnvelope[s];
        lanes.bendPercent = VoiceLaneAccess::getBendPercent (*source.oscillator);

        fillLanes ([&] (int j, int voice) { VoiceLaneAccess::loadOscillator (lanes, j, *plans[(size_t) voice].sources[s].oscillator); },
                   [&] (int j) { VoiceLaneAccess::loadSilence (lanes, j); });
    }

    batch.modulated = kind.modulated;

    if (kind.modulated)
    {
        auto& l = batch.lfo;
        l.waveType = kind.lfoWaveType;
        l.followsEnvelope = kind.lfoFollowsEnvelope;

        fillLanes ([&] (int j, int voice) { VoiceLaneAccess::loadLfo (l, j, voices[(size_t) voice]->getLfo()); },
                   [&] (int j) { VoiceLaneAccess::loadSilentLfo (l, j); });
    }

    batch.pitchModulated = kind.pitchModulated;

    if (kind.pitchModulated)
    {
        batch.lfoOnPitch = kind.lfoOnPitch;
        batch.sharedLfoValues = plans[(size_t) voiceIndices[0]].modulation.sharedValues;

        fillLanes ([&] (int j, int voice) { VoiceLaneAccess::loadGlide (batch, j, *voices[(size_t) voice]); },
                   [&] (int j) { VoiceLaneAccess::loadNoGlide (batch, j); });
    }

    batch.filtered = kind.filtered;

    if (kind.filtered)
    {
        auto& f = batch.filter;
        f.type = kind.filterType;
        f.followsEnvelope = kind.filterFollowsEnvelope;

        // Cutoff and resonance brought to this block first, as finishBlock would.
        fillLanes ([&] (int j, int voice)
                   {
                       voices[(size_t) voice]->setUpFilter();
                       VoiceLaneAccess::loadFilter (f, j, voices[(size_t) voice]->getFilter());
                   },
                   [&] (int j) { VoiceLaneAccess::loadSilentFilter (f, j); });
    }

    for (int j = 0; j < width; ++j)
    {
        batch.alive[j] = j < numLanes;
        batch.endSample[j] = -1;
    }

    for (int first = 0; first < numSamples; first += VoiceLanes::chunkSamples)
    {
        const int length = juce::jmin (VoiceLanes::chunkSamples, numSamples - first);

        // Each lane's samples into its voice's scratch block.
        for (int j = 0; j < width; ++j)
        {
            auto* voice = j < numLanes ? voices[(size_t) voiceIndices[j]] : nullptr;
            batch.left[j] = voice != nullptr ? voice->getScratch (0) + first : batch.unused[0];
            batch.right[j] = voice != nullptr ? voice->getScratch (1) + first : batch.unused[1];
        }

        kernel (batch, first, length);
    }

    for (int j = 0; j < numLanes; ++j)
    {
        auto& plan = plans[(size_t) voiceIndices[j]];

        for (int s = 0; s < kind.numSources; ++s)
            VoiceLaneAccess::storeOscillator (batch.oscillators[s], j, *plan.sources[s].oscillator);

        if (kind.modulated)
            VoiceLaneAccess::storeLfo (batch.lfo, j, voices[(size_t) voiceIndices[j]]->getLfo());

        if (kind.pitchModulated)
            VoiceLaneAccess::storeGlide (batch, j, *voices[(size_t) voiceIndices[j]]);

        if (kind.filtered)
        {
            VoiceLaneAccess::storeFilter (batch.filter, j, voices[(size_t) voiceIndices[j]]->getFilter());
            plan.filteredInLanes = true;
        }

        if (batch.endSample[j] >= 0)
            voices[(size_t) voiceIndices[j]]->endNote();
    }
}
