#include "Engine/AnalogFilter.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_helpers::ProcessorFixture;

namespace
{
    constexpr double twoPi = juce::MathConstants<double>::twoPi;

    void setUp (AnalogFilter& filter, float sampleRate, int type, float cutoff, float resonance)
    {
        filter.setSampleRate (sampleRate);
        filter.setType (type);
        filter.set (cutoff, resonance);
    }

    // Both channels carry a sine of this frequency and amplitude 1.
    juce::AudioBuffer<float> sine (double hz, double sampleRate, int length)
    {
        juce::AudioBuffer<float> buffer (2, length);

        for (int i = 0; i < length; ++i)
        {
            const auto v = (float) std::sin (twoPi * hz * i / sampleRate);
            buffer.setSample (0, i, v);
            buffer.setSample (1, i, v);
        }

        return buffer;
    }

    // Steady-state gain for a sine, measured after the filter has settled.
    double gainAt (AnalogFilter& filter, double hz, double sampleRate)
    {
        const int length = (int) sampleRate;
        auto buffer = sine (hz, sampleRate, length);
        filter.process (buffer, 0, length);
        return buffer.getMagnitude (0, length / 2, length / 2);
    }

    double decibels (double gain) { return 20.0 * std::log10 (gain); }
}

//==============================================================================
struct ResonanceToQ : public ::testing::TestWithParam<std::pair<float, float>> {};

TEST_P (ResonanceToQ, IsFiftyTimesTheResonanceButNeverBelowOne)
{
    AnalogFilter filter;
    filter.setResonance (GetParam().first);
    EXPECT_FLOAT_EQ (filter.getQ(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P (AnalogFilter, ResonanceToQ,
                          ::testing::Values (std::make_pair (0.0f, 1.0f), std::make_pair (0.02f, 1.0f),
                                             std::make_pair (0.1f, 5.0f), std::make_pair (0.5f, 25.0f),
                                             std::make_pair (1.0f, 50.0f)));

//==============================================================================
TEST (AnalogFilter, LowpassAtFullCutoffHasUnityDcGainAndCutsFifteenKilohertz)
{
    AnalogFilter filter;
    setUp (filter, 44100.0f, FilterType::lowpass, 1.0f, 0.0f);

    juce::AudioBuffer<float> dc (2, 4000);
    dc.clear();
    juce::FloatVectorOperations::fill (dc.getWritePointer (0), 1.0f, 4000);
    juce::FloatVectorOperations::fill (dc.getWritePointer (1), 1.0f, 4000);
    filter.process (dc, 0, 4000);
    EXPECT_NEAR (dc.getSample (0, 3999), 1.0f, 1.0e-5f);
    EXPECT_NEAR (dc.getSample (1, 3999), 1.0f, 1.0e-5f);

    AnalogFilter fresh;
    setUp (fresh, 44100.0f, FilterType::lowpass, 1.0f, 0.0f);
    EXPECT_LT (decibels (gainAt (fresh, 15000.0, 44100.0)), -25.0);
}

TEST (AnalogFilter, LowpassCornerFollowsTheCutoffLinearlyInHertz)
{
    // The gain at the corner equals Q, here 1.
    for (auto cutoff : { 0.2f, 0.5f, 1.0f })
    {
        AnalogFilter filter;
        setUp (filter, 44100.0f, FilterType::lowpass, cutoff, 0.0f);
        EXPECT_NEAR (gainAt (filter, 5000.0 * cutoff, 44100.0), 1.0, 0.01) << cutoff;
    }
}

TEST (AnalogFilter, HighpassBlocksDirectCurrent)
{
    AnalogFilter filter;
    setUp (filter, 44100.0f, FilterType::highpass, 0.5f, 0.0f);

    juce::AudioBuffer<float> dc (2, 4000);
    juce::FloatVectorOperations::fill (dc.getWritePointer (0), 1.0f, 4000);
    juce::FloatVectorOperations::fill (dc.getWritePointer (1), 1.0f, 4000);
    filter.process (dc, 0, 4000);

    EXPECT_NEAR (dc.getSample (0, 3999), 0.0f, 1.0e-5f);
    EXPECT_LT (filter.getCoefficients().b1, 0.0f);
    EXPECT_NEAR (decibels (gainAt (filter, 15000.0, 44100.0)), 0.0, 1.0);
}

//==============================================================================
struct BandpassCentre : public ::testing::TestWithParam<float> {};

TEST_P (BandpassCentre, PassesItsCentreFrequencyAtZeroDecibels)
{
    AnalogFilter filter;
    setUp (filter, 44100.0f, FilterType::bandpass, 0.5f, GetParam());

    EXPECT_EQ (filter.getCoefficients().b1, 0.0f);
    EXPECT_EQ (filter.getCoefficients().b2, -filter.getCoefficients().b0);
    EXPECT_NEAR (decibels (gainAt (filter, 2500.0, 44100.0)), 0.0, 0.01);
}

INSTANTIATE_TEST_SUITE_P (AnalogFilter, BandpassCentre, ::testing::Values (0.0f, 0.1f, 0.5f, 1.0f));

TEST (AnalogFilter, CutoffsUpToTwoThousandthsGiveATenHertzCorner)
{
    for (auto cutoff : { 0.0f, 0.002f, -1.0f })
    {
        AnalogFilter filter;
        setUp (filter, 44100.0f, FilterType::bandpass, cutoff, 0.0f);

        AnalogFilter tenHertz;
        setUp (tenHertz, 44100.0f, FilterType::bandpass, 10.0f / 5000.0f, 0.0f);

        EXPECT_EQ (filter.getCoefficients().b0, tenHertz.getCoefficients().b0) << cutoff;
        EXPECT_EQ (filter.getCoefficients().a1, tenHertz.getCoefficients().a1) << cutoff;
        EXPECT_EQ (filter.getCoefficients().a2, tenHertz.getCoefficients().a2) << cutoff;
    }
}

//==============================================================================
TEST (AnalogFilter, StatesCarryOverFromOneBlockToTheNext)
{
    AnalogFilter whole, split;
    setUp (whole, 48000.0f, FilterType::lowpass, 0.3f, 0.3f);
    setUp (split, 48000.0f, FilterType::lowpass, 0.3f, 0.3f);

    auto a = sine (1000.0, 48000.0, 1000);
    auto b = a;
    whole.process (a, 0, 1000);
    split.process (b, 0, 333);
    split.process (b, 333, 667);

    for (int i = 0; i < 1000; ++i)
    {
        ASSERT_EQ (a.getSample (0, i), b.getSample (0, i)) << i;
        ASSERT_EQ (a.getSample (1, i), b.getSample (1, i)) << i;
    }
}

TEST (AnalogFilter, ANewTypeResonanceOrSampleRateRecomputesTheCoefficientsForTheSameCutoff)
{
    AnalogFilter filter;
    setUp (filter, 44100.0f, FilterType::lowpass, 0.5f, 0.0f);
    const auto lowpass = filter.getCoefficients();

    filter.setType (FilterType::highpass);
    EXPECT_EQ (filter.getCoefficients().b1, lowpass.b1);        // taken at the next cutoff
    filter.set (0.5f, 0.0f);
    const auto highpass = filter.getCoefficients();
    EXPECT_LT (highpass.b1, 0.0f);

    filter.set (0.5f, 0.5f);
    const auto resonant = filter.getCoefficients();
    EXPECT_NE (resonant.a2, highpass.a2);

    filter.setSampleRate (48000.0f);
    filter.setCutoff (0.5f);
    EXPECT_NE (filter.getCoefficients().b0, resonant.b0);
}

TEST (AnalogFilter, WithoutASampleRateTheFilterIsSilent)
{
    AnalogFilter filter;
    filter.set (0.7f, 0.0f);

    auto buffer = sine (100.0, 44100.0, 500);
    filter.process (buffer, 0, 500);
    EXPECT_EQ (buffer.getMagnitude (0, 0, 500), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (1, 0, 500), 0.0f);
}

TEST (AnalogFilter, CutoffsAboveNyquistStayStable)
{
    // At 8 kHz the full cutoff of 5000 Hz lies above the Nyquist frequency.
    for (auto type : { FilterType::lowpass, FilterType::bandpass, FilterType::highpass })
    {
        AnalogFilter filter;
        setUp (filter, 8000.0f, type, 1.0f, 0.0f);

        auto buffer = sine (1000.0, 8000.0, 8000);
        filter.process (buffer, 0, 8000);

        for (int i = 0; i < 8000; ++i)
            ASSERT_LT (std::abs (buffer.getSample (0, i)), 10.0f) << type << " sample " << i;
    }
}

//==============================================================================
struct FilterEnvelope : public ::testing::Test
{
    FilterEnvelope()
    {
        setUp (filter, 44100.0f, FilterType::lowpass, 0.8f, 0.0f);
        filter.getEnvelope().setActive (true);
        filter.getEnvelope().reset();
        filter.getEnvelope().start (44100.0);
        filter.getEnvelope().setAttack (0.0);
        filter.getEnvelope().setDecay (0.0);
        filter.getEnvelope().setSustain (0.5);
        filter.getEnvelope().setRelease (0.0);
    }

    AnalogFilter filter;
};

TEST_F (FilterEnvelope, WithAttackZeroTheFirstSampleIsFilteredAtTheFullCutoff)
{
    AnalogFilter plain;
    setUp (plain, 44100.0f, FilterType::lowpass, 0.8f, 0.0f);

    juce::AudioBuffer<float> impulse (2, 1), reference (2, 1);
    impulse.clear();
    impulse.setSample (0, 0, 1.0f);
    reference.makeCopyOf (impulse);

    filter.process (impulse, 0, 1);
    plain.process (reference, 0, 1);

    EXPECT_EQ (filter.getComputedCutoff(), 0.8f);
    EXPECT_EQ (impulse.getSample (0, 0), reference.getSample (0, 0));
}

TEST_F (FilterEnvelope, SweepsTheCutoffPerSampleAndSettlesOnCutoffTimesSustain)
{
    juce::AudioBuffer<float> buffer (2, 3);
    buffer.clear();

    filter.process (buffer, 0, 1);
    EXPECT_EQ (filter.getComputedCutoff(), 0.8f);

    filter.process (buffer, 1, 2);
    EXPECT_EQ (filter.getComputedCutoff(), (float) (0.5 * 0.8f));

    // A release of 0 ends at once: the corner falls to the 10 Hz floor.
    filter.getEnvelope().release();
    filter.process (buffer, 0, 1);
    EXPECT_EQ (filter.getComputedCutoff(), 0.0f);
}

//==============================================================================
struct VoiceFilter : public ProcessorFixture, public ::testing::Test
{
    VoiceFilter()
    {
        set ("Osc1WaveType", 3.0f);            // sawtooth
        set ("Osc2Active", 0.0f);
        set ("EnvAmpOsc1Attack", 0.0f);
        set ("EnvAmpOsc1Sustain", 1.0f);
        set ("Filter1Active", 1.0f);
        set ("Filter1Cutoff", 0.1f);
    }

    // Mean squared first difference: large for bright sounds, small for dark ones.
    static double brightness (const juce::AudioBuffer<float>& buffer)
    {
        double sum = 0.0;
        const auto* data = buffer.getReadPointer (0);

        for (int i = 1; i < buffer.getNumSamples(); ++i)
            sum += juce::square ((double) data[i] - data[i - 1]);

        return sum / buffer.getNumSamples();
    }

    static double energy (const juce::AudioBuffer<float>& buffer)
    {
        double sum = 0.0;
        const auto* data = buffer.getReadPointer (0);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
            sum += juce::square ((double) data[i]);

        return sum / buffer.getNumSamples();
    }
};

TEST_F (VoiceFilter, LowpassAtATenthDarkensASawtooth)
{
    const auto filtered = renderNote (57, 1.0f, 24000);

    ProcessorFixture plain;
    plain.set ("Osc1WaveType", 3.0f);
    plain.set ("Osc2Active", 0.0f);
    plain.set ("EnvAmpOsc1Attack", 0.0f);
    plain.set ("EnvAmpOsc1Sustain", 1.0f);
    const auto unfiltered = plain.renderNote (57, 1.0f, 24000);

    EXPECT_LT (brightness (filtered) / energy (filtered), 0.2 * brightness (unfiltered) / energy (unfiltered));
}

TEST_F (VoiceFilter, TypeChangedDuringANoteTakesEffectAtTheNextNote)
{
    renderNote (60, 1.0f, blockSize);
    auto* first = voicePlaying (60);
    ASSERT_NE (first, nullptr);
    const auto lowpassB1 = first->getFilter().getCoefficients().b1;
    EXPECT_GT (lowpassB1, 0.0f);

    set ("Filter1Type", 2.0f);
    render (blockSize);
    EXPECT_EQ (first->getFilter().getType(), FilterType::lowpass);
    EXPECT_EQ (first->getFilter().getCoefficients().b1, lowpassB1);

    renderNote (64, 1.0f, blockSize);
    auto* second = voicePlaying (64);
    ASSERT_NE (second, nullptr);
    EXPECT_EQ (second->getFilter().getType(), FilterType::highpass);
    EXPECT_LT (second->getFilter().getCoefficients().b1, 0.0f);
}

TEST_F (VoiceFilter, ResonanceChangedDuringANoteTakesEffectAtTheNextBlock)
{
    renderNote (60, 1.0f, blockSize);
    auto& filter = voicePlaying (60)->getFilter();
    EXPECT_EQ (filter.getQ(), 1.0f);

    set ("Filter1Resonance", 0.5f);
    EXPECT_EQ (filter.getQ(), 1.0f);

    render (blockSize);
    EXPECT_EQ (filter.getQ(), 25.0f);
}

TEST_F (VoiceFilter, TheEnvelopeSweepsEveryNoteFromItsStartAndIsReleasedWithIt)
{
    set ("EnvFilter1Active", 1.0f);
    set ("EnvFilter1Attack", 0.0f);
    set ("EnvFilter1Decay", 0.5f);
    set ("EnvFilter1Sustain", 0.25f);

    renderNote (60, 1.0f, 1);
    auto& filter = voicePlaying (60)->getFilter();
    EXPECT_EQ (filter.getComputedCutoff(), 0.1f);
    EXPECT_EQ (filter.getEnvelope().getStage(), Envelope::decayStage);

    render (blockSize);
    EXPECT_LT (filter.getComputedCutoff(), 0.1f);
    EXPECT_GT (filter.getComputedCutoff(), 0.025f);

    juce::MidiBuffer noteOff;
    noteOff.addEvent (juce::MidiMessage::noteOff (1, 60), 0);
    render (blockSize, noteOff);
    EXPECT_EQ (filter.getEnvelope().getStage(), Envelope::releaseStage);
}
