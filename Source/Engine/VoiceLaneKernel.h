#pragma once

// The voice lanes' kernel, N lanes wide, written once for every instruction set: each
// of VoiceLaneKernel*.cpp includes it, compiled for its own set. Every lane performs the
// scalar oscillator's and envelope's operations in the same order (no fused multiply-add:
// the build compiles with -ffp-contract=off), so each lane's samples equal the scalar
// voice's bit for bit. Branches become selects; the rare events (an envelope changing
// stage, a voice ending, a phase far outside its cycle) are settled lane by lane.
//
// Everything here has internal linkage, so that no function compiled for a wider
// instruction set can stand in for the same function of a narrower one at link time.

#include "Engine/FastSineConstants.h"
#include "Engine/FilterDesign.h"
#include "Engine/VoiceLanes.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <immintrin.h>
#include <limits>
#include <type_traits>

// The per-sample steps are forced inline: a call per sample would spill the lanes' registers.
#define QUENBY_LANE_INLINE inline __attribute__ ((always_inline))

namespace
{
namespace LaneKernel
{
    using namespace VoiceLanes;

    template <int N>
    struct Vec
    {
        typedef double D __attribute__ ((vector_size (8 * N)));
        typedef long long M __attribute__ ((vector_size (8 * N)));
        typedef float F __attribute__ ((vector_size (4 * N)));
        typedef int FM __attribute__ ((vector_size (4 * N)));
    };

    template <int N> using D = typename Vec<N>::D;
    template <int N> using M = typename Vec<N>::M;
    template <int N> using F = typename Vec<N>::F;
    template <int N> using FM = typename Vec<N>::FM;

    // A vector from the first lanes of an array, and back (no alignment assumed).
    template <typename Vector, typename Element>
    QUENBY_LANE_INLINE Vector loadVector (const Element* p) noexcept
    {
        Vector v;
        std::memcpy (&v, p, sizeof (v));
        return v;
    }

    template <typename Vector, typename Element>
    QUENBY_LANE_INLINE void storeVector (Element* p, Vector v) noexcept
    {
        std::memcpy (p, &v, sizeof (v));
    }

    template <int N> QUENBY_LANE_INLINE D<N> load (const double* p) noexcept          { return loadVector<D<N>> (p); }
    template <int N> QUENBY_LANE_INLINE void store (double* p, D<N> v) noexcept       { storeVector (p, v); }
    template <int N> QUENBY_LANE_INLINE F<N> loadFloats (const float* p) noexcept     { return loadVector<F<N>> (p); }
    template <int N> QUENBY_LANE_INLINE void storeFloats (float* p, F<N> v) noexcept  { storeVector (p, v); }

    template <int N>
    QUENBY_LANE_INLINE D<N> broadcast (double x) noexcept
    {
        return D<N> {} + x;
    }

    // mask ? a : b, lane by lane; a mask lane is all ones or all zeros.
    template <int N>
    QUENBY_LANE_INLINE D<N> select (M<N> mask, D<N> a, D<N> b) noexcept
    {
        return (D<N>) ((mask & (M<N>) a) | (~mask & (M<N>) b));
    }

    // True when any lane of the mask is set: the lanes' sign bits gathered into an integer
    // (each width is instantiated only in the file compiled for its instruction set).
    template <int N>
    QUENBY_LANE_INLINE bool any (M<N> mask) noexcept
    {
        static_assert (N == 4 || N == 8, "AVX2 and AVX-512 widths");

        if constexpr (N == 8)
            return _mm512_movepi64_mask ((__m512i) mask) != 0;
        else
            return _mm256_movemask_pd ((__m256d) mask) != 0;
    }

    // A state's new value in the lanes whose voices still sound; with every lane
    // sounding (masked false) simply the new value.
    template <bool masked, int N>
    QUENBY_LANE_INLINE D<N> keep (M<N> alive, D<N> newValue, D<N> oldValue) noexcept
    {
        if constexpr (masked)
            return select<N> (alive, newValue, oldValue);
        else
            return newValue;
    }

    template <int N>
    QUENBY_LANE_INLINE F<N> selectFloats (FM<N> mask, F<N> a, F<N> b) noexcept
    {
        return (F<N>) ((mask & (FM<N>) a) | (~mask & (FM<N>) b));
    }

    template <int N>
    QUENBY_LANE_INLINE bool anyFloat (FM<N> mask) noexcept
    {
        return any<N> (__builtin_convertvector (mask, M<N>));
    }

    // The scalar fast sine, lane by lane, for arguments within +-largestArgument: both
    // kernels are evaluated and one is kept.
    template <int N>
    QUENBY_LANE_INLINE D<N> sine (D<N> x) noexcept
    {
        using namespace FastSineConstants;

        const M<N> half = x >= 0.0;
        // k as the scalar sine takes it: an int, truncated.
        const auto k = __builtin_convertvector (x * twoOverPi + select<N> (half, broadcast<N> (0.5), broadcast<N> (-0.5)), FM<N>);
        const auto kd = __builtin_convertvector (k, D<N>);
        const auto r = (x - kd * piOverTwoHigh) - kd * piOverTwoLow;
        const auto z = r * r;

        const auto sp = s2 + z * (s3 + z * (s4 + z * (s5 + z * s6)));
        const auto sineResult = r + (z * r) * (s1 + z * sp);

        const auto cp = z * (c1 + z * (c2 + z * (c3 + z * (c4 + z * (c5 + z * c6)))));
        const auto halfZ = 0.5 * z;
        const auto w = 1.0 - halfZ;
        const auto cosineResult = w + (((1.0 - w) - halfZ) + z * cp);

        const auto odd = __builtin_convertvector ((k & 1) != 0, M<N>);
        const auto negative = __builtin_convertvector ((k & 2) != 0, M<N>);
        auto result = select<N> (odd, cosineResult, sineResult);
        result = select<N> (negative, -result, result);

        // The lanes' phases lie within 0 ... 2 pi (or are NaN, which stays NaN), where the
        // scalar sine never turns to the library's.
        return result;
    }

    // The two-sample polynomial correction of a step at the cycle start.
    template <int N>
    QUENBY_LANE_INLINE D<N> blep (D<N> x, D<N> dt) noexcept
    {
        const M<N> early = x < dt;
        const M<N> late = x > 1.0 - dt;

        // Most samples of a cycle need no correction in any lane: no divisions then.
        if (! any<N> (early | late))
            return broadcast<N> (0.0);

        const auto u = x / dt;
        const auto atStart = ((2.0 * u) - (u * u)) - 1.0;
        const auto v = (x - 1.0) / dt;
        const auto atEnd = ((v * v) + (2.0 * v)) + 1.0;

        return select<N> (early, atStart, select<N> (late, atEnd, broadcast<N> (0.0)));
    }

    // fmod (x, 1) for the usual 0 <= x < 2, the library's elsewhere.
    template <int N>
    QUENBY_LANE_INLINE D<N> wrapToUnit (D<N> x) noexcept
    {
        const M<N> low = x >= 0.0 && x < 1.0;
        const M<N> high = x >= 1.0 && x < 2.0;
        auto result = select<N> (low, x, x - 1.0);

        if (any<N> (~(low | high)))
            for (int j = 0; j < N; ++j)
                if (! (low[j] || high[j]))
                    result[j] = std::fmod (x[j], 1.0);

        return result;
    }

    // One envelope per lane, held in registers through a chunk.
    template <int N>
    struct EnvelopeVector
    {
        D<N> output {}, coefficient {}, base {}, limit {};
        M<N> rising {}, idle {}, decaying {}, finished {};

        void load (const EnvelopeLanes& e) noexcept
        {
            output = LaneKernel::load<N> (e.output);
            coefficient = LaneKernel::load<N> (e.coefficient);
            base = LaneKernel::load<N> (e.base);
            limit = LaneKernel::load<N> (e.limit);

            for (int j = 0; j < N; ++j)
            {
                rising[j] = e.stage[j] == attackStage ? -1 : 0;
                idle[j] = e.stage[j] == idleStage ? -1 : 0;
                decaying[j] = e.stage[j] == decayStage ? -1 : 0;
                finished[j] = e.finished[j] ? -1 : 0;
            }
        }

        void store (EnvelopeLanes& e) const noexcept
        {
            LaneKernel::store<N> (e.output, output);
            LaneKernel::store<N> (e.coefficient, coefficient);
            LaneKernel::store<N> (e.base, base);
            LaneKernel::store<N> (e.limit, limit);
        }

        // One step; a lane that reaches its limit enters its next stage as the scalar
        // envelope does. Returns true when a lane has just become idle.
        // Lanes outside the mask (voices that have ended) stay as they are.
        template <bool masked>
        QUENBY_LANE_INLINE bool process (EnvelopeLanes& e, M<N> moving) noexcept
        {
            bool becameIdle = false;
            output = keep<masked, N> (moving, coefficient * output + base, output);

            M<N> reached = (rising & (output >= limit)) | (~rising & (output <= limit));

            if constexpr (masked)
                reached &= moving;

            if (any<N> (reached))
            {
                for (int j = 0; j < N; ++j)
                {
                    if (! reached[j])
                        continue;

                    switch (e.stage[j])
                    {
                        case attackStage:
                            output[j] = 1.0;
                            e.stage[j] = decayStage;
                            decaying[j] = -1;
                            setStage (j, e.decayCoefficient[j], e.decayBase[j], e.sustainLevel[j], false);
                            break;

                        case decayStage:
                            output[j] = e.sustainLevel[j];
                            e.stage[j] = sustainStage;
                            decaying[j] = 0;
                            hold (j);
                            break;

                        case releaseStage:
                            output[j] = 0.0;
                            e.stage[j] = idleStage;
                            e.finished[j] = true;
                            finished[j] = -1;
                            idle[j] = -1;
                            becameIdle = true;
                            hold (j);
                            break;

                        default:
                            break;
                    }
                }
            }

            return becameIdle;
        }

        void setStage (int j, double newCoefficient, double newBase, double newLimit, bool isRising) noexcept
        {
            coefficient[j] = newCoefficient;
            base[j] = newBase;
            limit[j] = newLimit;
            rising[j] = isRising ? -1 : 0;
        }

        void hold (int j) noexcept
        {
            setStage (j, 1.0, 0.0, -std::numeric_limits<double>::infinity(), false);
        }
    };

    // One oscillator per lane through a chunk.
    template <int N>
    struct OscillatorVector
    {
        D<N> phase {}, increment {}, level {}, gain {}, triangleState {};
        D<N> dt {};                      // the step in cycles, as the scalar oscillator divides it
        D<N> frequency {}, frequencyUp {}, frequencyDown {}, bentFrequency {};
        M<N> pitchDown {};
        EnvelopeVector<N> pitch {};
        EnvelopeVector<N> amplitude {};
        bool largeSteps = true;          // some lane may step a cycle or more per sample

        // The batch's settings, held here so that no store through the lanes' arrays makes
        // the compiler read them again every sample.
        int waveType = sineWave;
        bool followsLfo = false, followsPitchEnvelope = false;
        int bendPercent = 0;

        void load (const OscillatorLanes& o) noexcept
        {
            phase = LaneKernel::load<N> (o.phase);
            increment = LaneKernel::load<N> (o.increment);
            level = LaneKernel::load<N> (o.level);
            gain = LaneKernel::load<N> (o.gain);
            triangleState = LaneKernel::load<N> (o.triangleState);
            amplitude.load (o.amplitude);

            dt = increment / twoPi;

            // A phase below 2 pi plus a step below 2 pi needs one wrap at most; a step
            // that moves with the pitch envelope is checked every sample.
            waveType = o.waveType;
            followsLfo = o.followsLfo;
            followsPitchEnvelope = o.followsPitchEnvelope;
            bendPercent = o.bendPercent;
            largeSteps = followsPitchEnvelope || any<N> (~(increment < twoPi));

            if (o.followsPitchEnvelope)
            {
                frequency = LaneKernel::load<N> (o.frequency);
                frequencyUp = LaneKernel::load<N> (o.frequencyUp);
                frequencyDown = LaneKernel::load<N> (o.frequencyDown);
                bentFrequency = LaneKernel::load<N> (o.bentFrequency);
                pitch.load (o.pitch);

                for (int j = 0; j < N; ++j)
                    pitchDown[j] = o.pitchEnvDown[j] ? -1 : 0;
            }
        }

        void store (OscillatorLanes& o) const noexcept
        {
            LaneKernel::store<N> (o.phase, phase);
            LaneKernel::store<N> (o.triangleState, triangleState);
            amplitude.store (o.amplitude);

            if (o.followsPitchEnvelope)
            {
                LaneKernel::store<N> (o.increment, increment);
                LaneKernel::store<N> (o.frequency, frequency);
                LaneKernel::store<N> (o.frequencyUp, frequencyUp);
                LaneKernel::store<N> (o.frequencyDown, frequencyDown);
                LaneKernel::store<N> (o.bentFrequency, bentFrequency);
                pitch.store (o.pitch);
            }
        }

        // The pitch envelope's step: new frequencies and a new step, as the scalar
        // oscillator's computeFrequencies and computeBend give them.
        template <bool masked>
        QUENBY_LANE_INLINE void followPitchEnvelope (OscillatorLanes& o, M<N> alive) noexcept
        {
            pitch.template process<masked> (o.pitch, alive);

            // The envelope moves the detune except in its decay, and while idle before it
            // has ever finished.
            const M<N> applies = ~(pitch.decaying | (pitch.idle & ~pitch.finished));
            const auto detune = LaneKernel::load<N> (o.detune);
            const auto g = 1.0 - LaneKernel::load<N> (o.pitchEnvRange) * select<N> (pitch.finished, broadcast<N> (1.0), pitch.output);
            const M<N> down = pitchDown;
            const auto d = select<N> (applies, select<N> (down, detune + g, detune - g), detune);

            auto a = LaneKernel::load<N> (o.baseFrequency);
            auto b = LaneKernel::load<N> (o.up);
            auto c = LaneKernel::load<N> (o.down);
            const M<N> raised = d > 0.0;
            const M<N> lowered = d < 0.0;

            const auto raisedA = a + (LaneKernel::load<N> (o.above) - a) * d;
            const auto raisedB = b + (LaneKernel::load<N> (o.upAbove) - b) * d;
            const auto raisedC = c + (LaneKernel::load<N> (o.downAbove) - c) * d;
            const auto loweredA = a + (a - LaneKernel::load<N> (o.below)) * d;
            const auto loweredB = b + (b - LaneKernel::load<N> (o.upBelow)) * d;
            const auto loweredC = c + (c - LaneKernel::load<N> (o.downBelow)) * d;

            a = select<N> (raised, raisedA, select<N> (lowered, loweredA, a));
            b = select<N> (raised, raisedB, select<N> (lowered, loweredB, b));
            c = select<N> (raised, raisedC, select<N> (lowered, loweredC, c));

            // The wheel bends in whole percent towards the pitch-range frequencies.
            auto bent = a;

            if (bendPercent > 0)
                bent = a + ((b - a) / 100.0) * (double) bendPercent;
            else if (bendPercent < 0)
                bent = a + ((a - c) / 100.0) * (double) bendPercent;
            else
                bent = a + 0.0;

            frequency = keep<masked, N> (alive, a, frequency);
            frequencyUp = keep<masked, N> (alive, b, frequencyUp);
            frequencyDown = keep<masked, N> (alive, c, frequencyDown);
            bentFrequency = keep<masked, N> (alive, bent, bentFrequency);
            increment = keep<masked, N> (alive, (bent * twoPi) / LaneKernel::load<N> (o.sampleRate), increment);
            dt = increment / twoPi;
        }

        // The next sample of every lane, as the scalar oscillator computes it; the phase
        // and the triangle's state move in the live lanes only. With pitchFactor (a glide
        // or the LFO on the pitch) the step is multiplied by it for this sample, on top of
        // the pitch envelope and the wheel.
        template <bool masked>
        QUENBY_LANE_INLINE D<N> next (OscillatorLanes& o, M<N> alive, D<N> lfoValue, const D<N>* pitchFactor, bool& becameIdle) noexcept
        {
            auto& envelopeLanes = o.amplitude;

            if (followsPitchEnvelope)
                followPitchEnvelope<masked> (o, alive);

            const auto stepNow = pitchFactor != nullptr ? increment * *pitchFactor : increment;
            const auto cyclesNow = pitchFactor != nullptr ? stepNow / twoPi : dt;
            D<N> v;

            if (waveType == sineWave)
            {
                v = sine<N> (phase);
            }
            else
            {
                const auto t = phase / twoPi;

                if (waveType == sawtoothWave)
                {
                    v = ((2.0 * t) - 1.0) - blep<N> (t, cyclesNow);
                }
                else
                {
                    const auto step = select<N> (phase < pi, broadcast<N> (1.0), broadcast<N> (-1.0));
                    v = (step + blep<N> (t, cyclesNow)) - blep<N> (wrapToUnit<N> (t + 0.5), cyclesNow);

                    if (waveType == triangleWave)
                    {
                        v = stepNow * v + (1.0 - stepNow) * triangleState;
                        triangleState = keep<masked, N> (alive, v, triangleState);
                    }
                }
            }

            auto moved = phase + stepNow;
            const M<N> wrapped = moved >= twoPi;
            moved = select<N> (wrapped, moved - twoPi, moved);

            // Only pitches above the sample rate step more than a cycle.
            if ((largeSteps || pitchFactor != nullptr) && any<N> (moved >= twoPi))
                for (int j = 0; j < N; ++j)
                    if (moved[j] >= twoPi)
                        moved[j] = std::isfinite (moved[j]) ? std::fmod (moved[j], twoPi) : 0.0;

            phase = keep<masked, N> (alive, moved, phase);

            becameIdle = amplitude.template process<masked> (envelopeLanes, alive) || becameIdle;
            const auto result = ((v * level) * gain) * amplitude.output;
            return followsLfo ? result * (1.0 + lfoValue) : result;
        }
    };

    // One voice LFO per lane, as Lfo::nextValue steps it.
    template <int N>
    struct LfoVector
    {
        D<N> phase {}, increment {}, mix {};
        EnvelopeVector<N> envelope {};
        int waveType = lfoSine;
        bool followsEnvelope = false;

        void load (const LfoLanes& l) noexcept
        {
            waveType = l.waveType;
            followsEnvelope = l.followsEnvelope;
            phase = LaneKernel::load<N> (l.phase);
            increment = LaneKernel::load<N> (l.increment);
            mix = LaneKernel::load<N> (l.mix);

            if (l.followsEnvelope)
                envelope.load (l.envelope);
        }

        void store (LfoLanes& l) const noexcept
        {
            LaneKernel::store<N> (l.phase, phase);

            if (l.followsEnvelope)
                envelope.store (l.envelope);
        }

        template <bool masked>
        QUENBY_LANE_INLINE D<N> next (LfoLanes& l, M<N> alive) noexcept
        {
            D<N> w;

            switch (waveType)
            {
                case lfoSine:    w = sine<N> (phase); break;
                case lfoSquare:  w = select<N> (phase < pi, broadcast<N> (1.0), broadcast<N> (-1.0)); break;
                case lfoSawUp:   w = 2.0 * (phase / twoPi) - 1.0; break;
                case lfoSawDown: w = 1.0 - 2.0 * (phase / twoPi); break;

                case lfoPump:
                {
                    const auto rest = 1.0 - phase / twoPi;
                    w = -(rest * rest);
                    break;
                }

                default:         w = broadcast<N> (0.0); break;
            }

            auto moved = phase + increment;
            const M<N> wrapped = moved >= twoPi;
            moved = select<N> (wrapped, moved - twoPi, moved);

            // Only speeds far beyond the editor's range step more than a cycle; an infinite
            // or NaN phase starts again from 0.
            const M<N> finite = (moved - moved) == 0.0;

            if (any<N> ((moved >= twoPi) | ~finite))
            {
                for (int j = 0; j < N; ++j)
                {
                    if (moved[j] >= twoPi)
                        moved[j] = std::fmod (moved[j], twoPi);

                    if (! std::isfinite (moved[j]))
                        moved[j] = 0.0;
                }
            }

            phase = keep<masked, N> (alive, moved, phase);

            if (followsEnvelope)
            {
                envelope.template process<masked> (l.envelope, alive);
                return (envelope.output * w) * mix;
            }

            return w * mix;
        }
    };

    // Samples whose filter coefficients are computed ahead of the voices' loop.
    inline constexpr int aheadSamples = 64;

    // One voice filter per lane: the cutoff follows the envelope sample by sample when it
    // moves, and the section runs in single precision, as the filter's own loop does.
    template <int N>
    struct FilterVector
    {
        F<N> b0 {}, b1 {}, b2 {}, a1 {}, a2 {}, leftZ1 {}, leftZ2 {}, rightZ1 {}, rightZ2 {};
        F<N> computedCutoff {}, alphaDivisor {}, inverseSampleRate {};
        D<N> baseCutoff {};
        EnvelopeVector<N> envelope {};
        int type = FilterDesign::lowpass;
        bool followsEnvelope = false;
        F<N> ahead[5][aheadSamples];     // b0, b1, b2, a1 and a2 of the samples prepared ahead

        void load (const FilterLanes& f) noexcept
        {
            type = f.type;
            followsEnvelope = f.followsEnvelope;
            b0 = loadFloats<N> (f.b0);
            b1 = loadFloats<N> (f.b1);
            b2 = loadFloats<N> (f.b2);
            a1 = loadFloats<N> (f.a1);
            a2 = loadFloats<N> (f.a2);
            leftZ1 = loadFloats<N> (f.leftZ1);
            leftZ2 = loadFloats<N> (f.leftZ2);
            rightZ1 = loadFloats<N> (f.rightZ1);
            rightZ2 = loadFloats<N> (f.rightZ2);

            if (f.followsEnvelope)
            {
                envelope.load (f.envelope);
                computedCutoff = loadFloats<N> (f.computedCutoff);
                baseCutoff = __builtin_convertvector (loadFloats<N> (f.baseCutoff), D<N>);
                inverseSampleRate = loadFloats<N> (f.inverseSampleRate);

                for (int j = 0; j < N; ++j)
                    alphaDivisor[j] = FilterDesign::alphaDivisorFor (f.type, f.q[j], f.twiceQ[j]);
            }
        }

        void store (FilterLanes& f) const noexcept
        {
            storeFloats<N> (f.b0, b0);
            storeFloats<N> (f.b1, b1);
            storeFloats<N> (f.b2, b2);
            storeFloats<N> (f.a1, a1);
            storeFloats<N> (f.a2, a2);
            storeFloats<N> (f.leftZ1, leftZ1);
            storeFloats<N> (f.leftZ2, leftZ2);
            storeFloats<N> (f.rightZ1, rightZ1);
            storeFloats<N> (f.rightZ2, rightZ2);

            if (f.followsEnvelope)
            {
                envelope.store (f.envelope);
                storeFloats<N> (f.computedCutoff, computedCutoff);
            }
        }

        // The coefficients of the next count samples (at most aheadSamples), computed ahead
        // of the samples when the envelope moves the cutoff: the cutoff of each sample, new
        // coefficients where it has moved. Resonance, type and rate were brought up to date
        // at the block start. Kept apart from the voices' loop, so that the library's
        // cosine and sine are called with nothing else held in registers.
        void prepareAhead (FilterLanes& f, int count) noexcept
        {
            if (! followsEnvelope)
                return;

            alignas (64) float angles[aheadSamples][N], cosines[aheadSamples][N], sines[aheadSamples][N];
            FM<N> moved[aheadSamples];

            for (int k = 0; k < count; ++k)
            {
                envelope.template process<false> (f.envelope, ~M<N> {});
                const auto cutoff = __builtin_convertvector (envelope.output * baseCutoff, F<N>);
                moved[k] = cutoff != computedCutoff;
                computedCutoff = selectFloats<N> (moved[k], cutoff, computedCutoff);

                storeFloats<N> (angles[k], FilterDesign::angleFor (cutoff, inverseSampleRate, [] (FM<N> condition, F<N> value, F<N> otherwise)
                {
                    return selectFloats<N> (condition, value, otherwise);
                }));
            }

            // The library's single-precision cosine and sine, lane by lane, as the filter
            // takes them.
            for (int k = 0; k < count; ++k)
            {
                for (int j = 0; j < N; ++j)
                {
                    cosines[k][j] = std::cos (angles[k][j]);
                    sines[k][j] = std::sin (angles[k][j]);
                }
            }

            for (int k = 0; k < count; ++k)
            {
                if (anyFloat<N> (moved[k]))
                {
                    F<N> c0 = b0, c1 = b1, c2 = b2, d1 = a1, d2 = a2;
                    FilterDesign::section (type, loadFloats<N> (cosines[k]), loadFloats<N> (sines[k]), alphaDivisor, c0, c1, c2, d1, d2);
                    b0 = selectFloats<N> (moved[k], c0, b0);
                    b1 = selectFloats<N> (moved[k], c1, b1);
                    b2 = selectFloats<N> (moved[k], c2, b2);
                    a1 = selectFloats<N> (moved[k], d1, a1);
                    a2 = selectFloats<N> (moved[k], d2, a2);
                }

                ahead[0][k] = b0;
                ahead[1][k] = b1;
                ahead[2][k] = b2;
                ahead[3][k] = a1;
                ahead[4][k] = a2;
            }
        }

        // Sample k of those prepared ahead (any k without the envelope).
        QUENBY_LANE_INLINE void process (F<N>& left, F<N>& right, int k) noexcept
        {
            if (followsEnvelope)
            {
                b0 = ahead[0][k];
                b1 = ahead[1][k];
                b2 = ahead[2][k];
                a1 = ahead[3][k];
                a2 = ahead[4][k];
            }

            const auto y = left * b0 + leftZ1;
            leftZ1 = left * b1 - y * a1 + leftZ2;
            leftZ2 = left * b2 - y * a2;
            left = y;

            const auto yr = right * b0 + rightZ1;
            rightZ1 = right * b1 - yr * a1 + rightZ2;
            rightZ2 = right * b2 - yr * a2;
            right = yr;
        }
    };

    template <int N>
    QUENBY_LANE_INLINE D<N> sign (D<N> x) noexcept
    {
        return select<N> (x > 0.0, broadcast<N> (1.0), select<N> (x < 0.0, broadcast<N> (-1.0), broadcast<N> (0.0)));
    }

    // The pitch factor of the block's sample i: 2 to the power of the LFO's value (the voice's own,
    // or the global one's shared for the block) when it is on the pitch, plus the glide's
    // distance in octaves, which moves on by its step. The power is the library's, lane
    // by lane, as the voice takes it.
    template <int N, bool masked>
    QUENBY_LANE_INLINE D<N> pitchFactorAt (Batch& batch, int i, D<N> lfoValue, M<N> alive) noexcept
    {
        auto octaves = broadcast<N> (0.0);

        if (batch.lfoOnPitch)
            octaves = batch.sharedLfoValues != nullptr ? broadcast<N> (batch.sharedLfoValues[i]) : lfoValue;

        alignas (64) double powers[N];
        storeVector (powers, octaves);

        for (int j = 0; j < N; ++j)
        {
            auto& left = batch.glideSamplesLeft[j];

            if (left > 0 && (! masked || alive[j]))
            {
                powers[j] += batch.glideSemitones[j] / 12.0;
                batch.glideSemitones[j] = --left > 0 ? batch.glideSemitones[j] - batch.glideStep[j] : 0.0;
            }

            powers[j] = std::exp2 (powers[j]);
        }

        return loadVector<D<N>> (powers);
    }

    // N rows of N lanes' samples, transposed: lane j's N samples into column[j] from
    // sample first on.
    template <int N>
    QUENBY_LANE_INLINE void writeColumns (const F<N>* rows, float* const* column, int first) noexcept
    {
        F<N> c[N];

        if constexpr (N == 8)
        {
            F<N> t[8], u[8];

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
            storeFloats<N> (column[j] + first, c[j]);
    }

    template <int N, int numOscillators, bool filtered>
    void renderLanes (Batch& batch, int firstSample, int numSamples) noexcept
    {
        OscillatorVector<N> oscillators[numOscillators];
        D<N> leftGain[numOscillators], rightGain[numOscillators];

        for (int o = 0; o < numOscillators; ++o)
        {
            oscillators[o].load (batch.oscillators[o]);
            leftGain[o] = broadcast<N> (batch.oscillators[o].leftGain);
            rightGain[o] = broadcast<N> (batch.oscillators[o].rightGain);
        }

        FilterVector<N> filter;

        if constexpr (filtered)
            filter.load (batch.filter);

        LfoVector<N> lfo;

        if (batch.modulated)
            lfo.load (batch.lfo);

        const auto master = broadcast<N> (batch.master);
        M<N> alive;

        for (int j = 0; j < N; ++j)
            alive[j] = batch.alive[j] ? -1 : 0;

        // A voice can only end where an envelope has just become idle, or at once when it
        // starts the block with every envelope idle.
        bool becameIdle = true;
        bool allAlive = ! any<N> (~alive);

        // The last N samples of every lane, one row per sample, until they are written.
        F<N> pendingLeft[N], pendingRight[N];

        // One sample; while every lane sounds (masked false) the states move without
        // looking at which lanes still sound.
        const auto step = [&] (int i, auto maskedTag)
        {
            constexpr bool masked = decltype (maskedTag)::value;
            D<N> l {}, r {};
            const auto lfoValue = batch.modulated ? lfo.template next<masked> (batch.lfo, alive) : broadcast<N> (0.0);
            D<N> pitchFactor;

            if (batch.pitchModulated)
                pitchFactor = pitchFactorAt<N, masked> (batch, firstSample + i, lfoValue, alive);

            for (int o = 0; o < numOscillators; ++o)
            {
                const auto v = oscillators[o].template next<masked> (batch.oscillators[o], alive, lfoValue,
                                                                     batch.pitchModulated ? &pitchFactor : nullptr, becameIdle);
                const auto oscLeft = leftGain[o] * v;
                const auto oscRight = rightGain[o] * v;

                if (o == 0)
                {
                    l = oscLeft;
                    r = oscRight;
                }
                else
                {
                    // Signed soft sum.
                    auto sum = oscLeft + l;
                    l = sum - (oscLeft * l) * sign<N> (sum);
                    sum = oscRight + r;
                    r = sum - (oscRight * r) * sign<N> (sum);
                }
            }

            auto left = __builtin_convertvector (l * master, F<N>);
            auto right = __builtin_convertvector (r * master, F<N>);

            if constexpr (masked)
            {
                const auto live = __builtin_convertvector (alive, FM<N>);
                left = (F<N>) ((FM<N>) left & live);
                right = (F<N>) ((FM<N>) right & live);
            }

            // Added to the cleared block as the scalar voice adds (so -0 becomes +0).
            auto leftOut = left + 0.0f;
            auto rightOut = right + 0.0f;

            if constexpr (filtered)
                filter.process (leftOut, rightOut, i % aheadSamples);

            pendingLeft[i % N] = leftOut;
            pendingRight[i % N] = rightOut;

            // A voice whose oscillators have all ended frees itself after this sample.
            if (becameIdle)
            {
                becameIdle = false;
                M<N> ending = alive;

                for (int o = 0; o < numOscillators; ++o)
                    ending &= oscillators[o].amplitude.idle;

                if (any<N> (ending))
                {
                    for (int j = 0; j < N; ++j)
                        if (ending[j])
                            batch.endSample[j] = firstSample + i;

                    alive &= ~ending;
                    allAlive = false;
                }
            }
        };

        for (int first = 0; first < numSamples; first += aheadSamples)
        {
            const int last = std::min (numSamples, first + aheadSamples);

            if constexpr (filtered)
                filter.prepareAhead (batch.filter, last - first);

            for (int i = first; i < last; ++i)
            {
                if (allAlive)
                    step (i, std::false_type {});
                else
                    step (i, std::true_type {});

                // Every N samples the lanes' samples go to the voices, N at a time.
                if (i % N == N - 1)
                {
                    writeColumns<N> (pendingLeft, batch.left, i - (N - 1));
                    writeColumns<N> (pendingRight, batch.right, i - (N - 1));
                }
            }
        }

        for (int i = numSamples - numSamples % N; i < numSamples; ++i)
        {
            for (int j = 0; j < N; ++j)
            {
                batch.left[j][i] = pendingLeft[i % N][j];
                batch.right[j][i] = pendingRight[i % N][j];
            }
        }

        for (int o = 0; o < numOscillators; ++o)
            oscillators[o].store (batch.oscillators[o]);

        if constexpr (filtered)
            filter.store (batch.filter);

        if (batch.modulated)
            lfo.store (batch.lfo);

        for (int j = 0; j < N; ++j)
            batch.alive[j] = alive[j] != 0;
    }

    template <int N>
    void render (Batch& batch, int firstSample, int numSamples) noexcept
    {
        if (batch.numOscillators == 2)
        {
            if (batch.filtered)
                renderLanes<N, 2, true> (batch, firstSample, numSamples);
            else
                renderLanes<N, 2, false> (batch, firstSample, numSamples);
        }
        else
        {
            if (batch.filtered)
                renderLanes<N, 1, true> (batch, firstSample, numSamples);
            else
                renderLanes<N, 1, false> (batch, firstSample, numSamples);
        }
    }
}
}

#undef QUENBY_LANE_INLINE
