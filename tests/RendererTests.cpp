#include "OfflineRenderer.h"
#include "RenderListings.h"
#include "RenderOptionTable.h"
#include "RenderOptions.h"
#include "Model/ParameterTable.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <gtest/gtest.h>

#include <cmath>

namespace
{
    struct RendererFixture : public ::testing::Test
    {
        RendererFixture()  { folder.createDirectory(); }
        ~RendererFixture() override { folder.deleteRecursively(); }

        // Notes 69 at full velocity, each from and to a time in seconds, at 100 beats per minute.
        juce::File writeMidi (std::initializer_list<std::pair<double, double>> notes = { { 0.0, 1.0 } },
                              const juce::String& name = "notes.mid")
        {
            constexpr double ticksPerSecond = 960.0 * 100.0 / 60.0;
            juce::MidiMessageSequence track;
            track.addEvent (juce::MidiMessage::tempoMetaEvent (600000), 0.0);

            for (const auto& [start, end] : notes)
            {
                track.addEvent (juce::MidiMessage::noteOn (1, 69, (juce::uint8) 127), start * ticksPerSecond);
                track.addEvent (juce::MidiMessage::noteOff (1, 69), end * ticksPerSecond);
            }

            juce::MidiFile midi;
            midi.setTicksPerQuarterNote (960);
            midi.addTrack (track);

            auto file = folder.getChildFile (name);
            file.deleteFile();
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
                                  "--tail", "2", "--at", "1.5", "Osc1WaveType=3", "in.mid", "out.wav" });
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
    ASSERT_EQ (options->timedChanges.size(), 1u);
    EXPECT_EQ (options->timedChanges[0].seconds, 1.5);
    EXPECT_EQ (options->timedChanges[0].parameterIndex, ParameterIndex::Osc1WaveType);
    EXPECT_EQ (options->timedChanges[0].value, 3.0f);

    // A built-in phrase takes the place of the MIDI file.
    const auto phrase = parse ({ "--phrase", "held16", "out.wav" });
    ASSERT_TRUE (phrase.has_value()) << error;
    EXPECT_EQ (phrase->phrase, "held16");
    EXPECT_TRUE (phrase->rendersAudio());
    EXPECT_EQ (phrase->outputFile.getFileName(), "out.wav");

    for (const auto& bad : std::vector<std::vector<const char*>> {
             { "in.mid" }, { "--channels", "3", "in.mid", "out.wav" }, { "--block", "0", "a", "b" },
             { "--set", "Osc1Gain", "a", "b" }, { "--set", "Osc1Gain=loud", "a", "b" },
             { "--frobnicate", "1", "a", "b" }, { "--rate", "a", "b" }, { "--bpm", "0", "a", "b" },
             { "--phrase", "solo", "out.wav" }, { "--phrase", "audition", "in.mid", "out.wav" } })
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

namespace
{
    struct TimedRenderFixture : public RendererFixture
    {
        // Renders the file with these options into a buffer.
        juce::AudioBuffer<float> renderWith (const juce::File& midiFile, const std::vector<const char*>& arguments)
        {
            auto options = RenderOptions::parse (juce::StringArray (arguments.data(), (int) arguments.size()), error);

            if (! options.has_value())
            {
                ADD_FAILURE() << error;
                return {};
            }

            options->midiFile = midiFile;
            options->outputFile = folder.getChildFile ("timed.wav");

            if (! render (*options))
            {
                ADD_FAILURE() << error;
                return {};
            }

            juce::WavAudioFormat wav;
            std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (options->outputFile.createInputStream().release(), true));
            juce::AudioBuffer<float> samples ((int) reader->numChannels, (int) reader->lengthInSamples);
            reader->read (&samples, 0, (int) reader->lengthInSamples, 0, true, true);
            return samples;
        }

        static bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int start, int end)
        {
            for (int i = start; i < end; ++i)
                if (a.getSample (0, i) != b.getSample (0, i))
                    return false;

            return true;
        }

        // The level of the change from sample to sample against the level of the signal:
        // high partials weigh most, loudness not at all.
        static double brightness (const juce::AudioBuffer<float>& buffer, int start, int end)
        {
            double change = 0.0, level = 0.0;

            for (int i = start + 1; i < end; ++i)
            {
                const double difference = buffer.getSample (0, i) - buffer.getSample (0, i - 1);
                change += difference * difference;
                level += (double) buffer.getSample (0, i) * buffer.getSample (0, i);
            }

            return level > 0.0 ? std::sqrt (change / level) : 0.0;
        }
    };
}

// The wave is chosen when a note starts: the note before the change is a sine throughout,
// the one after it a sawtooth, exactly as if each had been rendered with that wave alone.
TEST_F (TimedRenderFixture, AChangeAtOneSecondMakesTheLaterNotesSawtooths)
{
    const auto midi = writeMidi ({ { 0.0, 0.4 }, { 1.5, 1.9 } });
    const auto sines = renderWith (midi, { "--set", "EnvAmpOsc1Release=0", "a", "b" });
    const auto sawtooths = renderWith (midi, { "--set", "EnvAmpOsc1Release=0", "--set", "Osc1WaveType=3", "a", "b" });
    const auto changed = renderWith (midi, { "--set", "EnvAmpOsc1Release=0", "--at", "1.0", "Osc1WaveType=3", "a", "b" });

    const int oneSecond = 48000, end = changed.getNumSamples();
    ASSERT_EQ (end, sines.getNumSamples());
    EXPECT_FALSE (sameSamples (sines, sawtooths, 0, oneSecond));
    EXPECT_TRUE (sameSamples (changed, sines, 0, oneSecond));
    EXPECT_TRUE (sameSamples (changed, sawtooths, oneSecond, end));
}

TEST_F (TimedRenderFixture, AChangeOfCutoffDarkensAHeldNoteFromTheBlockInWhichItFalls)
{
    const auto midi = writeMidi ({ { 0.0, 1.5 } });
    const std::vector<const char*> sound { "--set", "Osc1WaveType=3", "--set", "Filter1Active=1", "--set", "Filter1Cutoff=0.6",
                                           "--set", "EnvAmpOsc1Sustain=1", "a", "b" };
    auto darkenedSound = sound;
    darkenedSound.insert (darkenedSound.begin(), { "--at", "0.5", "Filter1Cutoff=0.1" });

    const auto held = renderWith (midi, sound);
    const auto darkened = renderWith (midi, darkenedSound);

    // 0.5 s falls in the block from sample 23552: everything before it is untouched.
    const int blockOfChange = 24000 / 512 * 512, later = 28800, noteOff = 72000;
    EXPECT_TRUE (sameSamples (held, darkened, 0, blockOfChange));
    EXPECT_FALSE (sameSamples (held, darkened, blockOfChange, blockOfChange + 512));
    EXPECT_LT (brightness (darkened, later, noteOff), 0.5 * brightness (held, later, noteOff));
    EXPECT_GT (brightness (darkened, later, noteOff), 0.0);
}

namespace
{
    struct Run
    {
        int exitCode = -1;
        juce::StringArray lines;
    };

    // The built quenby-render, as a script runs it: standard output and error are pipes, both
    // read unless only one is asked for.
    Run runRenderer (const juce::StringArray& arguments, const juce::File& workingFolder,
                     int streams = juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr)
    {
        juce::StringArray command { QUENBY_RENDER_BINARY };
        command.addArray (arguments);

        const auto previous = juce::File::getCurrentWorkingDirectory();
        workingFolder.setAsCurrentWorkingDirectory();
        juce::ChildProcess process;
        Run run;

        if (process.start (command, streams))
        {
            run.lines = juce::StringArray::fromLines (process.readAllProcessOutput().trimEnd());
            process.waitForProcessToFinish (60000);
            run.exitCode = (int) process.getExitCode();
        }

        previous.setAsCurrentWorkingDirectory();
        return run;
    }
}

TEST_F (RendererFixture, TheCommandListsEveryParameterAndRejectsABadAtInOneLineWithoutAFile)
{
    const auto listed = runRenderer ({ "--list-parameters" }, folder);
    EXPECT_EQ (listed.exitCode, 0);
    ASSERT_EQ (listed.lines.size(), 1 + ParameterIndex::count);
    EXPECT_TRUE (listed.lines[1].startsWith ("0  ")) << listed.lines[1];
    EXPECT_TRUE (listed.lines[ParameterIndex::count].startsWith (juce::String (ParameterIndex::Lfo1ModWheel)));

    writeMidi ({ { 0.0, 1.0 } }, "in.mid");

    for (const auto& change : { juce::StringArray { "1", "Osc1Loudness=3" }, juce::StringArray { "-1", "Osc1Gain=0.5" },
                                juce::StringArray { "1", "Osc1Gain=half" }, juce::StringArray { "soon", "Osc1Gain=1" } })
    {
        juce::StringArray arguments { "--at" };
        arguments.addArray (change);
        arguments.addArray ({ "in.mid", "out.wav" });
        const auto run = runRenderer (arguments, folder);
        EXPECT_EQ (run.exitCode, 2) << change.joinIntoString (" ");
        ASSERT_EQ (run.lines.size(), 1) << run.lines.joinIntoString ("\n");
        EXPECT_TRUE (run.lines[0].startsWith ("quenby-render: --at")) << run.lines[0];
        EXPECT_FALSE (folder.getChildFile ("out.wav").exists());
    }

    // A tuning that is none is refused in one line with the reason, and nothing is written.
    folder.getChildFile ("bad.scl").replaceWithText ("Not a scale\nmany\n");
    folder.getChildFile ("bad.kbm").replaceWithText ("12\n0\n127\n");

    for (const auto& [option, file, reason] : { std::tuple { "--scl", "bad.scl", "bad.scl: line 2 of the scale is no number of notes" },
                                                std::tuple { "--kbm", "bad.kbm", "bad.kbm: the keyboard mapping ends before the middle key" },
                                                std::tuple { "--scl", "none.scl", "cannot read" } })
    {
        const auto run = runRenderer ({ option, file, "in.mid", "out.wav" }, folder);
        EXPECT_NE (run.exitCode, 0);
        ASSERT_EQ (run.lines.size(), 1) << run.lines.joinIntoString ("\n");
        EXPECT_TRUE (run.lines[0].startsWith ("quenby-render: ") && run.lines[0].contains (reason)) << run.lines[0];
        EXPECT_FALSE (folder.getChildFile ("out.wav").exists());
    }

    // A render that works prints its summary and nothing else (no progress to a pipe).
    const auto rendered = runRenderer ({ "--at", "0.5", "Osc1WaveType=3", "in.mid", "out.wav" }, folder);
    EXPECT_EQ (rendered.exitCode, 0);
    ASSERT_EQ (rendered.lines.size(), 1) << rendered.lines.joinIntoString ("\n");
    EXPECT_TRUE (rendered.lines[0].startsWith (folder.getChildFile ("out.wav").getFullPathName())) << rendered.lines[0];
}

TEST (RenderListings, TheParameterTableShowsDefaultsItemsAndSteps)
{
    const auto lines = juce::StringArray::fromLines (RenderListings::listParameters().trimEnd());
    ASSERT_EQ (lines.size(), 1 + ParameterIndex::count);

    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_TRUE (lines[index + 1].startsWith (juce::String (index) + " ")
                     && lines[index + 1].contains (juce::String (" ") + ParameterTable::get (index).name + " ")) << lines[index + 1];

    const auto row = [&] (int index) { return lines[index + 1]; };
    EXPECT_TRUE (row (ParameterIndex::Osc1WaveType).contains (" 0 (Sine) ")
                 && row (ParameterIndex::Osc1WaveType).endsWith (" choice: 0 Sine, 1 Square, 2 Triangle, 3 Sawtooth, 4 Noise"));
    EXPECT_TRUE (row (ParameterIndex::Osc1Unison).contains (" 0 (1 voice) ") && row (ParameterIndex::Osc1Unison).endsWith (", 6 7 voices, 7 8 voices"));
    EXPECT_TRUE (row (ParameterIndex::Filter1EnvAmount).contains (" 1 (+100 %) ") && row (ParameterIndex::Filter1EnvAmount).endsWith (" 0 ... 1: -100 % ... +100 %"));
    EXPECT_TRUE (row (ParameterIndex::Osc1Offset).contains (" 0.12 (0 st) ")
                 && row (ParameterIndex::Osc1Offset).endsWith (" 0 ... 0.24 in steps of 0.01: -12 st ... +12 st"));
    EXPECT_TRUE (row (ParameterIndex::Osc1Active).contains (" 1 (On) ") && row (ParameterIndex::Osc1Active).endsWith (" switch: 0 Off, 1 On"));
    EXPECT_TRUE (row (ParameterIndex::Filter1Cutoff).contains (" Filter Cutoff ") && row (ParameterIndex::Filter1Cutoff).contains (" 0.3 (1.50 kHz) ")
                 && row (ParameterIndex::Filter1Cutoff).endsWith (" 0 ... 1: 10 Hz ... 5.00 kHz"));
    EXPECT_TRUE (row (ParameterIndex::Delay1Time).endsWith (" 0 ... 1: 0/16 ... 8/16; with Delay1Sync off 0 ms ... 2.00 s"));
    EXPECT_TRUE (row (ParameterIndex::MidiLearn).endsWith (" 0 ... 1, stored only"));
}

// The benchmark mode: each line gives the real-time factor and the block times, in the
// block size asked for (the storm's own 64 by default), with the voice lanes asked for;
// lanes the machine cannot run are refused in one line.
TEST_F (RendererFixture, TheBenchmarkReportsBlockTimesAndRefusesLanesTheMachineLacks)
{
    struct Case
    {
        juce::StringArray arguments;
        int exitCode;
        const char* header;      // in the first line
        const char* result;      // in the last line
    };

    const Case cases[] = {
        { { "--bench", "storm", "--seconds", "0.05" }, 0, "512 (storm: 64)-sample blocks", "storm    128 notes" },
        { { "--bench", "storm", "--seconds", "0.05" }, 0, "48000 Hz", "blocks of 64: median " },
        { { "--bench", "light", "8", "--seconds", "0.05", "--block", "100", "--lanes", "off" }, 0, "100-sample blocks", "blocks of 100: median " },
        { { "--bench", "light", "8", "--seconds", "0.05", "--lanes", "off" }, 0, "CPU: ", "voice lanes: off" },
        { { "--bench", "heavy", "8", "--seconds", "0.05" }, 0, "CPU: ", "% of the block's 10667 us); voice lanes: " },
        { { "--bench", "light", "8", "--lanes", "sse1" }, 1, "CPU: ", "quenby-render: this machine cannot run voice lanes of sse1" },
    };

    for (const auto& c : cases)
    {
        const auto run = runRenderer (c.arguments, folder);
        const auto what = c.arguments.joinIntoString (" ");
        EXPECT_EQ (run.exitCode, c.exitCode) << what;
        ASSERT_GE (run.lines.size(), 2) << what;
        EXPECT_TRUE (run.lines[0].contains (c.header)) << what << ": " << run.lines[0];
        EXPECT_TRUE (run.lines[run.lines.size() - 1].contains (c.result)) << what << ": " << run.lines[run.lines.size() - 1];
    }
}

namespace
{
    // The long option names in a text, in order: each "--name" that begins a help line's
    // option column, or that follows a ".TP" line in a manual page's OPTIONS section.
    juce::String findOptionNames (const juce::StringArray& lines, bool manualPage)
    {
        juce::StringArray names;
        bool inOptions = false;

        for (int i = 0; i < lines.size(); ++i)
        {
            if (lines[i].startsWith (".SH "))
                inOptions = lines[i] == ".SH OPTIONS";

            if (manualPage ? (! inOptions || lines[i - 1] != ".TP") : ! lines[i].startsWith ("  -"))
                continue;

            const auto plain = lines[i].replace ("\\-", "-").replace ("\\fB", "").replace ("\\fR", "");
            names.add (plain.fromFirstOccurrenceOf ("--", true, false).upToFirstOccurrenceOf (" ", false, false));
        }

        return names.joinIntoString (" ");
    }
}

// The option table is the one list of the renderer's options: the parser reads every row
// of it (a row it does not read, or an option not in it, is refused), and --help and the
// manual page list each row once. --help and --version print to standard output.
TEST_F (RendererFixture, TheParserHelpAndManualPageShareOneOptionTable)
{
    juce::StringArray table;

    for (const auto& option : RenderOptionTable::getOptions())
    {
        table.add (option.name);

        if (option.group == RenderOption::Group::rendering || option.group == RenderOption::Group::listing)
        {
            error.clear();
            parse ({ option.name, "1", "in.mid", "out.wav" });
            EXPECT_FALSE (error.contains ("not read") || error.startsWith ("unknown option")) << option.name << ": " << error;
        }
    }

    parse ({ "--frobnicate", "1", "in.mid", "out.wav" });
    EXPECT_EQ (error, "unknown option --frobnicate");

    const auto help = runRenderer ({ "--help" }, folder, juce::ChildProcess::wantStdOut);
    EXPECT_EQ (help.exitCode, 0);
    EXPECT_TRUE (help.lines[0].startsWith ("usage: quenby-render ")) << help.lines[0];
    const auto tableNames = table.joinIntoString (" ");
    EXPECT_EQ (findOptionNames (help.lines, false), tableNames);

    const auto manualPage = juce::StringArray::fromLines (juce::File (QUENBY_RENDER_MANUAL).loadFileAsString());
    EXPECT_EQ (findOptionNames (manualPage, true), tableNames);

    const auto version = runRenderer ({ "--version" }, folder, juce::ChildProcess::wantStdOut);
    EXPECT_EQ (version.exitCode, 0);
    ASSERT_EQ (version.lines.size(), 1);
    EXPECT_TRUE (version.lines[0].startsWith ("quenby-render ") && version.lines[0].containsOnly ("quenby-render 0123456789.")) << version.lines[0];
}

namespace
{
    // Where sound starts again after at least 20 ms of silence, in samples.
    std::vector<int> onsets (const juce::AudioBuffer<float>& audio)
    {
        std::vector<int> starts;
        int lastSound = -1000000;

        for (int i = 0; i < audio.getNumSamples(); ++i)
        {
            if (std::abs (audio.getSample (0, i)) > 1.0e-6f)
            {
                if (i - lastSound > 960)
                    starts.push_back (i);

                lastSound = i;
            }
        }

        return starts;
    }

    // Two short notes, at 0.5 s and at 2.5 s, in a file whose tempo falls from 120 to 90
    // beats per minute at 2 s (beat 4).
    juce::File writeTempoChange (const juce::File& folder)
    {
        juce::MidiMessageSequence track;
        track.addEvent (juce::MidiMessage::tempoMetaEvent (500000), 0.0);
        track.addEvent (juce::MidiMessage::tempoMetaEvent (666667), 3840.0);

        for (const double tick : { 960.0, 4560.0 })
        {
            track.addEvent (juce::MidiMessage::noteOn (1, 69, (juce::uint8) 127), tick);
            track.addEvent (juce::MidiMessage::noteOff (1, 69), tick + 24.0);
        }

        juce::MidiFile midi;
        midi.setTicksPerQuarterNote (960);
        midi.addTrack (track);

        auto file = folder.getChildFile ("tempo.mid");
        juce::FileOutputStream stream (file);
        midi.writeTo (stream);
        return file;
    }

    constexpr const char* shortSquare[] = { "--set", "Osc1WaveType=1", "--set", "EnvAmpOsc1Attack=0", "--set", "EnvAmpOsc1Release=0",
                                            "--set", "Delay1Active=1" };
}

// A synced delay of a beat follows the file's tempo map; with --bpm the whole song has one tempo.
TEST_F (TimedRenderFixture, TheSyncedDelayFollowsTheFilesTempoMap)
{
    const auto midi = writeTempoChange (folder);
    std::vector<const char*> arguments (std::begin (shortSquare), std::end (shortSquare));
    arguments.insert (arguments.end(), { "--set", "Delay1Time=0.5", "--set", "Delay1Feedback=0", "a", "b" });
    auto atOneTempo = arguments;
    atOneTempo.insert (atOneTempo.begin(), { "--bpm", "120" });

    // The notes and each one's echo, a beat later: 0.5 s before the change, 0.667 s after it.
    const auto heard = onsets (renderWith (midi, arguments));
    ASSERT_EQ (heard.size(), 4u);
    EXPECT_EQ (heard[1] - heard[0], 24000);
    EXPECT_EQ (heard[3] - heard[2], 32000);

    const auto forced = onsets (renderWith (midi, atOneTempo));
    ASSERT_EQ (forced.size(), 4u);
    EXPECT_EQ (forced[3] - forced[2], 24000);
}

// A free delay of two seconds: each echo of a short note follows more than a second of
// silence, and the render goes on until they have died away.
TEST_F (TimedRenderFixture, EchoesAfterLongSilencesAreRendered)
{
    std::vector<const char*> arguments (std::begin (shortSquare), std::end (shortSquare));
    arguments.insert (arguments.end(), { "--set", "Delay1Sync=0", "--set", "Delay1Time=1", "a", "b" });
    const auto heard = onsets (renderWith (writeMidi ({ { 0.0, 0.02 } }), arguments));

    ASSERT_GE (heard.size(), 3u);
    EXPECT_EQ (heard[1] - heard[0], 96000);
    EXPECT_EQ (heard[2] - heard[1], 96000);
}
