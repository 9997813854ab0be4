#include "TestHelpers.h"
#include "Engine/AnalogFilter.h"
#include "Engine/FilterStep.h"
#include "Model/Enumeration.h"
#include "Model/NoteValue.h"
#include "Model/ParameterConversion.h"
#include "Model/ParameterTable.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <set>

using namespace ParameterIndex;

TEST (ParameterConversion, TextsSayWhatAStoredValueMeansInItsUnit)
{
    const ParameterConversion::Context free { false, false };

    const std::tuple<Index, float, ParameterConversion::Context, const char*> cases[] = {
        { Osc1Active, 0.0f, {}, "Off" },            { Osc1Active, 0.3f, {}, "On" },
        { Osc1WaveType, 3.0f, {}, "Sawtooth" },     { Osc2WaveType, 0.7f, {}, "Sine" },     // read by truncation
        { Filter1Type, 1.0f, {}, "Bandpass" },      { CurrentPlayMode, 1.0f, {}, "Mono" },
        { Lfo1Target, 2.0f, {}, "Filter" },         { Osc1WaveType, 7.0f, {}, "7.00" },     // names no item
        { Osc1Offset, 0.19f, {}, "+7 st" },         { Osc1Offset, 0.12f, {}, "0 st" },
        { Osc2Offset, 0.07f, {}, "-5 st" },         { Osc1PitchRange, 0.02f, {}, "2 st" },
        { Osc1Gain, 0.5f, {}, "100 %" },            { MasterVolume, -3.0f, {}, "-600 %" },
        { Lfo1Mix, 0.37f, {}, "37 %" },             { EnvAmpOsc1Sustain, 0.5f, {}, "50 %" },
        { Osc1Detune, 0.6f, {}, "+20 ct" },         { Osc2Detune, 0.25f, {}, "-50 ct" },       { Osc1Detune, 0.5f, {}, "0 ct" },
        { Osc1Pan, 0.5f, {}, "C" },                 { Osc1Pan, 0.3f, {}, "40L" },              { Osc2Pan, 1.0f, {}, "100R" },
        { Filter1Cutoff, 0.3f, {}, "1.50 kHz" },    { Filter1Cutoff, 0.07f, {}, "350 Hz" },    { Filter1Cutoff, 0.0f, {}, "10 Hz" },
        { Filter1Resonance, 0.25f, {}, "Q 12.5" },  { Filter1Resonance, 0.0f, {}, "Q 1.0" },
        { EnvAmpOsc1Attack, 0.1f, {}, "300 ms" },   { EnvAmpOsc1Attack, 0.51f, {}, "7.65 s" },  // the jump above half
        { EnvLfo1Decay, 0.5f, {}, "500 ms" },       { EnvFilter1Release, 0.5f, {}, "2.50 s" },
        { Glide, 0.5f, {}, "500 ms" },              { Glide, 1.0f, {}, "2.00 s" },
        { Lfo1Speed, 0.5f, {}, "5.00 Hz" },         { Delay1Time, 0.5f, {}, "4/16" },          { Delay1Time, 0.37f, {}, "2/16" },
        { Delay1Time, 0.5f, free, "1.00 s" },       { Delay1Time, 0.2f, free, "400 ms" },      { MidiLearn, 1.0f, {}, "1.00" },
        { Osc1WaveType, 4.0f, {}, "Noise" },        { Lfo1WaveType, 5.0f, {}, "S&H" },         { Filter1Slope, 1.0f, {}, "24 dB" },
        { Filter1EnvAmount, 0.75f, {}, "+50 %" },   { Filter1EnvAmount, 0.5f, {}, "0 %" },     { Filter1EnvAmount, 0.0f, {}, "-100 %" },
        { Osc1Unison, 6.0f, {}, "7 voices" },       { Osc2Unison, 0.0f, {}, "1 voice" },       { Osc2Unison, 8.0f, {}, "8.00" },
        { Osc1UnisonDetune, 0.35f, {}, "35 cents" }, { Filter1KeyTrack, 1.0f, {}, "100 %" },
    };

    for (const auto& [index, stored, context, text] : cases)
        EXPECT_EQ (ParameterConversion::toText (index, stored, context), text) << Enumeration::getName (index) << " " << stored;
}

TEST (ParameterConversion, TextsReadBackInTheirUnitsAndNonsenseReadsAsNothing)
{
    const std::tuple<Index, const char*, float> cases[] = {
        { Osc1Active, "on", 1.0f },             { Osc1Active, "Off", 0.0f },        { Osc1Active, "2", 1.0f },
        { Osc1WaveType, "sawtooth", 3.0f },     { Osc1WaveType, "2", 2.0f },        { Osc1WaveType, "9", 4.0f },
        { Osc1Offset, "+7 st", 0.19f },         { Osc1Offset, "-5", 0.07f },        { Osc1Offset, "+30 st", 0.24f },
        { Osc1PitchRange, " 2 ST ", 0.02f },
        { Filter1Cutoff, "1.5 kHz", 0.3f },     { Filter1Cutoff, "1500", 0.3f },    { Filter1Cutoff, "1,5k", 0.3f },
        { Filter1Cutoff, "20 kHz", 1.0f },      { Filter1Cutoff, "10 Hz", 0.0f },   // the floor's first step
        { EnvAmpOsc1Decay, "350 ms", 0.35f },   { EnvAmpOsc1Decay, "0.35 s", 0.35f },
        { EnvAmpOsc1Attack, "3 s", 0.5f },      { EnvAmpOsc1Attack, "7.65 s", 0.51f },   // nearest across the jump
        { Osc1Gain, "100 %", 0.5f },            { Osc1Gain, "74", 0.37f },          { Osc1Gain, "400 %", 1.0f },
        { Osc1Pan, "40L", 0.3f },               { Osc1Pan, "L 40", 0.3f },          { Osc1Pan, "c", 0.5f },   { Osc1Pan, "100R", 1.0f },
        { Osc1Detune, "-50 ct", 0.25f },        { Filter1Resonance, "Q 12.5", 0.25f },
        { Lfo1Speed, "5 Hz", 0.5f },            { Delay1Time, "3/16", 0.38f },      { Delay1Time, "1/4", 0.5f },
        { Glide, "0.5 s", 0.5f },               { MidiLearn, "0.37", 0.37f },
        { Osc1WaveType, "noise", 4.0f },        { Lfo1WaveType, "s&h", 5.0f },      { Filter1Slope, "24 dB", 1.0f },
        { Filter1EnvAmount, "+50 %", 0.75f },   { Filter1EnvAmount, "-100", 0.0f }, { Osc2Unison, "7 voices", 6.0f },
        { Osc2Unison, "7", 6.0f },              { Osc1Unison, "1 voice", 0.0f },    { Osc1Unison, "12", 7.0f },
        { Osc1UnisonDetune, "35 cents", 0.35f },
    };

    for (const auto& [index, text, stored] : cases)
        EXPECT_EQ (ParameterConversion::fromText (index, text), std::optional<float> (stored)) << Enumeration::getName (index) << " " << text;

    const ParameterConversion::Context free { false, false };
    EXPECT_EQ (ParameterConversion::fromText (Delay1Time, "1.5 s", free), std::optional<float> (0.75f));

    for (const auto& [index, text] : std::vector<std::pair<Index, const char*>> {
             { Osc1Active, "maybe" }, { Osc1WaveType, "Saw" }, { Osc1Offset, "" }, { Osc1Offset, "st" }, { Osc1Gain, "loud" },
             { Osc1Gain, "1e999" }, { Filter1Cutoff, "1.5 kg" }, { EnvAmpOsc1Decay, "soon" }, { Osc1Pan, "40X" },
             { Delay1Time, "3/0" }, { Lfo1Speed, "1/4" } })
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
            }

            // Every step's text, with either sync switch, names a step with that text.
            for (const ParameterConversion::Context context : { ParameterConversion::Context { false, false },
                                                                ParameterConversion::Context { true, true } })
            {
                for (int step = 0; step <= 100; ++step)
                {
                    const auto text = ParameterConversion::toText (index, ParameterConversion::editorValueAtStep (step), context);
                    const auto readBack = ParameterConversion::fromText (index, text, context);
                    ASSERT_TRUE (readBack.has_value()) << name << " " << text;
                    EXPECT_EQ (ParameterConversion::toText (index, *readBack, context), text) << name << " step " << step;
                }
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
    EXPECT_EQ (ParameterConversion::fromNormalised (Osc1WaveType, 0.75f), 3.0f);
    EXPECT_EQ (ParameterConversion::fromNormalised (Osc1Unison, 1.0f), 7.0f);
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

// The texts are the engine's: each unit's quantity is what the settings, the filter, the LFO
// and the delay make of the same stored value.
TEST (ParameterConversion, EachUnitsQuantityIsWhatTheEngineMakesOfTheValue)
{
    testing_helpers::ProcessorFixture fixture;
    const auto& s = fixture.settings();
    auto& source = *fixture.processor.synthAudioSource;
    const auto rate = fixture.sampleRate;

    const auto seconds = [&] (double samples) { return samples / rate; };
    const auto q = [] (Index index, float value)
    {
        return ParameterUnits::quantityOf (ParameterTable::get (index).unit, value, ParameterConversion::Context::of ([] (int) { return 0.0f; }));
    };

    const std::pair<Index, std::function<double()>> engine[] = {
        { EnvAmpOsc1Attack,  [&] { return s.EnvAmpOsc1Attack.load(); } },
        { EnvPitchOsc2Decay, [&] { return s.EnvPitchOsc2Decay.load(); } },
        { EnvLfo1Release,    [&] { return s.EnvLfo1Release.load(); } },
        { EnvFilter1Sustain, [&] { return 100.0 * s.EnvFilter1Sustain; } },
        { Osc2Gain,          [&] { return 100.0 * s.Osc2Gain; } },
        { MasterVolume,      [&] { return 100.0 * s.MasterVolume; } },
        { Osc1Detune,        [&] { return 100.0 * s.Osc1Detune; } },
        { Osc2Pan,           [&] { return s.Osc2Pan.load(); } },
        { Filter1Cutoff,     [&] { return FilterStep::angleFor ((float) s.Filter1Cutoff, (float) (1.0 / rate)) * rate / (2.0 * juce::MathConstants<double>::pi); } },
        { Filter1Resonance,  [&] { AnalogFilter filter; filter.setResonance ((float) s.Filter1Resonance); return (double) filter.getQ(); } },
        { Lfo1Speed,         [&] { return source.getGlobalLfo().getRate(); } },
        { Delay1Time,        [&] { return seconds (fixture.processor.getDelay().getDelaySamples()); } },   // free, as the context says
    };

    fixture.set (Delay1Sync, 0.0f);
    fixture.set (Lfo1Active, 1.0f);     // the global LFO takes its rate while it runs

    for (const auto& [index, engineQuantity] : engine)
    {
        for (const float value : { 0.0f, 0.01f, 0.3f, 0.5f, 0.51f, 0.77f, 1.0f })
        {
            fixture.set (index, value);
            fixture.render (512);    // the LFO and the delay take their settings with the block
            EXPECT_NEAR (q (index, value), engineQuantity(), 1e-3 * juce::jmax (1.0, std::abs (q (index, value))))
                << Enumeration::getName (index) << " " << value;
        }
    }

    // Synchronised, the delay is a whole number of sixteenths of the tempo.
    fixture.set (Delay1Sync, 1.0f);
    fixture.set (Delay1Time, 0.4f);
    fixture.render (512);
    const auto samplesPerSixteenth = std::trunc (60.0 / 120.0 * rate * 0.25);
    EXPECT_EQ (fixture.processor.getDelay().getDelaySamples(), ParameterUnits::syncedDelaySixteenths (0.4f) * samplesPerSixteenth);
}
