#include "Engine/Oscillator.h"
#include "Model/ParameterTable.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

namespace
{
    double noteHz (int note) { return 440.0 * std::pow (2.0, (note - 69) / 12.0); }

    // Oscillator 1 with neutral settings: sine, gain 1, no detune, no offset, range 2,
    // sustain 1, no pitch envelope, wheel centred.
    struct OscillatorFixture : public ::testing::Test
    {
        OscillatorFixture()
        {
            note.on = true;
            note.wave = OscillatorWave::sine;
            note.gain = 1.0;
            note.pitchRange = 2;
            note.pitchEnvRange = 1;
            note.amplitude = { 0.0, 0.0, 1.0, 0.1 };
        }

        void start (int midiNote = 69)  { oscillator.start (note, lfoTarget, 1.0, sampleRate, midiNote, wheel); }
        void refresh()                  { oscillator.refresh (block, wheel); }

        const double sampleRate = 48000.0;
        OscillatorNoteSettings note;
        OscillatorBlockSettings block { true, 1.0, 0.0, 0.0 };
        int wheel = 8192;
        int lfoTarget = LfoTarget::amp;
        Oscillator oscillator { 0 };
    };
}

TEST_F (OscillatorFixture, NoteSixtyNineWithoutOffsetOrDetuneIsFourHundredForty)
{
    start();
    EXPECT_DOUBLE_EQ (oscillator.getBentFrequency(), 440.0);
    EXPECT_DOUBLE_EQ (oscillator.getPhaseIncrement(), 2.0 * juce::MathConstants<double>::pi * 440.0 / sampleRate);
}

TEST_F (OscillatorFixture, OffsetMovesByWholeSemitones)
{
    note.offset = 12;
    start();
    EXPECT_DOUBLE_EQ (oscillator.getFrequency(), 880.0);

    note.offset = -12;
    start();
    EXPECT_DOUBLE_EQ (oscillator.getFrequency(), 220.0);
}

TEST_F (OscillatorFixture, DetuneMovesLinearlyInHertzTowardsTheNeighbouringSemitone)
{
    note.detune = 1.0;
    start();
    EXPECT_NEAR (oscillator.getFrequency(), noteHz (70), 1e-9);

    note.detune = -1.0;
    start();
    EXPECT_NEAR (oscillator.getFrequency(), noteHz (68), 1e-9);

    note.detune = 0.5;
    start();
    EXPECT_NEAR (oscillator.getFrequency(), (440.0 + noteHz (70)) / 2.0, 1e-9);
    EXPECT_NEAR (oscillator.getFrequency(), 453.08, 0.01);
}

TEST_F (OscillatorFixture, DetuneChangedDuringTheNoteIsFollowedAtTheNextSample)
{
    start();
    block.detune = 1.0;
    refresh();
    oscillator.nextSample (0.0);
    EXPECT_NEAR (oscillator.getBentFrequency(), noteHz (70), 1e-9);
}

TEST_F (OscillatorFixture, WheelBendsInWholePercentOfThePitchRange)
{
    wheel = 0;
    start();
    EXPECT_NEAR (oscillator.getBentFrequency(), noteHz (67), 1e-9);

    wheel = 16383;                                     // t = 99
    refresh();
    EXPECT_NEAR (oscillator.getBentFrequency(), 440.0 + (noteHz (71) - 440.0) / 100.0 * 99.0, 1e-9);

    wheel = 16384;                                     // the editor's full deflection
    refresh();
    EXPECT_NEAR (oscillator.getBentFrequency(), noteHz (71), 1e-9);
}

TEST_F (OscillatorFixture, WheelWithinOnePercentOfCentreAndRangeZeroDoNotBend)
{
    start();

    for (const int wheel : { 8111, 8150, 8273 })
    {
        this->wheel = wheel;
        refresh();
        EXPECT_DOUBLE_EQ (oscillator.getBentFrequency(), 440.0) << wheel;
    }

    wheel = 8110;
    refresh();
    EXPECT_LT (oscillator.getBentFrequency(), 440.0);

    note.pitchRange = 0;
    wheel = 0;
    start();
    EXPECT_DOUBLE_EQ (oscillator.getBentFrequency(), 440.0);
}

TEST_F (OscillatorFixture, PitchEnvelopeRisesFromOneStepBelowAndSitsAtPitchDuringDecay)
{
    note.pitchEnvOn = true;
    note.pitch = { 0.01, 0.01, 0.5, 0.01 };
    start();

    oscillator.nextSample (0.0);
    EXPECT_NEAR (oscillator.getFrequency(), noteHz (68), 0.5);     // attack just begun

    while (oscillator.getPitchEnvelope().getStage() == Envelope::attackStage)
        oscillator.nextSample (0.0);

    oscillator.nextSample (0.0);
    ASSERT_EQ (oscillator.getPitchEnvelope().getStage(), Envelope::decayStage);
    EXPECT_DOUBLE_EQ (oscillator.getFrequency(), 440.0);

    while (oscillator.getPitchEnvelope().getStage() == Envelope::decayStage)
        oscillator.nextSample (0.0);

    oscillator.nextSample (0.0);
    // Sustain 0.5 with range 1: half a step below.
    EXPECT_NEAR (oscillator.getFrequency(), 440.0 - (440.0 - noteHz (68)) * 0.5, 1e-9);

    note.pitchEnvDown = true;
    start();
    oscillator.nextSample (0.0);
    EXPECT_NEAR (oscillator.getFrequency(), noteHz (70), 0.5);      // mirrored: one step above
}

TEST_F (OscillatorFixture, WaveformsAtPhaseZero)
{
    note.wave = OscillatorWave::sawtooth;
    start();
    oscillator.setPhase (0.0);                              // the corrected step at the cycle start
    EXPECT_DOUBLE_EQ (oscillator.nextSample (0.0), 0.0);

    note.wave = OscillatorWave::square;
    start (9);
    oscillator.setPhase (1.0);
    EXPECT_DOUBLE_EQ (oscillator.nextSample (0.0), 1.0);
    oscillator.setPhase (4.0);
    EXPECT_DOUBLE_EQ (oscillator.nextSample (0.0), -1.0);
}

TEST_F (OscillatorFixture, SecondNoteContinuesThePhaseAndEveryWaveStaysBounded)
{
    start();

    for (int i = 0; i < 100; ++i)
        oscillator.nextSample (0.0);

    const auto phase = oscillator.getPhase();
    start (60);
    EXPECT_EQ (oscillator.getPhase(), phase);

    for (const int wave : { 0, 1, 2, 3 })
    {
        note.wave = wave;
        start (100);
        double peak = 0.0;

        for (int i = 0; i < 48000; ++i)
            peak = std::max (peak, std::abs (oscillator.nextSample (0.0)));

        EXPECT_GT (peak, 0.1) << wave;
        EXPECT_LT (peak, 1.3) << wave;
        EXPECT_GE (oscillator.getPhase(), 0.0);
        EXPECT_LT (oscillator.getPhase(), 2.0 * juce::MathConstants<double>::pi);
    }
}

TEST_F (OscillatorFixture, SwitchedOffAtNoteOnStaysSilentButIsMarkedStarted)
{
    note.on = false;
    start();
    EXPECT_TRUE (oscillator.hasStarted());
    EXPECT_TRUE (oscillator.getAmplitudeEnvelope().isIdle());

    refresh();
    EXPECT_EQ (oscillator.nextSample (0.0), 0.0);
}

TEST_F (OscillatorFixture, AmpTargetScalesByOnePlusTheLfoOtherTargetsIgnoreIt)
{
    start();
    oscillator.setPhase (1.0);
    const auto plain = oscillator.nextSample (0.0);
    oscillator.setPhase (1.0);
    EXPECT_DOUBLE_EQ (oscillator.nextSample (0.5), plain * 1.5);

    lfoTarget = LfoTarget::pitch;
    start();
    oscillator.setPhase (1.0);
    EXPECT_DOUBLE_EQ (oscillator.nextSample (0.5), plain);
}

TEST_F (OscillatorFixture, AbsurdHostPitchesNeverHangThePhase)
{
    note.offset = 1000;                                  // far above the sample rate
    start (127);

    for (int i = 0; i < 10; ++i)
        oscillator.nextSample (0.0);

    EXPECT_GE (oscillator.getPhase(), 0.0);
    EXPECT_LT (oscillator.getPhase(), 2.0 * juce::MathConstants<double>::pi);
}
