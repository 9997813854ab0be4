#include "TestHelpers.h"

using testing_helpers::ProcessorFixture;

namespace
{
    struct SettingsFixture : public ::testing::Test
    {
        ProcessorFixture fixture;
        const EngineSettings& s = fixture.settings();
    };
}

TEST_F (SettingsFixture, DefaultsConvertToTheirEngineUnits)
{
    EXPECT_TRUE (s.Osc1Active);
    EXPECT_FALSE (s.Osc2Active);
    EXPECT_EQ (s.Osc1Gain, 1.0);
    EXPECT_EQ (s.Osc1Detune, 0.0);
    EXPECT_EQ (s.Osc1Pan, 0.0);
    EXPECT_EQ (s.Osc1Offset, 0);
    EXPECT_EQ (s.Osc1PitchRange, 2);
    EXPECT_EQ (s.Osc1PitchEnvRange, 1);
    EXPECT_EQ (s.Filter1Cutoff, (double) 0.3f);
    EXPECT_DOUBLE_EQ (s.EnvAmpOsc1Attack, 3.0 * 0.1f);
    EXPECT_EQ (s.EnvAmpOsc1Decay, 0.5);
    EXPECT_EQ (s.EnvAmpOsc1Release, 2.5);
    EXPECT_EQ (s.EnvPitchOsc1Sustain, 1.0);
    EXPECT_EQ (s.MasterVolume, 1.0);
    EXPECT_EQ (s.CurrentPlayMode, 0);
    EXPECT_TRUE (s.Delay1Sync);
    EXPECT_EQ (fixture.processor.synthAudioSource->getSynth().tempo, 120.0);
}

TEST_F (SettingsFixture, AttackAndReleaseTimesJumpAboveHalf)
{
    fixture.set ("EnvAmpOsc2Attack", 0.5f);
    EXPECT_EQ (s.EnvAmpOsc2Attack, 1.5);
    fixture.set ("EnvAmpOsc2Attack", 0.51f);
    EXPECT_DOUBLE_EQ (s.EnvAmpOsc2Attack, 15.0 * 0.51f);
    EXPECT_NEAR (s.EnvAmpOsc2Attack, 7.65, 1e-6);

    fixture.set ("EnvLfo1Release", 0.5f);
    EXPECT_EQ (s.EnvLfo1Release, 2.5);
    fixture.set ("EnvLfo1Release", 0.51f);
    EXPECT_NEAR (s.EnvLfo1Release, 7.65, 1e-6);

    fixture.set ("EnvFilter1Sustain", 0.25f);
    EXPECT_EQ (s.EnvFilter1Sustain, 0.25);
}

TEST_F (SettingsFixture, SemitonesRoundToNearestWithHalvesToEven)
{
    const std::pair<float, int> offsets[] = { { 0.12f, 0 }, { 0.24f, 12 }, { 0.0f, -12 }, { 0.125f, 0 },
                                              { 0.375f, 26 }, { 0.626f, 51 }, { 0.144f, 2 }, { 0.116f, 0 } };

    for (const auto& [value, semitones] : offsets)
    {
        fixture.set ("Osc2Offset", value);
        EXPECT_EQ (s.Osc2Offset, semitones) << value;
    }

    fixture.set ("Osc1PitchRange", 0.12f);
    EXPECT_EQ (s.Osc1PitchRange, 12);
    fixture.set ("Osc1PitchEnvRange", 0.125f);
    EXPECT_EQ (s.Osc1PitchEnvRange, 12);         // 12.5 exactly: the even neighbour
}

TEST_F (SettingsFixture, ChoicesTruncateTowardZeroAndSwitchesAreAnythingButZero)
{
    fixture.set ("CurrentPlayMode", 0.6f);
    EXPECT_EQ (s.CurrentPlayMode, 0);
    fixture.set ("CurrentPlayMode", 1.0f);
    EXPECT_EQ (s.CurrentPlayMode, 1);
    fixture.set ("Osc1WaveType", 3.9f);
    EXPECT_EQ (s.Osc1WaveType, 3);
    fixture.set ("Lfo1Target", -0.9f);
    EXPECT_EQ (s.Lfo1Target, 0);

    fixture.set ("Filter1Active", -0.001f);
    EXPECT_TRUE (s.Filter1Active);
    fixture.set ("Filter1Active", 0.0f);
    EXPECT_FALSE (s.Filter1Active);
}

TEST_F (SettingsFixture, HostValuesOutsideTheEditorRangesConvertUnchangedOrSaturate)
{
    fixture.set ("MasterVolume", -3.0f);
    EXPECT_EQ (s.MasterVolume, -6.0);
    fixture.set ("Osc1Detune", 5.0f);
    EXPECT_EQ (s.Osc1Detune, 9.0);

    // Saturated at 2^20, so that a note plus an offset cannot overflow.
    fixture.set ("Osc1WaveType", 1.0e30f);
    EXPECT_EQ (s.Osc1WaveType, 1 << 20);
    fixture.set ("Osc1Offset", -1.0e30f);
    EXPECT_EQ (s.Osc1Offset, -(1 << 20));
    fixture.set ("Lfo1Mode", std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (s.Lfo1Mode, 0);
}
