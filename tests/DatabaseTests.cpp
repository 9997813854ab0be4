#include "DatabaseFileHelpers.h"
#include "Model/Enumeration.h"
#include "Processor/PluginProcessor.h"

#include <cmath>
#include <limits>

using namespace testing_helpers;

namespace
{
    void expectDefaults (const PluginProgram& program)
    {
        ASSERT_EQ (program.getNumParameters(), ParameterIndex::count);

        for (int index = 0; index < ParameterIndex::count; ++index)
            EXPECT_TRUE (sameBits (program.getParameter (index)->getValue(), PluginParameter::getDefaultValue (index)))
                << Enumeration::getName (index);
    }

    void expectTexts (const PluginProgram& program, const char* id, const char* name, const char* bank,
                      const char* category, const char* subType, const char* mode)
    {
        EXPECT_EQ (program.getId(), id);
        EXPECT_EQ (program.getName(), name);
        EXPECT_EQ (program.getBank(), bank);
        EXPECT_EQ (program.getCategory(), category);
        EXPECT_EQ (program.getSubType(), subType);
        EXPECT_EQ (program.getMode(), mode);
    }
}

using DatabaseFile = DatabaseFileTest;

TEST_F (DatabaseFile, FirstRunWritesTheInitialProgramAndMakesItCurrent)
{
    QuenbyAudioProcessor processor;

    ASSERT_TRUE (databaseFile.existsAsFile());
    EXPECT_TRUE (databaseFile.loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    const auto root = juce::XmlDocument::parse (databaseFile);
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getTagName(), "VELMORA_DATABASE");
    ASSERT_EQ (root->getNumChildElements(), 1);

    const auto& element = *root->getChildElement (0);
    EXPECT_EQ (element.getTagName(), "PROGRAM");
    EXPECT_EQ (element.getStringAttribute ("Name"), "Initial Program");
    EXPECT_EQ (element.getNumAttributes(), 6 + ParameterIndex::count);

    for (const auto* text : { "Bank", "Category", "SubType", "Mode" })
    {
        EXPECT_TRUE (element.hasAttribute (text));
        EXPECT_EQ (element.getStringAttribute (text, "missing"), "");
    }

    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_TRUE (sameBits ((float) element.getDoubleAttribute (Enumeration::getName (index), -1.0),
                               PluginParameter::getDefaultValue (index))) << Enumeration::getName (index);

    ASSERT_EQ (processor.state->database->getNumPrograms(), 1);
    EXPECT_EQ (processor.state->getCurrentProgramIndex(), 0);
    EXPECT_EQ (processor.state->getCurrentProgram()->getId(), element.getStringAttribute ("ID"));
}

TEST_F (DatabaseFile, WritesAttributesInTheirOrderAndNumbersInShortestForm)
{
    PluginDatabase database;
    database.save();

    const auto root = juce::XmlDocument::parse (databaseFile);
    ASSERT_NE (root, nullptr);
    const auto& element = *root->getChildElement (0);

    const char* const texts[] = { "ID", "Name", "Bank", "Category", "SubType", "Mode" };

    for (int i = 0; i < 6; ++i)
        EXPECT_EQ (element.getAttributeName (i), texts[i]);

    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_EQ (element.getAttributeName (6 + index), Enumeration::getName (index));

    EXPECT_EQ (element.getStringAttribute ("Osc1Active"), "1");
    EXPECT_EQ (element.getStringAttribute ("Osc1WaveType"), "0");
    EXPECT_EQ (element.getStringAttribute ("Osc1Gain"), "0.5");
    EXPECT_EQ (element.getStringAttribute ("Osc1Offset"), "0.11999999731779098511");
}

TEST_F (DatabaseFile, SaveAndReloadGiveBackEveryFloatBitForBitAndEveryText)
{
    const float values[] = { 0.1f, std::nextafter (0.3f, 1.0f), -3.0f, 5.0f, 1.0e-38f,
                             std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                             -0.0f, 0.12f, 1.0f / 3.0f };

    PluginDatabase written;
    written.createProgram()->setName ("  spaced <&> \"quoted\" 'apostrophe'  ");
    auto* third = written.createProgram();
    third->setBank ("Größe");
    third->setCategory ("");
    third->setMode ("a\tb");

    for (int p = 0; p < written.getNumPrograms(); ++p)
        for (int index = 0; index < ParameterIndex::count; ++index)
            written.getProgram (p)->getParameter (index)->setValue (values[(index + 3 * p) % 10]);

    written.save();

    PluginDatabase read;
    read.load();

    ASSERT_EQ (read.getNumPrograms(), 3);

    for (int p = 0; p < 3; ++p)
    {
        const auto& a = *written.getProgram (p);
        const auto& b = *read.getProgram (p);
        expectTexts (b, a.getId().toRawUTF8(), a.getName().toRawUTF8(), a.getBank().toRawUTF8(),
                     a.getCategory().toRawUTF8(), a.getSubType().toRawUTF8(), a.getMode().toRawUTF8());

        for (int index = 0; index < ParameterIndex::count; ++index)
            EXPECT_TRUE (sameBits (b.getParameter (index)->getValue(), a.getParameter (index)->getValue()))
                << "program " << p << " " << Enumeration::getName (index) << " " << a.getParameter (index)->getValue();
    }
}

TEST_F (DatabaseFile, ProgramWithOnlyAnIdentifierGetsEmptyTextsAndDefaults)
{
    writeDatabaseFile (databaseText (programElement ("ID=\"x\"")));

    PluginDatabase database;
    database.load();

    ASSERT_EQ (database.getNumPrograms(), 1);
    expectTexts (*database.getProgram (0), "x", "Empty", "Empty", "Empty", "Empty", "Empty");
    expectDefaults (*database.getProgram (0));
}

TEST_F (DatabaseFile, ProgramsWithoutIdentifierShareErrorAndTheFirstIsFound)
{
    writeDatabaseFile (databaseText (programElement ("Name=\"first\"") + programElement ("Name=\"second\"")));

    PluginDatabase database;
    database.load();

    ASSERT_EQ (database.getNumPrograms(), 2);
    EXPECT_EQ (database.getProgram (0)->getId(), "ERROR");
    EXPECT_EQ (database.getProgram (1)->getId(), "ERROR");
    EXPECT_EQ (database.findProgram ("ERROR"), database.getProgram (0));
    EXPECT_EQ (database.findProgram ("error"), nullptr);
}

TEST_F (DatabaseFile, ValuesAreReadByExactNameAndTextThatIsNoNumberReadsZero)
{
    writeDatabaseFile (databaseText (programElement ("ID=\"y\" Osc1Gain=\"abc\" osc1pan=\"0.9\" MasterVolume=\"0.75\" "
                                                     "CurrentPlayMode=\"2\" Unknown=\"3\" Delay1Time=\"1e39\" "
                                                     "Delay1Mix=\"nan\" Glide=\"-0\"")));

    PluginDatabase database;
    database.load();

    const auto& program = *database.getProgram (0);
    EXPECT_EQ (program.getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.0f);     // Osc1Gain
    EXPECT_EQ (program.getParameter (ParameterIndex::Osc1Pan)->getValue(), 0.5f);     // Osc1Pan: the attribute's case differs
    EXPECT_EQ (program.getParameter (ParameterIndex::MasterVolume)->getValue(), 0.75f);
    EXPECT_EQ (program.getParameter (ParameterIndex::CurrentPlayMode)->getValue(), 2.0f);

    // No program holds a value a float cannot be, nor loses the sign of zero.
    EXPECT_EQ (program.getParameter (ParameterIndex::Delay1Time)->getValue(), 0.0f);    // Delay1Time, beyond the float range
    EXPECT_EQ (program.getParameter (ParameterIndex::Delay1Mix)->getValue(), 0.0f);    // Delay1Mix
    EXPECT_TRUE (sameBits (program.getParameter (ParameterIndex::Glide)->getValue(), -0.0f));
}

TEST_F (DatabaseFile, RootTagInAnyCaseLoadsButAProgramTagInAnotherCaseIsSkipped)
{
    writeDatabaseFile (databaseText (programElement ("ID=\"a\"") + "<program ID=\"b\"/><Other ID=\"c\"/>"
                                     + programElement ("ID=\"d\""), "velmora_Database"));

    PluginDatabase database;
    database.load();

    ASSERT_EQ (database.getNumPrograms(), 2);
    EXPECT_EQ (database.getProgram (0)->getId(), "a");
    EXPECT_EQ (database.getProgram (1)->getId(), "d");
}

TEST_F (DatabaseFile, RootWithoutProgramsLeavesTheListEmptyAndTheProcessorCreatesOne)
{
    writeDatabaseFile (databaseText ({}));

    PluginDatabase database;
    database.load();
    EXPECT_EQ (database.getNumPrograms(), 0);

    QuenbyAudioProcessor processor;
    ASSERT_EQ (processor.state->database->getNumPrograms(), 1);
    EXPECT_EQ (processor.state->getCurrentProgramIndex(), 0);
    expectTexts (*processor.state->getCurrentProgram(), processor.state->getCurrentProgram()->getId().toRawUTF8(),
                 "Empty0", "Factory", "No category", "No subtype", "No mode");
}

class UnreadableDatabaseFile : public DatabaseFileTest,
                               public ::testing::WithParamInterface<const char*>
{
};

TEST_P (UnreadableDatabaseFile, ChangesNothingInMemoryAndIsNotOverwritten)
{
    writeDatabaseFile (GetParam());
    juce::MemoryBlock before;
    ASSERT_TRUE (databaseFile.loadFileAsData (before));

    PluginDatabase database;
    auto* initial = database.getProgram (0);
    const auto id = initial->getId();
    initial->getParameter (ParameterIndex::Osc1Gain)->setValue (0.25f);

    database.load();

    ASSERT_EQ (database.getNumPrograms(), 1);
    EXPECT_EQ (database.getProgram (0), initial);
    EXPECT_EQ (initial->getId(), id);
    EXPECT_EQ (initial->getName(), "Initial Program");
    EXPECT_EQ (initial->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.25f);
    juce::MemoryBlock after;
    ASSERT_TRUE (databaseFile.loadFileAsData (after));
    EXPECT_EQ (after, before);
}

INSTANTIATE_TEST_SUITE_P (Contents, UnreadableDatabaseFile,
                          ::testing::Values ("this is not XML at all",
                                             "",
                                             "<VELMORA_DATABASE><PROGRAM ID=\"x\"/>",
                                             "<?xml version=\"1.0\"?>\n<VELMORA_SETTINGS><PROGRAM ID=\"x\"/></VELMORA_SETTINGS>"));

TEST_F (DatabaseFile, CreateProgramAppendsANumberedFactoryProgramWithoutWriting)
{
    PluginDatabase database;
    database.createProgram();
    database.createProgram();
    ASSERT_EQ (database.getNumPrograms(), 3);

    auto* program = database.createProgram();

    ASSERT_EQ (database.getNumPrograms(), 4);
    EXPECT_EQ (database.getProgram (3), program);
    expectTexts (*program, program->getId().toRawUTF8(), "Empty3", "Factory", "No category", "No subtype", "No mode");
    EXPECT_EQ (program->getId().length(), 36);
    expectDefaults (*program);
    EXPECT_FALSE (databaseFile.exists());
}

TEST_F (DatabaseFile, FindProgramComparesIdentifiersExactly)
{
    PluginDatabase database;
    auto* a = database.createProgram();
    auto* b = database.createProgram();
    a->setId ("Same");
    b->setId ("same");

    EXPECT_EQ (database.findProgram ("same"), b);
    EXPECT_EQ (database.findProgram ("Same"), a);
    EXPECT_EQ (database.findProgram ("same "), nullptr);
}

TEST_F (DatabaseFile, MissingApplicationDataDirectoryIsCreated)
{
    const auto directory = databaseFile.getParentDirectory();
    ASSERT_TRUE (directory.isAChildOf (juce::File::getSpecialLocation (juce::File::tempDirectory)));
    directory.deleteRecursively();
    ASSERT_FALSE (directory.exists());

    PluginDatabase database;
    database.load();

    EXPECT_TRUE (databaseFile.existsAsFile());
}

TEST_F (DatabaseFile, AFailedWriteIsSilentAndLeavesTheProgramsAlone)
{
    // A directory that is not empty where the file should be: it cannot be replaced.
    ASSERT_TRUE (databaseFile.createDirectory());
    ASSERT_TRUE (databaseFile.getChildFile ("keep").replaceWithText ("x"));

    PluginDatabase database;
    auto* initial = database.getProgram (0);
    database.save();
    database.load();

    EXPECT_TRUE (databaseFile.getChildFile ("keep").existsAsFile());
    ASSERT_EQ (database.getNumPrograms(), 1);
    EXPECT_EQ (database.getProgram (0), initial);
}

// Opening the editor reloads the file; the current program keeps its unsaved edits.
TEST_F (DatabaseFile, ProcessorReloadCarriesTheCurrentProgramOverByIdentifier)
{
    QuenbyAudioProcessor processor;
    auto& database = *processor.state->database;
    auto* second = database.createProgram();
    second->setName ("Saved");
    processor.saveDatabase();

    processor.switchToProgram (second);
    processor.setParameter (ParameterIndex::MasterVolume, 0.25f);                  // unsaved edit of the current program
    database.getProgram (0)->setName ("Unsaved rename"); // unsaved edit of another program
    auto* unsaved = database.createProgram();            // a program never saved
    unsaved->setName ("Never saved");

    processor.reloadDatabase();

    ASSERT_EQ (database.getNumPrograms(), 2);
    EXPECT_EQ (database.getProgram (0)->getName(), "Initial Program");
    auto* current = processor.state->getCurrentProgram();
    EXPECT_EQ (current, database.getProgram (1));
    EXPECT_EQ (current->getName(), "Saved");
    EXPECT_EQ (current->getParameter (ParameterIndex::MasterVolume)->getValue(), 0.25f);
    EXPECT_EQ (processor.synthAudioSource->getSynth().settings.MasterVolume.load(), 0.5);
}

TEST_F (DatabaseFile, ProcessorReloadAppendsTheCurrentProgramWhenTheFileLacksIt)
{
    QuenbyAudioProcessor processor;
    auto& database = *processor.state->database;
    auto* fresh = database.createProgram();
    fresh->setName ("Fresh");
    processor.switchToProgram (fresh);

    processor.reloadDatabase();

    ASSERT_EQ (database.getNumPrograms(), 2);
    auto* current = processor.state->getCurrentProgram();
    EXPECT_EQ (current, database.getProgram (1));
    EXPECT_EQ (current->getName(), "Fresh");
    EXPECT_EQ (current->getId(), database.getProgram (1)->getId());
}

TEST (DatabaseLocation, TestsUseATemporaryApplicationDataDirectory)
{
    const auto file = PluginDatabase::getDatabaseFile();
    EXPECT_EQ (file.getFileName(), "VelmoraDatabase.xml");
    EXPECT_TRUE (file.isAChildOf (juce::File::getSpecialLocation (juce::File::tempDirectory)));
}
