#pragma once

#include "Engine/VoiceLanes.h"

// A voice's block, written once for every width: renderBatch<double> renders one voice,
// renderBatch over a vector of doubles renders a batch of voices side by side, one per
// lane (each of VoiceLaneKernel*.cpp compiles it for its own instruction set). A lane
// performs exactly the operations the single voice performs, in the same order, so each
// voice's samples are the same bit for bit whichever way it renders.
//
// Per sample: the voice LFO, the glide's and the LFO's pitch factor, each sounding
// oscillator, the signed soft sum of the two, the master volume, and the filter, whose
// coefficients are computed 64 samples ahead when its envelope or the LFO moves the cutoff.
namespace VoiceKernel
{
    using namespace Lanes;
    using VoiceLanes::Batch;

    // Each lane's states from its voice (load), or back to it: the parts the plan uses.
    template <bool load, typename S>
    QUENBY_LANE_INLINE void exchange (VoiceStates<S>& v, Batch& batch) noexcept
    {
        const auto& plan = batch.plan;

        for (int j = 0; j < width<S>; ++j)
        {
            const auto& p = batch.parts[j];
            const auto move = [j] (bool used, auto& lanes, auto* one) QUENBY_LAMBDA_INLINE
            {
                if (used)
                    forEachPair (lanes, *one, [j] (auto& a, auto& b) QUENBY_LAMBDA_INLINE
                    {
                        if constexpr (load) Lanes::load (a, j, b); else Lanes::store (a, j, b);
                    });
            };

            for (int o = 0; o < plan.numOscillators; ++o)
            {
                move (true, v.oscillators[o], p.oscillators[o]);
                move (true, v.amplitude[o], p.amplitude[o]);
                move (plan.oscillators[o].followsPitchEnvelope, v.pitch[o], p.pitch[o]);
            }

            move (usesLfo (plan), v.lfo, p.lfo);
            move (usesLfo (plan) && plan.lfoFollowsEnvelope, v.lfoEnvelope, p.lfoEnvelope);
            move (plan.filtered, v.filter, p.filter);
            move (plan.filtered && plan.filterFollowsEnvelope, v.filterEnvelope, p.filterEnvelope);
            move (plan.pitchModulated, v.glide, p.glide);
        }
    }

    template <typename S>
    QUENBY_LANE_INLINE S sign (S x) noexcept
    {
        return select (x > 0.0, splat<S> (1.0), select (x < 0.0, splat<S> (-1.0), S {}));
    }

    // The pitch factor of the block's sample i: 2 to the power of the LFO's value (the
    // voice's own, or the global one's shared for the block) when it is on the pitch, plus
    // the glide's distance in octaves, which moves on by its step. The power is the
    // library's, lane by lane.
    template <bool masked, typename S>
    QUENBY_LANE_INLINE S pitchFactorAt (GlideState<S>& glide, const VoicePlan& plan, int i, S lfoValue, Mask<S> alive) noexcept
    {
        S octaves {};

        if (plan.lfoOnPitch)
            octaves = plan.sharedLfoValues != nullptr ? splat<S> (plan.sharedLfoValues[i]) : lfoValue;

        for (int j = 0; j < width<S>; ++j)
        {
            auto power = lane (octaves, j);
            int left = (int) lane (glide.samplesLeft, j);

            if (left > 0 && (! masked || lane (alive, j)))
            {
                const auto semitones = lane (glide.semitones, j);
                power += semitones / 12.0;
                setLane (glide.samplesLeft, j, --left);
                setLane (glide.semitones, j, left > 0 ? semitones - lane (glide.step, j) : 0.0);
            }

            setLane (octaves, j, std::exp2 (power));
        }

        return octaves;
    }

    // N rows of N lanes' samples, transposed: lane j's N samples into column[j] from
    // sample first on.
    template <int N, typename F>
    QUENBY_LANE_INLINE void writeColumns (const F* rows, float* const* column, int first) noexcept
    {
        F c[N];

        if constexpr (N == 8)
        {
            F t[8], u[8];

            for (int p = 0; p < 4; ++p)
            {
                t[2 * p] = __builtin_shufflevector (rows[2 * p], rows[2 * p + 1], 0, 8, 1, 9, 4, 12, 5, 13);
                t[2 * p + 1] = __builtin_shufflevector (rows[2 * p], rows[2 * p + 1], 2, 10, 3, 11, 6, 14, 7, 15);
            }

            for (int p = 0; p < 2; ++p)
            {
                u[4 * p] = __builtin_shufflevector (t[4 * p], t[4 * p + 2], 0, 1, 8, 9, 4, 5, 12, 13);
                u[4 * p + 1] = __builtin_shufflevector (t[4 * p], t[4 * p + 2], 2, 3, 10, 11, 6, 7, 14, 15);
                u[4 * p + 2] = __builtin_shufflevector (t[4 * p + 1], t[4 * p + 3], 0, 1, 8, 9, 4, 5, 12, 13);
                u[4 * p + 3] = __builtin_shufflevector (t[4 * p + 1], t[4 * p + 3], 2, 3, 10, 11, 6, 7, 14, 15);
            }

            for (int q = 0; q < 4; ++q)
            {
                c[q] = __builtin_shufflevector (u[q], u[q + 4], 0, 1, 2, 3, 8, 9, 10, 11);
                c[q + 4] = __builtin_shufflevector (u[q], u[q + 4], 4, 5, 6, 7, 12, 13, 14, 15);
            }
        }
        else
        {
            const auto t0 = __builtin_shufflevector (rows[0], rows[1], 0, 4, 1, 5);
            const auto t1 = __builtin_shufflevector (rows[0], rows[1], 2, 6, 3, 7);
            const auto t2 = __builtin_shufflevector (rows[2], rows[3], 0, 4, 1, 5);
            const auto t3 = __builtin_shufflevector (rows[2], rows[3], 2, 6, 3, 7);
            c[0] = __builtin_shufflevector (t0, t2, 0, 1, 4, 5);
            c[1] = __builtin_shufflevector (t0, t2, 2, 3, 6, 7);
            c[2] = __builtin_shufflevector (t1, t3, 0, 1, 4, 5);
            c[3] = __builtin_shufflevector (t1, t3, 2, 3, 6, 7);
        }

        for (int j = 0; j < N; ++j)
            __builtin_memcpy (column[j] + first, &c[j], sizeof (F));
    }

    template <typename S, int numOscillators, bool filtered>
    static void renderLanes (Batch& batch, int firstSample, int numSamples) noexcept
    {
        using F = Float<S>;
        constexpr int n = width<S>;
        constexpr double twoPi = OscillatorStep::twoPi;
        // A copy, so that no store of samples makes the compiler read the plan again every sample.
        const VoicePlan plan = batch.plan;

        VoiceStates<S> v;
        exchange<true> (v, batch);

        Mask<S> alive {};
        const Mask<S> allLanes = invert (Mask<S> {});

        for (int j = 0; j < n; ++j)
            setMaskLane (alive, j, batch.alive[j]);

        // Each oscillator's step in cycles, renewed with the pitch envelope; whether some lane
        // may step a cycle or more per sample (a phase below 2 pi plus a step below 2 pi
        // needs one wrap at most).
        S dt[2] {}, leftGain[2] {}, rightGain[2] {};
        bool largeSteps[2] {};

        for (int o = 0; o < numOscillators; ++o)
        {
            const auto& oscillator = plan.oscillators[o];
            dt[o] = v.oscillators[o].increment / twoPi;
            largeSteps[o] = oscillator.followsPitchEnvelope || any (invert (v.oscillators[o].increment < twoPi));
            leftGain[o] = splat<S> (oscillator.leftGain);
            rightGain[o] = splat<S> (oscillator.rightGain);
        }

        const auto master = splat<S> (plan.master);
        const bool filterMoves = filtered && (plan.filterFollowsEnvelope || plan.filterLfo != FilterLfo::none);
        const auto baseCutoff = toDouble<S> (v.filter.baseCutoff);
        FilterStep::Ahead<S> ahead;

        // The cutoff of the block's sample i: the envelope's and the LFO's steps run for
        // every sample of the block, whether the voice still sounds or not.
        const auto cutoffAt = [&] (int i) QUENBY_LAMBDA_INLINE
        {
            S cutoff = baseCutoff;

            if (plan.filterFollowsEnvelope)
            {
                EnvelopeStep::step<false> (v.filterEnvelope, allLanes);
                cutoff = plan.filterEnvelopeScaled
                           ? (splat<S> (plan.filterEnvelopeOffset) + splat<S> (plan.filterEnvelopeDepth) * v.filterEnvelope.output) * baseCutoff
                           : v.filterEnvelope.output * baseCutoff;
            }

            if (plan.filterLfo != FilterLfo::none)
            {
                const S value = plan.filterLfo == FilterLfo::shared
                                  ? splat<S> (plan.sharedLfoValues[firstSample + i])
                                  : LfoStep::step<false> (v.lfo, v.lfoEnvelope, plan.lfoWave, plan.lfoFollowsEnvelope, allLanes);
                const auto modulated = cutoff * (1.0 + value);
                cutoff = select (modulated < 0.0, S {}, select (modulated > 1.0, splat<S> (1.0), modulated));
            }

            return cutoff;
        };

        // A voice can only end where an envelope has just become idle, or at once when it
        // starts the block with every envelope idle.
        bool becameIdle = true;
        bool allAlive = ! any (invert (alive));

        // The last n samples of every lane, one row per sample, until they are written.
        F pendingLeft[n], pendingRight[n];

        // One sample; while every lane sounds (masked false) the states move without
        // looking at which lanes still sound.
        const auto step = [&] (int i, auto maskedTag) QUENBY_LAMBDA_INLINE
        {
            constexpr bool masked = decltype (maskedTag)::value;
            S l {}, r {};

            if (! masked || any (alive))
            {
                const auto lfoValue = plan.lfoOnSound ? LfoStep::step<masked> (v.lfo, v.lfoEnvelope, plan.lfoWave, plan.lfoFollowsEnvelope, alive)
                                                      : S {};
                S pitchFactor {};

                if (plan.pitchModulated)
                    pitchFactor = pitchFactorAt<masked> (v.glide, plan, firstSample + i, lfoValue, alive);

                for (int o = 0; o < numOscillators; ++o)
                {
                    const auto value = OscillatorStep::step<masked> (v.oscillators[o], v.amplitude[o], v.pitch[o], plan.oscillators[o],
                                                                     dt[o], alive, lfoValue, plan.pitchModulated, pitchFactor,
                                                                     largeSteps[o], becameIdle);
                    const auto oscLeft = leftGain[o] * value;
                    const auto oscRight = rightGain[o] * value;

                    // Signed soft sum: two full-scale sources of one sign do not simply add.
                    const auto sumLeft = oscLeft + l, sumRight = oscRight + r;
                    l = o == 0 ? oscLeft : sumLeft - (oscLeft * l) * sign (sumLeft);
                    r = o == 0 ? oscRight : sumRight - (oscRight * r) * sign (sumRight);
                }
            }

            auto left = toFloat (l * master);
            auto right = toFloat (r * master);

            if constexpr (masked)
            {
                const auto live = narrow<S> (alive);
                left = select (live, left, F {});
                right = select (live, right, F {});
            }

            // Added to a cleared block, as a voice adds (so -0 becomes +0).
            auto leftOut = left + 0.0f;
            auto rightOut = right + 0.0f;

            if constexpr (filtered)
            {
                if (filterMoves)
                    FilterStep::processAhead (v.filter, ahead, i % FilterStep::aheadSamples, leftOut, rightOut);
                else
                    FilterStep::process (v.filter, leftOut, rightOut);
            }

            if constexpr (n == 1)
                batch.left[0][i] = leftOut, batch.right[0][i] = rightOut;
            else
                pendingLeft[i % n] = leftOut, pendingRight[i % n] = rightOut;

            // A voice whose oscillators have all ended frees itself after this sample.
            if (becameIdle)
            {
                becameIdle = false;
                Mask<S> ending = alive;

                for (int o = 0; o < numOscillators; ++o)
                    ending = ending & (v.amplitude[o].stage == EnvelopeStep::idle);

                if (any (ending))
                {
                    for (int j = 0; j < n; ++j)
                        if (lane (ending, j))
                            batch.endSample[j] = firstSample + i;

                    alive = alive & invert (ending);
                    allAlive = false;
                }
            }
        };

        for (int first = 0; first < numSamples; first += FilterStep::aheadSamples)
        {
            const int last = numSamples < first + FilterStep::aheadSamples ? numSamples : first + FilterStep::aheadSamples;

            if constexpr (filtered)
                if (filterMoves)
                    FilterStep::prepareAhead (v.filter, plan.filterType, ahead, last - first, [&] (int k) QUENBY_LAMBDA_INLINE { return cutoffAt (first + k); });

            for (int i = first; i < last; ++i)
            {
                if (allAlive)
                    step (i, std::false_type {});
                else
                    step (i, std::true_type {});

                // Every n samples the lanes' samples go to the voices, n at a time.
                if constexpr (n > 1)
                    if (i % n == n - 1)
                        writeColumns<n> (pendingLeft, batch.left, i - (n - 1)), writeColumns<n> (pendingRight, batch.right, i - (n - 1));
            }
        }

        if constexpr (n > 1)
            for (int i = numSamples - numSamples % n; i < numSamples; ++i)
                for (int j = 0; j < n; ++j)
                    batch.left[j][i] = lane (pendingLeft[i % n], j), batch.right[j][i] = lane (pendingRight[i % n], j);

        exchange<false> (v, batch);

        for (int j = 0; j < n; ++j)
            batch.alive[j] = lane (alive, j) != 0;
    }

    // numSamples of every lane of the batch; see VoiceLanes::Kernel.
    template <typename S>
    static void renderBatch (Batch& batch, int firstSample, int numSamples) noexcept
    {
        const bool filtered = batch.plan.filtered;

        switch (batch.plan.numOscillators)
        {
            case 2:  filtered ? renderLanes<S, 2, true> (batch, firstSample, numSamples) : renderLanes<S, 2, false> (batch, firstSample, numSamples); break;
            case 1:  filtered ? renderLanes<S, 1, true> (batch, firstSample, numSamples) : renderLanes<S, 1, false> (batch, firstSample, numSamples); break;
            default: filtered ? renderLanes<S, 0, true> (batch, firstSample, numSamples) : renderLanes<S, 0, false> (batch, firstSample, numSamples); break;
        }
    }
}
