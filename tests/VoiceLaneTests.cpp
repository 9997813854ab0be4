#include "RenderPatterns.h"
#include "Engine/VoiceLaneRenderer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

// The voices rendered side by side in vector lanes give the samples each voice gives
// alone, bit for bit, with every instruction set the machine has: the fixed patterns, and
// chords wide enough to fill several batches, with voices that end mid-block, waves that
// differ between voices, pitches near the sample rate and odd block sizes.
namespace
{
    using render_patterns::Pattern;
    using render_patterns::on;
    using render_patterns::off;

    std::vector<render_patterns::Event> chord (int numNotes, int lowest, int step, int start, int spacing, int length)
    {
        std::vector<render_patterns::Event> events;

        for (int n = 0; n < numNotes; ++n)
        {
            const int note = juce::jlimit (0, 127, lowest + n * step);
            events.push_back (on (start + n * spacing, note, 0.3f + 0.6f * (float) ((n * 7) % 10) / 10.0f));
            events.push_back (off (start + n * spacing + length + (n * 53) % 700, note));
        }

        return events;
    }

    std::vector<Pattern> lanePatterns()
    {
        using render_patterns::withQuickEnvelopes;
        auto patterns = render_patterns::allPatterns();

        patterns.push_back ({ "WideChordOfSquaresAndSaws", 6000, 256,
                              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 1.0f }, { 0, "Osc2WaveType", 3.0f },
                                                    { 0, "Osc1Pan", 0.1f }, { 0, "Osc2Pan", 0.8f }, { 0, "Osc2Detune", 0.6f },
                                                    { 3000, "Osc1WaveType", 2.0f } }),
                              chord (40, 28, 2, 0, 37, 2500) });

        patterns.push_back ({ "HighTrianglesAndSinesInOddBlocks", 5000, 37,
                              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 2.0f }, { 0, "Osc2WaveType", 0.0f },
                                                    { 0, "Osc1Offset", 0.24f }, { 0, "MasterVolume", 0.3f } }),
                              chord (18, 76, 2, 3, 11, 1500) });

        // Oscillator 1 switched on while notes that started without it still sound.
        patterns.push_back ({ "OscillatorSwitchedOnMidNote", 6000, 512,
                              withQuickEnvelopes ({ { 0, "Osc1Active", 0.0f }, { 0, "Osc2Active", 1.0f }, { 0, "Osc2WaveType", 3.0f },
                                                    { 1000, "Osc1Active", 1.0f }, { 1000, "Osc1WaveType", 1.0f },
                                                    { 0, "Filter1Active", 1.0f }, { 0, "Filter1Cutoff", 0.5f } }),
                              [] {
                                  auto events = chord (12, 40, 5, 0, 50, 3000);
                                  auto more = chord (12, 43, 5, 1100, 61, 2500);
                                  events.insert (events.end(), more.begin(), more.end());
                                  return events;
                              }() });

        // More kinds of voice at once than the renderer keeps groups for: each wave on
        // oscillator 1 in turn, then another filter type, every chord held across the
        // changes, so that the last kind renders alone.
        patterns.push_back ({ "MoreKindsThanGroups", 6000, 512,
                              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc2WaveType", 3.0f }, { 0, "Filter1Active", 1.0f },
                                                    { 0, "Filter1Cutoff", 0.5f }, { 0, "EnvAmpOsc1Sustain", 1.0f }, { 0, "EnvAmpOsc2Sustain", 1.0f },
                                                    { 600, "Osc1WaveType", 1.0f }, { 1200, "Osc1WaveType", 2.0f },
                                                    { 1800, "Osc1WaveType", 3.0f }, { 2400, "Filter1Type", 2.0f } }),
                              [] {
                                  std::vector<render_patterns::Event> events;

                                  for (int kind = 0; kind < 5; ++kind)
                                  {
                                      const auto more = chord (4, 40 + kind * 8, 2, kind * 600 + 10, 7, 4000 - kind * 600);
                                      events.insert (events.end(), more.begin(), more.end());
                                  }

                                  return events;
                              }() });

        // The wheel up and down over both pitch envelopes on a wide chord.
        patterns.push_back ({ "WheelOverPitchEnvelopes", 6000, 512,
                              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc2WaveType", 1.0f }, { 0, "Osc1PitchRange", 0.05f },
                                                    { 0, "Osc2PitchRange", 0.12f }, { 0, "EnvPitchOsc1Active", 1.0f },
                                                    { 0, "Osc1PitchEnvRange", 0.04f }, { 0, "EnvPitchOsc1Attack", 0.02f },
                                                    { 0, "EnvPitchOsc2Active", 1.0f }, { 0, "Osc2PitchEnvDown", 1.0f },
                                                    { 0, "Osc2PitchEnvRange", 0.02f }, { 0, "EnvPitchOsc2Decay", 0.03f } }),
                              [] {
                                  auto events = chord (16, 36, 3, 0, 23, 3500);
                                  for (const auto& [sample, value] : { std::pair { 900, 14000 }, { 2100, 1500 }, { 3300, 8192 }, { 4000, 16383 } })
                                      events.push_back (render_patterns::wheel (sample, value));
                                  return events;
                              }() });

        // Each LFO shape in turn on the amplitude, with the LFO's envelope, and then on the
        // filter from each voice's LFO and from the global one (the filter then runs per
        // voice after the lanes).
        patterns.push_back ({ "LfoShapesAndFilterWobble", 8000, 256,
                              withQuickEnvelopes ({ { 0, "Osc1WaveType", 3.0f }, { 0, "Lfo1Active", 1.0f }, { 0, "Lfo1Mode", 1.0f },
                                                    { 0, "Lfo1Speed", 0.8f }, { 0, "Lfo1Mix", 0.6f }, { 0, "EnvLfo1Active", 1.0f },
                                                    { 0, "EnvLfo1Attack", 0.01f }, { 0, "Filter1Active", 1.0f }, { 0, "Filter1Cutoff", 0.3f },
                                                    { 800, "Lfo1WaveType", 1.0f }, { 1600, "Lfo1WaveType", 2.0f }, { 2400, "Lfo1WaveType", 3.0f },
                                                    { 3200, "Lfo1WaveType", 4.0f }, { 4000, "Lfo1Target", 2.0f }, { 6000, "Lfo1Mode", 0.0f } }),
                              [] {
                                  std::vector<render_patterns::Event> events;

                                  for (const int start : { 0, 800, 1600, 2400, 3200, 4100, 6100 })
                                  {
                                      const auto more = chord (9, 44 + start / 400, 2, start + 5, 11, 700);
                                      events.insert (events.end(), more.begin(), more.end());
                                  }

                                  return events;
                              }() });

        // Pitches far above the sample rate (at the 8 kHz the rate test also plays this
        // at), where a step spans several cycles.
        patterns.push_back ({ "StepsOfSeveralCycles", 3000, 128,
                              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 3.0f }, { 0, "Osc2WaveType", 1.0f },
                                                    { 0, "Osc1Offset", 0.24f } }),
                              chord (12, 104, 2, 0, 9, 1500) });

        // Glides among chords: each note slides from the one struck before it.
        patterns.push_back ({ "GlidingChords", 6000, 256,
                              withQuickEnvelopes ({ { 0, "CurrentPlayMode", 2.0f }, { 0, "Glide", 0.3f }, { 0, "Osc2Active", 1.0f },
                                                    { 0, "Osc1WaveType", 3.0f }, { 0, "Osc2WaveType", 2.0f },
                                                    { 0, "EnvAmpOsc1Release", 0.3f }, { 0, "EnvAmpOsc2Release", 0.3f } }),
                              [] {
                                  auto events = chord (10, 45, 4, 0, 3, 2500);
                                  auto more = chord (10, 50, 3, 2000, 29, 2500);
                                  events.insert (events.end(), more.begin(), more.end());
                                  return events;
                              }() });

        // Vibrato from each voice's LFO, then from the one global LFO, on a wide chord.
        patterns.push_back ({ "VibratoOwnAndShared", 6000, 256,
                              withQuickEnvelopes ({ { 0, "Lfo1Active", 1.0f }, { 0, "Lfo1Target", 1.0f }, { 0, "Lfo1Mix", 0.05f },
                                                    { 0, "Lfo1Speed", 0.6f }, { 0, "Lfo1Mode", 1.0f }, { 0, "Osc1WaveType", 1.0f },
                                                    { 3000, "Lfo1Mode", 0.0f } }),
                              [] {
                                  auto events = chord (20, 40, 2, 0, 17, 2000);
                                  auto more = chord (20, 42, 2, 3100, 13, 2000);
                                  events.insert (events.end(), more.begin(), more.end());
                                  return events;
                              }() });

        return patterns;
    }

    // A pattern's samples and the number of voices sounding after each block, with the
    // voice lanes of an instruction set, the machine's widest (set empty), or with every
    // voice alone (set null). Nothing when the machine lacks the set.
    struct Rendered
    {
        juce::AudioBuffer<float> audio;
        std::vector<int> soundingVoices;
    };

    std::optional<Rendered> render (const Pattern& pattern, const char* set, double sampleRate = 48000.0)
    {
        bool available = true;
        Rendered rendered;

        rendered.audio = render_patterns::render (pattern, [&] (QuenbyAudioProcessor& processor)
        {
            auto& lanes = processor.synthAudioSource->getSynth().getLaneRenderer();

            if (set == nullptr)
                lanes.setEnabled (false);
            else if (*set != 0)
                available = lanes.useInstructionSet (set);
        },
        sampleRate, [&] (QuenbyAudioProcessor& processor)
        {
            auto& synth = processor.synthAudioSource->getSynth();
            int sounding = 0;

            for (int i = 0; i < synth.getNumVoices(); ++i)
                sounding += synth.getVoice (i)->isVoiceActive() ? 1 : 0;

            rendered.soundingVoices.push_back (sounding);
        });

        return available ? std::optional<Rendered> (std::move (rendered)) : std::nullopt;
    }

    // The same samples, byte for byte, and the same voices freed at the same blocks.
    void expectTheSame (const Rendered& alone, const Rendered& inLanes, const std::string& what)
    {
        for (int channel = 0; channel < 2; ++channel)
            EXPECT_EQ (std::memcmp (alone.audio.getReadPointer (channel), inLanes.audio.getReadPointer (channel),
                                    sizeof (float) * (size_t) alone.audio.getNumSamples()), 0)
                << what << ", channel " << channel;

        EXPECT_EQ (alone.soundingVoices, inLanes.soundingVoices) << what;
    }

    struct VoiceLanesRender : public ::testing::TestWithParam<std::tuple<Pattern, const char*>> {};

    std::string patternName (const ::testing::TestParamInfo<std::tuple<Pattern, const char*>>& info)
    {
        return std::string (std::get<0> (info.param).name) + "_" + std::get<1> (info.param);
    }
}

TEST_P (VoiceLanesRender, GiveEachVoiceItsOwnSamplesWithEveryInstructionSet)
{
    const auto& [pattern, set] = GetParam();
    const auto inLanes = render (pattern, set);

    if (! inLanes.has_value())
        GTEST_SKIP() << "this machine has no " << set;

    const auto alone = render (pattern, nullptr);
    ASSERT_GT (alone->audio.getMagnitude (0, 0, pattern.numSamples), 0.001f);
    expectTheSame (*alone, *inLanes, set);
}

INSTANTIATE_TEST_SUITE_P (Patterns, VoiceLanesRender, ::testing::Combine (::testing::ValuesIn (lanePatterns()), ::testing::Values ("avx2", "avx512")),
                          patternName);

// The same at the sample rates and block sizes hosts use, and at 8 kHz, with the machine's
// widest lanes.
TEST (VoiceLanesRender, GiveEachVoiceItsOwnSamplesAtEveryRateAndBlockSize)
{
    if (VoiceLaneRenderer().getLaneWidth() == 0)
        GTEST_SKIP() << "this machine has no voice lanes";

    const auto patterns = lanePatterns();

    for (const auto* name : { "ManyVoices", "WideChordOfSquaresAndSaws", "StepsOfSeveralCycles" })
    {
        const auto base = *std::find_if (patterns.begin(), patterns.end(), [&] (const Pattern& p) { return std::strcmp (p.name, name) == 0; });

        for (const double rate : { 8000.0, 44100.0, 96000.0, 192000.0 })
        {
            for (const int blockSize : { 1, 64, 4096 })
            {
                auto pattern = base;
                pattern.blockSize = blockSize;
                expectTheSame (*render (pattern, nullptr, rate), *render (pattern, "", rate),
                               std::string (name) + " at " + std::to_string ((int) rate) + " Hz in blocks of " + std::to_string (blockSize));
            }
        }
    }
}
