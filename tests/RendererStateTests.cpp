#include "DatabaseFileHelpers.h"
#include "OfflineRenderer.h"
#include "RenderListings.h"
#include "Processor/PluginProcessor.h"
#include "Model/ParameterTable.h"

using namespace testing_helpers;

namespace
{
    std::optional<RenderOptions> parse (const juce::String& commandLine, juce::String& error)
    {
        auto arguments = juce::StringArray::fromTokens (commandLine.trim(), " ", "\"");

        for (auto& argument : arguments)
            argument = argument.unquoted();

        return RenderOptions::parse (arguments, error);
    }

    juce::MemoryBlock chunkOf (QuenbyAudioProcessor& processor)
    {
        juce::MemoryBlock chunk;
        processor.getStateInformation (chunk);
        return chunk;
    }
}

TEST (RenderOptionsSound, ReadsProgramStateAndSaveStateFiles)
{
    juce::String error;
    const auto options = parse ("--program \"Warm Pad\" --state in.chunk --save-state /tmp/out.chunk a.mid b.wav", error);

    ASSERT_TRUE (options.has_value()) << error;
    EXPECT_EQ (options->programName, "Warm Pad");
    EXPECT_EQ (options->stateFile, juce::File::getCurrentWorkingDirectory().getChildFile ("in.chunk"));
    EXPECT_EQ (options->saveStateFile, juce::File ("/tmp/out.chunk"));
    EXPECT_TRUE (options->rendersAudio());
}

TEST (RenderOptionsSound, SaveStateAloneNeedsNoMidiOrWaveFile)
{
    juce::String error;
    const auto options = parse ("--set Osc1Gain=0.25 --save-state out.chunk", error);

    ASSERT_TRUE (options.has_value()) << error;
    EXPECT_FALSE (options->rendersAudio());

    EXPECT_FALSE (parse ("--program Bright", error).has_value());
    EXPECT_FALSE (parse ("--state \"\" a.mid b.wav", error).has_value());
    EXPECT_TRUE (error.contains ("--state"));
    EXPECT_FALSE (parse ("--program \"\" a.mid b.wav", error).has_value());
    EXPECT_TRUE (error.contains ("--program"));
}

class RendererSound : public DatabaseFileTest
{
protected:
    void SetUp() override
    {
        DatabaseFileTest::SetUp();

        // The user's programs: the initial one and "Bright".
        PluginDatabase database;
        auto* bright = database.createProgram();
        bright->setName ("Bright");
        bright->getParameter (ParameterIndex::Osc1Gain)->setValue (0.25f);
        database.save();
        brightId = bright->getId();

        folder = juce::File::createTempFile ("quenby-render-test");
        ASSERT_TRUE (folder.createDirectory());
    }

    void TearDown() override
    {
        folder.deleteRecursively();
        DatabaseFileTest::TearDown();
    }

    bool setUp (QuenbyAudioProcessor& processor, const juce::String& commandLine)
    {
        const auto options = parse (commandLine + " a.mid b.wav", error);
        return options.has_value() && OfflineRenderer::setUpSound (processor, *options, error);
    }

    juce::File temporaryFile (const char* name) const
    {
        return folder.getChildFile (name);
    }

    juce::String brightId, error;
    juce::File folder;
};

TEST_F (RendererSound, WithoutProgramPlaysANewDefaultProgramAndKeepsTheUsersPrograms)
{
    QuenbyAudioProcessor processor;
    ASSERT_TRUE (setUp (processor, "")) << error;

    auto& database = *processor.state->database;
    ASSERT_EQ (database.getNumPrograms(), 3);
    EXPECT_EQ (processor.state->getCurrentProgram(), database.getProgram (2));
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Gain), 0.5f);
}

TEST_F (RendererSound, ProgramPlaysTheDatabaseProgramOfThatName)
{
    QuenbyAudioProcessor processor;
    ASSERT_TRUE (setUp (processor, "--program Bright --set Osc1Pan=0.75")) << error;

    EXPECT_EQ (processor.state->getCurrentProgram()->getId(), brightId);
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Gain), 0.25f);
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Pan), 0.75f);
    EXPECT_EQ (processor.synthAudioSource->getSynth().settings.Osc1Gain.load(), 0.5);
    EXPECT_TRUE (processor.hostChangedParameter);     // --set goes the host's way
}

// The first program of a program file plays; the database file is not written. A file
// that is no program file, or the file together with --program, is an error.
TEST_F (RendererSound, ProgramFilePlaysItsFirstProgramAndAnUnreadableOneIsAnError)
{
    const auto programFile = temporaryFile ("two.quenby");
    {
        PluginProgram first, second;
        first.setName ("Lead");
        first.getParameter (ParameterIndex::Osc1WaveType)->setValue (3.0f);
        PluginDatabase::writeFile (programFile, { &first, &second });
    }

    const auto databaseBytes = databaseFile.loadFileAsString();
    QuenbyAudioProcessor processor;
    ASSERT_TRUE (setUp (processor, "--program-file " + programFile.getFullPathName() + " --set Osc1Pan=0.75")) << error;

    EXPECT_EQ (processor.state->getCurrentProgram()->getName(), "Lead");
    EXPECT_EQ (processor.synthAudioSource->getSynth().settings.Osc1WaveType, 3);
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Pan), 0.75f);
    EXPECT_EQ (databaseFile.loadFileAsString(), databaseBytes);

    const auto notAProgramFile = temporaryFile ("song.mid");
    ASSERT_TRUE (notAProgramFile.replaceWithText ("MThd"));
    EXPECT_FALSE (setUp (processor, "--program-file " + notAProgramFile.getFullPathName()));
    EXPECT_TRUE (error.contains ("song.mid is not XML")) << error;

    EXPECT_FALSE (setUp (processor, "--program Bright --program-file " + programFile.getFullPathName()));
    EXPECT_TRUE (error.contains ("--program-file")) << error;
}

TEST_F (RendererSound, UnknownProgramOrParameterIsAnError)
{
    QuenbyAudioProcessor processor;

    EXPECT_FALSE (setUp (processor, "--program Dull"));
    EXPECT_TRUE (error.contains ("Dull"));

    EXPECT_FALSE (setUp (processor, "--set Osc9Gain=1"));
    EXPECT_TRUE (error.contains ("Osc9Gain"));
}

TEST_F (RendererSound, SavedStateIsTheProcessorsChunkAndRestoresElsewhere)
{
    const auto chunkFile = temporaryFile ("bright.chunk");

    juce::MemoryBlock expected;
    {
        QuenbyAudioProcessor processor;
        ASSERT_TRUE (setUp (processor, "--program Bright --set MasterVolume=0.125 --save-state " + chunkFile.getFullPathName())) << error;
        expected = chunkOf (processor);
    }

    juce::MemoryBlock saved;
    ASSERT_TRUE (chunkFile.loadFileAsData (saved));
    EXPECT_EQ (saved, expected);

    // Another instance, as a host reopening the project: the chunk's values on "Bright",
    // then --set on top of them.
    QuenbyAudioProcessor processor;
    ASSERT_TRUE (setUp (processor, "--state " + chunkFile.getFullPathName() + " --set Osc1Pan=0.25")) << error;

    EXPECT_EQ (processor.state->getCurrentProgram()->getId(), brightId);
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Gain), 0.25f);
    EXPECT_EQ (processor.getParameter (ParameterIndex::MasterVolume), 0.125f);
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Pan), 0.25f);
}

TEST_F (RendererSound, StateFileThatIsNoChunkIsAnError)
{
    const auto missing = temporaryFile ("missing.chunk");
    const auto garbage = temporaryFile ("garbage.chunk");
    ASSERT_TRUE (garbage.replaceWithText ("not a chunk"));

    QuenbyAudioProcessor processor;

    EXPECT_FALSE (setUp (processor, "--state " + missing.getFullPathName()));
    EXPECT_TRUE (error.contains ("cannot read"));

    EXPECT_FALSE (setUp (processor, "--state " + garbage.getFullPathName()));
    EXPECT_TRUE (error.contains ("not a Quenby state chunk"));
}

TEST_F (RendererSound, SaveStateOnlyWritesTheChunkWithoutRendering)
{
    const auto chunkFile = temporaryFile ("only.chunk");
    juce::String parseError;
    const auto options = parse ("--program Bright --save-state " + chunkFile.getFullPathName(), parseError);
    ASSERT_TRUE (options.has_value()) << parseError;

    OfflineRenderer renderer (*options);
    ASSERT_TRUE (renderer.saveStateOnly (error)) << error;

    juce::MemoryBlock saved;
    ASSERT_TRUE (chunkFile.loadFileAsData (saved));
    const auto element = juce::AudioProcessor::getXmlFromBinary (saved.getData(), (int) saved.getSize());
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getStringAttribute ("ID"), brightId);
    EXPECT_EQ (element->getStringAttribute ("Osc1Gain"), "0.25");
}

// Found by review: the renderer checked a chunk with JUCE's own reader, which loops for ever
// on some texts, exhausts the stack on deep nesting and reads past a cut-off reference.
// Each now restores or gives a one-line error.
TEST_F (RendererSound, HostileStateFilesRestoreOrGiveAOneLineError)
{
    const char* const texts[] = {
        "<VELMORA_SETTINGS ID=\"h\"><?b?>c</VELMORA_SETTINGS>",
        "<!DOCTYPE r [<!ENTITY e \"<a><?b?>c</a>\">]><VELMORA_SETTINGS ID=\"e\">&e;</VELMORA_SETTINGS>",
        "<VELMORA_SETTINGS ID=\"x\" Name=\"&#x",
        "<VELMORA_SETTINGS ID=\"c\" Name=\"Caf\xe9\" Osc1Gain=\"0.25\"/>\xff\xff"
    };
    const auto deep = "<VELMORA_SETTINGS ID=\"d\">" + juce::String::repeatedString ("<a>", 200000);
    const auto stateFile = temporaryFile ("hostile.chunk");

    for (const auto& text : { texts[0], texts[1], texts[2], texts[3], deep.toRawUTF8() })
    {
        ASSERT_TRUE (stateFile.replaceWithData (stateChunkAround (text).getData(), stateChunkAround (text).getSize()));
        QuenbyAudioProcessor processor;
        const bool restored = setUp (processor, "--state " + stateFile.getFullPathName());

        EXPECT_TRUE (restored || (error.isNotEmpty() && ! error.containsChar ('\n'))) << text;
        EXPECT_NE (processor.state->getCurrentProgram(), nullptr);
    }
}

// Found by review: --set Osc1Gain=1e39 stored an infinity, which a saved chunk carried as
// "inf" and a restore read as 0. It is stored as 0, and reads back as stored.
TEST_F (RendererSound, ValueBeyondTheFloatRangeIsStoredAsZeroAndReadsBackAsStored)
{
    const auto chunkFile = temporaryFile ("beyond.chunk");
    QuenbyAudioProcessor saving;
    ASSERT_TRUE (setUp (saving, "--set Osc1Gain=1e39 --save-state " + chunkFile.getFullPathName())) << error;
    const auto stored = saving.getParameter (ParameterIndex::Osc1Gain);
    EXPECT_TRUE (sameBits (stored, 0.0f));

    QuenbyAudioProcessor restoring;
    ASSERT_TRUE (setUp (restoring, "--state " + chunkFile.getFullPathName())) << error;
    EXPECT_TRUE (sameBits (restoring.getParameter (ParameterIndex::Osc1Gain), stored));
}

TEST_F (RendererSound, DatabaseThatDidNotLoadCompletelyIsReportedAndLeftAsItIs)
{
    writeDatabaseFile ("<VELMORA_DATABASE><PROGRAM ID=\"x\" Name=\"Bright\"/>");
    const auto damaged = databaseFile.loadFileAsString();
    const auto chunkFile = temporaryFile ("any.chunk");
    juce::String parseError;
    const auto options = parse ("--save-state " + chunkFile.getFullPathName(), parseError);
    ASSERT_TRUE (options.has_value()) << parseError;

    OfflineRenderer renderer (*options);
    ASSERT_TRUE (renderer.saveStateOnly (error)) << error;

    ASSERT_EQ (renderer.getWarnings().size(), 1);
    EXPECT_TRUE (renderer.getWarnings()[0].startsWith (databaseFile.getFullPathName() + " is not XML"));
    EXPECT_EQ (databaseFile.loadFileAsString(), damaged);
}

TEST_F (RendererSound, ListsTheNameBankAndCategoryOfEachProgram)
{
    PluginDatabase database;
    database.load();
    const auto lines = juce::StringArray::fromLines (RenderListings::listPrograms (database).trimEnd());

    ASSERT_EQ (lines.size(), 3);
    EXPECT_TRUE (lines[0].startsWith ("name ") && lines[0].endsWith (" category"));
    EXPECT_TRUE (lines[1].startsWith (database.getProgram (0)->getName()));
    EXPECT_TRUE (lines[2].startsWith ("Bright ") && lines[2].contains (" Factory ") && lines[2].endsWith (" No category")) << lines[2];
}

// --cc binds for the render and is kept by --save-state; --state brings a chunk's mappings
// back, a chunk without them (an older one) keeps the instance's, and damaged ones are left
// out with a message.
TEST_F (RendererSound, ControllersComeWithTheStateAndDamagedOnesAreLeftOut)
{
    using namespace ParameterIndex;
    const auto chunkFile = temporaryFile ("learned.chunk");
    {
        QuenbyAudioProcessor processor;
        ASSERT_TRUE (setUp (processor, "--cc 74=Filter1Cutoff --cc 20=Osc1Gain --save-state " + chunkFile.getFullPathName())) << error;
    }

    QuenbyAudioProcessor restored;
    restored.getMidiInput().bind (30, Filter1Resonance);
    ASSERT_TRUE (setUp (restored, "--state " + chunkFile.getFullPathName())) << error;
    EXPECT_EQ (restored.getMidiInput().getController (Filter1Cutoff), 74);
    EXPECT_EQ (restored.getMidiInput().getController (Osc1Gain), 20);
    EXPECT_EQ (restored.getMidiInput().getController (Filter1Resonance), MidiInput::none);

    const std::tuple<const char*, int, const char*> chunks[] = {
        { "<VELMORA_SETTINGS ID=\"old\" Osc1Gain=\"0.5\"/>",                                                          30, "" },
        { "<VELMORA_SETTINGS ID=\"a\" MidiChannel=\"17\"><MAPPING CC=\"74\" Parameter=\"Filter1Resonance\"/></VELMORA_SETTINGS>", 74, "MIDI channel of \"17\"" },
        { "<VELMORA_SETTINGS ID=\"b\"><MAPPING CC=\"64\" Parameter=\"Filter1Resonance\"/></VELMORA_SETTINGS>",        MidiInput::none, "CC \"64\"" },
        { "<VELMORA_SETTINGS ID=\"c\"><MAPPING CC=\"-1\" Parameter=\"Filter1Resonance\"/><MAPPING CC=\"999999999999\" Parameter=\"Filter1Resonance\"/></VELMORA_SETTINGS>", MidiInput::none, "ignores 2" },
        { "<VELMORA_SETTINGS ID=\"d\"><MAPPING CC=\"74\" Parameter=\"Nope\"/><MAPPING CC=\"75\" Parameter=\"MidiLearn\"/><MAPPING/></VELMORA_SETTINGS>", MidiInput::none, "ignores 3" },
        { "<VELMORA_SETTINGS ID=\"e\"><MAPPING CC=\"74\" Parameter=\"Filter1Resonance\"/><MAPPING CC=\"75\" Parameter=\"Filter1Resonance\"/></VELMORA_SETTINGS>", 74, "ignores 1" },
    };
    const auto stateFile = temporaryFile ("mappings.chunk");

    for (const auto& [text, resonanceController, problem] : chunks)
    {
        const auto chunk = stateChunkAround (text);
        ASSERT_TRUE (stateFile.replaceWithData (chunk.getData(), chunk.getSize()));
        QuenbyAudioProcessor processor;
        processor.getMidiInput().bind (30, Filter1Resonance);
        ASSERT_TRUE (setUp (processor, "--state " + stateFile.getFullPathName())) << error;

        EXPECT_EQ (processor.getMidiInput().getController (Filter1Resonance), resonanceController) << text;
        EXPECT_EQ (processor.getMidiInput().getChannel(), MidiMappings::omni) << text;
        EXPECT_TRUE (processor.getMidiInput().takeProblem().contains (problem)) << text;
    }

    EXPECT_FALSE (setUp (restored, "--cc 64=Filter1Cutoff"));
    EXPECT_FALSE (setUp (restored, "--cc 74=MidiLearn"));
}
