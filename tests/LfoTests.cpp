#include "Engine/Lfo.h"
#include "TestHelpers.h"
#include "Engine/Velmora.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using testing_helpers::ProcessorFixture;

namespace
{
    constexpr double twoPi = juce::MathConstants<double>::twoPi;
}

//==============================================================================
// One LFO on a synthesiser whose settings the tests write directly.
struct LfoFixture : public ::testing::Test
{
    LfoFixture()
    {
        auto& s = synth.settings;
        s.Lfo1Active = true;
        s.Lfo1WaveType = LfoWave::sine;
        s.Lfo1Speed = 0.5;
        s.Lfo1Mode = LfoMode::retrigger;
        s.Lfo1Target = LfoTarget::amp;
        s.Lfo1Mix = 1.0;
    }

    Velmora synth;
    Lfo lfo { synth };
};

TEST_F (LfoFixture, UnsynchronisedRateIsTenTimesTheSpeed)
{
    for (auto [speed, hz] : { std::pair { 0.5, 5.0 }, { 1.0, 10.0 }, { 0.0, 0.0 } })
    {
        synth.settings.Lfo1Speed = speed;
        lfo.refresh();
        EXPECT_DOUBLE_EQ (lfo.getRate(), hz);
        EXPECT_DOUBLE_EQ (lfo.getPhaseIncrement(), twoPi * hz / 44100.0);
    }
}

TEST_F (LfoFixture, SynchronisedRateIsWholeHertzFromTempoAndSampleRate)
{
    synth.settings.Lfo1Sync = true;
    synth.tempo = 120.0;

    synth.settings.Lfo1Speed = 1.0;
    lfo.refresh();
    EXPECT_EQ (lfo.getRate(), 9.0);

    synth.settings.Lfo1Speed = 0.1;
    lfo.refresh();
    EXPECT_EQ (lfo.getRate(), 0.0);

    synth.settings.Lfo1Speed = 0.11;
    lfo.refresh();
    EXPECT_EQ (lfo.getRate(), 1.0);

    synth.settings.Lfo1Speed = 1.0;
    lfo.prepare (48000.0);
    lfo.refresh();
    EXPECT_EQ (lfo.getRate(), 10.0);

    synth.tempo = 240.0;
    lfo.refresh();
    EXPECT_EQ (lfo.getRate(), 5.0);
}

TEST_F (LfoFixture, AtRateZeroThePhaseStandsStill)
{
    synth.settings.Lfo1Sync = true;
    synth.settings.Lfo1Speed = 0.1;
    lfo.nextValue (true);
    lfo.nextValue (true);
    const auto phase = lfo.getPhase();

    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ (lfo.nextValue (true), std::sin (phase));

    EXPECT_EQ (lfo.getPhase(), phase);
}

TEST_F (LfoFixture, ANewSampleRateAloneRecomputesThePhaseIncrement)
{
    lfo.refresh();

    for (auto rate : { 48000.0, 96000.0, 44100.0 })
    {
        lfo.prepare (rate);
        lfo.refresh();
        EXPECT_EQ (lfo.getRate(), 5.0);
        EXPECT_DOUBLE_EQ (lfo.getPhaseIncrement(), twoPi * 5.0 / rate) << rate;
    }
}

TEST_F (LfoFixture, SineIsTakenFromThePhaseBeforeItAdvances)
{
    lfo.retrigger (44100.0);
    const auto increment = twoPi * 5.0 / 44100.0;

    EXPECT_EQ (lfo.nextValue (true), 0.0);
    EXPECT_DOUBLE_EQ (lfo.nextValue (true), std::sin (increment));
    EXPECT_DOUBLE_EQ (lfo.nextValue (true), std::sin (2.0 * increment));
}

TEST_F (LfoFixture, SquareIsPlusMixForHalfACycleThenMinusMix)
{
    synth.settings.Lfo1WaveType = LfoWave::square;
    synth.settings.Lfo1Mix = 0.75;
    lfo.retrigger (44100.0);

    // 5 Hz: 8820 samples per cycle.
    int positive = 0, negative = 0;

    for (int i = 0; i < 8820; ++i)
    {
        const auto v = lfo.nextValue (true);
        ASSERT_TRUE (v == 0.75 || v == -0.75) << v;
        (v > 0.0 ? positive : negative)++;

        if (i < 4410)
        {
            ASSERT_EQ (v, 0.75) << i;
        }
    }

    EXPECT_NEAR (positive, 4410, 1);
    EXPECT_NEAR (negative, 4410, 1);
}

TEST_F (LfoFixture, RetriggerContinuesThePhaseAndStartsUnsynchronised)
{
    synth.settings.Lfo1Sync = true;
    synth.settings.Lfo1Speed = 1.0;
    lfo.retrigger (44100.0);
    EXPECT_EQ (lfo.getRate(), 10.0);

    for (int i = 0; i < 100; ++i)
        lfo.nextValue (true);

    const auto phase = lfo.getPhase();
    EXPECT_GT (phase, 0.0);
    EXPECT_EQ (lfo.getRate(), 9.0);

    lfo.retrigger (44100.0);
    EXPECT_EQ (lfo.getPhase(), phase);
}

TEST_F (LfoFixture, EnvelopeScalesTheDepth)
{
    synth.settings.Lfo1WaveType = LfoWave::square;
    synth.settings.Lfo1Mix = 0.5;
    synth.settings.EnvLfo1Active = true;
    synth.settings.EnvLfo1Attack = 0.0;
    synth.settings.EnvLfo1Decay = 0.0;
    synth.settings.EnvLfo1Sustain = 0.4;
    lfo.retrigger (44100.0);

    EXPECT_EQ (lfo.nextValue (true), 0.5);
    EXPECT_EQ (lfo.nextValue (true), 0.4 * 0.5);
    EXPECT_EQ (lfo.nextValue (true), 0.4 * 0.5);
}

TEST_F (LfoFixture, SpeedsFarBeyondTheRangeNeitherHangNorSpoilThePhase)
{
    constexpr auto infinity = std::numeric_limits<double>::infinity();

    for (auto speed : { 1.0e30, infinity, -infinity, std::numeric_limits<double>::quiet_NaN() })
    {
        synth.settings.Lfo1Speed = speed;

        for (int i = 0; i < 10; ++i)
            lfo.nextValue (true);

        EXPECT_TRUE (std::isfinite (lfo.getPhase())) << speed;

        // Back in range, the LFO moves on normally.
        synth.settings.Lfo1Speed = 0.5;
        const auto phase = lfo.getPhase();
        EXPECT_TRUE (std::isfinite (lfo.nextValue (true))) << speed;
        EXPECT_NEAR (lfo.getPhase(), std::fmod (phase + twoPi * 5.0 / 44100.0, twoPi), 1.0e-12) << speed;
    }
}

//==============================================================================
struct MixZero : public LfoFixture, public ::testing::WithParamInterface<int> {};

TEST_P (MixZero, ModulatesNothing)
{
    synth.settings.Lfo1WaveType = GetParam();
    synth.settings.Lfo1Mix = 0.0;
    lfo.retrigger (44100.0);

    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ (lfo.nextValue (true), 0.0);
}

INSTANTIATE_TEST_SUITE_P (Lfo, MixZero, ::testing::Values ((int) LfoWave::sine, (int) LfoWave::square));

//==============================================================================
// A held sine note, with and without the LFO, rendered by real processors.
struct LfoOnTheOutput
{
    static void holdASine (ProcessorFixture& fixture)
    {
        fixture.set ("Osc2Active", 0.0f);
        fixture.set ("EnvAmpOsc1Attack", 0.0f);
        fixture.set ("EnvAmpOsc1Sustain", 1.0f);
    }

    static void squareLfo (ProcessorFixture& fixture, float mode, float target)
    {
        fixture.set ("Lfo1WaveType", 1.0f);
        fixture.set ("Lfo1Speed", 0.5f);
        fixture.set ("Lfo1Mix", 1.0f);
        fixture.set ("Lfo1Mode", mode);
        fixture.set ("Lfo1Target", target);
        fixture.set ("Lfo1Active", 1.0f);
    }

    static juce::AudioBuffer<float> reference (double sampleRate, int numSamples, int channels = 2)
    {
        ProcessorFixture plain (sampleRate);
        holdASine (plain);
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, 69, 1.0f), 0);
        return plain.render (numSamples, midi, channels);
    }

    // Every sample is the reference times 2 or times 0; returns how many were gated.
    static int expectChoppedBetweenTwoAndZero (const juce::AudioBuffer<float>& output,
                                               const juce::AudioBuffer<float>& reference, int channel)
    {
        int gated = 0;

        for (int i = 0; i < output.getNumSamples(); ++i)
        {
            const auto v = output.getSample (channel, i);
            const auto r = reference.getSample (channel, i);

            if (v == 0.0f && r != 0.0f)
                ++gated;
            else if (v != 2.0f * r)
                ADD_FAILURE() << "sample " << i << ": " << v << " against " << r;
        }

        return gated;
    }

    // Where the output falls silent for at least 100 samples in a row.
    static std::vector<int> gateClosings (const juce::AudioBuffer<float>& output)
    {
        std::vector<int> closings;
        int run = 0;

        for (int i = 0; i < output.getNumSamples(); ++i)
        {
            run = output.getSample (0, i) == 0.0f ? run + 1 : 0;

            if (run == 100)
                closings.push_back (i - 99);
        }

        return closings;
    }
};

struct LfoModes : public LfoOnTheOutput, public ::testing::TestWithParam<float> {};

TEST_P (LfoModes, SquareAtFullMixChopsTheNoteBetweenGainTwoAndZero)
{
    ProcessorFixture fixture;
    holdASine (fixture);
    squareLfo (fixture, GetParam(), 0.0f);

    const auto output = fixture.renderNote (69, 1.0f, 48000);
    const auto plain = reference (48000.0, 48000);

    for (int channel = 0; channel < 2; ++channel)
        EXPECT_NEAR (expectChoppedBetweenTwoAndZero (output, plain, channel), 24000, 10);
}

INSTANTIATE_TEST_SUITE_P (Lfo, LfoModes, ::testing::Values (0.0f, 1.0f));

struct InaudibleLfo : public LfoOnTheOutput, public ::testing::TestWithParam<std::tuple<float, float, float>> {};

TEST_P (InaudibleLfo, LeavesTheNoteUntouched)
{
    const auto [mode, target, mix] = GetParam();

    ProcessorFixture fixture;
    holdASine (fixture);
    squareLfo (fixture, mode, target);
    fixture.set ("Lfo1Mix", mix);

    const auto output = fixture.renderNote (69, 1.0f, 24000);
    const auto plain = reference (48000.0, 24000);

    for (int i = 0; i < 24000; ++i)
    {
        ASSERT_EQ (output.getSample (0, i), plain.getSample (0, i)) << i;
        ASSERT_EQ (output.getSample (1, i), plain.getSample (1, i)) << i;
    }
}

// The filter target does nothing while the filter is off (as it is for this note).
INSTANTIATE_TEST_SUITE_P (FilterTargetWithoutTheFilterAndMixZero, InaudibleLfo,
                          ::testing::Values (std::make_tuple (0.0f, 2.0f, 1.0f), std::make_tuple (1.0f, 2.0f, 1.0f),
                                             std::make_tuple (0.0f, 1.0f, 0.0f), std::make_tuple (1.0f, 1.0f, 0.0f),
                                             std::make_tuple (0.0f, 0.0f, 0.0f), std::make_tuple (1.0f, 0.0f, 0.0f)));

// The ramps and the pump at 1 Hz on the amplitude at full mix, in both modes: the gain of a
// held sine, measured from the rendered samples a fifth, a quarter, a half and three
// quarters into the cycle and near its end.
struct ShapeCase
{
    int wave;
    std::array<double, 5> gains;         // at 0.05, 0.25, 0.5, 0.75 and 0.95 of the cycle
};

[[maybe_unused]] static void PrintTo (const ShapeCase& c, std::ostream* os)
{
    *os << ParameterItems::lfoWave[c.wave];
}

struct LfoShapes : public LfoOnTheOutput, public ::testing::TestWithParam<std::tuple<ShapeCase, float>> {};

TEST_P (LfoShapes, ShapeTheGainOfAHeldNote)
{
    const auto [shape, mode] = GetParam();
    constexpr double rate = 48000.0;

    ProcessorFixture fixture (rate);
    holdASine (fixture);
    fixture.set ("Lfo1WaveType", (float) shape.wave);
    fixture.set ("Lfo1Speed", 0.1f);                        // 1 Hz
    fixture.set ("Lfo1Mix", 1.0f);
    fixture.set ("Lfo1Mode", mode);
    fixture.set ("Lfo1Target", 0.0f);
    fixture.set ("Lfo1Active", 1.0f);

    const auto output = fixture.renderNote (69, 1.0f, (int) rate);
    const auto plain = reference (rate, (int) rate);
    const double at[] = { 0.05, 0.25, 0.5, 0.75, 0.95 };

    for (size_t k = 0; k < 5; ++k)
    {
        // Two cycles of the note around the point, against the note without the LFO.
        const auto centre = (int) (at[k] * rate);
        const auto gain = testing_helpers::peakOf (output, 0, centre - 109, 218)
                            / testing_helpers::peakOf (plain, 0, centre - 109, 218);
        EXPECT_NEAR (gain, shape.gains[k], 0.01) << "wave " << shape.wave << " mode " << mode << " at " << at[k];
    }
}

INSTANTIATE_TEST_SUITE_P (Lfo, LfoShapes, ::testing::Combine (::testing::Values (
    ShapeCase { LfoWave::sawUp,   { 0.1, 0.5, 1.0, 1.5, 1.9 } },                 // a rising ramp
    ShapeCase { LfoWave::sawDown, { 1.9, 1.5, 1.0, 0.5, 0.1 } },                 // a falling ramp
    ShapeCase { LfoWave::pump,    { 0.0975, 0.4375, 0.75, 0.9375, 0.9975 } }),   // a duck that recovers
    ::testing::Values (0.0f, 1.0f)));

struct GlobalLfoSpeed : public LfoOnTheOutput, public ::testing::TestWithParam<double> {};

TEST_P (GlobalLfoSpeed, FiveHertzIsFiveHertzAtEverySampleRate)
{
    const auto sampleRate = GetParam();
    ProcessorFixture fixture (sampleRate);
    holdASine (fixture);
    squareLfo (fixture, 0.0f, 0.0f);

    const auto output = fixture.renderNote (69, 1.0f, (int) sampleRate);
    const auto closings = gateClosings (output);

    // Five cycles in a second; the gate closes half a cycle in.
    ASSERT_EQ (closings.size(), 5u);
    EXPECT_NEAR (closings[0], sampleRate / 10.0, 1.0);

    for (size_t i = 1; i < closings.size(); ++i)
        EXPECT_NEAR (closings[i] - closings[i - 1], sampleRate / 5.0, 1.0);
}

INSTANTIATE_TEST_SUITE_P (Lfo, GlobalLfoSpeed, ::testing::Values (44100.0, 48000.0, 96000.0));

TEST (GlobalLfo, InTheOneChannelConfigurationModulatesChannelZeroOnly)
{
    ProcessorFixture fixture;
    LfoOnTheOutput::holdASine (fixture);
    LfoOnTheOutput::squareLfo (fixture, 0.0f, 0.0f);

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 69, 1.0f), 0);
    const auto output = fixture.render (24000, midi, 1);
    const auto plain = LfoOnTheOutput::reference (48000.0, 24000, 1);

    EXPECT_NEAR (LfoOnTheOutput::expectChoppedBetweenTwoAndZero (output, plain, 0), 9600, 10);   // two half cycles of 4800 samples
}

//==============================================================================
// Free mode with the LFO envelope: key presses re-arm it as a whole, not one by one.
struct GlobalLfoEnvelope : public ProcessorFixture, public ::testing::Test
{
    GlobalLfoEnvelope()
    {
        set ("Lfo1Active", 1.0f);
        set ("EnvLfo1Active", 1.0f);
        set ("EnvLfo1Attack", 0.5f);           // 1.5 s
    }

    void press (int note)
    {
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, note, 1.0f), 0);
        render (blockSize, midi);
    }

    void releaseKey (int note)
    {
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOff (1, note), 0);
        render (blockSize, midi);
    }

    double envelopeOutput() { return processor.synthAudioSource->getGlobalLfo().getEnvelope().getOutput(); }
};

TEST_F (GlobalLfoEnvelope, ASecondKeyWhileTheFirstIsHeldDoesNotRestartIt)
{
    press (60);
    const auto afterOneBlock = envelopeOutput();
    EXPECT_GT (afterOneBlock, 0.0);

    render (10 * blockSize);
    const auto before = envelopeOutput();

    press (64);
    EXPECT_GT (envelopeOutput(), before);
}

TEST_F (GlobalLfoEnvelope, ReleasingAllKeysAndPressingAgainRestartsIt)
{
    press (60);
    const auto afterOneBlock = envelopeOutput();
    render (10 * blockSize);

    // The voice's release still sounds, so the envelope runs on.
    releaseKey (60);
    EXPECT_GT (countActiveVoices(), 0);
    EXPECT_GT (envelopeOutput(), afterOneBlock);

    press (60);
    EXPECT_EQ (envelopeOutput(), afterOneBlock);
}

TEST_F (GlobalLfoEnvelope, RestsOnceEveryVoiceHasFinished)
{
    set ("EnvAmpOsc1Release", 0.0f);
    set ("EnvAmpOsc2Release", 0.0f);
    press (60);
    releaseKey (60);
    render (blockSize);

    EXPECT_EQ (countActiveVoices(), 0);
    EXPECT_TRUE (processor.synthAudioSource->getGlobalLfo().getEnvelope().isIdle());
}
