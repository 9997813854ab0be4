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
    EXPECT_EQ (Enumeration::getName (0), "Osc1Active");
    EXPECT_EQ (Enumeration::getName (32), "Delay1Time");
    EXPECT_EQ (Enumeration::getName (68), "MidiLearn");
    EXPECT_EQ (Enumeration::getName (70), "CurrentPlayMode");
    EXPECT_EQ (Enumeration::getName (71), "Undefined");
    EXPECT_EQ (Enumeration::getName (-1), "Undefined");

    std::set<juce::String> names;

    for (int index = 0; index < 71; ++index)
        names.insert (Enumeration::getName (index));

    EXPECT_EQ (names.size(), 71u);
    EXPECT_EQ (Enumeration::getNumEntries(), 71);
}

TEST (Enumeration, FirstLookupsFromManyThreadsAllSeeTheFullTable)
{
    std::vector<std::thread> threads;
    std::atomic<int> wrong { 0 };

    for (int t = 0; t < 8; ++t)
        threads.emplace_back ([&wrong]
        {
            for (int index = 0; index < 71; ++index)
                if (Enumeration::getName (index) == "Undefined")
                    ++wrong;
        });

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (wrong.load(), 0);
}

TEST (PluginParameter, StartsAtItsDefaultAndStoresValuesUnchanged)
{
    EXPECT_EQ (PluginParameter (5).getValue(), 0.12f);
    EXPECT_EQ (PluginParameter (20).getValue(), 0.3f);
    EXPECT_EQ (PluginParameter (39).getValue(), 0.1f);
    EXPECT_EQ (PluginParameter (50).getValue(), 1.0f);
    EXPECT_EQ (PluginParameter (34).getValue(), 0.0f);
    EXPECT_EQ (PluginParameter (99).getValue(), 0.0f);
    EXPECT_EQ (PluginParameter (6).getName(), "Osc1PitchRange");

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
    ASSERT_EQ (program.getNumParameters(), 71);

    for (int index = 0; index < 71; ++index)
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
    EXPECT_EQ (program.getParameter (71), nullptr);
    EXPECT_EQ (program.getParameter (-1), nullptr);
}

TEST (PluginProgram, ResetKeepingIdentityRestoresOnlyTheValues)
{
    PluginProgram program;
    program.setName ("Bass");
    program.setBank ("B");
    program.setMode ("M");
    program.getParameter (2)->setValue (0.9f);
    auto* parameter = program.getParameter (2);
    const auto id = program.getId();

    program.reset (true);
    EXPECT_EQ (program.getName(), "Bass");
    EXPECT_EQ (program.getId(), id);
    EXPECT_EQ (program.getParameter (2)->getValue(), 0.5f);
    EXPECT_EQ (program.getParameter (2), parameter);   // never a dangling pointer

    program.getParameter (2)->setValue (0.9f);
    program.reset (false);
    EXPECT_EQ (program.getName(), "Empty");
    EXPECT_NE (program.getId(), id);
    EXPECT_EQ (program.getBank(), "B");
    EXPECT_EQ (program.getMode(), "M");
    EXPECT_EQ (program.getParameter (2)->getValue(), 0.5f);
}

TEST (PluginProgram, CopyTakesIdentityTextsAndValuesWithoutSharingThem)
{
    PluginProgram a, b;
    a.setName ("Lead");
    a.setBank ("Bank");
    a.setCategory ("Cat");
    a.setSubType ("Sub");
    a.setMode ("Mode");
    a.getParameter (20)->setValue (0.77f);

    b.copyFrom (a);
    EXPECT_EQ (b.getId(), a.getId());

    for (int column = 0; column < 5; ++column)
        EXPECT_EQ (b.getColumnText (column), a.getColumnText (column));

    EXPECT_EQ (b.getParameter (20)->getValue(), 0.77f);

    b.getParameter (20)->setValue (0.1f);
    EXPECT_EQ (a.getParameter (20)->getValue(), 0.77f);
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
