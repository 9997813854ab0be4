#pragma once

#include "Engine/EnvelopeStep.h"
#include "Engine/FastSine.h"

// An oscillator's state, for one oscillator or one per lane: its phase and step, level
// and gain, the triangle's integrator, and the pitch: the note's frequencies (fixed at the
// note start), the detune, and what the pitch envelope and the wheel make of them.
template <typename S>
struct OscillatorState
{
    S phase {};                     // radians, 0 <= phase < 2 pi after each step
    S increment {};                 // radians per sample
    S level {}, gain {};
    S triangleState {};
    S frequency {}, frequencyUp {}, frequencyDown {};    // Hz after detune and pitch envelope, and at full wheel up and down
    S bentFrequency {};             // Hz after the wheel
    S baseFrequency {};             // Hz, note + offset
    S detune {};                    // a fraction of the semitone step, -1 ... +1
    S sampleRate = S {} + 44100.0;
    S pitchEnvRange {};             // semitones
    Lanes::Mask<S> pitchEnvDown {};

    // Hz: note with offset +- pitch range, and the semitones above and below each.
    S up {}, down {}, above {}, upAbove {}, downAbove {}, below {}, upBelow {}, downBelow {};
};

template <typename S, typename Function>
QUENBY_LANE_INLINE void fields (OscillatorState<S>& o, Function&& f)
{
    f (o.phase, o.increment, o.level, o.gain, o.triangleState, o.frequency, o.frequencyUp, o.frequencyDown, o.bentFrequency,
       o.baseFrequency, o.detune, o.sampleRate, o.pitchEnvRange, o.pitchEnvDown,
       o.up, o.down, o.above, o.upAbove, o.downAbove, o.below, o.upBelow, o.downBelow);
}

// What an oscillator does in a block, besides its state: the same in every lane of a batch.
struct OscillatorPlan
{
    int index = 0;                     // 0 for oscillator 1, 1 for oscillator 2
    int wave = 0;                      // OscillatorStep::Wave
    bool followsLfo = false;           // the voice LFO scales the amplitude
    bool followsPitchEnvelope = false;
    int bendPercent = 0;               // the wheel, in whole percent of its travel
    double leftGain = 0.0, rightGain = 0.0;    // the linear pan

    bool operator== (const OscillatorPlan& o) const noexcept
    {
        return index == o.index && wave == o.wave && followsLfo == o.followsLfo && followsPitchEnvelope == o.followsPitchEnvelope
                && bendPercent == o.bendPercent && leftGain == o.leftGain && rightGain == o.rightGain;
    }
};

namespace OscillatorStep
{
    enum Wave : int { sine = 0, square, triangle, sawtooth };

    inline constexpr double pi = 3.14159265358979323846;
    inline constexpr double twoPi = 6.28318530717958647692;

    // The two-sample polynomial correction of a step at the cycle start; dt is the step in cycles.
    template <typename S>
    QUENBY_LANE_INLINE S blep (S x, S dt) noexcept
    {
        using namespace Lanes;
        const auto early = x < dt;
        const auto late = x > 1.0 - dt;

        // Most samples of a cycle need no correction in any lane: no divisions then.
        if (! any (early | late))
            return S {};

        const auto u = x / dt;
        const auto atStart = ((2.0 * u) - (u * u)) - 1.0;
        const auto v = (x - 1.0) / dt;
        const auto atEnd = ((v * v) + (2.0 * v)) + 1.0;

        return select (early, atStart, select (late, atEnd, S {}));
    }

    // fmod (x, 1) without the library call for the usual 0 <= x < 2; exact, since the
    // subtraction of 1 from a value in [1, 2) loses nothing.
    template <typename S>
    QUENBY_LANE_INLINE S wrapToUnit (S x) noexcept
    {
        using namespace Lanes;
        const auto low = (x >= 0.0) & (x < 1.0);
        const auto high = (x >= 1.0) & (x < 2.0);
        auto result = select (low, x, x - 1.0);

        if (any (invert (low | high)))
            for (int j = 0; j < width<S>; ++j)
                if (! (lane (low, j) || lane (high, j)))
                    setLane (result, j, std::fmod (lane (x, j), 1.0));

        return result;
    }

    // The frequencies for a detune d: towards the semitone above for d > 0, below for
    // d < 0, linearly in Hz (beyond +-1, which the pitch envelope reaches, along the same line).
    template <bool masked, typename S>
    QUENBY_LANE_INLINE void computeFrequencies (OscillatorState<S>& o, S d, Lanes::Mask<S> alive) noexcept
    {
        using namespace Lanes;
        auto a = o.baseFrequency, b = o.up, c = o.down;
        const auto raised = d > 0.0;
        const auto lowered = d < 0.0;

        a = select (raised, a + (o.above - a) * d, select (lowered, a + (a - o.below) * d, a));
        b = select (raised, b + (o.upAbove - b) * d, select (lowered, b + (b - o.upBelow) * d, b));
        c = select (raised, c + (o.downAbove - c) * d, select (lowered, c + (c - o.downBelow) * d, c));

        o.frequency = keep<masked> (alive, a, o.frequency);
        o.frequencyUp = keep<masked> (alive, b, o.frequencyUp);
        o.frequencyDown = keep<masked> (alive, c, o.frequencyDown);
    }

    // The wheel bends linearly in Hz towards the pitch-range frequencies, in whole percent
    // of its travel; the step follows the bent frequency.
    template <bool masked, typename S>
    QUENBY_LANE_INLINE void computeBend (OscillatorState<S>& o, int bendPercent, Lanes::Mask<S> alive) noexcept
    {
        using namespace Lanes;
        S bent;

        if (bendPercent > 0)
            bent = o.frequency + ((o.frequencyUp - o.frequency) / 100.0) * (double) bendPercent;
        else if (bendPercent < 0)
            bent = o.frequency + ((o.frequency - o.frequencyDown) / 100.0) * (double) bendPercent;
        else
            bent = o.frequency + 0.0;

        o.bentFrequency = keep<masked> (alive, bent, o.bentFrequency);
        o.increment = keep<masked> (alive, (bent * twoPi) / o.sampleRate, o.increment);
    }

    // One step of the pitch envelope and the detune it gives: the envelope moves the detune
    // except in its decay, and while idle before it has ever finished; it starts one step
    // below (above, with pitchEnvDown) and reaches range - 1 steps above (below) at its peak.
    template <bool masked, typename S>
    QUENBY_LANE_INLINE S detuneAfterPitchEnvelope (OscillatorState<S>& o, EnvelopeState<S>& pitch, Lanes::Mask<S> alive) noexcept
    {
        using namespace Lanes;
        EnvelopeStep::step<masked> (pitch, alive);

        const auto applies = invert ((pitch.stage == EnvelopeStep::decay) | ((pitch.stage == EnvelopeStep::idle) & invert (pitch.finished)));
        const auto g = 1.0 - o.pitchEnvRange * select (pitch.finished, splat<S> (1.0), pitch.output);
        return select (applies, select (o.pitchEnvDown, o.detune + g, o.detune - g), o.detune);
    }

    // The pitch envelope's step, and the frequencies and step it gives with the wheel.
    template <bool masked, typename S>
    QUENBY_LANE_INLINE void followPitchEnvelope (OscillatorState<S>& o, EnvelopeState<S>& pitch, int bendPercent,
                                                 Lanes::Mask<S> alive) noexcept
    {
        computeFrequencies<masked> (o, detuneAfterPitchEnvelope<masked> (o, pitch, alive), alive);
        computeBend<masked> (o, bendPercent, alive);
    }

    // The next sample of every lane: the wave from the phase before it advances, by the
    // level, the gain, the amplitude envelope's next output and, when it follows the LFO,
    // 1 + lfoValue. dt is the step in cycles, kept up to date here. With pitchScaled (a
    // glide, or the LFO on the pitch) the step is multiplied by pitchFactor for this sample
    // alone, above the pitch envelope and the wheel. Lanes outside alive (with masked)
    // keep their state. becameIdle is set when the amplitude envelope of a lane ends.
    template <bool masked, typename S>
    QUENBY_LANE_INLINE S step (OscillatorState<S>& o, EnvelopeState<S>& amplitude, EnvelopeState<S>& pitch, const OscillatorPlan& plan,
                               S& dt, Lanes::Mask<S> alive, S lfoValue, bool pitchScaled, S pitchFactor, bool largeSteps,
                               bool& becameIdle) noexcept
    {
        using namespace Lanes;

        if (plan.followsPitchEnvelope)
        {
            followPitchEnvelope<masked> (o, pitch, plan.bendPercent, alive);
            dt = o.increment / twoPi;
        }

        const auto increment = pitchScaled ? o.increment * pitchFactor : o.increment;
        const auto cycles = pitchScaled ? increment / twoPi : dt;
        S v;

        if (plan.wave == sine)
        {
            v = FastSine::sine<true> (o.phase);
        }
        else
        {
            const auto t = o.phase / twoPi;

            if (plan.wave == sawtooth)
            {
                v = ((2.0 * t) - 1.0) - blep (t, cycles);
            }
            else
            {
                v = (select (o.phase < pi, splat<S> (1.0), splat<S> (-1.0)) + blep (t, cycles)) - blep (wrapToUnit (t + 0.5), cycles);

                if (plan.wave == triangle)
                {
                    v = increment * v + (1.0 - increment) * o.triangleState;
                    o.triangleState = keep<masked> (alive, v, o.triangleState);
                }
            }
        }

        auto moved = o.phase + increment;
        moved = select (moved >= twoPi, moved - twoPi, moved);

        // Only pitches above the sample rate (host values far outside the editor's ranges)
        // step more than a cycle; an infinite step would never wrap.
        if ((largeSteps || pitchScaled) && any (moved >= twoPi))
            for (int j = 0; j < width<S>; ++j)
                if (const auto x = lane (moved, j); x >= twoPi)
                    setLane (moved, j, std::isfinite (x) ? std::fmod (x, twoPi) : 0.0);

        o.phase = keep<masked> (alive, moved, o.phase);

        if (EnvelopeStep::step<masked> (amplitude, alive))
            becameIdle = true;

        const auto result = ((v * o.level) * o.gain) * amplitude.output;
        return plan.followsLfo ? result * (1.0 + lfoValue) : result;
    }
}
