#include "DatabaseFileHelpers.h"
#include "AuditionPhrase.h"
#include "OfflineRenderer.h"
#include "Model/FactoryBank.h"
#include "Model/UserSettings.h"
#include "Processor/PluginProcessor.h"

#include <algorithm>
#include <functional>
#include <cmath>
#include <map>
#include <set>

namespace
{
    using testing_helpers::DatabaseFileTest;
    using testing_helpers::namesOf;

    double toDecibels (double level)
    {
        return 20.0 * std::log10 (juce::jmax (level, 1.0e-12));
    }

    // A MIDI file of one note held for a while, for the renderer to play.
    juce::File writeNoteFile (const juce::File& file, int note, double seconds)
    {
        juce::MidiMessageSequence track;
        track.addEvent (juce::MidiMessage::tempoMetaEvent (600000), 0.0);
        track.addEvent (juce::MidiMessage::noteOn (1, note, 0.8f), 0.0);
        track.addEvent (juce::MidiMessage::noteOff (1, note), seconds * 960.0 / 0.6);
        track.updateMatchedPairs();

        juce::MidiFile midi;
        midi.setTicksPerQuarterNote (960);
        midi.addTrack (track);
        file.deleteFile();
        juce::FileOutputStream stream (file);
        EXPECT_TRUE (stream.openedOk() && midi.writeTo (stream));
        return file;
    }

    struct Render
    {
        juce::AudioBuffer<float> audio;
        OfflineRenderer::Result result;
    };

    Render render (const juce::String& program, const juce::String& phrase, const juce::File& midiFile, double tail)
    {
        RenderOptions options;
        options.programName = program;
        options.phrase = phrase;
        options.midiFile = midiFile;
        options.tailSeconds = tail;

        Render rendered;
        juce::String error;
        EXPECT_TRUE (OfflineRenderer (options).renderToBuffer (rendered.audio, rendered.result, error)) << program << ": " << error;
        return rendered;
    }

    double rmsOf (const juce::AudioBuffer<float>& audio, double startSeconds, double endSeconds, double rate = 48000.0)
    {
        const auto start = juce::jlimit (0, audio.getNumSamples(), (int) (startSeconds * rate));
        const auto end = juce::jlimit (start, audio.getNumSamples(), (int) (endSeconds * rate));
        double sum = 0.0;

        for (int channel = 0; channel < audio.getNumChannels(); ++channel)
            for (int i = start; i < end; ++i)
                sum += (double) audio.getSample (channel, i) * audio.getSample (channel, i);

        return end > start ? std::sqrt (sum / ((end - start) * audio.getNumChannels())) : 0.0;
    }

    // The level in 50 ms windows, in dB.
    std::vector<double> levelsOf (const juce::AudioBuffer<float>& audio, double untilSeconds)
    {
        std::vector<double> levels;

        for (double start = 0.0; start + 0.05 <= untilSeconds; start += 0.05)
            levels.push_back (toDecibels (rmsOf (audio, start, start + 0.05)));

        return levels;
    }

    // The share of the energy below a frequency: two low-pass sections against the whole.
    double shareBelow (const juce::AudioBuffer<float>& audio, double hz, double endSeconds)
    {
        double below = 0.0, all = 0.0;
        const auto end = juce::jmin (audio.getNumSamples(), (int) (endSeconds * 48000.0));

        for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        {
            juce::IIRFilter first, second;
            first.setCoefficients (juce::IIRCoefficients::makeLowPass (48000.0, hz));
            second.setCoefficients (juce::IIRCoefficients::makeLowPass (48000.0, hz));

            for (int i = 0; i < end; ++i)
            {
                const auto x = audio.getSample (channel, i);
                const auto low = second.processSingleSampleRaw (first.processSingleSampleRaw (x));
                below += (double) low * low;
                all += (double) x * x;
            }
        }

        return all > 0.0 ? below / all : 0.0;
    }

    // The RMS frequency of a stretch: how bright it sounds, from its slope against its level.
    double brightnessOf (const juce::AudioBuffer<float>& audio, double startSeconds, double endSeconds)
    {
        double slope = 0.0, level = 0.0;

        for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        {
            for (int i = (int) (startSeconds * 48000.0) + 1; i < juce::jmin (audio.getNumSamples(), (int) (endSeconds * 48000.0)); ++i)
            {
                const double x = audio.getSample (channel, i), previous = audio.getSample (channel, i - 1);
                slope += (x - previous) * (x - previous);
                level += x * x;
            }
        }

        return level > 0.0 ? std::sqrt (slope / level) * 48000.0 / juce::MathConstants<double>::twoPi : 0.0;
    }

    double medianOf (std::vector<double> values)
    {
        std::sort (values.begin(), values.end());
        const auto n = values.size();
        return n == 0 ? 0.0 : n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    }

    class FactoryBankTest : public DatabaseFileTest
    {
    protected:
        void SetUp() override
        {
            DatabaseFileTest::SetUp();
            settingsFile.deleteFile();
        }

        // Back to the user of the other tests, who was offered the bank.
        void TearDown() override
        {
            testing_helpers::writeOfferedSettings();
            DatabaseFileTest::TearDown();
        }

        // "Initial Program" and the bank, as a new database holds them.
        static juce::StringArray newDatabaseNames()
        {
            juce::StringArray names ("Initial Program");

            for (const auto* program : FactoryBank::getPrograms())
                names.add (program->getName());

            return names;
        }

        const juce::File settingsFile = UserSettings::getDefaultFile();
    };
}

// Every factory program, played as the audition phrase and as single notes through the
// renderer: what the bank promises of each and of all together.
TEST_F (FactoryBankTest, EveryProgramFitsItsCategoryAndTheBanksLevels)
{
    const auto& bank = FactoryBank::getPrograms();
    ASSERT_GE (bank.size(), 128);

    const auto folder = juce::File::createTempFile ("quenby-bank");
    folder.createDirectory();
    const auto middleC = writeNoteFile (folder.getChildFile ("c4.mid"), 60, 2.5);
    const auto lowC = writeNoteFile (folder.getChildFile ("c2.mid"), AuditionPhrase::lowNote, 1.0);

    // What each category's sound must do, on the rendered audio.
    enum class Check { none, bass, pad, fallingNote, lead };
    const std::map<juce::String, Check> checks = {
        { "Bass", Check::bass }, { "Lead", Check::lead }, { "Pad", Check::pad }, { "Keys", Check::fallingNote },
        { "Pluck", Check::fallingNote }, { "Brass and Strings", Check::none }, { "Bells and Mallets", Check::none },
        { "FX and Atmospheres", Check::none }, { "Sequences", Check::none }, { "Percussion", Check::none } };

    std::map<juce::String, int> perCategory;
    std::set<juce::String> names;
    std::vector<double> loudness, padBrightness;
    std::vector<std::pair<juce::String, double>> leadBrightness;

    for (const auto* program : bank)
    {
        const auto name = program->getName();
        SCOPED_TRACE (name.toStdString());

        EXPECT_EQ (program->getBank(), "Factory");
        EXPECT_LE (name.length(), 24);
        EXPECT_TRUE (names.insert (name).second) << "a second program named " << name;
        EXPECT_TRUE (program->getSubType().isNotEmpty());
        EXPECT_TRUE (program->getMode().contains ("Mod wheel")) << program->getMode();
        ASSERT_EQ (checks.count (program->getCategory()), 1u) << program->getCategory();
        ++perCategory[program->getCategory()];

        const auto phrase = render (name, "audition", {}, 4.0);
        const auto& audio = phrase.audio;
        ASSERT_GT (audio.getNumSamples(), (int) (AuditionPhrase::melodyEnd * 48000.0));

        int nonFinite = 0, subnormal = 0;

        for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        {
            double sum = 0.0;

            for (int i = 0; i < audio.getNumSamples(); ++i)
            {
                const auto x = audio.getSample (channel, i);
                nonFinite += std::isfinite (x) ? 0 : 1;
                subnormal += std::fpclassify (x) == FP_SUBNORMAL ? 1 : 0;
                sum += x;
            }

            EXPECT_LT (toDecibels (std::abs (sum / audio.getNumSamples())), -50.0) << "DC offset on channel " << channel;
        }

        EXPECT_EQ (nonFinite, 0);
        EXPECT_EQ (subnormal, 0);
        EXPECT_LT (toDecibels (audio.getMagnitude (0, audio.getNumSamples())), -1.0) << "peak";
        loudness.push_back (toDecibels (phrase.result.rms));

        const auto note = render (name, {}, middleC, 1.0);
        const auto levels = levelsOf (note.audio, 2.5);
        const auto loudest = std::max_element (levels.begin(), levels.end());

        switch (checks.at (program->getCategory()))
        {
            case Check::bass:
            {
                const auto low = render (name, {}, lowC, 0.5);
                EXPECT_GT (shareBelow (low.audio, 500.0, 1.0), 0.5) << "energy below 500 Hz on C2";
                break;
            }

            case Check::pad:
            {
                // Reaches its full level after 150 ms or more, and holds it to the end of the note.
                const auto reached = std::find_if (levels.begin(), levels.end(), [&] (double level) { return level > *loudest - 1.5; });
                EXPECT_GE ((reached - levels.begin()) * 0.05, 0.15 - 1.0e-9) << "attack";
                EXPECT_GT (toDecibels (rmsOf (note.audio, 2.0, 2.5)), *loudest - 4.0) << "hold";
                padBrightness.push_back (brightnessOf (note.audio, 1.0, 2.5));
                break;
            }

            case Check::fallingNote:
                EXPECT_LT (toDecibels (rmsOf (note.audio, 1.0, 1.05)), *loudest - 12.0) << "a second after the strike";
                break;

            case Check::lead:
                leadBrightness.emplace_back (name, brightnessOf (note.audio, 1.0, 2.5));
                break;

            case Check::none:
                break;
        }
    }

    EXPECT_GE (perCategory.size(), 8u);

    for (const auto& [category, count] : perCategory)
        EXPECT_GE (count, 8) << category;

    // Switching programs never jumps in level.
    const auto median = medianOf (loudness);

    for (int i = 0; i < bank.size(); ++i)
        EXPECT_NEAR (loudness[(size_t) i], median, 4.0) << bank[i]->getName() << " against the median " << median << " dBFS";

    const auto padMedian = medianOf (padBrightness);

    for (const auto& [name, brightness] : leadBrightness)
        EXPECT_GT (brightness, padMedian) << name << " is darker than the pads";

    // Together the programs use every part of the engine.
    const auto value = [] (const PluginProgram& program, int index) { return program.getParameter (index)->getValue(); };
    const auto lfoOn = [&] (const PluginProgram& p) { return value (p, ParameterIndex::Lfo1Active) != 0.0f; };
    const auto delayOn = [&] (const PluginProgram& p) { return value (p, ParameterIndex::Delay1Active) != 0.0f; };
    const auto filterOn = [&] (const PluginProgram& p) { return value (p, ParameterIndex::Filter1Active) != 0.0f; };
    const auto pitchEnvelope = [&] (const PluginProgram& p, bool down)
    {
        return value (p, ParameterIndex::EnvPitchOsc1Active) != 0.0f && (value (p, ParameterIndex::Osc1PitchEnvDown) != 0.0f) == down;
    };

    const std::vector<std::pair<const char*, std::function<bool (const PluginProgram&)>>> uses {
        { "play mode Poly",   [&] (const auto& p) { return value (p, ParameterIndex::CurrentPlayMode) == 0.0f; } },
        { "play mode Mono",   [&] (const auto& p) { return value (p, ParameterIndex::CurrentPlayMode) == 1.0f; } },
        { "play mode Glide",  [&] (const auto& p) { return value (p, ParameterIndex::CurrentPlayMode) == 2.0f && value (p, ParameterIndex::Glide) > 0.0f; } },
        { "every wave",       [&] (const auto&) { std::set<float> waves; for (auto* p : bank) waves.insert (value (*p, ParameterIndex::Osc1WaveType)); return waves.size() == 4; } },
        { "lowpass",          [&] (const auto& p) { return filterOn (p) && value (p, ParameterIndex::Filter1Type) == 0.0f; } },
        { "bandpass",         [&] (const auto& p) { return filterOn (p) && value (p, ParameterIndex::Filter1Type) == 1.0f; } },
        { "highpass",         [&] (const auto& p) { return filterOn (p) && value (p, ParameterIndex::Filter1Type) == 2.0f; } },
        { "filter envelope",  [&] (const auto& p) { return filterOn (p) && value (p, ParameterIndex::EnvFilter1Active) != 0.0f; } },
        { "pitch envelope up",   [&] (const auto& p) { return pitchEnvelope (p, false); } },
        { "pitch envelope down", [&] (const auto& p) { return pitchEnvelope (p, true); } },
        { "every LFO shape",  [&] (const auto&) { std::set<float> shapes; for (auto* p : bank) if (lfoOn (*p)) shapes.insert (value (*p, ParameterIndex::Lfo1WaveType)); return shapes.size() == 5; } },
        { "LFO on the amp",   [&] (const auto& p) { return lfoOn (p) && value (p, ParameterIndex::Lfo1Target) == 0.0f; } },
        { "LFO on the pitch", [&] (const auto& p) { return lfoOn (p) && value (p, ParameterIndex::Lfo1Target) == 1.0f; } },
        { "LFO on the filter", [&] (const auto& p) { return lfoOn (p) && value (p, ParameterIndex::Lfo1Target) == 2.0f; } },
        { "retriggered LFO",  [&] (const auto& p) { return lfoOn (p) && value (p, ParameterIndex::Lfo1Mode) == 1.0f; } },
        { "tempo-locked LFO", [&] (const auto& p) { return lfoOn (p) && value (p, ParameterIndex::Lfo1Sync) != 0.0f; } },
        { "LFO envelope",     [&] (const auto& p) { return lfoOn (p) && value (p, ParameterIndex::EnvLfo1Active) != 0.0f; } },
        { "synced delay",     [&] (const auto& p) { return delayOn (p) && value (p, ParameterIndex::Delay1Sync) != 0.0f; } },
        { "free delay",       [&] (const auto& p) { return delayOn (p) && value (p, ParameterIndex::Delay1Sync) == 0.0f; } },
        { "swing",            [&] (const auto& p) { return delayOn (p) && value (p, ParameterIndex::Delay1Swing) > 0.0f; } },
        { "reverb",           [&] (const auto& p) { return value (p, ParameterIndex::Reverb1Active) != 0.0f; } },
        { "stereo spread",    [&] (const auto& p) { return value (p, ParameterIndex::Osc1Pan) != value (p, ParameterIndex::Osc2Pan); } },
        { "wheel range",      [&] (const auto& p) { return value (p, ParameterIndex::Osc1PitchRange) > 0.021f; } },
        { "filter envelope down", [&] (const auto& p) { return filterOn (p) && value (p, ParameterIndex::Filter1EnvAmount) < 0.5f; } },
        { "key tracking",     [&] (const auto& p) { return filterOn (p) && value (p, ParameterIndex::Filter1KeyTrack) > 0.0f; } },
        { "filter velocity",  [&] (const auto& p) { return filterOn (p) && value (p, ParameterIndex::Filter1Velocity) > 0.0f; } },
        { "even velocity",    [&] (const auto& p) { return value (p, ParameterIndex::AmpVelocity) < 1.0f; } },
        { "the mod wheel",    [&] (const auto& p) { return lfoOn (p) && value (p, ParameterIndex::Lfo1ModWheel) > 0.0f; } },
    };

    for (const auto& use : uses)
        EXPECT_TRUE (std::any_of (bank.begin(), bank.end(), [&] (const auto* program) { return use.second (*program); }))
            << "no program uses " << use.first;

    // No two programs are the same sound.
    for (int a = 0; a < bank.size(); ++a)
    {
        for (int b = a + 1; b < bank.size(); ++b)
        {
            int differences = 0;

            for (int index = 0; index < PluginProgram::numParameters; ++index)
                differences += bank[a]->getParameter (index)->getValue() != bank[b]->getParameter (index)->getValue() ? 1 : 0;

            EXPECT_GE (differences, 3) << bank[a]->getName() << " and " << bank[b]->getName();
        }
    }

    folder.deleteRecursively();
}

// A new user's database is "Initial Program" and the bank, offered once: what the user does
// to the factory programs afterwards stays so.
TEST_F (FactoryBankTest, TheBankIsOfferedOnceAtTheFirstStartAndNeverBroughtBack)
{
    const auto& bank = FactoryBank::getPrograms();
    const auto first = bank[0]->getName(), second = bank[1]->getName();
    {
        QuenbyAudioProcessor processor;
        const auto& database = *processor.state->database;
        EXPECT_EQ (namesOf (database), newDatabaseNames());
        EXPECT_EQ (processor.state->getCurrentProgramIndex(), 0);
        EXPECT_EQ (PluginDatabase::readFile (databaseFile).programs.size(), database.getNumPrograms());
        EXPECT_EQ (UserSettings::load().settings.factoryVersion, FactoryBank::version);
    }

    // The user deletes the first factory program and changes the second; later starts keep both so.
    {
        PluginDatabase database;
        database.load();
        database.removeProgram (1);
        database.getProgram (1)->getParameter (ParameterIndex::Osc1Gain)->setValue (0.123f);
        ASSERT_TRUE (database.save());
    }

    for (int start = 0; start < 2; ++start)
    {
        QuenbyAudioProcessor processor;
        const auto names = namesOf (*processor.state->database);
        EXPECT_FALSE (names.contains (first));
        ASSERT_EQ (names.indexOf (second), 1);
        EXPECT_EQ (processor.state->database->getProgram (1)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.123f);
    }

    // The renderer still finds a deleted factory program by its name, and leaves the file.
    const auto before = databaseFile.loadFileAsString();
    RenderOptions options;
    options.programName = first;
    QuenbyAudioProcessor processor;
    juce::String error;
    ASSERT_TRUE (OfflineRenderer::setUpSound (processor, options, error)) << error;
    EXPECT_EQ (processor.state->getCurrentProgram()->getId(), bank[0]->getId());
    EXPECT_EQ (databaseFile.loadFileAsString(), before);
}

TEST_F (FactoryBankTest, AnExistingDatabaseGainsTheMissingFactoryProgramsAfterItsOwn)
{
    const auto& bank = FactoryBank::getPrograms();

    // A user's own program, and a factory program the user changed before this version.
    writeDatabaseFile (databaseText (programElement ("ID=\"mine\" Name=\"My Lead\" Osc1Gain=\"0.7\"")
                                     + programElement ("ID=\"" + bank[2]->getId() + "\" Name=\"Renamed\" Osc1Gain=\"0.9\"")));
    {
        QuenbyAudioProcessor processor;
        const auto& database = *processor.state->database;
        ASSERT_EQ (database.getNumPrograms(), 1 + bank.size());
        EXPECT_EQ (database.getProgram (0)->getName(), "My Lead");
        EXPECT_EQ (database.getProgram (1)->getName(), "Renamed");
        EXPECT_EQ (database.getProgram (1)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.9f);
        EXPECT_EQ (database.getProgram (2)->getId(), bank[0]->getId());
        EXPECT_EQ (database.findProgram ("mine"), processor.state->getCurrentProgram());
        EXPECT_EQ (PluginDatabase::readFile (databaseFile).programs.size(), database.getNumPrograms());
    }

    // A damaged file is kept aside before the first start writes the bank over it.
    removeDatabaseFile();
    settingsFile.deleteFile();
    writeDatabaseFile ("<VELMORA_DATABASE><PROGRAM ID=\"lost\"");
    const auto damaged = databaseFile.loadFileAsString();
    {
        QuenbyAudioProcessor processor;
        EXPECT_EQ (namesOf (*processor.state->database), newDatabaseNames());
    }

    const auto copies = databaseFile.getParentDirectory().findChildFiles (juce::File::findFiles, false, databaseFile.getFileName() + ".unreadable-*");
    ASSERT_EQ (copies.size(), 1);
    EXPECT_EQ (copies[0].loadFileAsString(), damaged);
}

// "Restore factory programs" adds back what is missing, at the end, and changes nothing else.
TEST_F (FactoryBankTest, RestoreAddsBackTheMissingFactoryProgramsOnly)
{
    QuenbyAudioProcessor processor;
    auto& programs = processor.getProgramManager();
    auto& database = *processor.state->database;
    const auto& bank = FactoryBank::getPrograms();

    programs.selectProgram (database.getProgram (5), true);
    ASSERT_TRUE (programs.deleteProgram());
    programs.selectProgram (database.getProgram (1), true);
    ASSERT_TRUE (programs.deleteProgram());
    database.getProgram (3)->getParameter (ParameterIndex::Filter1Cutoff)->setValue (0.77f);
    auto* current = database.getProgram (10);
    programs.selectProgram (current, true);
    const auto before = namesOf (database);

    EXPECT_EQ (programs.restoreFactoryPrograms(), 2);
    const auto after = namesOf (database);
    EXPECT_EQ (after.size(), before.size() + 2);
    EXPECT_EQ (juce::StringArray (after.begin(), before.size()), before);
    EXPECT_EQ (after[before.size()], bank[0]->getName());
    EXPECT_EQ (after[before.size() + 1], bank[4]->getName());
    EXPECT_EQ (database.getProgram (3)->getParameter (ParameterIndex::Filter1Cutoff)->getValue(), 0.77f);
    EXPECT_EQ (processor.state->getCurrentProgram(), current);

    EXPECT_EQ (programs.restoreFactoryPrograms(), 0);
    EXPECT_EQ (database.getNumPrograms(), after.size());

    // A step of the history like any other.
    ASSERT_TRUE (programs.undo());
    EXPECT_EQ (namesOf (database), before);
    EXPECT_EQ (processor.state->getCurrentProgram(), current);
}
