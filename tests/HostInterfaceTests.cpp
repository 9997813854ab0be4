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
    EXPECT_EQ (processor->getNumParameters(), ParameterIndex::count);
    ASSERT_EQ (processor->getParameters().size(), ParameterIndex::count);

    for (int index = 0; index < ParameterIndex::count; ++index)
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

    processor->setParameter (ParameterIndex::CurrentPlayMode, 0.6f);

    EXPECT_EQ (programValue (ParameterIndex::CurrentPlayMode), 0.6f);
    EXPECT_EQ (processor->getParameter (ParameterIndex::CurrentPlayMode), 0.6f);
    EXPECT_EQ (settings().CurrentPlayMode.load(), 0);       // still Poly
    EXPECT_TRUE (processor->hostChangedParameter);
}

TEST_F (HostInterface, SetRecomputesTheEngineSettingsAtOnce)
{
    processor->setParameter (ParameterIndex::MasterVolume, 0.25f);                      // MasterVolume, 2 x value
    EXPECT_EQ (settings().MasterVolume.load(), 0.5);

    processor->setParameter (ParameterIndex::CurrentPlayMode, 1.0f);
    EXPECT_EQ (settings().CurrentPlayMode.load(), 1);         // Mono
}

TEST_F (HostInterface, ValuesOutsideTheEditorRangesAreStoredAsTheyCome)
{
    processor->setParameter (ParameterIndex::Osc1Gain, -3.0f);
    processor->setParameter (ParameterIndex::Osc1Offset, 5.0f);

    EXPECT_EQ (processor->getParameter (ParameterIndex::Osc1Gain), -3.0f);
    EXPECT_EQ (processor->getParameter (ParameterIndex::Osc1Offset), 5.0f);
}

TEST_F (HostInterface, ParameterObjectsReadAndWriteTheCurrentProgram)
{
    hostParameter (ParameterIndex::Osc1Pan).setValue (0.75f);
    EXPECT_EQ (programValue (ParameterIndex::Osc1Pan), 0.75f);
    EXPECT_TRUE (processor->hostChangedParameter);

    auto* other = processor->state->database->createProgram();
    other->getParameter (ParameterIndex::Osc1Pan)->setValue (0.125f);
    processor->switchToProgram (other);

    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Pan).getValue(), 0.125f);
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Offset).getDefaultValue(), 0.12f);
    EXPECT_EQ (hostParameter (ParameterIndex::EnvPitchOsc1Sustain).getDefaultValue(), 1.0f);
}

TEST_F (HostInterface, TheValueTextIsTheParameterName)
{
    processor->setParameter (ParameterIndex::Osc1Gain, 0.3f);

    EXPECT_EQ (processor->getParameterText (2), "Osc1Gain");
    EXPECT_EQ (processor->getParameterName (2), "Osc1Gain");
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getCurrentValueAsText(), "Osc1Gain");
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getText (0.9f, 1024), "Osc1Gain");
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getName (1024), "Osc1Gain");

    // The text gives no value back: typing it leaves the value as it is.
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getValueForText ("Osc1Gain"), 0.3f);
}

TEST_F (HostInterface, NamesAreCutToTheLengthTheHostAsksFor)
{
    EXPECT_EQ (processor->getParameterName (50, 16), "EnvPitchOsc1Sust");
    EXPECT_EQ (hostParameter (ParameterIndex::EnvPitchOsc1Sustain).getName (16), "EnvPitchOsc1Sust");
    EXPECT_EQ (processor->getParameterText (50, 24), "EnvPitchOsc1Sustain");
    EXPECT_EQ (hostParameter (ParameterIndex::EnvPitchOsc1Sustain).getText (0.0f, 8), "EnvPitch");
    EXPECT_EQ (hostParameter (ParameterIndex::MasterVolume).getName (16), "MasterVolume");
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

    for (int i = 0; i < ParameterIndex::count; ++i)
        EXPECT_EQ (programValue (i), PluginParameter::getDefaultValue (i)) << Enumeration::getName (i);
}

INSTANTIATE_TEST_SUITE_P (Indices, HostInterfaceOutOfRange, ::testing::Values (-1, ParameterIndex::count, 1000));
