#include "Engine/FastSine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace
{
    constexpr double twoPi = 6.283185307179586;

    // The largest distance from std::sin over count arguments spread over lowest ... highest.
    double largestError (double lowest, double highest, int count)
    {
        std::mt19937_64 random (7);
        std::uniform_real_distribution<double> distribution (lowest, highest);
        double largest = 0.0;

        for (int i = 0; i < count; ++i)
        {
            const auto x = distribution (random);
            largest = std::max (largest, std::abs (FastSine::sine (x) - std::sin (x)));
        }

        return largest;
    }
}

TEST (FastSine, StaysWithinAnUlpOfOneOfTheLibrarySineOverAnOscillatorCycle)
{
    EXPECT_LE (largestError (0.0, twoPi, 1000000), 1.2e-16);
}

TEST (FastSine, StaysAsCloseForNegativeAndSeveralCyclePhases)
{
    EXPECT_LE (largestError (-40.0, 40.0, 200000), 1.2e-16);
}

TEST (FastSine, IsExactAtTheQuarterCyclesAndKeepsTheTinySineNearPi)
{
    EXPECT_EQ (FastSine::sine (0.0), 0.0);
    EXPECT_EQ (FastSine::sine (twoPi / 4.0), 1.0);
    EXPECT_EQ (FastSine::sine (3.0 * twoPi / 4.0), -1.0);

    // The double nearest pi lies 1.2e-16 below it; its sine is that distance.
    EXPECT_NEAR (FastSine::sine (twoPi / 2.0), std::sin (twoPi / 2.0), 1e-25);
}

TEST (FastSine, HandsHugeAndNonFiniteArgumentsToTheLibrary)
{
    EXPECT_EQ (FastSine::sine (1.0e7), std::sin (1.0e7));
    EXPECT_TRUE (std::isnan (FastSine::sine (std::numeric_limits<double>::infinity())));
    EXPECT_TRUE (std::isnan (FastSine::sine (std::numeric_limits<double>::quiet_NaN())));
}
