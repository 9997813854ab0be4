#include "DatabaseFileHelpers.h"
#include "Model/Enumeration.h"
#include "Processor/PluginProcessor.h"

using namespace testing_helpers;

class HostInterface : public DatabaseFileTest
{
protected:
    void SetUp() override
    {
        DatabaseFileTest::SetUp();
        processor = std::make_unique<QuenbyAudioProcessor>();
    }

    void TearDown() override
    {
        processor.reset();
        DatabaseFileTest::TearDown();
    }

    float programValue (int index) const    { return processor->state->getCurrentProgram()->getParameter (index)->getValue(); }
    const EngineSettings& settings() const  { return processor->synthAudioSource->getSynth().settings; }
    juce::AudioProcessorParameter& hostParameter (int index) { return *processor->getParameters()[index]; }

    std::unique_ptr<QuenbyAudioProcessor> processor;
};

TEST_F (HostInterface, ShowsSeventyOneAutomatableParametersAndNoPrograms)
{
    EXPECT_EQ (processor->getNumParameters(), 71);
    ASSERT_EQ (processor->getParameters().size(), 71);

    for (int index = 0; index < 71; ++index)
    {
        EXPECT_EQ (hostParameter (index).getParameterIndex(), index);
        EXPECT_TRUE (hostParameter (index).isAutomatable());
        EXPECT_FALSE (hostParameter (index).isMetaParameter());
        EXPECT_EQ (hostParameter (index).getLabel(), "");
    }

    EXPECT_EQ (processor->getNumPrograms(), 0);
    EXPECT_EQ (processor->getCurrentProgram(), 0);
    EXPECT_EQ (processor->getProgramName (0), "");
}

TEST_F (HostInterface, SetStoresTheValueUnchangedAndTheEngineTruncatesChoices)
{
    EXPECT_FALSE (processor->hostChangedParameter);

    processor->setParameter (70, 0.6f);

    EXPECT_EQ (programValue (70), 0.6f);
    EXPECT_EQ (processor->getParameter (70), 0.6f);
    EXPECT_EQ (settings().CurrentPlayMode.load(), 0);       // still Poly
    EXPECT_TRUE (processor->hostChangedParameter);
}

TEST_F (HostInterface, SetRecomputesTheEngineSettingsAtOnce)
{
    processor->setParameter (67, 0.25f);                      // MasterVolume, 2 x value
    EXPECT_EQ (settings().MasterVolume.load(), 0.5);

    processor->setParameter (70, 1.0f);
    EXPECT_EQ (settings().CurrentPlayMode.load(), 1);         // Mono
}

TEST_F (HostInterface, ValuesOutsideTheEditorRangesAreStoredAsTheyCome)
{
    processor->setParameter (2, -3.0f);
    processor->setParameter (5, 5.0f);

    EXPECT_EQ (processor->getParameter (2), -3.0f);
    EXPECT_EQ (processor->getParameter (5), 5.0f);
}

TEST_F (HostInterface, ParameterObjectsReadAndWriteTheCurrentProgram)
{
    hostParameter (4).setValue (0.75f);
    EXPECT_EQ (programValue (4), 0.75f);
    EXPECT_TRUE (processor->hostChangedParameter);

    auto* other = processor->state->database->createProgram();
    other->getParameter (4)->setValue (0.125f);
    processor->switchToProgram (other);

    EXPECT_EQ (hostParameter (4).getValue(), 0.125f);
    EXPECT_EQ (hostParameter (5).getDefaultValue(), 0.12f);
    EXPECT_EQ (hostParameter (50).getDefaultValue(), 1.0f);
}

TEST_F (HostInterface, TheValueTextIsTheParameterName)
{
    processor->setParameter (2, 0.3f);

    EXPECT_EQ (processor->getParameterText (2), "Osc1Gain");
    EXPECT_EQ (processor->getParameterName (2), "Osc1Gain");
    EXPECT_EQ (hostParameter (2).getCurrentValueAsText(), "Osc1Gain");
    EXPECT_EQ (hostParameter (2).getText (0.9f, 1024), "Osc1Gain");
    EXPECT_EQ (hostParameter (2).getName (1024), "Osc1Gain");

    // The text gives no value back: typing it leaves the value as it is.
    EXPECT_EQ (hostParameter (2).getValueForText ("Osc1Gain"), 0.3f);
}

TEST_F (HostInterface, NamesAreCutToTheLengthTheHostAsksFor)
{
    EXPECT_EQ (processor->getParameterName (50, 16), "EnvPitchOsc1Sust");
    EXPECT_EQ (hostParameter (50).getName (16), "EnvPitchOsc1Sust");
    EXPECT_EQ (processor->getParameterText (50, 24), "EnvPitchOsc1Sustain");
    EXPECT_EQ (hostParameter (50).getText (0.0f, 8), "EnvPitch");
    EXPECT_EQ (hostParameter (67).getName (16), "MasterVolume");
}

class HostInterfaceOutOfRange : public HostInterface,
                                public ::testing::WithParamInterface<int>
{
};

TEST_P (HostInterfaceOutOfRange, ReadsZeroOrNothingAndIgnoresSets)
{
    const auto index = GetParam();

    EXPECT_EQ (processor->getParameter (index), 0.0f);
    EXPECT_EQ (processor->getParameterName (index), "");
    EXPECT_EQ (processor->getParameterText (index), "");
    EXPECT_EQ (processor->getParameterName (index, 16), "");

    processor->setParameter (index, 0.3f);

    EXPECT_FALSE (processor->hostChangedParameter);

    for (int i = 0; i < 71; ++i)
        EXPECT_EQ (programValue (i), PluginParameter::getDefaultValue (i)) << Enumeration::getName (i);
}

INSTANTIATE_TEST_SUITE_P (Indices, HostInterfaceOutOfRange, ::testing::Values (-1, 71, 1000));
