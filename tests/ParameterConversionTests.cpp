#include "Model/Enumeration.h"
#include "Model/NoteValue.h"
#include "Model/ParameterConversion.h"
#include "Model/ParameterTable.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <gtest/gtest.h>

#include <limits>
#include <set>

using namespace ParameterIndex;

TEST (ParameterConversion, TextsSayWhatAStoredValueMeans)
{
    const std::tuple<Index, float, const char*> cases[] = {
        { Osc1Active, 0.0f, "Off" },            { Osc1Active, 0.3f, "On" },
        { Osc1WaveType, 3.0f, "Sawtooth" },     { Osc2WaveType, 0.7f, "Sine" },     // read by truncation
        { Filter1Type, 1.0f, "Bandpass" },      { CurrentPlayMode, 1.0f, "Mono" },
        { Lfo1Target, 2.0f, "Filter" },         { Osc1WaveType, 7.0f, "7.00" },     // names no item
        { Osc1Offset, 0.19f, "+7 st" },         { Osc1Offset, 0.12f, "0 st" },
        { Osc2Offset, 0.07f, "-5 st" },         { Osc1Offset, 0.0f, "-12 st" },
        { Osc1PitchRange, 0.02f, "2 st" },      { Osc2PitchEnvRange, 0.12f, "12 st" },
        { Osc1Gain, 0.5f, "0.50" },             { Filter1Cutoff, 0.3f, "0.30" },
        { MasterVolume, -3.0f, "-3.00" },       { MidiLearn, 1.0f, "1.00" },
    };

    for (const auto& [index, stored, text] : cases)
        EXPECT_EQ (ParameterConversion::toText (index, stored), text) << Enumeration::getName (index) << " " << stored;
}

TEST (ParameterConversion, TextsReadBackAndNonsenseReadsAsNothing)
{
    const std::tuple<Index, const char*, float> cases[] = {
        { Osc1Active, "on", 1.0f },             { Osc1Active, "Off", 0.0f },        { Osc1Active, "2", 1.0f },
        { Osc1WaveType, "sawtooth", 3.0f },     { Osc1WaveType, "2", 2.0f },        { Osc1WaveType, "9", 3.0f },
        { Osc1Offset, "+7 st", 0.19f },         { Osc1Offset, "-5", 0.07f },        { Osc1Offset, "+30 st", 0.24f },
        { Osc1PitchRange, " 2 ST ", 0.02f },    { Osc1Gain, "0.37", 0.37f },        { Osc1Gain, "4", 1.0f },
    };

    for (const auto& [index, text, stored] : cases)
        EXPECT_EQ (ParameterConversion::fromText (index, text), std::optional<float> (stored)) << Enumeration::getName (index) << " " << text;

    for (const auto& [index, text] : std::vector<std::pair<Index, const char*>> {
             { Osc1Active, "maybe" }, { Osc1WaveType, "Saw" }, { Osc1Offset, "" }, { Osc1Offset, "st" }, { Osc1Gain, "loud" },
             { Osc1Gain, "1e999" } })
        EXPECT_FALSE (ParameterConversion::fromText (index, text).has_value()) << Enumeration::getName (index) << " " << text;
}

// While the LFO follows the tempo its speed names the note value one cycle lasts, from eight
// bars at 0 to a thirty-second at 1, each shorter than the one before, and the name reads
// back as a speed with that name.
TEST (ParameterConversion, ASynchronisedLfoSpeedIsANoteValue)
{
    const ParameterConversion::Context synced { true, true };

    const std::tuple<float, const char*> cases[] = {
        { 0.0f, "8 bars" }, { 0.5f, "1/2" }, { 0.62f, "1/4" }, { 0.82f, "1/8T" }, { 1.0f, "1/32" }, { -2.0f, "8 bars" }, { 7.0f, "1/32" },
    };

    for (const auto& [stored, text] : cases)
        EXPECT_EQ (ParameterConversion::toText (Lfo1Speed, stored, synced), text) << stored;

    EXPECT_EQ (ParameterConversion::toText (Lfo1Speed, 0.5f), "0.50");
    EXPECT_FALSE (ParameterConversion::fromText (Lfo1Speed, "1/4").has_value());

    double previousBeats = 1.0e9;
    juce::String previousName;

    for (int step = 0; step <= 100; ++step)
    {
        const auto speed = ParameterConversion::editorValueAtStep (step);
        const auto name = ParameterConversion::toText (Lfo1Speed, speed, synced);
        const auto readBack = ParameterConversion::fromText (Lfo1Speed, name, synced);

        ASSERT_TRUE (readBack.has_value()) << name;
        EXPECT_EQ (ParameterConversion::toText (Lfo1Speed, *readBack, synced), name);

        if (name != previousName)
        {
            const auto beats = NoteValue::forSpeed (speed).beats;
            EXPECT_LT (beats, previousBeats) << name;
            previousBeats = beats;
            previousName = name;
        }
    }

    EXPECT_EQ (previousName, "1/32");
}

// Every parameter, every position of a stepped scale: the host's positions reach each value
// the editor offers, each with its own text, and both the position and the text come back.
TEST (ParameterConversion, EveryStepOfTheHostScaleIsAnEditorValueThatComesBack)
{
    for (int index = 0; index < count; ++index)
    {
        const auto& info = ParameterTable::get (index);
        const auto numSteps = ParameterConversion::getNumSteps (index);
        const auto name = Enumeration::getName (index);

        if (info.kind == ParameterKind::plain)
        {
            EXPECT_EQ (numSteps, 0) << name;

            for (const float value : { 0.0f, 0.37f, 1.0f })
            {
                EXPECT_EQ (ParameterConversion::fromNormalised (index, value), value) << name;
                EXPECT_EQ (ParameterConversion::toNormalised (index, value), value) << name;
                EXPECT_EQ (ParameterConversion::fromText (index, ParameterConversion::toText (index, value)), value) << name;
            }

            continue;
        }

        ASSERT_GE (numSteps, 2) << name;
        std::set<juce::String> texts;

        for (int step = 0; step < numSteps; ++step)
        {
            const auto position = (float) step / (float) (numSteps - 1);
            const auto stored = ParameterConversion::fromNormalised (index, position);
            const auto text = ParameterConversion::toText (index, stored);

            EXPECT_GE (stored, 0.0f) << name;
            EXPECT_LE (stored, info.editorMaximum) << name;
            EXPECT_EQ (ParameterConversion::toNormalised (index, stored), position) << name << " " << step;
            EXPECT_EQ (ParameterConversion::fromText (index, text), stored) << name << " " << text;
            texts.insert (text);
        }

        EXPECT_EQ (texts.size(), (size_t) numSteps) << name;

        // The default sits on a step.
        EXPECT_EQ (ParameterConversion::fromNormalised (index, ParameterConversion::toNormalised (index, info.defaultValue)),
                   info.defaultValue) << name;
    }

    // The items of the choices, the two states of a switch, the ends of the offsets.
    EXPECT_EQ (ParameterConversion::fromNormalised (Osc1WaveType, 1.0f), 3.0f);
    EXPECT_EQ (ParameterConversion::fromNormalised (Filter1Type, 0.5f), 1.0f);
    EXPECT_EQ (ParameterConversion::fromNormalised (Osc1Active, 0.6f), 1.0f);
    EXPECT_EQ (ParameterConversion::toText (Osc1Offset, ParameterConversion::fromNormalised (Osc1Offset, 1.0f)), "+12 st");
    EXPECT_EQ (ParameterConversion::toText (Osc1Offset, ParameterConversion::fromNormalised (Osc1Offset, 0.5f)), "0 st");
    EXPECT_EQ (ParameterConversion::toNormalised (Osc1WaveType, 9.0f), 1.0f);
    EXPECT_EQ (ParameterConversion::toNormalised (Osc1Gain, -3.0f), 0.0f);
}

// The slider set up as the editor sets it: each position of the host's scale stores exactly
// the float the slider writes at that step, wherever within the step the slider lands.
TEST (ParameterConversion, SteppedSemitonesLandOnTheFloatTheEditorWrites)
{
    for (const Index index : { Osc1Offset, Osc2Offset, Osc1PitchRange, Osc2PitchRange, Osc1PitchEnvRange, Osc2PitchEnvRange })
    {
        juce::Slider slider;
        slider.setRange (0.0, ParameterTable::get (index).editorMaximum, ParameterTable::editorStep);
        const auto numSteps = ParameterConversion::getNumSteps (index);

        for (int step = 0; step < numSteps; ++step)
        {
            for (const double within : { -0.4, 0.0, 0.4 })
            {
                slider.setValue ((step + within) * ParameterTable::editorStep, juce::dontSendNotification);
                EXPECT_EQ ((float) slider.getValue(), ParameterConversion::fromNormalised (index, (float) step / (float) (numSteps - 1)))
                    << Enumeration::getName (index) << " step " << step;
            }
        }
    }
}

// Hosts and files may hand any float over: every one gives a text and a place on the scale,
// and any host position a value within the editor's range.
TEST (ParameterConversion, AnyFloatGivesATextAndAPlaceOnTheScale)
{
    using limits = std::numeric_limits<float>;
    const float values[] = { limits::max(), limits::lowest(), limits::infinity(), -limits::infinity(), limits::quiet_NaN(),
                             limits::denorm_min(), -1.0e9f, 2.5e9f, -0.5f, 0.49999997f };

    for (int index = 0; index < count; ++index)
    {
        for (const auto value : values)
        {
            const auto position = ParameterConversion::toNormalised (index, value);
            const auto stored = ParameterConversion::fromNormalised (index, value);

            EXPECT_TRUE (ParameterConversion::toText (index, value).isNotEmpty());
            EXPECT_TRUE (position >= 0.0f && position <= 1.0f) << Enumeration::getName (index) << " " << value;
            EXPECT_TRUE (stored >= 0.0f && stored <= ParameterTable::get (index).editorMaximum) << Enumeration::getName (index) << " " << value;
        }
    }
}
