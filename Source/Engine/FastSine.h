#pragma once

#include <cmath>

// sin (x) in double precision within an ulp or two of the library's, several times
// faster: a reduction by multiples of pi/2 (pi/2 in two parts, so the reduction is exact
// to far below an ulp) and the classic minimax kernels for sine and cosine on
// [-pi/4, pi/4]. Arguments beyond +-1e5 radians, infinities and NaN go to std::sin.
// Used per sample by the oscillators and the LFOs, whose phases lie in 0 ... 2 pi.
inline double fastSine (double x) noexcept
{
    if (! (std::abs (x) <= 1.0e5))
        return std::sin (x);

    constexpr double twoOverPi = 6.36619772367581382433e-01;
    constexpr double piOverTwoHigh = 1.57079632673412561417e+00;   // 33 bits: k x it is exact
    constexpr double piOverTwoLow = 6.07710050650619224932e-11;

    const auto k = (int) (x * twoOverPi + (x >= 0.0 ? 0.5 : -0.5));
    const auto r = (x - k * piOverTwoHigh) - k * piOverTwoLow;
    const auto z = r * r;
    double result;

    if ((k & 1) == 0)
    {
        constexpr double s1 = -1.66666666666666324348e-01, s2 = 8.33333333332248946124e-03,
                         s3 = -1.98412698298579493134e-04, s4 = 2.75573137070700676789e-06,
                         s5 = -2.50507602534068634195e-08, s6 = 1.58969099521155010221e-10;

        const auto p = s2 + z * (s3 + z * (s4 + z * (s5 + z * s6)));
        result = r + (z * r) * (s1 + z * p);
    }
    else
    {
        constexpr double c1 = 4.16666666666666019037e-02, c2 = -1.38888888888741095749e-03,
                         c3 = 2.48015872894767294178e-05, c4 = -2.75573143513906633035e-07,
                         c5 = 2.08757232129817482790e-09, c6 = -1.13596475577881948265e-11;

        const auto p = z * (c1 + z * (c2 + z * (c3 + z * (c4 + z * (c5 + z * c6)))));
        const auto halfZ = 0.5 * z;
        const auto w = 1.0 - halfZ;
        result = w + (((1.0 - w) - halfZ) + z * p);
    }

    return (k & 2) == 0 ? result : -result;
}
