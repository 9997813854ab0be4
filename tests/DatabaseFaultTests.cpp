#include "DatabaseFileHelpers.h"
#include "TestHelpers.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

using namespace testing_helpers;

// Damaged, unreadable and unwritable database files. Whatever the file system does,
// loading keeps the programs in memory, saving never destroys the previous file, and
// nothing crashes. Each test has its own home folder, so the database file is its own.
class DatabaseFault : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previousHome = juce::SystemStats::getEnvironmentVariable ("HOME", {});
        home = juce::File::createTempFile ("quenby-fault-home");
        ASSERT_TRUE (home.createDirectory());
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
        ASSERT_TRUE (PluginDatabase::getDatabaseFile().isAChildOf (home));
    }

    void TearDown() override
    {
        makeWritable (home);
        home.deleteRecursively();
        ::setenv ("HOME", previousHome.toRawUTF8(), 1);
    }

    static void makeWritable (const juce::File& folder)
    {
        for (const auto& entry : juce::RangedDirectoryIterator (folder, true, "*", juce::File::findFilesAndDirectories))
            entry.getFile().setReadOnly (false);

        folder.setReadOnly (false);
    }

    static juce::File databaseFile()  { return PluginDatabase::getDatabaseFile(); }

    static bool runningAsRoot()       { return ::geteuid() == 0; }

    // Three programs A, B and C whose Osc1Gain holds 0.1, 0.2 and 0.3.
    static void fillThreePrograms (PluginDatabase& database)
    {
        database.getProgram (0)->setName ("A");
        database.getProgram (0)->getParameter (ParameterIndex::Osc1Gain)->setValue (0.1f);

        for (const auto* name : { "B", "C" })
        {
            auto* program = database.createProgram();
            program->setName (name);
            program->getParameter (ParameterIndex::Osc1Gain)->setValue (database.getNumPrograms() * 0.1f);
        }
    }

    // A saved three-program database; returns the file's bytes.
    static juce::MemoryBlock writeThreeProgramFile()
    {
        PluginDatabase database;
        fillThreePrograms (database);
        database.save();

        juce::MemoryBlock bytes;
        databaseFile().loadFileAsData (bytes);
        return bytes;
    }

    static void writeFile (const void* data, size_t size)
    {
        databaseFile().getParentDirectory().createDirectory();

        // replaceWithData deletes the file when given no bytes.
        juce::FileOutputStream out (databaseFile());
        ASSERT_TRUE (out.openedOk());
        out.setPosition (0);
        out.truncate();
        out.write (data, size);
    }

    static void writeFile (const juce::String& text)
    {
        writeFile (text.toRawUTF8(), text.getNumBytesAsUTF8());
    }

    // Loads into a database of the three programs, which must stay as they are.
    static void expectLoadKeepsProgramsInMemory()
    {
        PluginDatabase database;
        fillThreePrograms (database);
        auto* first = database.getProgram (0);

        database.load();

        EXPECT_EQ (namesOf (database), juce::StringArray ("A", "B", "C"));
        EXPECT_EQ (database.getProgram (0), first);
        EXPECT_FLOAT_EQ (database.getProgram (2)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.3f);
    }

    static juce::MemoryBlock fileBytes (const juce::File& file = databaseFile())
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes;
    }

    static juce::Array<juce::File> keptCopies()
    {
        return databaseFile().getParentDirectory().findChildFiles (juce::File::findFiles, false, "VelmoraDatabase.xml.unreadable-*");
    }

    // While it lives, no file can grow beyond the limit: a write past it fails, as on a full disk.
    struct FileSizeLimit
    {
        explicit FileSizeLimit (rlim_t bytes)
        {
            ::getrlimit (RLIMIT_FSIZE, &original);
            previousHandler = std::signal (SIGXFSZ, SIG_IGN);
            rlimit limited = original;
            limited.rlim_cur = bytes;
            ::setrlimit (RLIMIT_FSIZE, &limited);
        }

        ~FileSizeLimit()
        {
            ::setrlimit (RLIMIT_FSIZE, &original);
            std::signal (SIGXFSZ, previousHandler);
        }

        rlimit original {};
        void (*previousHandler) (int) = nullptr;
    };

    juce::File home;
    juce::String previousHome;
};

TEST_F (DatabaseFault, EmptyFileLoadsNothingAndIsLeftAsItIs)
{
    writeFile ("", 0);

    expectLoadKeepsProgramsInMemory();

    EXPECT_TRUE (databaseFile().existsAsFile());
    EXPECT_EQ (databaseFile().getSize(), 0);
}

TEST_F (DatabaseFault, EmptyFileIsReplacedByTheNextSave)
{
    writeFile ("", 0);
    PluginDatabase database;
    fillThreePrograms (database);
    database.load();
    database.save();

    PluginDatabase reloaded;
    reloaded.load();
    EXPECT_EQ (namesOf (reloaded), juce::StringArray ("A", "B", "C"));
}

TEST_F (DatabaseFault, BinaryGarbageLoadsNothingAndIsLeftAsItIs)
{
    juce::MemoryBlock garbage (4096);
    juce::Random random (7);

    for (size_t i = 0; i < garbage.getSize(); ++i)
        garbage[i] = (char) random.nextInt (256);

    writeFile (garbage.getData(), garbage.getSize());

    expectLoadKeepsProgramsInMemory();
    EXPECT_EQ (fileBytes(), garbage);
}

// Text that is not UTF-8 (here a Latin-1 "é") in an otherwise sound file: the programs
// load with their values, the name holds valid text, and the next save writes UTF-8
// that loads back to the same programs.
TEST_F (DatabaseFault, TextThatIsNotUtf8LoadsAndSavesAsValidUtf8)
{
    const char text[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VELMORA_DATABASE>\n"
                        "<PROGRAM ID=\"x\" Name=\"Caf\xe9 \xff\xfe\" Osc1Gain=\"0.25\"/>\n"
                        "<PROGRAM ID=\"y\" Name=\"Second\"/>\n</VELMORA_DATABASE>\n";
    writeFile (text, sizeof (text) - 1);

    PluginDatabase database;
    database.load();

    ASSERT_EQ (database.getNumPrograms(), 2);
    EXPECT_EQ (database.getProgram (0)->getId(), "x");
    EXPECT_EQ (database.getProgram (0)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.25f);
    EXPECT_EQ (database.getProgram (1)->getName(), "Second");

    const auto name = database.getProgram (0)->getName();
    EXPECT_TRUE (name.startsWith ("Caf"));
    EXPECT_TRUE (juce::CharPointer_UTF8::isValidString (name.toRawUTF8(), (int) name.getNumBytesAsUTF8()));

    database.save();
    const auto saved = fileBytes();
    EXPECT_TRUE (juce::CharPointer_UTF8::isValidString (static_cast<const char*> (saved.getData()), (int) saved.getSize()));

    PluginDatabase reloaded;
    reloaded.load();
    ASSERT_EQ (reloaded.getNumPrograms(), 2);
    EXPECT_EQ (reloaded.getProgram (0)->getName(), name);
}

// Cut anywhere before the closing root tag, the file no longer parses. (JUCE's parser
// accepts a closing tag that lacks only its final ">", so the cut is before "</".)
class TruncatedDatabase : public DatabaseFault,
                          public ::testing::WithParamInterface<int>
{
};

TEST_P (TruncatedDatabase, LoadsNothingAndIsLeftAsItIs)
{
    const auto whole = writeThreeProgramFile();
    const auto closingTag = whole.toString().lastIndexOf ("</VELMORA_DATABASE>");
    ASSERT_GT (closingTag, 0);

    const auto length = juce::jmax<size_t> (1, (size_t) closingTag * (size_t) GetParam() / 100);
    writeFile (whole.getData(), length);

    expectLoadKeepsProgramsInMemory();
    EXPECT_EQ (fileBytes(), juce::MemoryBlock (whole.getData(), length));
}

INSTANTIATE_TEST_SUITE_P (PercentOfTheFileKept, TruncatedDatabase, ::testing::Values (0, 5, 30, 50, 97, 100));

TEST_F (DatabaseFault, UnreadableFileLoadsNothingAndIsLeftAsItIs)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files without read permission; the unreadable case cannot be made here";

    const auto whole = writeThreeProgramFile();
    ASSERT_EQ (::chmod (databaseFile().getFullPathName().toRawUTF8(), 0), 0);

    PluginDatabase database;
    database.load();
    EXPECT_EQ (namesOf (database), juce::StringArray ("Initial Program"));

    makeWritable (home);
    ASSERT_EQ (::chmod (databaseFile().getFullPathName().toRawUTF8(), 0644), 0);
    EXPECT_EQ (fileBytes(), whole);
}

// A folder holding a file where the database file should be: it can be neither read nor
// replaced, and what it holds stays. (An empty folder is simply replaced by the file.)
TEST_F (DatabaseFault, FolderInPlaceOfTheFileIsNeitherLoadedNorReplaced)
{
    ASSERT_TRUE (databaseFile().createDirectory());
    ASSERT_TRUE (databaseFile().getChildFile ("keep.txt").replaceWithText ("kept"));

    expectLoadKeepsProgramsInMemory();

    PluginDatabase database;
    fillThreePrograms (database);
    database.save();

    EXPECT_TRUE (databaseFile().isDirectory());
    EXPECT_EQ (databaseFile().getChildFile ("keep.txt").loadFileAsString(), "kept");
    EXPECT_EQ (namesOf (database), juce::StringArray ("A", "B", "C"));
}

// A file where the application-data folder should be stands for a disk on which
// nothing can be created: saves fail silently and change nothing.
TEST_F (DatabaseFault, FileInPlaceOfTheFolderMakesSavesFailSilently)
{
    const auto folder = databaseFile().getParentDirectory();
    ASSERT_TRUE (folder.replaceWithText ("not a folder"));

    expectLoadKeepsProgramsInMemory();

    PluginDatabase database;
    fillThreePrograms (database);
    database.save();

    EXPECT_EQ (namesOf (database), juce::StringArray ("A", "B", "C"));
    EXPECT_TRUE (folder.existsAsFile());
    EXPECT_EQ (folder.loadFileAsString(), "not a folder");
}

TEST_F (DatabaseFault, FolderWithoutWritePermissionKeepsThePreviousFile)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root writes into folders without write permission; see WriteThatRunsOutOfSpaceKeepsThePreviousFile";

    const auto previous = writeThreeProgramFile();
    ASSERT_TRUE (databaseFile().getParentDirectory().setReadOnly (true));

    PluginDatabase database;
    database.getProgram (0)->setName ("Replacement");
    database.save();

    makeWritable (home);
    EXPECT_EQ (fileBytes(), previous);
}

// A file size limit makes the write of the new file fail part-way, as a full disk does
// (and as it does for root too). The previous file stays whole and no temporary file is
// left beside it.
TEST_F (DatabaseFault, WriteThatRunsOutOfSpaceKeepsThePreviousFile)
{
    const auto previous = writeThreeProgramFile();

    PluginDatabase database;
    fillThreePrograms (database);

    for (int i = 0; i < 20; ++i)
        database.createProgram();

    {
        const FileSizeLimit limit (512);
        database.save();
    }

    EXPECT_EQ (fileBytes(), previous);
    EXPECT_EQ (databaseFile().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
    EXPECT_EQ (database.getNumPrograms(), 23);
}

// Numbers that read as NaN or infinity, or lie beyond the float range, read as 0 like
// any other text that is not a number, so a damaged file cannot make the engine compute
// with them.
class NonFiniteNumberInFile : public DatabaseFault,
                              public ::testing::WithParamInterface<const char*>
{
};

TEST_P (NonFiniteNumberInFile, ReadsAsZero)
{
    writeFile (juce::String ("<VELMORA_DATABASE><PROGRAM ID=\"x\" Osc1Gain=\"") + GetParam()
               + "\" Osc1Detune=\"0.75\"/></VELMORA_DATABASE>");

    PluginDatabase database;
    database.load();

    ASSERT_EQ (database.getNumPrograms(), 1);
    EXPECT_EQ (database.getProgram (0)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.0f);
    EXPECT_EQ (database.getProgram (0)->getParameter (ParameterIndex::Osc1Detune)->getValue(), 0.75f);
}

INSTANTIATE_TEST_SUITE_P (Texts, NonFiniteNumberInFile,
                          ::testing::Values ("nan", "NaN", "-nan", "inf", "-inf", "Infinity", "-Infinity",
                                             "1e39", "-1e39", "1e999", "3.5e38"));

// The same numbers in a host's state chunk.
TEST_P (NonFiniteNumberInFile, ReadsAsZeroFromAStateChunkToo)
{
    juce::XmlElement settings ("VELMORA_SETTINGS");
    settings.setAttribute ("ID", "chunk");
    settings.setAttribute ("Osc1Gain", GetParam());
    settings.setAttribute ("Osc1Detune", "0.75");
    juce::MemoryBlock chunk;
    juce::AudioProcessor::copyXmlToBinary (settings, chunk);

    QuenbyAudioProcessor processor;
    processor.setStateInformation (chunk.getData(), (int) chunk.getSize());

    ASSERT_EQ (processor.state->getCurrentProgram()->getId(), "chunk");
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Gain), 0.0f);
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Detune), 0.75f);
}

TEST_F (DatabaseFault, ProgramWithNonFiniteNumbersInTheFilePlaysFiniteSound)
{
    // Every continuous setting of the sound path damaged; the oscillator itself intact.
    const char* damaged[] = { "Osc1Detune", "Osc1Pan", "Osc1PitchRange", "Filter1Cutoff", "Filter1Resonance",
                              "Lfo1Speed", "Lfo1Mix", "Delay1Mix", "Delay1Time", "Delay1Feedback",
                              "Reverb1Mix", "Reverb1Damping", "Reverb1Feedback", "EnvAmpOsc1Decay",
                              "EnvAmpOsc1Release", "EnvFilter1Attack", "EnvLfo1Attack" };
    juce::String element ("<PROGRAM ID=\"damaged\" Filter1Active=\"1\" Lfo1Active=\"1\" Delay1Active=\"1\" Reverb1Active=\"1\"");

    for (size_t i = 0; i < std::size (damaged); ++i)
        element << " " << damaged[i] << "=\"" << (i % 2 == 0 ? "nan" : "-inf") << "\"";

    writeFile ("<VELMORA_DATABASE>" + element + "/></VELMORA_DATABASE>");

    QuenbyAudioProcessor processor;
    ASSERT_EQ (processor.state->getCurrentProgram()->getId(), "damaged");
    processor.setRateAndBufferSizeDetails (48000.0, 512);
    processor.prepareToPlay (48000.0, 512);

    juce::AudioBuffer<float> block (2, 512);
    float peak = 0.0f;

    for (int b = 0; b < 40; ++b)
    {
        juce::MidiBuffer midi;

        if (b == 0)
            midi.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);

        processor.processBlock (block, midi);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < block.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (block.getSample (channel, i))) << "block " << b << " sample " << i;

        peak = juce::jmax (peak, block.getMagnitude (0, 512));
    }

    EXPECT_GT (peak, 0.0f);
    processor.releaseResources();
}

// A large database: every program and value comes back exactly. The times go to the
// test's output (and its XML report) for the record; they are not asserted.
TEST_F (DatabaseFault, TenThousandProgramsSaveAndLoadExactly)
{
    constexpr int numPrograms = 10000;
    PluginDatabase database;

    for (int p = 1; p < numPrograms; ++p)
    {
        auto* program = database.createProgram();

        for (int i = 0; i < program->getNumParameters(); ++i)
            program->getParameter (i)->setValue ((float) ((p * ParameterIndex::count + i) % 1000) / 997.0f);
    }

    using Clock = std::chrono::steady_clock;
    const auto saveStart = Clock::now();
    database.save();
    const auto saveEnd = Clock::now();

    PluginDatabase reloaded;
    reloaded.load();
    const auto loadEnd = Clock::now();

    const auto milliseconds = [] (Clock::duration d) { return (long long) std::chrono::duration_cast<std::chrono::milliseconds> (d).count(); };
    std::cout << "[   TIME   ] " << numPrograms << " programs, " << databaseFile().getSize() / 1024 << " KiB: save "
              << milliseconds (saveEnd - saveStart) << " ms, load " << milliseconds (loadEnd - saveEnd) << " ms" << std::endl;
    RecordProperty ("saveMilliseconds", (int) milliseconds (saveEnd - saveStart));
    RecordProperty ("loadMilliseconds", (int) milliseconds (loadEnd - saveEnd));

    ASSERT_EQ (reloaded.getNumPrograms(), numPrograms);

    for (int p = 0; p < numPrograms; ++p)
    {
        const auto* original = database.getProgram (p);
        const auto* copy = reloaded.getProgram (p);
        ASSERT_EQ (copy->getId(), original->getId());
        ASSERT_EQ (copy->getName(), original->getName());

        for (int i = 0; i < original->getNumParameters(); ++i)
            ASSERT_EQ (copy->getParameter (i)->getValue(), original->getParameter (i)->getValue()) << "program " << p << " parameter " << i;
    }
}

// Found by fuzzing: JUCE's parser looped for ever on a processing instruction followed
// by text inside an element.
TEST_F (DatabaseFault, ProcessingInstructionBeforeTextInsideTheRootDoesNotHang)
{
    writeFile ("<?xml version=\"1.0\"?><VELMORA_DATABASE><?note kept?>text<PROGRAM ID=\"a\" Osc1Gain=\"0.25\"/></VELMORA_DATABASE>");

    PluginDatabase database;
    database.load();

    ASSERT_EQ (database.getNumPrograms(), 1);
    EXPECT_EQ (database.getProgram (0)->getId(), "a");
    EXPECT_EQ (database.getProgram (0)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.25f);
}

// Found by fuzzing: a chunk whose text ends in bytes that are not UTF-8 made JUCE's
// reader run past the end of the text (AddressSanitizer reports it). Such bytes read as
// Latin-1 characters, in the chunk as in the file.
TEST_F (DatabaseFault, StateChunkEndingInBytesThatAreNotUtf8IsReadWithinItsText)
{
    const char text[] = "<VELMORA_SETTINGS ID=\"x\" Name=\"Caf\xe9\" Osc1Gain=\"0.25\"/>\xff\xff";
    juce::MemoryBlock chunk;
    juce::MemoryOutputStream out (chunk, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) sizeof (text) - 1);
    out.write (text, sizeof (text) - 1);
    out.flush();

    QuenbyAudioProcessor processor;
    processor.setStateInformation (chunk.getData(), (int) chunk.getSize());

    ASSERT_EQ (processor.state->getCurrentProgram()->getId(), "x");
    EXPECT_EQ (processor.state->getCurrentProgram()->getName(), juce::String (juce::CharPointer_UTF8 ("Caf\xc3\xa9")));
    EXPECT_EQ (processor.getParameter (ParameterIndex::Osc1Gain), 0.25f);
}

// Found by review: "<?" and "?>" inside attribute values (JUCE's reader accepts an unescaped
// "<" there) were cut out as if they made a processing instruction, which renamed the first
// program and lost the second.
TEST_F (DatabaseFault, InstructionMarksInsideNamesLoadIntactAndSurviveASave)
{
    writeFile ("<VELMORA_DATABASE><PROGRAM ID=\"a\" Name=\"Why <?\" Osc1Gain=\"0.25\"/>"
               "<PROGRAM ID=\"b\" Name=\"C ?>\" Osc1Gain=\"0.75\"/></VELMORA_DATABASE>");

    for (int pass = 0; pass < 2; ++pass)    // the second pass reads what the first saved
    {
        PluginDatabase database;
        database.load();
        ASSERT_EQ (namesOf (database), juce::StringArray ("Why <?", "C ?>"));
        EXPECT_EQ (database.getProgram (1)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.75f);
        database.save();
    }
}

// Found by review: a file an editor saved as UTF-16 was read up to its first zero byte, so
// no program loaded.
TEST_F (DatabaseFault, Utf16FilesWithAByteOrderMarkLoad)
{
    const juce::String text (juce::CharPointer_UTF8 ("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<VELMORA_DATABASE>"
                                                     "<PROGRAM ID=\"u\" Name=\"Caf\xc3\xa9 \xe4\xb8\xad\" Osc1Gain=\"0.25\"/>"
                                                     "</VELMORA_DATABASE>"));

    for (const bool bigEndian : { false, true })
    {
        juce::MemoryOutputStream bytes;
        const auto writeUnit = [&] (int unit) { bigEndian ? bytes.writeShortBigEndian ((short) unit) : bytes.writeShort ((short) unit); };
        writeUnit (0xfeff);

        for (auto* unit = text.toUTF16().getAddress(); *unit != 0; ++unit)
            writeUnit (*unit);

        writeFile (bytes.getData(), bytes.getDataSize());
        PluginDatabase database;
        database.load();

        ASSERT_EQ (database.getNumPrograms(), 1) << "big-endian: " << bigEndian;
        EXPECT_EQ (database.getProgram (0)->getName(), juce::String (juce::CharPointer_UTF8 ("Caf\xc3\xa9 \xe4\xb8\xad")));
        EXPECT_EQ (database.getProgram (0)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.25f);
        EXPECT_EQ (database.getLoadProblem(), "");
    }
}

// Found by review: a file that did not load completely was replaced by the next save, and
// what the user had in it was gone. The processor's save is the one the editor makes.
class IncompletelyLoadedFile : public DatabaseFault,
                               public ::testing::WithParamInterface<const char*>
{
};

TEST_P (IncompletelyLoadedFile, IsCopiedAsItWasBeforeTheFirstSaveReplacesIt)
{
    const juce::MemoryBlock original (GetParam(), std::strlen (GetParam()));
    writeFile (original.getData(), original.getSize());

    QuenbyAudioProcessor processor;
    EXPECT_NE (processor.state->database->getLoadProblem(), "");
    processor.saveDatabase();
    processor.saveDatabase();

    const auto copies = keptCopies();
    ASSERT_EQ (copies.size(), 1);
    EXPECT_EQ (fileBytes (copies[0]), original);
    EXPECT_EQ (processor.state->database->getKeptCopy(), juce::File());     // the second save kept none

    PluginDatabase reloaded;
    reloaded.load();
    EXPECT_EQ (reloaded.getLoadProblem(), "");
}

INSTANTIATE_TEST_SUITE_P (Contents, IncompletelyLoadedFile, ::testing::Values (
    "not XML at all",
    "<VELMORA_SETTINGS ID=\"x\"/>",
    "<VELMORA_DATABASE><PROGRAM ID=\"x\" Name=\"Caf\xe9\"/></VELMORA_DATABASE>",
    "<VELMORA_DATABASE><PROGRAM ID=\"x\"/><BANK Name=\"mine\"/></VELMORA_DATABASE>",
    "<VELMORA_DATABASE><PROGRAM ID=\"x\" Colour=\"red\"/></VELMORA_DATABASE>",
    "<VELMORA_DATABASE><!-- mine --><PROGRAM ID=\"x\"/></VELMORA_DATABASE>",
    "<VELMORA_DATABASE><PROGRAM ID=\"x\"/></VELMORA_DATABASE><PROGRAM ID=\"after\"/>",
    "<VELMORA_DATABASE><PROGRAM ID=\"x\"></BANK></VELMORA_DATABASE>"));

TEST_F (DatabaseFault, AFileThatLoadedCompletelyIsNotCopied)
{
    writeThreeProgramFile();
    PluginDatabase database;
    database.load();
    database.save();

    writeFile ("<?xml version=\"1.0\"?>\n<VELMORA_DATABASE>\n  <PROGRAM ID=\"x\" Name=\"&lt;?\" Osc1Gain=\"0.5\"/>\n</VELMORA_DATABASE>");
    database.load();
    EXPECT_EQ (database.getLoadProblem(), "");
    database.save();

    EXPECT_TRUE (keptCopies().isEmpty());
}

TEST_F (DatabaseFault, WhenNoCopyCanBeMadeTheFileIsNotReplaced)
{
    const auto damaged = "<VELMORA_DATABASE><!--" + juce::String::repeatedString ("kept ", 200) + "--></VELMORA_DATABASE>";
    writeFile (damaged);
    PluginDatabase database;
    database.load();

    {
        const FileSizeLimit limit (512);    // the copy cannot be written
        database.save();
    }

    EXPECT_EQ (fileBytes().toString(), damaged);
    EXPECT_TRUE (keptCopies().isEmpty());

    database.save();
    ASSERT_EQ (keptCopies().size(), 1);
    EXPECT_EQ (fileBytes (keptCopies()[0]).toString(), damaged);
}
