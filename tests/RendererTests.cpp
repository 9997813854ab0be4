#include "OfflineRenderer.h"
#include "RenderOptions.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <gtest/gtest.h>

namespace
{
    struct RendererFixture : public ::testing::Test
    {
        RendererFixture()  { folder.createDirectory(); }
        ~RendererFixture() override { folder.deleteRecursively(); }

        // One note 69 at full velocity for a second, at 100 beats per minute.
        juce::File writeMidi (const juce::String& name = "one-note.mid")
        {
            juce::MidiMessageSequence track;
            track.addEvent (juce::MidiMessage::tempoMetaEvent (600000), 0.0);
            track.addEvent (juce::MidiMessage::noteOn (1, 69, (juce::uint8) 127), 0.0);
            track.addEvent (juce::MidiMessage::noteOff (1, 69), 960.0 * 100.0 / 60.0);

            juce::MidiFile midi;
            midi.setTicksPerQuarterNote (960);
            midi.addTrack (track);

            auto file = folder.getChildFile (name);
            juce::FileOutputStream stream (file);
            midi.writeTo (stream);
            return file;
        }

        std::optional<RenderOptions> parse (std::initializer_list<const char*> arguments)
        {
            juce::StringArray list;

            for (auto* argument : arguments)
                list.add (argument);

            return RenderOptions::parse (list, error);
        }

        bool render (const RenderOptions& options)
        {
            OfflineRenderer renderer (options);
            return renderer.render (result, error);
        }

        juce::File folder { juce::File::createTempFile ("quenby-render-test") };
        juce::String error;
        OfflineRenderer::Result result;
    };
}

TEST_F (RendererFixture, ReadsEveryOptionAndRejectsBadOnesWithAReason)
{
    const auto options = parse ({ "--rate", "44100", "--block", "64", "--channels", "1", "--bits", "24",
                                  "--set", "Osc1WaveType=3", "--set", "MasterVolume=-0.5", "--bpm", "90",
                                  "--tail", "2", "in.mid", "out.wav" });
    ASSERT_TRUE (options.has_value()) << error;
    EXPECT_EQ (options->sampleRate, 44100.0);
    EXPECT_EQ (options->blockSize, 64);
    EXPECT_EQ (options->numChannels, 1);
    EXPECT_EQ (options->bitsPerSample, 24);
    EXPECT_EQ (options->bpm.value_or (0.0), 90.0);
    EXPECT_EQ (options->tailSeconds, 2.0);
    ASSERT_EQ (options->parameterSets.size(), 2u);
    EXPECT_EQ (options->parameterSets[1].first, "MasterVolume");
    EXPECT_EQ (options->parameterSets[1].second, -0.5f);
    EXPECT_EQ (options->outputFile.getFileName(), "out.wav");

    for (const auto& bad : std::vector<std::vector<const char*>> {
             { "in.mid" }, { "--channels", "3", "in.mid", "out.wav" }, { "--block", "0", "a", "b" },
             { "--set", "Osc1Gain", "a", "b" }, { "--set", "Osc1Gain=loud", "a", "b" },
             { "--frobnicate", "1", "a", "b" }, { "--rate", "a", "b" }, { "--bpm", "0", "a", "b" } })
    {
        juce::StringArray list;

        for (auto* argument : bad)
            list.add (argument);

        error.clear();
        EXPECT_FALSE (RenderOptions::parse (list, error).has_value()) << list.joinIntoString (" ");
        EXPECT_TRUE (error.isNotEmpty());
    }
}

TEST_F (RendererFixture, RendersANoteThroughTheProcessorIntoAFloatWavFile)
{
    auto options = parse ({ "--set", "EnvAmpOsc1Sustain=1", "in.mid", "out.wav" });
    ASSERT_TRUE (options.has_value());
    options->midiFile = writeMidi();
    options->outputFile = folder.getChildFile ("out.wav");

    ASSERT_TRUE (render (*options)) << error;
    EXPECT_EQ (result.bpm, 100.0);                           // from the file's tempo
    ASSERT_EQ (result.peaks.size(), 2u);
    EXPECT_NEAR (result.peaks[0], 0.15f, 2e-4f);
    EXPECT_NEAR (result.peaks[1], 0.15f, 2e-4f);

    // Stops after the release has died away, well before the cap.
    EXPECT_GT (result.getAudioSeconds(), 2.0);
    EXPECT_LT (result.getAudioSeconds(), 5.0);

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (options->outputFile.createInputStream().release(), true));
    ASSERT_NE (reader, nullptr);
    EXPECT_EQ (reader->sampleRate, 48000.0);
    EXPECT_EQ (reader->numChannels, 2u);
    EXPECT_EQ (reader->bitsPerSample, 32u);
    EXPECT_TRUE (reader->usesFloatingPointData);
    EXPECT_EQ (reader->lengthInSamples, result.numSamples);

    EXPECT_TRUE (OfflineRenderer::describe (result, options->outputFile).contains ("-16.5 dBFS"));
}

TEST_F (RendererFixture, OneChannelAndTheTempoOptionAreHonoured)
{
    auto options = parse ({ "--channels", "1", "--bpm", "140", "--rate", "44100", "in.mid", "out.wav" });
    ASSERT_TRUE (options.has_value());
    options->midiFile = writeMidi();
    options->outputFile = folder.getChildFile ("mono.wav");

    ASSERT_TRUE (render (*options)) << error;
    EXPECT_EQ (result.bpm, 140.0);
    EXPECT_EQ (result.peaks.size(), 1u);

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (options->outputFile.createInputStream().release(), true));
    ASSERT_NE (reader, nullptr);
    EXPECT_EQ (reader->numChannels, 1u);
    EXPECT_EQ (reader->sampleRate, 44100.0);
}

TEST_F (RendererFixture, BadInputFailsWithAReasonAndLeavesNoFileBehind)
{
    const auto output = folder.getChildFile ("never.wav");
    auto options = parse ({ "missing.mid", "never.wav" });
    ASSERT_TRUE (options.has_value());
    options->outputFile = output;

    options->midiFile = folder.getChildFile ("missing.mid");
    EXPECT_FALSE (render (*options));
    EXPECT_TRUE (error.contains ("cannot find"));

    options->midiFile = folder.getChildFile ("garbage.mid");
    options->midiFile.replaceWithText ("this is not a MIDI file");
    EXPECT_FALSE (render (*options));
    EXPECT_TRUE (error.contains ("not a Standard MIDI File"));

    options->midiFile = writeMidi();
    options->parameterSets = { { "Osc1Loudness", 1.0f } };
    EXPECT_FALSE (render (*options));
    EXPECT_TRUE (error.contains ("Osc1Loudness"));

    options->parameterSets.clear();
    options->outputFile = folder.getChildFile ("no-such-folder").getChildFile ("out.wav");
    EXPECT_FALSE (render (*options));
    EXPECT_TRUE (error.contains ("cannot write"));

    EXPECT_FALSE (output.exists());
    EXPECT_EQ (folder.findChildFiles (juce::File::findFiles, false, "*.wav").size(), 0);
}
