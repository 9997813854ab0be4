#include "Audio/DecibelScaling.h"
#include "Audio/LevelMeasurement.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
    struct LevelMeasurementFixture : public ::testing::Test
    {
        void feed (std::vector<float> samples)  { meter.update (samples.size(), samples.data()); }

        void feedZeros (size_t n)
        {
            const std::vector<float> zeros (n, 0.0f);
            meter.update (n, zeros.data());
        }

        LevelMeasurement meter { 0.9999f };
    };
}

TEST_F (LevelMeasurementFixture, APeakRaisesTheLevelAtOnce)
{
    feed ({ 0.1f, 0.8f, 0.2f });
    EXPECT_FLOAT_EQ (meter.getLevel(), 0.8f * 0.9999f);

    feed ({ 0.8f });
    EXPECT_EQ (meter.getLevel(), 0.8f);
}

TEST_F (LevelMeasurementFixture, ZerosLowerTheLevelByTheDecayPerSample)
{
    feed ({ 0.5f });
    feedZeros (1);
    EXPECT_EQ (meter.getLevel(), 0.5f * 0.9999f);

    // Per sample, in single precision.
    auto expected = 0.5f;

    for (int i = 0; i < 1001; ++i)
        expected *= 0.9999f;

    feedZeros (1000);
    EXPECT_EQ (meter.getLevel(), expected);
    EXPECT_NEAR (meter.getLevel(), 0.4524, 0.0001);
}

TEST_F (LevelMeasurementFixture, FromFullScaleFallsToZeroAfterAboutTwoSecondsAtFortyFourPointOneKilohertz)
{
    feed ({ 1.0f });

    feedZeros (92000);
    EXPECT_GT (meter.getLevel(), 0.0001f);

    feedZeros (200);
    EXPECT_EQ (meter.getLevel(), 0.0f);
}

TEST_F (LevelMeasurementFixture, NegativeHalfWavesDoNotRaiseTheLevel)
{
    feed ({ -0.9f, -0.5f, -1.0f });
    EXPECT_EQ (meter.getLevel(), 0.0f);
}

TEST_F (LevelMeasurementFixture, AnEmptyBlockLeavesTheLevel)
{
    feed ({ 0.6f });
    meter.update (0, nullptr);
    EXPECT_EQ (meter.getLevel(), 0.6f);
}

struct DecibelCase { float input, expected; };

// Names the case in test lists, e.g. "0.1 gives -20".
void PrintTo (const DecibelCase& c, std::ostream* os)
{
    *os << c.input << " gives " << c.expected;
}

struct GainToDecibels : public ::testing::TestWithParam<DecibelCase> {};
struct DecibelsToProportion : public ::testing::TestWithParam<DecibelCase> {};

TEST_P (GainToDecibels, GivesTwentyLogTenWithAFloorAtMinusOneHundred)
{
    EXPECT_FLOAT_EQ (DecibelScaling::gainToDecibels (GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (Scale, GainToDecibels, ::testing::Values (
    DecibelCase { 0.0f, -100.0f },
    DecibelCase { 0.000001f, -100.0f },
    DecibelCase { -0.5f, -100.0f },
    DecibelCase { 1.0f, 0.0f },
    DecibelCase { 10.0f, 20.0f },
    DecibelCase { 0.1f, -20.0f }));

TEST_P (DecibelsToProportion, GivesTheSquareLawHeightOnTheMeter)
{
    EXPECT_FLOAT_EQ (DecibelScaling::decibelsToProportion (GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (Scale, DecibelsToProportion, ::testing::Values (
    DecibelCase { -100.0f, 0.0f },
    DecibelCase { -200.0f, 0.0f },
    DecibelCase { 20.0f, 1.0f },
    DecibelCase { 50.0f, 1.0f },
    DecibelCase { -40.0f, 0.25f },
    DecibelCase { 0.0f, (100.0f / 120.0f) * (100.0f / 120.0f) },
    DecibelCase { std::numeric_limits<float>::quiet_NaN(), 0.0f }));

namespace
{
    struct ProcessorMeters : public ::testing::Test
    {
        void SetUp() override
        {
            fixture.set ("Osc1Pan", 0.0f);        // hard left: channel 1 stays silent
            fixture.set ("Osc2Active", 0.0f);
        }

        testing_helpers::ProcessorFixture fixture;
    };
}

TEST_F (ProcessorMeters, FollowEachOutputChannelAfterTheEffects)
{
    fixture.set ("Delay1Active", 1.0f);
    fixture.set ("Reverb1Active", 1.0f);
    const auto audio = fixture.renderNote (60, 1.0f, 30000);

    LevelMeasurement reference (0.9999f);
    reference.update ((size_t) audio.getNumSamples(), audio.getReadPointer (0));

    EXPECT_GT (fixture.processor.getLevel (0), 0.1f);
    EXPECT_EQ (fixture.processor.getLevel (0), reference.getLevel());
    EXPECT_GT (fixture.processor.getLevel (1), 0.0f);    // the reverb spreads the left-only note
}

TEST_F (ProcessorMeters, OtherChannelsReadZero)
{
    fixture.renderNote (60, 1.0f, 4800);
    EXPECT_EQ (fixture.processor.getLevel (2), 0.0f);
    EXPECT_EQ (fixture.processor.getLevel (-1), 0.0f);
}

TEST_F (ProcessorMeters, WithOneOutputChannelMeterOneKeepsItsLastValue)
{
    fixture.set ("Osc1Pan", 0.5f);
    fixture.renderNote (60, 1.0f, 4800);
    const auto before = fixture.processor.getLevel (1);
    ASSERT_GT (before, 0.01f);

    ASSERT_TRUE (fixture.useOneChannel());
    fixture.processor.stopAllNotes();
    fixture.render (48000, {}, 1);

    EXPECT_EQ (fixture.processor.getLevel (1), before);
    EXPECT_LT (fixture.processor.getLevel (0), before);
}
