#include "Model/Enumeration.h"
#include "Model/PluginDatabase.h"
#include "Model/PluginParameter.h"
#include "Model/PluginProgram.h"
#include "Model/PluginState.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

TEST (Enumeration, NamesEveryIndexOnceAndNothingElse)
{
    EXPECT_EQ (Enumeration::getName (ParameterIndex::Osc1Active), "Osc1Active");
    EXPECT_EQ (Enumeration::getName (ParameterIndex::Delay1Time), "Delay1Time");
    EXPECT_EQ (Enumeration::getName (ParameterIndex::MidiLearn), "MidiLearn");
    EXPECT_EQ (Enumeration::getName (ParameterIndex::CurrentPlayMode), "CurrentPlayMode");
    EXPECT_EQ (Enumeration::getName (ParameterIndex::count), "Undefined");
    EXPECT_EQ (Enumeration::getName (-1), "Undefined");

    std::set<juce::String> names;

    for (int index = 0; index < ParameterIndex::count; ++index)
        names.insert (Enumeration::getName (index));

    EXPECT_EQ (ParameterIndex::numOriginal, 71);
    EXPECT_EQ (ParameterIndex::count, 84);
    EXPECT_EQ (names.size(), (size_t) ParameterIndex::count);
    EXPECT_EQ (Enumeration::getNumEntries(), ParameterIndex::count);
}

TEST (Enumeration, FindsEachIndexByItsExactNameAndNothingElse)
{
    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_EQ (Enumeration::findIndex (Enumeration::getName (index)), index);

    for (const char* name : { "osc1gain", "Osc1Gain ", "", "Undefined" })
        EXPECT_EQ (Enumeration::findIndex (name), ParameterIndex::none) << name;
}

TEST (ParameterGroups, EachOscillatorAndEnvelopeNamesItsOwnParameters)
{
    const char* const stages[] = { "Attack", "Decay", "Sustain", "Release" };
    const char* const envelopeNames[] = { "EnvAmpOsc1", "EnvAmpOsc2", "EnvPitchOsc1", "EnvPitchOsc2", "EnvFilter1", "EnvLfo1" };
    ASSERT_EQ (std::size (ParameterGroups::envelopes), std::size (envelopeNames));

    const auto expectEnvelope = [&] (const EnvelopeParameters& envelope, const juce::String& prefix)
    {
        const ParameterIndex::Index indices[] = { envelope.attack, envelope.decay, envelope.sustain, envelope.release };

        for (size_t i = 0; i < std::size (indices); ++i)
            EXPECT_EQ (Enumeration::getName (indices[i]), prefix + stages[i]);
    };

    for (size_t e = 0; e < std::size (envelopeNames); ++e)
        expectEnvelope (ParameterGroups::envelopes[e], envelopeNames[e]);

    for (int o = 0; o < 2; ++o)
    {
        const auto& oscillator = ParameterGroups::oscillators[o];
        const juce::String osc = "Osc" + juce::String (o + 1);
        const std::pair<ParameterIndex::Index, juce::String> members[] = {
            { oscillator.active, osc + "Active" }, { oscillator.waveType, osc + "WaveType" },
            { oscillator.gain, osc + "Gain" }, { oscillator.detune, osc + "Detune" }, { oscillator.pan, osc + "Pan" },
            { oscillator.offset, osc + "Offset" }, { oscillator.pitchRange, osc + "PitchRange" },
            { oscillator.pitchEnvRange, osc + "PitchEnvRange" }, { oscillator.pitchEnvDown, osc + "PitchEnvDown" },
            { oscillator.pitchEnvActive, "EnvPitch" + osc + "Active" } };

        for (const auto& [index, name] : members)
            EXPECT_EQ (Enumeration::getName (index), name);

        expectEnvelope (oscillator.amplitudeEnvelope, "EnvAmp" + osc);
        expectEnvelope (oscillator.pitchEnvelope, "EnvPitch" + osc);
    }
}

TEST (Enumeration, FirstLookupsFromManyThreadsAllSeeTheFullTable)
{
    std::vector<std::thread> threads;
    std::atomic<int> wrong { 0 };

    for (int t = 0; t < 8; ++t)
        threads.emplace_back ([&wrong]
        {
            for (int index = 0; index < ParameterIndex::count; ++index)
                if (Enumeration::getName (index) == "Undefined")
                    ++wrong;
        });

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (wrong.load(), 0);
}

TEST (PluginParameter, StartsAtItsDefaultAndStoresValuesUnchanged)
{
    EXPECT_EQ (PluginParameter (ParameterIndex::Osc1Offset).getValue(), 0.12f);
    EXPECT_EQ (PluginParameter (ParameterIndex::Filter1Cutoff).getValue(), 0.3f);
    EXPECT_EQ (PluginParameter (ParameterIndex::EnvAmpOsc1Attack).getValue(), 0.1f);
    EXPECT_EQ (PluginParameter (ParameterIndex::EnvPitchOsc1Sustain).getValue(), 1.0f);
    EXPECT_EQ (PluginParameter (ParameterIndex::Delay1Swing).getValue(), 0.0f);
    EXPECT_EQ (PluginParameter (99).getValue(), 0.0f);
    EXPECT_EQ (PluginParameter (ParameterIndex::Osc1PitchRange).getName(), "Osc1PitchRange");

    PluginParameter parameter (2);

    for (const float value : { 0.7f, -3.0f, 5.0f, 1.0e30f })
    {
        parameter.setValue (value);
        EXPECT_EQ (parameter.getValue(), value);
    }
}

TEST (PluginProgram, NewProgramIsEmptyWithDefaultsAndAVersionFourIdentifier)
{
    PluginProgram program;
    EXPECT_EQ (program.getName(), "Empty");
    EXPECT_TRUE (program.getBank().isEmpty() && program.getCategory().isEmpty()
                 && program.getSubType().isEmpty() && program.getMode().isEmpty());
    ASSERT_EQ (program.getNumParameters(), ParameterIndex::count);

    for (int index = 0; index < ParameterIndex::count; ++index)
    {
        EXPECT_EQ (program.getParameter (index)->getIndex(), index);
        EXPECT_EQ (program.getParameter (index)->getValue(), PluginParameter::getDefaultValue (index));
    }

    const auto id = program.getId();
    ASSERT_EQ (id.length(), 36);

    for (const int dash : { 8, 13, 18, 23 })
        EXPECT_EQ (id[dash], '-');

    EXPECT_EQ (id[14], '4');
    EXPECT_TRUE (juce::String ("89ab").containsChar (id[19]));
    EXPECT_EQ (id, id.toLowerCase());
    EXPECT_NE (PluginProgram().getId(), id);
    EXPECT_EQ (program.getParameter (ParameterIndex::count), nullptr);
    EXPECT_EQ (program.getParameter (-1), nullptr);
}

TEST (PluginProgram, ResetKeepingIdentityRestoresOnlyTheValues)
{
    PluginProgram program;
    program.setName ("Bass");
    program.setBank ("B");
    program.setMode ("M");
    program.getParameter (ParameterIndex::Osc1Gain)->setValue (0.9f);
    auto* parameter = program.getParameter (ParameterIndex::Osc1Gain);
    const auto id = program.getId();

    program.reset (true);
    EXPECT_EQ (program.getName(), "Bass");
    EXPECT_EQ (program.getId(), id);
    EXPECT_EQ (program.getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.5f);
    EXPECT_EQ (program.getParameter (ParameterIndex::Osc1Gain), parameter);   // never a dangling pointer

    program.getParameter (ParameterIndex::Osc1Gain)->setValue (0.9f);
    program.reset (false);
    EXPECT_EQ (program.getName(), "Empty");
    EXPECT_NE (program.getId(), id);
    EXPECT_EQ (program.getBank(), "B");
    EXPECT_EQ (program.getMode(), "M");
    EXPECT_EQ (program.getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.5f);
}

TEST (PluginProgram, CopyTakesIdentityTextsAndValuesWithoutSharingThem)
{
    PluginProgram a, b;
    a.setName ("Lead");
    a.setBank ("Bank");
    a.setCategory ("Cat");
    a.setSubType ("Sub");
    a.setMode ("Mode");
    a.getParameter (ParameterIndex::Filter1Cutoff)->setValue (0.77f);

    b.copyFrom (a);
    EXPECT_EQ (b.getId(), a.getId());

    for (int column = 0; column < 5; ++column)
        EXPECT_EQ (b.getColumnText (column), a.getColumnText (column));

    EXPECT_EQ (b.getParameter (ParameterIndex::Filter1Cutoff)->getValue(), 0.77f);

    b.getParameter (ParameterIndex::Filter1Cutoff)->setValue (0.1f);
    EXPECT_EQ (a.getParameter (ParameterIndex::Filter1Cutoff)->getValue(), 0.77f);
    EXPECT_EQ (a.getColumnText (2), "Cat");
    EXPECT_EQ (a.getColumnText (5), "");
    EXPECT_EQ (a.getColumnText (-1), "");
}

TEST (PluginState, PointsAtNoProgramOfTheDatabaseUntilOneIsChosen)
{
    PluginState state;
    EXPECT_EQ (state.getCurrentProgramIndex(), -1);

    state.setCurrentProgram (state.database->getProgram (0));
    EXPECT_EQ (state.getCurrentProgramIndex(), 0);
    EXPECT_EQ (state.database->getProgram (0)->getName(), "Initial Program");

    PluginProgram outsider;
    state.setCurrentProgram (&outsider);
    EXPECT_EQ (state.getCurrentProgramIndex(), -1);

    const auto position = state.getPositionInfo();
    EXPECT_EQ (position.bpm, 120.0);
    EXPECT_EQ (position.timeSigNumerator, 4);
    EXPECT_EQ (position.timeSigDenominator, 4);
}
