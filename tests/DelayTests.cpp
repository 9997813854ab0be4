#include "Audio/Delay.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
    // A delay prepared at 44100 Hz.
    struct DelayFixture : public ::testing::Test
    {
        DelayFixture()
        {
            setUp (120.0, 0.5f, 0.5f, 0.0f);
            delay.prepare (44100.0);
        }

        void setUp (double bpm, float time, float mix, float feedback, bool sync = true, double swing = 0.0)
        {
            delay.setParameters ({ sync, time, mix, feedback, swing, bpm });
        }

        // An impulse of 1 on the left and 0.25 on the right at sample 0, then silence,
        // processed in blocks of 512.
        juce::AudioBuffer<float> processImpulse (int numSamples, int channels = 2)
        {
            juce::AudioBuffer<float> audio (channels, numSamples);
            audio.clear();
            audio.setSample (0, 0, 1.0f);

            if (channels > 1)
                audio.setSample (1, 0, 0.25f);

            processInBlocks (audio);
            return audio;
        }

        void processInBlocks (juce::AudioBuffer<float>& audio)
        {
            for (int position = 0; position < audio.getNumSamples(); position += 512)
            {
                const auto length = juce::jmin (512, audio.getNumSamples() - position);
                juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), audio.getNumChannels(), position, length);
                delay.process (block, 0, length);
            }
        }

        // The positions of the non-zero samples of a channel.
        static std::vector<int> nonZeroPositions (const juce::AudioBuffer<float>& audio, int channel)
        {
            std::vector<int> positions;

            for (int i = 0; i < audio.getNumSamples(); ++i)
                if (audio.getSample (channel, i) != 0.0f)
                    positions.push_back (i);

            return positions;
        }

        Delay delay;
    };

    struct DelayTimeCase
    {
        double bpm;
        float time;
        int expectedSamples;
    };

    // Names the case in test lists, e.g. "time 0.5 at 120 bpm".
    void PrintTo (const DelayTimeCase& c, std::ostream* os)
    {
        *os << "time " << c.time << " at " << c.bpm << " bpm";
    }

    struct DelayTimes : public DelayFixture, public ::testing::WithParamInterface<DelayTimeCase> {};
}

TEST_P (DelayTimes, EchoArrivesAfterWholeSixteenthsCappedAtTheLine)
{
    const auto& c = GetParam();
    setUp (c.bpm, c.time, 0.5f, 0.0f);
    EXPECT_EQ (delay.getDelaySamples(), c.expectedSamples);

    const auto audio = processImpulse (c.expectedSamples + 1000);
    EXPECT_EQ (nonZeroPositions (audio, 0), (std::vector<int> { 0, c.expectedSamples }));
    EXPECT_EQ (audio.getSample (0, c.expectedSamples), 0.5f);
    EXPECT_EQ (audio.getSample (1, c.expectedSamples), 0.125f);
}

INSTANTIATE_TEST_SUITE_P (Delay, DelayTimes, ::testing::Values (
    DelayTimeCase { 120.0, 0.5f,   22048 },    // 4 sixteenths of 5512 samples
    DelayTimeCase { 120.0, 1.0f,   44096 },    // 8 sixteenths
    DelayTimeCase { 120.0, 0.125f,  5512 },    // the shortest: one sixteenth
    DelayTimeCase { 120.0, 0.24f,   5512 },    // sixteenths are whole: 1.92 counts as 1
    DelayTimeCase {  60.0, 1.0f,   88200 },    // exactly the two-second line
    DelayTimeCase {  30.0, 1.0f,   88200 },    // 176400 asked for, capped at the line
    DelayTimeCase { 120.0, 5.0f,   88200 }));  // a host's out-of-range time stays inside the line

TEST_F (DelayFixture, BelowOneSixteenthAddsNothing)
{
    setUp (120.0, 0.124f, 0.5f, 0.5f);
    EXPECT_EQ (delay.getDelaySamples(), 0);

    const auto audio = processImpulse (50000);
    EXPECT_EQ (nonZeroPositions (audio, 0), (std::vector<int> { 0 }));
}

TEST_F (DelayFixture, NegativeTimeFromTheHostAddsNothing)
{
    setUp (120.0, -1.0f, 0.5f, 0.5f);
    EXPECT_EQ (delay.getDelaySamples(), 0);
}

TEST_F (DelayFixture, ATimeBelowOneSixteenthKeepsTheLineForLater)
{
    setUp (120.0, 0.125f, 0.5f, 0.0f);
    processImpulse (100);                         // the impulse is stored; the line is at 100

    setUp (120.0, 0.0f, 0.5f, 0.0f);
    auto silence = processImpulse (20000);        // adds nothing and does not advance the line
    EXPECT_EQ (nonZeroPositions (silence, 0), (std::vector<int> { 0 }));

    setUp (120.0, 0.125f, 0.5f, 0.0f);
    juce::AudioBuffer<float> later (2, 6000);
    later.clear();
    processInBlocks (later);
    EXPECT_EQ (nonZeroPositions (later, 0), (std::vector<int> { 5512 - 100 }));
    EXPECT_EQ (later.getSample (0, 5412), 0.5f);
}

TEST_F (DelayFixture, FeedbackRepeatsTheEchoAtFallingLevels)
{
    setUp (120.0, 0.125f, 0.5f, 0.5f);
    const auto audio = processImpulse (4 * 5512 + 1);

    EXPECT_EQ (nonZeroPositions (audio, 0), (std::vector<int> { 0, 5512, 11024, 16536, 22048 }));
    EXPECT_EQ (audio.getSample (0, 5512), 0.5f);
    EXPECT_EQ (audio.getSample (0, 11024), 0.25f);
    EXPECT_EQ (audio.getSample (0, 16536), 0.125f);
    EXPECT_EQ (audio.getSample (0, 22048), 0.0625f);
}

TEST_F (DelayFixture, FullFeedbackNeverDiesAway)
{
    setUp (120.0, 0.125f, 1.0f, 1.0f);
    const auto audio = processImpulse (20 * 5512 + 1);
    EXPECT_EQ (audio.getSample (0, 20 * 5512), 1.0f);
}

TEST_F (DelayFixture, TheDrySignalPassesAtFullLevelAndChannelsNeverMix)
{
    setUp (120.0, 0.125f, 0.5f, 0.0f);
    juce::AudioBuffer<float> audio (2, 6000);
    audio.clear();
    audio.setSample (0, 10, 0.75f);
    processInBlocks (audio);

    EXPECT_EQ (audio.getSample (0, 10), 0.75f);
    EXPECT_EQ (audio.getSample (0, 5522), 0.375f);
    EXPECT_EQ (nonZeroPositions (audio, 1), std::vector<int>());
}

TEST_F (DelayFixture, AOneChannelBufferGetsItsEchoOnThatChannel)
{
    setUp (120.0, 0.125f, 0.5f, 0.0f);
    const auto audio = processImpulse (6000, 1);
    EXPECT_EQ (nonZeroPositions (audio, 0), (std::vector<int> { 0, 5512 }));
}

TEST_F (DelayFixture, ANewPrepareClearsTheLine)
{
    setUp (120.0, 0.125f, 0.5f, 0.0f);
    processImpulse (100);
    delay.prepare (48000.0);

    EXPECT_EQ (delay.getBufferLength(), 96000);
    EXPECT_EQ (delay.getDelaySamples(), 6000);

    juce::AudioBuffer<float> later (2, 20000);
    later.clear();
    processInBlocks (later);
    EXPECT_EQ (nonZeroPositions (later, 0), std::vector<int>());
}

namespace
{
    // An impulse through the delay at 48000 Hz, with mix 1 and feedback 0.5.
    struct EchoCase
    {
        bool sync;
        double bpm;
        float time;
        float swing;
        std::vector<int> echoes;       // the first four, in samples after the impulse
    };

    void PrintTo (const EchoCase& c, std::ostream* os)
    {
        *os << (c.sync ? "synced" : "free") << " time " << c.time << " swing " << c.swing << " at " << c.bpm << " bpm";
    }

    struct EchoTimes : public DelayFixture, public ::testing::WithParamInterface<EchoCase> {};
}

TEST_P (EchoTimes, ComeWhereTimeSyncAndSwingPutThemAtFallingLevels)
{
    const auto& c = GetParam();
    delay.prepare (48000.0);
    setUp (c.bpm, c.time, 1.0f, 0.5f, c.sync, c.swing);

    const auto audio = processImpulse (c.echoes.back() + 1);
    auto expected = c.echoes;
    expected.insert (expected.begin(), 0);
    EXPECT_EQ (nonZeroPositions (audio, 0), expected);

    // Echo k at mix x feedback^(k - 1), on both channels.
    float level = 1.0f;

    for (const auto position : c.echoes)
    {
        EXPECT_EQ (audio.getSample (0, position), level) << position;
        EXPECT_EQ (audio.getSample (1, position), 0.25f * level) << position;
        level *= 0.5f;
    }
}

INSTANTIATE_TEST_SUITE_P (Delay, EchoTimes, ::testing::Values (
    // Free time: Delay1Time x 2 s whatever the tempo.
    EchoCase { false,  60.0, 0.25f, 0.0f, { 24000, 48000, 72000, 96000 } },
    EchoCase { false, 120.0, 0.25f, 0.0f, { 24000, 48000, 72000, 96000 } },
    EchoCase { false, 173.0, 0.25f, 0.0f, { 24000, 48000, 72000, 96000 } },
    EchoCase { false, 120.0, 0.1f,  0.0f, {  9600, 19200, 28800, 38400 } },
    EchoCase { false, 120.0, 1.0f,  0.0f, { 96000, 192000, 288000, 384000 } },
    // Swing: the odd echoes come late by swing / 3 of the delay, the even ones stay on the grid.
    EchoCase { true,  120.0, 0.5f,  1.0f, { 32000, 48000, 80000, 96000 } },
    EchoCase { true,  120.0, 0.5f,  0.5f, { 28000, 48000, 76000, 96000 } },
    EchoCase { false, 120.0, 0.25f, 1.0f, { 32000, 48000, 80000, 96000 } },
    EchoCase { false, 120.0, 1.0f,  1.0f, { 128000, 192000, 320000, 384000 } },
    EchoCase { true,  120.0, 0.5f,  7.0f, { 32000, 48000, 80000, 96000 } }));   // a host's swing above 1 counts as 1

TEST (FreeDelay, TimeZeroAddsNoEcho)
{
    Delay delay;
    delay.setParameters ({ false, 0.0f, 1.0f, 0.0f, 1.0, 120.0 });
    delay.prepare (48000.0);
    EXPECT_EQ (delay.getDelaySamples(), 0);
}

TEST (DelayBeforePrepare, DoesNothing)
{
    Delay delay;
    delay.setParameters ({ true, 1.0f, 1.0f, 0.0f, 0.0, 120.0 });
    EXPECT_EQ (delay.getDelaySamples(), 0);

    juce::AudioBuffer<float> audio (2, 64);
    audio.clear();
    audio.setSample (0, 0, 1.0f);
    delay.process (audio, 0, 64);
    EXPECT_EQ (audio.getSample (0, 0), 1.0f);
    EXPECT_EQ (audio.getMagnitude (0, 1, 63), 0.0f);
}

namespace
{
    // Processors at 48000 Hz and 120 beats per minute: a sixteenth is 6000 samples.
    struct DelayInProcessor : public ::testing::Test
    {
        DelayInProcessor()
        {
            for (auto* f : { &dry, &wet })
            {
                f->set ("Delay1Time", 0.25f);      // two sixteenths: 12000 samples
                f->set ("Delay1Feedback", 0.0f);
            }

            wet.set ("Delay1Active", 1.0f);
        }

        testing_helpers::ProcessorFixture dry, wet;
    };
}

TEST_F (DelayInProcessor, AddsTheOutputOfTwoSixteenthsEarlierAtTheMix)
{
    const auto plain = dry.renderNote (60, 1.0f, 30000);
    const auto echoed = wet.renderNote (60, 1.0f, 30000);
    EXPECT_EQ (wet.processor.getDelay().getDelaySamples(), 12000);
    ASSERT_GT (testing_helpers::peakOf (plain, 0), 0.01f);

    int mismatches = 0;

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 30000; ++i)
        {
            const auto delayed = i >= 12000 ? plain.getSample (c, i - 12000) : 0.0f;
            mismatches += echoed.getSample (c, i) != plain.getSample (c, i) + delayed * 0.5f ? 1 : 0;
        }

    EXPECT_EQ (mismatches, 0);
}

TEST_F (DelayInProcessor, SwitchedOffKeepsItsEchoesForLater)
{
    wet.renderNote (60, 1.0f, 2000);
    wet.processor.stopAllNotes();
    wet.set ("Delay1Active", 0.0f);
    const auto whileOff = wet.render (20000);
    EXPECT_EQ (testing_helpers::peakOf (whileOff, 0), 0.0f);

    wet.set ("Delay1Active", 1.0f);
    const auto afterwards = wet.render (12000);
    EXPECT_GT (testing_helpers::peakOf (afterwards, 0), 0.01f);
}

TEST_F (DelayInProcessor, InTheOneChannelConfigurationEchoesChannelZeroAlone)
{
    ASSERT_TRUE (wet.useOneChannel());

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
    const auto plain = dry.render (20000, midi);
    const auto echoed = wet.render (20000, midi, 1);

    int mismatches = 0;

    for (int i = 0; i < 20000; ++i)
    {
        const auto delayed = i >= 12000 ? plain.getSample (0, i - 12000) : 0.0f;
        mismatches += echoed.getSample (0, i) != plain.getSample (0, i) + delayed * 0.5f ? 1 : 0;
    }

    EXPECT_EQ (mismatches, 0);
}
