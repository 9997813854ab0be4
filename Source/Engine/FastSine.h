#pragma once

#include "Engine/SampleLanes.h"

// sin (x) in double precision within an ulp or two of the library's, several times
// faster, for one value or a vector of them: a reduction by multiples of pi/2 (pi/2 in
// two parts, so that k x the first is exact) and the classic minimax kernels for sine and
// cosine on [-pi/4, pi/4]. Arguments beyond +-1e5 radians, infinities and NaN go to
// std::sin. Used per sample by the oscillators and the LFOs, whose phases lie in 0 ... 2 pi.
namespace FastSine
{
    inline constexpr double largestArgument = 1.0e5;

    inline constexpr double twoOverPi = 6.36619772367581382433e-01;
    inline constexpr double piOverTwoHigh = 1.57079632673412561417e+00;   // 33 bits: k x it is exact
    inline constexpr double piOverTwoLow = 6.07710050650619224932e-11;

    inline constexpr double s1 = -1.66666666666666324348e-01, s2 = 8.33333333332248946124e-03,
                            s3 = -1.98412698298579493134e-04, s4 = 2.75573137070700676789e-06,
                            s5 = -2.50507602534068634195e-08, s6 = 1.58969099521155010221e-10;

    inline constexpr double c1 = 4.16666666666666019037e-02, c2 = -1.38888888888741095749e-03,
                            c3 = 2.48015872894767294178e-05, c4 = -2.75573143513906633035e-07,
                            c5 = 2.08757232129817482790e-09, c6 = -1.13596475577881948265e-11;

    // With phasesOnly the arguments lie in 0 ... 2 pi, or are NaN.
    template <bool phasesOnly = false, typename S>
    QUENBY_LANE_INLINE S sine (S x) noexcept
    {
        using namespace Lanes;

        if constexpr (isOne<S>)
            if (! (std::abs (x) <= largestArgument))
                return std::sin (x);

        // Lanes out of range compute nonsense here and take the library's value at the end.
        const auto k = truncate (x * twoOverPi + select (x >= 0.0, splat<S> (0.5), splat<S> (-0.5)));
        const auto kd = fromInt32<S> (k);
        const auto r = (x - kd * piOverTwoHigh) - kd * piOverTwoLow;
        const auto z = r * r;

        const auto sineKernel = [&]
        {
            const auto p = s2 + z * (s3 + z * (s4 + z * (s5 + z * s6)));
            return r + (z * r) * (s1 + z * p);
        };

        const auto cosineKernel = [&]
        {
            const auto p = z * (c1 + z * (c2 + z * (c3 + z * (c4 + z * (c5 + z * c6)))));
            const auto halfZ = 0.5 * z;
            const auto w = 1.0 - halfZ;
            return w + (((1.0 - w) - halfZ) + z * p);
        };

        S result;

        if constexpr (isOne<S>)
        {
            result = (k & 1) == 0 ? sineKernel() : cosineKernel();
            return (k & 2) == 0 ? result : -result;
        }
        else
        {
            // Both kernels in every lane, and each lane keeps its own.
            result = select (widen<S> ((k & 1) == 0), sineKernel(), cosineKernel());
            result = select (widen<S> ((k & 2) == 0), result, -result);

            // A phase (0 ... 2 pi) needs no check: a NaN phase gives the library's NaN here too
            // (every operation passes its operand's NaN on, as the library's x / x does).
            if constexpr (! phasesOnly)
            {
                const auto outOfRange = (abs (x) > largestArgument) | (x != x);

                if (any (outOfRange))
                    for (int j = 0; j < width<S>; ++j)
                        if (lane (outOfRange, j))
                            setLane (result, j, std::sin (lane (x, j)));
            }

            return result;
        }
    }
}
