#pragma once

#include "Engine/SampleLanes.h"

#include <limits>

// An ADSR envelope's state, for one envelope or one per lane: the output; the step of the
// current stage (output = coefficient x output + base, until the output passes the limit:
// upwards in the attack, downwards otherwise; a stage that holds has coefficient 1,
// base 0 and a limit it never passes); and each stage's coefficient and base, from which
// a stage takes its step when it begins.
template <typename S>
struct EnvelopeState
{
    S output {};
    S coefficient = S {} + 1.0, base {}, limit = S {} - std::numeric_limits<double>::infinity();
    S attackCoefficient {}, attackBase {}, decayCoefficient {}, decayBase {}, sustainLevel {};
    S releaseCoefficient {}, releaseBase {};
    Lanes::Int<S> stage {};                 // EnvelopeStep's stages
    Lanes::Mask<S> rising {};               // the stage is the attack
    Lanes::Mask<S> finished {};             // a release has ended since the last start
};

template <typename S, typename Function>
QUENBY_LANE_INLINE void fields (EnvelopeState<S>& e, Function&& f)
{
    f (e.output, e.coefficient, e.base, e.limit, e.attackCoefficient, e.attackBase, e.decayCoefficient, e.decayBase,
       e.sustainLevel, e.releaseCoefficient, e.releaseBase, e.stage, e.rising, e.finished);
}

namespace EnvelopeStep
{
    // The stages (plain numbers, which compare with a vector's lanes).
    inline constexpr int idle = 0, attack = 1, decay = 2, sustain = 3, release = 4;

    // The release ends here rather than at 0.
    inline constexpr double releaseEndLevel = 0.001;

    // Lane j enters a stage and takes that stage's step.
    template <typename S>
    QUENBY_LANE_INLINE void enter (EnvelopeState<S>& e, int j, int stage) noexcept
    {
        using Lanes::lane;
        double coefficient = 1.0, base = 0.0, limit = -std::numeric_limits<double>::infinity();

        switch (stage)
        {
            case attack:  coefficient = lane (e.attackCoefficient, j); base = lane (e.attackBase, j); limit = 1.0; break;
            case decay:   coefficient = lane (e.decayCoefficient, j); base = lane (e.decayBase, j); limit = lane (e.sustainLevel, j); break;
            case release: coefficient = lane (e.releaseCoefficient, j); base = lane (e.releaseBase, j); limit = releaseEndLevel; break;
            default:      break;
        }

        Lanes::setLane (e.stage, j, stage);
        Lanes::setMaskLane (e.rising, j, stage == attack);
        Lanes::setLane (e.coefficient, j, coefficient);
        Lanes::setLane (e.base, j, base);
        Lanes::setLane (e.limit, j, limit);
    }

    // One step of every lane; with masked, the lanes outside moving stay as they are. A lane
    // that passes its limit enters its next stage. Returns true when a lane has just become idle.
    template <bool masked, typename S>
    QUENBY_LANE_INLINE bool step (EnvelopeState<S>& e, Lanes::Mask<S> moving) noexcept
    {
        using namespace Lanes;

        e.output = keep<masked> (moving, e.coefficient * e.output + e.base, e.output);
        Mask<S> reached = select (e.rising, e.output >= e.limit, e.output <= e.limit);

        if constexpr (masked)
            reached = reached & moving;

        if (! any (reached))
            return false;

        bool becameIdle = false;

        for (int j = 0; j < width<S>; ++j)
        {
            if (! lane (reached, j))
                continue;

            switch (lane (e.stage, j))
            {
                case attack:
                    setLane (e.output, j, 1.0);
                    enter (e, j, decay);
                    break;

                case decay:
                    setLane (e.output, j, lane (e.sustainLevel, j));
                    enter (e, j, sustain);
                    break;

                case release:
                    setLane (e.output, j, 0.0);
                    enter (e, j, idle);
                    setMaskLane (e.finished, j, true);
                    becameIdle = true;
                    break;

                default:
                    break;
            }
        }

        return becameIdle;
    }
}
