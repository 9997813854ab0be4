#pragma once

#include "Engine/FilterStep.h"
#include "Engine/LfoStep.h"
#include "Engine/OscillatorStep.h"

// A voice's route through a block and its parts' states, as the voice kernel takes them.
// Plain data only: the kernels are compiled for several instruction sets and must share no
// inline function with the rest of the engine (see SampleLanes.h).

// A glide's state, for one voice or one per lane: the pitch starts semitones away from
// the note's own and moves by step per sample over samplesLeft samples.
template <typename S>
struct GlideState
{
    S semitones {}, step {};
    Lanes::Int<S> samplesLeft {};
};

template <typename S, typename Function>
QUENBY_LANE_INLINE void fields (GlideState<S>& g, Function&& f)  { f (g.semitones, g.step, g.samplesLeft); }

// What moves a voice's filter cutoff besides its envelope.
enum class FilterLfo : int { none, own, shared };

// Everything a voice does in a block besides its state, the same in every lane of a
// batch: its sounding oscillators, the master volume, the voice LFO, the glide and the
// LFO on the pitch, the filter and what moves it.
struct VoicePlan
{
    int numOscillators = 0;                 // 0, 1 or 2 sounding
    OscillatorPlan oscillators[2] {};
    double master = 0.0;
    bool lfoOnSound = false;                // the voice LFO runs each sample, for the amplitude or the pitch
    int lfoWave = 0;
    bool lfoFollowsEnvelope = false;
    bool pitchModulated = false;            // a glide or the LFO moves the pitch
    bool lfoOnPitch = false;
    bool filtered = false;
    int filterType = 0;
    bool filterFollowsEnvelope = false;
    bool filterEnvelopeScaled = false;      // the cutoff is offset + depth x envelope times the base, not envelope x base
    double filterEnvelopeOffset = 0.0, filterEnvelopeDepth = 1.0;
    FilterLfo filterLfo = FilterLfo::none;
    const double* sharedLfoValues = nullptr; // the global LFO's values for the block, on the pitch or the filter

    bool operator== (const VoicePlan& o) const noexcept
    {
        return numOscillators == o.numOscillators && oscillators[0] == o.oscillators[0] && oscillators[1] == o.oscillators[1]
                && master == o.master && lfoOnSound == o.lfoOnSound && lfoWave == o.lfoWave && lfoFollowsEnvelope == o.lfoFollowsEnvelope
                && pitchModulated == o.pitchModulated && lfoOnPitch == o.lfoOnPitch && filtered == o.filtered && filterType == o.filterType
                && filterFollowsEnvelope == o.filterFollowsEnvelope && filterEnvelopeScaled == o.filterEnvelopeScaled
                && filterEnvelopeOffset == o.filterEnvelopeOffset && filterEnvelopeDepth == o.filterEnvelopeDepth
                && filterLfo == o.filterLfo && sharedLfoValues == o.sharedLfoValues;
    }
};

// The voice LFO's state takes part in the plan.
QUENBY_LANE_INLINE bool usesLfo (const VoicePlan& plan) noexcept
{
    return plan.lfoOnSound || plan.filterLfo == FilterLfo::own;
}

// Where one voice keeps the states the kernel moves: its sounding oscillators (in the
// plan's order) with their envelopes, its LFO, filter and glide.
struct VoiceParts
{
    OscillatorState<double>* oscillators[2] {};
    EnvelopeState<double>* amplitude[2] {};
    EnvelopeState<double>* pitch[2] {};
    LfoState<double>* lfo = nullptr;
    EnvelopeState<double>* lfoEnvelope = nullptr;
    FilterState<double>* filter = nullptr;
    EnvelopeState<double>* filterEnvelope = nullptr;
    GlideState<double>* glide = nullptr;
};

// All of a voice's states, for one voice or one per lane. A default one is silent, and
// stays silent through the kernel: the renderer fills the lanes no voice fills with one.
template <typename S>
struct VoiceStates
{
    OscillatorState<S> oscillators[2];
    EnvelopeState<S> amplitude[2], pitch[2], lfoEnvelope, filterEnvelope;
    LfoState<S> lfo;
    FilterState<S> filter;
    GlideState<S> glide;

    VoiceParts getParts() noexcept
    {
        return { { &oscillators[0], &oscillators[1] }, { &amplitude[0], &amplitude[1] }, { &pitch[0], &pitch[1] },
                 &lfo, &lfoEnvelope, &filter, &filterEnvelope, &glide };
    }
};

namespace VoiceLanes
{
    inline constexpr int maxLanes = 8;

    // A batch: up to maxLanes voices of one plan, one per lane, and where each lane's
    // samples of a call go. A lane that ends records the sample (of the block) at which
    // it ended; its oscillators are silent after it and its filter goes on.
    struct Batch
    {
        VoicePlan plan;
        VoiceParts parts[maxLanes];
        float* left[maxLanes] {};
        float* right[maxLanes] {};
        bool alive[maxLanes] {};
        int endSample[maxLanes] {};
    };

    // numSamples of every lane into left and right from index 0, the block's samples from
    // firstSample on. Without AVX2 no kernel runs and each voice renders alone.
    using Kernel = void (*) (Batch& batch, int firstSample, int numSamples);

    void renderAvx2 (Batch&, int firstSample, int numSamples);
    void renderAvx512 (Batch&, int firstSample, int numSamples);
}
