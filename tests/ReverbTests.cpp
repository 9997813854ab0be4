#include "Audio/Reverb.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
    struct ReverbFixture : public ::testing::Test
    {
        ReverbFixture()
        {
            setUp (0.5f, 0.5f, 0.5f);
            reverb.prepare (44100.0);
        }

        void setUp (float mix, float damping, float roomSize)
        {
            reverb.setParameters ({ mix, damping, roomSize });
        }

        // A 0.5 step on the left and a -0.25 step on the right.
        juce::AudioBuffer<float> processSteps (int numSamples)
        {
            juce::AudioBuffer<float> audio (2, numSamples);

            for (int i = 0; i < numSamples; ++i)
            {
                audio.setSample (0, i, 0.5f);
                audio.setSample (1, i, -0.25f);
            }

            reverb.processStereo (audio.getWritePointer (0), audio.getWritePointer (1), numSamples);
            return audio;
        }

        Reverb reverb;
    };

    void expectParameters (const juce::Reverb::Parameters& p, float roomSize, float damping, float wet)
    {
        EXPECT_EQ (p.roomSize, roomSize);
        EXPECT_EQ (p.damping, damping);
        EXPECT_EQ (p.wetLevel, wet);
        EXPECT_EQ (p.dryLevel, 0.4f);
        EXPECT_EQ (p.width, 0.5f);
        EXPECT_EQ (p.freezeMode, 0.0f);
    }
}

TEST_F (ReverbFixture, ProgramDefaultsGiveHalfRoomHalfDampingHalfWetAndHalfWidth)
{
    expectParameters (reverb.getEngineParameters(), 0.5f, 0.5f, 0.5f);
}

TEST_F (ReverbFixture, FeedbackIsTheRoomSizeAndMixTheWetLevel)
{
    setUp (0.25f, 0.75f, 0.9f);
    expectParameters (reverb.getEngineParameters(), 0.9f, 0.75f, 0.25f);
}

TEST_F (ReverbFixture, WithoutWetSignalTheOutputSettlesToTheDrySignalAtGainPointEight)
{
    setUp (0.0f, 0.5f, 0.5f);
    const auto audio = processSteps (2000);

    // JUCE ramps the wet level down over 10 ms (441 samples); the first echoes of its
    // combs arrive later, from sample 1116 on, and are not heard.
    EXPECT_EQ (audio.getSample (0, 441), 0.4f);
    EXPECT_EQ (audio.getSample (0, 1500), 0.4f);
    EXPECT_EQ (audio.getSample (0, 1999), 0.4f);
    EXPECT_EQ (audio.getSample (1, 1999), -0.2f);
}

TEST_F (ReverbFixture, AnImpulseRingsOnLongAfterIt)
{
    juce::AudioBuffer<float> audio (2, 44100);
    audio.clear();
    audio.setSample (0, 0, 1.0f);
    audio.setSample (1, 0, 1.0f);
    reverb.processStereo (audio.getWritePointer (0), audio.getWritePointer (1), 44100);

    EXPECT_EQ (audio.getSample (0, 0), 0.8f);
    EXPECT_GT (audio.getMagnitude (0, 11025, 11025), 0.001f);     // 0.25 ... 0.5 s later
    EXPECT_GT (audio.getMagnitude (1, 11025, 11025), 0.001f);
}

TEST_F (ReverbFixture, MonoProcessingRingsOnTheOneChannel)
{
    std::vector<float> samples (44100, 0.0f);
    samples[0] = 1.0f;
    reverb.processMono (samples.data(), (int) samples.size());

    EXPECT_EQ (samples[0], 0.8f);
    const auto tail = *std::max_element (samples.begin() + 11025, samples.begin() + 22050);
    EXPECT_GT (tail, 0.001f);
}

namespace
{
    // Processors at 48000 Hz with a sustained note; one with the reverb on.
    struct ReverbInProcessor : public ::testing::Test
    {
        testing_helpers::ProcessorFixture dry, wet;
    };
}

TEST_F (ReverbInProcessor, WithMixZeroTheOutputIsTheDrySoundAtGainPointEight)
{
    wet.set ("Reverb1Active", 1.0f);
    wet.set ("Reverb1Mix", 0.0f);

    const auto plain = dry.renderNote (60, 1.0f, 4800);
    const auto reverberated = wet.renderNote (60, 1.0f, 4800);

    int mismatches = 0;

    for (int c = 0; c < 2; ++c)
        for (int i = 480; i < 4800; ++i)     // after JUCE's 10 ms ramp
            mismatches += reverberated.getSample (c, i) != plain.getSample (c, i) * 0.8f ? 1 : 0;

    EXPECT_EQ (mismatches, 0);
}

TEST_F (ReverbInProcessor, SwitchingItOnAloneLeavesTheEngineParametersAsTheyWere)
{
    wet.set ("Reverb1Mix", 0.3f);
    wet.render (512);
    wet.set ("Reverb1Active", 1.0f);
    wet.render (512);

    expectParameters (wet.processor.getReverb().getEngineParameters(), 0.5f, 0.5f, 0.3f);
}

TEST_F (ReverbInProcessor, AShortNoteRingsOnAfterItsVoiceHasEnded)
{
    for (auto* f : { &dry, &wet })
    {
        f->set ("EnvAmpOsc1Attack", 0.0f);
        f->set ("EnvAmpOsc1Release", 0.0f);
        f->set ("Osc2Active", 0.0f);
    }

    wet.set ("Reverb1Active", 1.0f);

    for (auto* f : { &dry, &wet })
    {
        f->renderNote (60, 1.0f, 4800);
        juce::MidiBuffer off;
        off.addEvent (juce::MidiMessage::noteOff (1, 60), 0);
        f->render (4800, off);
        EXPECT_EQ (f->countActiveVoices(), 0);
    }

    EXPECT_EQ (testing_helpers::peakOf (dry.render (4800), 0), 0.0f);
    EXPECT_GT (testing_helpers::peakOf (wet.render (4800), 0), 0.001f);
}

TEST_F (ReverbInProcessor, InTheOneChannelConfigurationOnlyChannelZeroIsProcessed)
{
    ASSERT_TRUE (wet.useOneChannel());
    wet.set ("Reverb1Active", 1.0f);
    wet.set ("Reverb1Mix", 0.0f);

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
    const auto plain = dry.render (4800, midi);
    const auto reverberated = wet.render (4800, midi, 1);

    EXPECT_EQ (reverberated.getSample (0, 4000), plain.getSample (0, 4000) * 0.8f);
}
