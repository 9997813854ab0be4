#include "DatabaseFileHelpers.h"
#include "Model/Enumeration.h"
#include "Processor/HostParameter.h"
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

TEST_F (HostInterface, TheValueTextSaysWhatTheValueMeansAndTheNameStays)
{
    processor->setParameter (ParameterIndex::Osc1Gain, 0.3f);
    processor->setParameter (ParameterIndex::Osc1WaveType, 3.0f);

    EXPECT_EQ (processor->getParameterText (ParameterIndex::Osc1Gain), "60 %");
    EXPECT_EQ (processor->getParameterName (ParameterIndex::Osc1Gain), "Osc1Gain");
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1WaveType).getCurrentValueAsText(), "Sawtooth");
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getText (0.9f, 1024), "180 %");
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getName (1024), "Osc1Gain");

    // Typing a text gives the value it names; a text that names none leaves the value.
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1WaveType).getValueForText ("Triangle"), 2.0f);
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getValueForText ("50 %"), 0.25f);
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1Gain).getValueForText ("Osc1Gain"), 0.3f);
}

TEST_F (HostInterface, NamesAndTextsAreCutToTheLengthTheHostAsksFor)
{
    EXPECT_EQ (processor->getParameterName (ParameterIndex::EnvPitchOsc1Sustain, 16), "EnvPitchOsc1Sust");
    EXPECT_EQ (hostParameter (ParameterIndex::EnvPitchOsc1Sustain).getName (16), "EnvPitchOsc1Sust");
    EXPECT_EQ (processor->getParameterText (ParameterIndex::EnvPitchOsc1Sustain, 3), "100");
    EXPECT_EQ (hostParameter (ParameterIndex::Osc1WaveType).getText (3.0f, 4), "Sawt");
    EXPECT_EQ (hostParameter (ParameterIndex::MasterVolume).getName (16), "MasterVolume");
}

// VST3 and LV2 hosts move every parameter between 0 and 1: there that range reaches every
// value the editor offers. VST2 projects store raw values, so VST2 keeps them, as do the
// standalone app and code that makes a processor itself (the renderer, these tests).
TEST_F (HostInterface, HostValuesReachTheWholeRangeOnlyInVst3AndLv2)
{
    using Processor = juce::AudioProcessor;
    using namespace ParameterIndex;

    for (const auto format : { Processor::wrapperType_VST3, Processor::wrapperType_LV2, Processor::wrapperType_VST,
                               Processor::wrapperType_Standalone })
    {
        SCOPED_TRACE (Processor::getWrapperTypeDescription (format));
        Processor::setTypeOfNextNewPlugin (format);
        QuenbyAudioProcessor inFormat;
        Processor::setTypeOfNextNewPlugin (Processor::wrapperType_Undefined);

        const bool scaled = format == Processor::wrapperType_VST3 || format == Processor::wrapperType_LV2;
        auto& waveType = *inFormat.getHostParameter (Osc1WaveType);
        auto& offset = *inFormat.getHostParameter (Osc1Offset);
        waveType.setValue (scaled ? 0.75f : 1.0f);
        offset.setValue (0.5f);

        EXPECT_EQ (inFormat.getEditPath().get (Osc1WaveType), scaled ? 3.0f : 1.0f);
        EXPECT_EQ (inFormat.getEditPath().get (Osc1Offset), scaled ? 0.12f : 0.5f);
        EXPECT_EQ (inFormat.synthAudioSource->getSynth().settings.Osc1Offset.load(), scaled ? 0 : 38);
        EXPECT_EQ (waveType.getCurrentValueAsText(), scaled ? "Sawtooth" : "Square");
        EXPECT_EQ (waveType.getValueForText ("Triangle"), scaled ? 0.5f : 2.0f);
        EXPECT_EQ (offset.getDefaultValue(), scaled ? 0.5f : 0.12f);
        EXPECT_EQ (waveType.getNumSteps(), scaled ? ParameterTable::get (Osc1WaveType).numItems : Processor::getDefaultNumParameterSteps());
        EXPECT_EQ (inFormat.getHostParameter (Osc1Active)->isBoolean(), scaled);
        EXPECT_FALSE (inFormat.getHostParameter (Lfo1Mode)->isBoolean());
        EXPECT_FALSE (inFormat.getHostParameter (Osc1Gain)->isDiscrete());
    }
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
