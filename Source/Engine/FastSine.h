#pragma once

#include "Engine/FastSineConstants.h"

#include <cmath>

// sin (x) in double precision within an ulp or two of the library's, several times
// faster: a reduction by multiples of pi/2 (pi/2 in two parts, so the reduction is exact
// to far below an ulp) and the classic minimax kernels for sine and cosine on
// [-pi/4, pi/4]. Arguments beyond +-1e5 radians, infinities and NaN go to std::sin.
// Used per sample by the oscillators and the LFOs, whose phases lie in 0 ... 2 pi.
inline double fastSine (double x) noexcept
{
    using namespace FastSineConstants;

    if (! (std::abs (x) <= largestArgument))
        return std::sin (x);

    const auto k = (int) (x * twoOverPi + (x >= 0.0 ? 0.5 : -0.5));
    const auto r = (x - k * piOverTwoHigh) - k * piOverTwoLow;
    const auto z = r * r;
    double result;

    if ((k & 1) == 0)
    {
        const auto p = s2 + z * (s3 + z * (s4 + z * (s5 + z * s6)));
        result = r + (z * r) * (s1 + z * p);
    }
    else
    {
        const auto p = z * (c1 + z * (c2 + z * (c3 + z * (c4 + z * (c5 + z * c6)))));
        const auto halfZ = 0.5 * z;
        const auto w = 1.0 - halfZ;
        result = w + (((1.0 - w) - halfZ) + z * p);
    }

    return (k & 2) == 0 ? result : -result;
}
