#include "TestHelpers.h"
#include "Model/Tuning.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace testing_helpers;
using namespace ParameterIndex;

namespace
{
    using Settings = std::vector<std::pair<Index, float>>;

    // One note through a fresh processor with these settings; the mod wheel and the channel
    // pressure at a position.
    juce::AudioBuffer<float> play (const Settings& settings, int note, float velocity, int numSamples, int modWheel = 0,
                                   const Tuning& tuning = {}, int pressure = 0)
    {
        ProcessorFixture f;

        for (const auto& [index, value] : settings)
            f.set (index, value);

        f.processor.setTuning (tuning);
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::controllerEvent (1, 1, modWheel), 0);
        midi.addEvent (juce::MidiMessage::channelPressureChange (1, pressure), 0);
        midi.addEvent (juce::MidiMessage::noteOn (1, note, velocity), 0);
        return f.render (numSamples, midi);
    }

    // How bright a stretch sounds: the RMS of its first difference over its own RMS.
    double brightness (const juce::AudioBuffer<float>& audio, int start, int length)
    {
        double level = 0.0, change = 0.0;
        const auto* x = audio.getReadPointer (0);

        for (int i = start + 1; i < start + length; ++i)
        {
            level += (double) x[i] * x[i];
            change += ((double) x[i] - x[i - 1]) * ((double) x[i] - x[i - 1]);
        }

        return std::sqrt (change / level);
    }

    double largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        double largest = 0.0;

        for (int i = 0; i < a.getNumSamples(); ++i)
            largest = juce::jmax (largest, std::abs ((double) a.getSample (0, i) - b.getSample (0, i)));

        return largest;
    }

    const Settings sawThroughLowpass { { Osc1WaveType, 3.0f }, { Filter1Active, 1.0f }, { Filter1Cutoff, 0.1f }, { EnvAmpOsc1Attack, 0.0f } };

    Settings with (Settings settings, const Settings& more)
    {
        settings.insert (settings.end(), more.begin(), more.end());
        return settings;
    }
}

// What the filter's key tracking, envelope amount and velocity and the amplitude's velocity
// do to a rendered note, each case against another render.
TEST (VoiceFeatures, FilterAndAmplitudeFollowTheKeyTheEnvelopeAndTheTouch)
{
    constexpr int length = 9600;
    const auto envelope = with (sawThroughLowpass, { { EnvFilter1Active, 1.0f }, { EnvFilter1Attack, 0.02f } });

    const struct { const char* what; std::function<bool()> holds; } cases[] = {
        { "key tracking at 100 % an octave below middle C halves the cutoff",
          [&] { return largestDifference (play (with (sawThroughLowpass, { { Filter1KeyTrack, 1.0f } }), 48, 1.0f, length),
                                          play (with (sawThroughLowpass, { { Filter1Cutoff, 0.05f } }), 48, 1.0f, length)) == 0.0; } },
        { "key tracking at 100 % brightens the note an octave up",
          [&] { return brightness (play (with (sawThroughLowpass, { { Filter1KeyTrack, 1.0f } }), 60, 1.0f, length), 4800, 4800)
                       > 1.5 * brightness (play (with (sawThroughLowpass, { { Filter1KeyTrack, 1.0f } }), 48, 1.0f, length), 4800, 4800); } },
        { "an envelope amount of 0 % sounds like the envelope switched off",
          [&] { return largestDifference (play (with (envelope, { { Filter1EnvAmount, 0.5f } }), 48, 1.0f, length),
                                          play (sawThroughLowpass, 48, 1.0f, length)) < 1.0e-5; } },
        { "an envelope amount of -100 % closes the filter as the attack rises",
          [&] { return brightness (play (with (envelope, { { Filter1EnvAmount, 0.0f } }), 48, 1.0f, length), 2400, 960)
                       < 0.5 * brightness (play (sawThroughLowpass, 48, 1.0f, length), 2400, 960); } },
        { "filter velocity closes the filter of a soft note",
          [&] { return brightness (play (with (sawThroughLowpass, { { Filter1Velocity, 1.0f } }), 48, 0.25f, length), 4800, 4800)
                       < 0.7 * brightness (play (sawThroughLowpass, 48, 0.25f, length), 4800, 4800); } },
        { "amplitude velocity at 0 % plays velocities 30 and 127 at the same peak",
          [&] { return peakOf (play ({ { AmpVelocity, 0.0f } }, 69, 30.0f / 127.0f, length), 0)
                       == peakOf (play ({ { AmpVelocity, 0.0f } }, 69, 1.0f, length), 0); } },
        { "amplitude velocity at 100 % follows the velocity",
          [&] { return peakOf (play ({}, 69, 30.0f / 127.0f, length), 0) < 0.3f * peakOf (play ({}, 69, 1.0f, length), 0); } },
    };

    for (const auto& c : cases)
        EXPECT_TRUE (c.holds()) << c.what;
}

// The mod wheel or the channel pressure, whichever is higher, brings in the LFO up to its
// depth; the tuning sets each key's pitch.
TEST (VoiceFeatures, TheModWheelBringsInVibratoAndATuningSetsThePitches)
{
    constexpr double rate = 48000.0;
    const Settings vibrato { { Lfo1Active, 1.0f }, { Lfo1Target, 1.0f }, { Lfo1Mix, 0.0f }, { Lfo1Mode, 1.0f }, { Lfo1ModWheel, 1.0f },
                             { Lfo1Speed, 0.5f }, { EnvAmpOsc1Attack, 0.0f } };

    // The frequency's spread over ten 20 ms stretches, in Hz.
    const auto wobble = [&] (int modWheel, int pressure = 0)
    {
        const auto audio = play (vibrato, 69, 1.0f, 24000, modWheel, {}, pressure);
        double lowest = 1.0e9, highest = 0.0;

        for (int k = 0; k < 10; ++k)
        {
            const auto hz = measureFrequency (audio, 0, 2400 + k * 960, 960, rate);
            lowest = juce::jmin (lowest, hz);
            highest = juce::jmax (highest, hz);
        }

        return highest - lowest;
    };

    EXPECT_LT (wobble (0), 2.0);
    EXPECT_GT (wobble (127), 50.0);
    EXPECT_GT (wobble (0, 127), 50.0);     // aftertouch brings in the vibrato
    EXPECT_NEAR (wobble (127, 40), wobble (127), 1.0);

    const juce::String nineteen = [] { juce::String s ("19 equal\n19\n"); for (int i = 1; i < 19; ++i) s << juce::String (1200.0 * i / 19.0, 5) << "\n"; return s + "2/1\n"; }();
    const auto moved = juce::String ("12\n0\n127\n60\n60\n300.0\n12\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n");

    const struct { const char* scale; const char* mapping; int note; double hertz; } tunings[] = {
        { "", "", 69, 440.0 },
        { nineteen.toRawUTF8(), "", 69, 440.0 },
        { nineteen.toRawUTF8(), "", 70, 440.0 * std::exp2 (1.0 / 19.0) },
        { "", moved.toRawUTF8(), 60, 300.0 },                  // the mapping moves the reference
        { "", moved.toRawUTF8(), 72, 600.0 },
    };

    for (const auto& t : tunings)
    {
        const auto read = Tuning::read (t.scale, t.mapping);
        ASSERT_TRUE (read.tuning.has_value()) << read.error;
        const auto audio = play ({ { EnvAmpOsc1Attack, 0.0f } }, t.note, 1.0f, 24000, 0, *read.tuning);
        EXPECT_NEAR (measureFrequency (audio, 0, 4800, 19200, rate), t.hertz, 0.05) << t.note << " " << t.mapping;
    }
}
