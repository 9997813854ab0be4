#pragma once

// The constants of the fast sine: the reduction by multiples of pi/2 (pi/2 in two parts,
// so that k x the first is exact) and the minimax kernels for sine and cosine on
// [-pi/4, pi/4]. Shared by the scalar sine and the voice lanes' vector one.
namespace FastSineConstants
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
}
