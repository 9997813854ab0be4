#include "Engine/VoiceLfo.h"
#include "Engine/Velmora.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

using testing_helpers::ProcessorFixture;

namespace
{
    constexpr double twoPi = juce::MathConstants<double>::twoPi;
}

//==============================================================================
// The rate the settings give: ten times the speed in Hz, or synchronised one cycle per
// note value of the tempo, whatever the sample rate.
struct RateCase
{
    bool sync;
    float speed;
    double tempo;
    double hz;
};

struct LfoRates : public ::testing::TestWithParam<RateCase> {};

TEST_P (LfoRates, FollowTheSpeedOrTheNoteValueAtTheTempo)
{
    const auto c = GetParam();
    Velmora synth;
    synth.settings.Lfo1Sync = c.sync;
    synth.settings.Lfo1Speed = c.speed;
    synth.setTempo (c.tempo);
    EXPECT_NEAR (synth.getLfoSettings().rate, c.hz, 1.0e-12);
}

INSTANTIATE_TEST_SUITE_P (Lfo, LfoRates, ::testing::Values (
    RateCase { false, 0.5f, 120.0, 5.0 }, RateCase { false, 1.0f, 120.0, 10.0 }, RateCase { false, 0.0f, 120.0, 0.0 },
    RateCase { true, 0.62f, 120.0, 2.0 },               // 1/4: two beats a second
    RateCase { true, 0.62f, 90.0, 1.5 },
    RateCase { true, 0.82f, 120.0, 6.0 },               // 1/8T: three per beat
    RateCase { true, 0.0f, 120.0, 1.0 / 16.0 },         // 8 bars
    RateCase { true, 1.0f, 60.0, 8.0 }));               // 1/32

//==============================================================================
// One voice LFO with the settings the tests give it: 5 Hz sine at full mix, retriggered.
struct LfoFixture : public ::testing::Test
{
    LfoFixture()
    {
        note.lfoOn = true;
        note.lfo = settings;
    }

    void retrigger (double rate = 44100.0)
    {
        note.lfo = settings;
        lfo.retrigger (note, rate);
        lfo.refresh (settings);
    }

    double next()
    {
        lfo.refresh (settings);
        return lfo.nextValue();
    }

    LfoSettings settings { LfoWave::sine, LfoMode::retrigger, false, 0.5, 1.0, 5.0 };
    NoteSettings note;
    VoiceLfo lfo;
};

TEST_F (LfoFixture, AtRateZeroThePhaseStandsStill)
{
    retrigger();
    next();
    next();
    settings.rate = 0.0;
    const auto phase = lfo.getPhase();

    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ (next(), std::sin (phase));

    EXPECT_EQ (lfo.getPhase(), phase);
}

TEST_F (LfoFixture, TheSampleRateOfTheNoteGivesThePhaseIncrement)
{
    for (auto rate : { 48000.0, 96000.0, 44100.0 })
    {
        retrigger (rate);
        EXPECT_EQ (lfo.getRate(), 5.0);
        EXPECT_DOUBLE_EQ (lfo.getPhaseIncrement(), twoPi * 5.0 / rate) << rate;
    }
}

TEST_F (LfoFixture, SineIsTakenFromThePhaseBeforeItAdvances)
{
    retrigger();
    const auto increment = twoPi * 5.0 / 44100.0;

    EXPECT_EQ (next(), 0.0);
    EXPECT_DOUBLE_EQ (next(), std::sin (increment));
    EXPECT_DOUBLE_EQ (next(), std::sin (2.0 * increment));
}

TEST_F (LfoFixture, SquareIsPlusMixForHalfACycleThenMinusMix)
{
    settings.wave = LfoWave::square;
    settings.mix = 0.75;
    retrigger();

    // 5 Hz: 8820 samples per cycle.
    int positive = 0, negative = 0;

    for (int i = 0; i < 8820; ++i)
    {
        const auto v = next();
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

TEST_F (LfoFixture, RetriggerContinuesThePhase)
{
    retrigger();

    for (int i = 0; i < 100; ++i)
        next();

    const auto phase = lfo.getPhase();
    EXPECT_GT (phase, 0.0);

    retrigger();
    EXPECT_EQ (lfo.getPhase(), phase);
}

TEST_F (LfoFixture, EnvelopeScalesTheDepth)
{
    settings.wave = LfoWave::square;
    settings.mix = 0.5;
    note.lfoEnvelopeOn = true;
    note.lfoEnvelope = { 0.0, 0.0, 0.4, 0.0 };
    retrigger();

    EXPECT_EQ (next(), 0.5);
    EXPECT_EQ (next(), 0.4 * 0.5);
    EXPECT_EQ (next(), 0.4 * 0.5);
}

TEST_F (LfoFixture, SpeedsFarBeyondTheRangeNeitherHangNorSpoilThePhase)
{
    constexpr auto infinity = std::numeric_limits<double>::infinity();
    retrigger();

    for (auto rate : { 1.0e31, infinity, -infinity, std::numeric_limits<double>::quiet_NaN() })
    {
        settings.rate = rate;

        for (int i = 0; i < 10; ++i)
            next();

        EXPECT_TRUE (std::isfinite (lfo.getPhase())) << rate;

        // Back in range, the LFO moves on normally.
        settings.rate = 5.0;
        const auto phase = lfo.getPhase();
        EXPECT_TRUE (std::isfinite (next())) << rate;
        EXPECT_NEAR (lfo.getPhase(), std::fmod (phase + twoPi * 5.0 / 44100.0, twoPi), 1.0e-12) << rate;
    }
}

//==============================================================================
struct MixZero : public LfoFixture, public ::testing::WithParamInterface<int> {};

TEST_P (MixZero, ModulatesNothing)
{
    settings.wave = GetParam();
    settings.mix = 0.0;
    retrigger();

    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ (next(), 0.0);
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

// Synchronised, a cycle lasts its note value at the tempo, whatever the sample rate, and
// in Free mode the cycle follows the song position: a quarter note gates a held note on
// every beat, half a beat in, counted from the song's start.
struct SyncCase
{
    double sampleRate, bpm, startBeats;
};

struct SynchronisedGlobalLfo : public LfoOnTheOutput, public ::testing::TestWithParam<SyncCase> {};

TEST_P (SynchronisedGlobalLfo, CyclesOncePerNoteValueOnTheSongsBeats)
{
    const auto c = GetParam();
    ProcessorFixture fixture (c.sampleRate);
    holdASine (fixture);
    squareLfo (fixture, 0.0f, 0.0f);
    fixture.set ("Lfo1Sync", 1.0f);
    fixture.set ("Lfo1Speed", 0.62f);                       // 1/4

    testing_helpers::TestPlayHead playHead;
    playHead.bpm = c.bpm;
    playHead.startBeats = c.startBeats;
    fixture.play (playHead);

    const auto closings = gateClosings (fixture.renderNote (69, 1.0f, (int) (2.0 * c.sampleRate)));
    const auto beat = 60.0 / c.bpm * c.sampleRate;
    const auto toHalfBeat = std::fmod (0.5 - std::fmod (c.startBeats, 1.0) + 1.0, 1.0);

    ASSERT_GE (closings.size(), 2u);
    EXPECT_NEAR (closings[0], toHalfBeat * beat, 1.0);

    for (size_t i = 1; i < closings.size(); ++i)
        EXPECT_NEAR (closings[i] - closings[i - 1], beat, 1.0);
}

INSTANTIATE_TEST_SUITE_P (Lfo, SynchronisedGlobalLfo, ::testing::Values (
    SyncCase { 44100.0, 120.0, 0.0 }, SyncCase { 96000.0, 120.0, 0.0 }, SyncCase { 44100.0, 90.0, 0.0 },
    SyncCase { 96000.0, 90.0, 0.0 }, SyncCase { 48000.0, 120.0, 1.25 }));

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

//==============================================================================
// The LFO on the pitch and on the filter, at 5 Hz, in both modes. A first note plays from
// the start, a second half an LFO cycle later; each voice's part of the output is measured
// in windows of 10 ms: its pitch in semitones (Pitch target) or the energy of the output's
// sample-to-sample steps, which the high partials dominate (Filter target).
struct TargetCase
{
    int target;
    float mode;
};

[[maybe_unused]] static void PrintTo (const TargetCase& c, std::ostream* os)
{
    *os << ParameterItems::lfoTarget[c.target] << ", " << ParameterItems::lfoMode[(int) c.mode];
}

struct LfoTargets : public ::testing::TestWithParam<TargetCase>
{
    static constexpr double rate = 48000.0;
    static constexpr int window = 480;
    static constexpr int numWindows = 100;
    static constexpr int secondNoteStart = 4800;          // half a cycle of the LFO

    // A4 alone, or A4 and A5 from secondNoteStart on, with the LFO on the target.
    static juce::AudioBuffer<float> render (const TargetCase& c, bool withSecondNote)
    {
        ProcessorFixture fixture (rate);
        fixture.set ("Osc2Active", 0.0f);
        fixture.set ("EnvAmpOsc1Attack", 0.0f);
        fixture.set ("EnvAmpOsc1Sustain", 1.0f);
        fixture.set ("Lfo1WaveType", 0.0f);
        fixture.set ("Lfo1Speed", 0.5f);                                  // 5 Hz
        fixture.set ("Lfo1Mode", c.mode);
        fixture.set ("Lfo1Target", (float) c.target);
        fixture.set ("Lfo1Active", 1.0f);

        if (c.target == LfoTarget::pitch)
        {
            fixture.set ("Lfo1Mix", 1.0f / 12.0f);                         // +-1 semitone
        }
        else
        {
            fixture.set ("Osc1WaveType", 3.0f);                            // sawtooth
            fixture.set ("Filter1Active", 1.0f);
            fixture.set ("Filter1Cutoff", 0.4f);                           // 2000 Hz
            fixture.set ("Lfo1Mix", 0.5f);                                 // 1000 ... 3000 Hz
        }

        juce::AudioBuffer<float> result (2, window * numWindows);
        const auto start = fixture.renderNote (69, 1.0f, secondNoteStart);
        juce::MidiBuffer second;

        if (withSecondNote)
            second.addEvent (juce::MidiMessage::noteOn (1, 81, 1.0f), 0);

        const auto rest = fixture.render (result.getNumSamples() - secondNoteStart, second);

        for (int channel = 0; channel < 2; ++channel)
        {
            result.copyFrom (channel, 0, start, channel, 0, secondNoteStart);
            result.copyFrom (channel, secondNoteStart, rest, channel, 0, rest.getNumSamples());
        }

        return result;
    }

    // One value per window: semitones from the note's own pitch, or the step energy.
    static std::vector<double> trace (const juce::AudioBuffer<float>& audio, int target, double noteHz)
    {
        std::vector<double> values;

        for (int w = 0; w < numWindows; ++w)
        {
            if (target == LfoTarget::pitch)
            {
                const auto hz = testing_helpers::measureFrequency (audio, 0, w * window, window, rate);
                values.push_back (hz > 0.0 ? 12.0 * std::log2 (hz / noteHz) : 0.0);
            }
            else
            {
                double energy = 0.0;

                for (int i = w * window + 1; i < (w + 1) * window; ++i)
                    energy += juce::square ((double) audio.getSample (0, i) - audio.getSample (0, i - 1));

                values.push_back (energy);
            }
        }

        return values;
    }

    // How many times the trace rises from its lower third into its upper third.
    static int countRises (const std::vector<double>& values)
    {
        const auto [low, high] = std::minmax_element (values.begin(), values.end());
        const auto lower = *low + (*high - *low) / 3.0, upper = *high - (*high - *low) / 3.0;
        int rises = 0;
        bool below = values.front() < lower;

        for (const auto v : values)
        {
            if (below && v > upper)
            {
                ++rises;
                below = false;
            }
            else if (v < lower)
            {
                below = true;
            }
        }

        return rises + (values.front() >= lower ? 1 : 0);   // a trace starting mid-way rises first
    }

    static double correlation (const std::vector<double>& a, const std::vector<double>& b, size_t from)
    {
        const auto n = (double) (a.size() - from);
        double meanA = 0.0, meanB = 0.0;

        for (auto i = from; i < a.size(); ++i)
        {
            meanA += a[i] / n;
            meanB += b[i] / n;
        }

        double ab = 0.0, aa = 0.0, bb = 0.0;

        for (auto i = from; i < a.size(); ++i)
        {
            ab += (a[i] - meanA) * (b[i] - meanB);
            aa += juce::square (a[i] - meanA);
            bb += juce::square (b[i] - meanB);
        }

        return ab / std::sqrt (aa * bb);
    }
};

TEST_P (LfoTargets, MoveEachVoiceAtTheLfoRateInStepInFreeMode)
{
    const auto c = GetParam();
    const auto first = render (c, false);
    auto both = render (c, true);

    // The second voice's part: voices add into the output, so the first one's comes off.
    for (int channel = 0; channel < 2; ++channel)
        both.addFrom (channel, 0, first, channel, 0, both.getNumSamples(), -1.0f);

    const auto firstTrace = trace (first, c.target, 440.0);
    const auto secondTrace = trace (both, c.target, 880.0);

    // Five cycles in the second.
    EXPECT_EQ (countRises (firstTrace), 5);

    if (c.target == LfoTarget::pitch)
    {
        const auto [low, high] = std::minmax_element (firstTrace.begin(), firstTrace.end());
        EXPECT_NEAR (440.0 * std::exp2 (*low / 12.0), 415.3, 1.5);
        EXPECT_NEAR (440.0 * std::exp2 (*high / 12.0), 466.2, 1.5);
    }
    else
    {
        const auto [low, high] = std::minmax_element (firstTrace.begin(), firstTrace.end());
        EXPECT_GT (*high / *low, 2.0);
    }

    // Free: both voices follow the one LFO. Retrigger: the second voice's own LFO started
    // half a cycle after the first's.
    const auto r = correlation (firstTrace, secondTrace, (size_t) (secondNoteStart / window + 2));

    if (c.mode == (float) LfoMode::freeRunning)
        EXPECT_GT (r, 0.9);
    else
        EXPECT_LT (r, -0.9);
}

INSTANTIATE_TEST_SUITE_P (Lfo, LfoTargets, ::testing::Values (
    TargetCase { LfoTarget::pitch, 0.0f }, TargetCase { LfoTarget::pitch, 1.0f },
    TargetCase { LfoTarget::filter, 0.0f }, TargetCase { LfoTarget::filter, 1.0f }));
