#include "TestHelpers.h"

using testing_helpers::ProcessorFixture;
using testing_helpers::peakOf;
using testing_helpers::measureFrequency;

namespace
{
    constexpr int second = 48000;

    // One held note with a full sustain, so the level after the attack is steady.
    juce::AudioBuffer<float> renderHeld (ProcessorFixture& f, int note = 69, int length = second / 2)
    {
        f.set ("EnvAmpOsc1Sustain", 1.0f);
        f.set ("EnvAmpOsc2Sustain", 1.0f);
        return f.renderNote (note, 1.0f, length);
    }

    double sign (double x) { return (double) ((x > 0.0) - (x < 0.0)); }
}

TEST (Voice, FullVelocitySineAtUnityGainPeaksAtPointOneFiveInBothChannels)
{
    ProcessorFixture f;
    const auto out = renderHeld (f);
    EXPECT_NEAR (peakOf (out, 0), 0.15f, 2e-4f);
    EXPECT_NEAR (peakOf (out, 1), 0.15f, 2e-4f);
    EXPECT_LE (peakOf (out, 0), 0.15f);
}

TEST (Voice, NoteSixtyNineSoundsAtFourHundredFortyHertz)
{
    ProcessorFixture f;
    const auto out = renderHeld (f, 69, second + second / 2);
    EXPECT_NEAR (measureFrequency (out, 0, second / 2, second, f.sampleRate), 440.0, 0.01);
}

TEST (Voice, BothOscillatorsOffGiveSilenceAndFreeTheVoiceAfterOneSample)
{
    ProcessorFixture f;
    f.set ("Osc1Active", 0.0f);
    const auto out = f.renderNote (60, 1.0f, 512);
    EXPECT_EQ (peakOf (out, 0), 0.0f);
    EXPECT_EQ (peakOf (out, 1), 0.0f);
    EXPECT_EQ (f.countActiveVoices(), 0);
}

TEST (Voice, TwoOscillatorsCombineBySignedSoftSum)
{
    ProcessorFixture single;
    single.set ("EnvAmpOsc1Attack", 0.0f);
    const auto one = renderHeld (single, 60, 4096);

    ProcessorFixture both;
    both.set ("EnvAmpOsc1Attack", 0.0f);
    both.set ("EnvAmpOsc2Attack", 0.0f);
    both.set ("Osc2Active", 1.0f);
    const auto two = renderHeld (both, 60, 4096);

    double largest = 0.0;

    for (int i = 0; i < 4096; ++i)
    {
        const double a = one.getSample (0, i);
        EXPECT_NEAR (two.getSample (0, i), 2.0 * a - a * a * sign (a), 1e-6) << i;
        largest = std::max (largest, std::abs (a));
    }

    ASSERT_GT (largest, 0.1);   // the soft part of the sum was exercised
}

TEST (Voice, OppositeOscillatorsCancel)
{
    ProcessorFixture f;
    f.set ("Osc2Active", 1.0f);
    f.set ("Osc2Gain", -0.5f);                       // a host may send gains below zero
    const auto out = renderHeld (f, 60, 4096);
    EXPECT_EQ (peakOf (out, 0), 0.0f);
}

TEST (Voice, PanIsLinearAndUnnormalised)
{
    ProcessorFixture centre;
    const auto c = renderHeld (centre, 60, 4096);

    ProcessorFixture left;
    left.set ("Osc1Pan", 0.0f);
    const auto l = renderHeld (left, 60, 4096);

    EXPECT_EQ (peakOf (l, 1), 0.0f);

    for (int i = 0; i < 4096; i += 7)
        EXPECT_NEAR (l.getSample (0, i), 2.0f * c.getSample (0, i), 1e-6f);
}

TEST (Voice, MasterVolumeScalesTheVoice)
{
    ProcessorFixture full;
    const auto a = renderHeld (full, 60, 4096);

    ProcessorFixture half;
    half.set ("MasterVolume", 0.25f);
    const auto b = renderHeld (half, 60, 4096);

    for (int i = 0; i < 4096; i += 5)
        EXPECT_NEAR (b.getSample (1, i), 0.5f * a.getSample (1, i), 1e-7f);
}

TEST (Voice, MonoReleasesEveryOtherVoiceAndDoesNotBringItBack)
{
    for (const auto mode : { 0.0f, 1.0f, 2.0f })
    {
        ProcessorFixture f;
        f.set ("CurrentPlayMode", mode);
        f.renderNote (60, 1.0f, 1024);

        juce::MidiBuffer second;
        second.addEvent (juce::MidiMessage::noteOn (1, 64, 1.0f), 0);
        f.render (1024, second);

        auto* first = f.voicePlaying (60);
        ASSERT_NE (first, nullptr);
        ASSERT_NE (f.voicePlaying (64), nullptr);

        const bool releasing = first->getOscillator (0).getAmplitudeEnvelope().getStage() == Envelope::releaseStage;
        EXPECT_EQ (releasing, mode == 1.0f) << "play mode " << mode;

        juce::MidiBuffer off;
        off.addEvent (juce::MidiMessage::noteOff (1, 64), 0);
        f.render (1024, off);

        if (mode == 1.0f)
        {
            EXPECT_EQ (first->getOscillator (0).getAmplitudeEnvelope().getStage(), Envelope::releaseStage);
        }
    }
}

TEST (Voice, FreesItselfWhenItsReleaseHasEnded)
{
    ProcessorFixture f;
    f.set ("EnvAmpOsc1Release", 0.02f);              // 0.1 s
    f.renderNote (60, 1.0f, 2048);

    juce::MidiBuffer off;
    off.addEvent (juce::MidiMessage::noteOff (1, 60), 0);
    f.render (2048, off);
    ASSERT_EQ (f.countActiveVoices(), 1);            // still releasing

    const auto tail = f.render (second / 10);
    EXPECT_EQ (f.countActiveVoices(), 0);
    EXPECT_EQ (peakOf (tail, 0, second / 10 - 512), 0.0f);
}

TEST (Voice, StopWithoutTailOffStillRunsTheRelease)
{
    ProcessorFixture f;
    f.renderNote (60, 1.0f, 2048);

    f.processor.synthAudioSource->getSynth().allNotesOff (0, false);
    const auto out = f.render (1024);

    EXPECT_EQ (f.countActiveVoices(), 1);
    EXPECT_GT (peakOf (out, 0, 512), 0.01f);
}

TEST (Voice, PitchWheelOnAnyChannelBendsEveryVoice)
{
    ProcessorFixture f;
    renderHeld (f, 69, second / 2);

    juce::MidiBuffer wheel;
    wheel.addEvent (juce::MidiMessage::pitchWheel (5, 0), 0);
    const auto out = f.render (second, wheel);

    // Range 2: the full downward wheel plays noteHz (67).
    EXPECT_NEAR (measureFrequency (out, 0, 0, second, f.sampleRate), 440.0 * std::pow (2.0, -2.0 / 12.0), 0.01);
}

TEST (Voice, EditorWheelRefreshesVoicesAndCentreLeavesThePitch)
{
    ProcessorFixture f;
    renderHeld (f, 69, second / 2);

    f.processor.synthAudioSource->setPitchWheel (16384);
    auto out = f.render (second);
    EXPECT_NEAR (measureFrequency (out, 0, 0, second, f.sampleRate), 440.0 * std::pow (2.0, 2.0 / 12.0), 0.01);

    f.processor.synthAudioSource->setPitchWheel (8192);
    out = f.render (second);
    EXPECT_NEAR (measureFrequency (out, 0, 0, second, f.sampleRate), 440.0, 0.01);
}

TEST (Voice, ModulationWheelIsRecordedButInaudible)
{
    ProcessorFixture plain;
    const auto a = renderHeld (plain, 60, 4096);

    ProcessorFixture moved;
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::controllerEvent (1, 1, 99), 0);
    moved.set ("EnvAmpOsc1Sustain", 1.0f);
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
    const auto b = moved.render (4096, midi);

    EXPECT_EQ (moved.processor.synthAudioSource->getSynth().modWheelValue, 99);

    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ (a.getSample (0, i), b.getSample (0, i));
}

//==============================================================================
// Glide: A4 held, then A5 a tenth of a second later. The second voice's part of the output
// (the first one's subtracted) is measured in 10 ms windows at its start, a quarter of a
// second in, and at 0.55 s, once a half-second glide has arrived.
namespace
{
    struct GlideCase
    {
        float mode, glide;
        double startHz, quarterHz, arrivedHz;
    };

    void PrintTo (const GlideCase& c, std::ostream* os)    { *os << "mode " << c.mode << " glide " << c.glide; }

    struct Glide : public ::testing::TestWithParam<GlideCase>
    {
        static constexpr int firstLength = second / 10, window = second / 100;

        static juce::AudioBuffer<float> render (float mode, float glide, bool withSecondNote)
        {
            ProcessorFixture f;
            f.set ("Osc2Active", 0.0f);
            f.set ("EnvAmpOsc1Attack", 0.0f);
            f.set ("CurrentPlayMode", mode);
            f.set ("Glide", glide);
            const auto start = renderHeld (f, 69, firstLength);

            juce::MidiBuffer midi;

            if (withSecondNote)
                midi.addEvent (juce::MidiMessage::noteOn (1, 81, 1.0f), 0);

            return f.render (second, midi);
        }
    };
}

TEST_P (Glide, SlidesFromThePreviousNoteInSemitonesOverGlideSquaredTimesTwoSeconds)
{
    const auto c = GetParam();
    auto both = render (c.mode, c.glide, true);
    const auto first = render (c.mode, c.glide, false);
    both.addFrom (0, 0, first, 0, 0, second, -1.0f);

    const auto hzAt = [&] (double seconds) { return measureFrequency (both, 0, (int) (seconds * second), window, second); };
    EXPECT_NEAR (hzAt (0.0), c.startHz, c.startHz * 0.02);
    EXPECT_NEAR (hzAt (0.25 - 0.005), c.quarterHz, c.quarterHz * 0.01);
    EXPECT_NEAR (hzAt (0.55), c.arrivedHz, c.arrivedHz * 0.002);
}

INSTANTIATE_TEST_SUITE_P (Voice, Glide, ::testing::Values (
    GlideCase { 2.0f, 0.5f, 440.0, 622.25, 880.0 },        // half a second: half-way (6 semitones) at 0.25 s
    GlideCase { 2.0f, 0.0f, 880.0, 880.0, 880.0 },
    GlideCase { 0.0f, 0.5f, 880.0, 880.0, 880.0 },         // Poly ignores the knob
    GlideCase { 2.0f, 1.0f, 440.0, 479.82, 532.9 }));      // two seconds: 1.5 semitones at 0.25 s, 3.33 at 0.555 s

// Where no glide sounds, play mode Glide renders sample for sample as Poly: with the knob
// at 0, and for a first note after the synthesiser fell silent.
TEST (Voice, GlideWithoutASlideRendersExactlyAsPoly)
{
    const auto play = [] (float mode, float glide)
    {
        ProcessorFixture f;
        f.set ("CurrentPlayMode", mode);
        f.set ("Glide", glide);
        f.set ("EnvAmpOsc1Release", 0.0f);
        f.set ("EnvAmpOsc2Release", 0.0f);

        juce::MidiBuffer chord, off, later;
        chord.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
        chord.addEvent (juce::MidiMessage::noteOn (1, 64, 0.8f), 100);
        chord.addEvent (juce::MidiMessage::noteOn (1, 67, 0.6f), 300);
        off.addEvent (juce::MidiMessage::allNotesOff (1), 0);
        later.addEvent (juce::MidiMessage::noteOn (1, 72, 1.0f), 0);

        std::vector<float> samples;

        for (const auto& [midi, length] : { std::pair { chord, 4096 }, { off, second }, { later, 4096 } })
        {
            const auto out = f.render (length, midi);
            samples.insert (samples.end(), out.getReadPointer (0), out.getReadPointer (0) + length);
        }

        EXPECT_EQ (f.countActiveVoices(), 1);
        return samples;
    };

    const auto poly = play (0.0f, 0.0f);
    EXPECT_EQ (play (2.0f, 0.0f), poly);
    EXPECT_EQ (play (0.0f, 0.7f), poly);

    // A glide only changes the chord's later notes: the note after the silence starts clean.
    const auto glided = play (2.0f, 0.5f);
    EXPECT_NE (glided, poly);
    EXPECT_TRUE (std::equal (glided.end() - 4096, glided.end(), poly.end() - 4096));
}
