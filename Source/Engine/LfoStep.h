#pragma once

#include "Engine/EnvelopeStep.h"
#include "Engine/FastSine.h"

// What an LFO follows, block by block, computed by the synthesiser from the settings:
// its wave, mode, synchronisation, speed and mix, and the rate they and the tempo give.
struct LfoSettings
{
    int wave = 0;             // LfoStep::Wave
    int mode = 0;             // 0 free, 1 retrigger
    bool sync = false;        // the rate is a note value of the tempo
    double speed = 0.0;       // the speed setting, 0 ... 1
    double mix = 0.0;         // the depth
    double rate = 0.0;        // Hz
};

// An LFO's state, for one LFO or one per lane: its phase, step and mix.
template <typename S>
struct LfoState
{
    S phase {};               // radians, 0 <= phase < 2 pi
    S increment {};           // radians per sample
    S mix {};
};

template <typename S, typename Function>
QUENBY_LANE_INLINE void fields (LfoState<S>& l, Function&& f)    { f (l.phase, l.increment, l.mix); }

namespace LfoStep
{
    enum Wave : int { sine = 0, square, sawUp, sawDown, pump };

    inline constexpr double pi = 3.14159265358979323846;
    inline constexpr double twoPi = 6.28318530717958647692;

    // Radians per sample for a rate in Hz.
    inline double incrementFor (double rate, double sampleRate) noexcept    { return twoPi * rate / sampleRate; }

    // The next value of every lane, envelope x wave x mix, from the phase before it
    // advances; with followsEnvelope the envelope steps too. Lanes outside alive (with
    // masked) keep their state.
    template <bool masked, typename S>
    QUENBY_LANE_INLINE S step (LfoState<S>& l, EnvelopeState<S>& envelope, int wave, bool followsEnvelope, Lanes::Mask<S> alive) noexcept
    {
        using namespace Lanes;
        S w;

        switch (wave)
        {
            case sine:    w = FastSine::sine<true> (l.phase); break;
            case square:  w = select (l.phase < pi, splat<S> (1.0), splat<S> (-1.0)); break;
            case sawUp:   w = 2.0 * (l.phase / twoPi) - 1.0; break;
            case sawDown: w = 1.0 - 2.0 * (l.phase / twoPi); break;

            // A duck at each cycle start that recovers smoothly: on the amplitude at full
            // mix the gain falls to 0 and returns to 1, the side-chain "pumping" effect.
            case pump:
            {
                const auto rest = 1.0 - l.phase / twoPi;
                w = -(rest * rest);
                break;
            }

            default:      w = S {}; break;   // values no editor item names do not modulate
        }

        auto moved = l.phase + l.increment;
        moved = select (moved >= twoPi, moved - twoPi, moved);

        // Only speeds far beyond the editor's range step more than a cycle; an infinite or
        // NaN speed from a host would spoil the phase for good, so it starts again from 0.
        if (any ((moved >= twoPi) | invert ((moved - moved) == 0.0)))
        {
            for (int j = 0; j < width<S>; ++j)
            {
                auto x = lane (moved, j);

                if (x >= twoPi)
                    x = std::fmod (x, twoPi);

                setLane (moved, j, std::isfinite (x) ? x : 0.0);
            }
        }

        l.phase = keep<masked> (alive, moved, l.phase);

        if (followsEnvelope)
        {
            EnvelopeStep::step<masked> (envelope, alive);
            return (envelope.output * w) * l.mix;
        }

        return w * l.mix;
    }
}
