#include "DatabaseFileHelpers.h"
#include "Model/Enumeration.h"
#include "Model/XmlText.h"
#include "ReferenceReading.h"

using namespace testing_helpers;

// The database reads and writes its files as streams. What it reads and writes must be
// what a whole tree read and written by JUCE gives: the same programs from every file of
// the fuzz corpus (the tree by attribute look-ups and JUCE's own number parser, as the
// database read files before), and the same bytes as XmlElement::writeTo.
namespace
{
    juce::String describe (const PluginProgram& program)
    {
        juce::String text;

        for (int column = 0; column < 5; ++column)
            text << program.getColumnText (column) << "|";

        text << program.getId();

        for (int i = 0; i < program.getNumParameters(); ++i)
        {
            const auto value = program.getParameter (i)->getValue();
            juce::uint32 bits;
            std::memcpy (&bits, &value, sizeof (bits));
            text << " " << juce::String::toHexString ((int) bits);
        }

        return text;
    }

    // As the database read a file before it streamed: the project's reader builds the
    // tree, each attribute is looked up by name and numbers are JUCE's.
    juce::StringArray readAsATree (const juce::MemoryBlock& bytes)
    {
        const auto document = XmlText::parse (bytes.getData(), bytes.getSize());
        juce::StringArray programs;

        if (document.element == nullptr || ! document.element->hasTagName ("VELMORA_DATABASE"))
            return { "unreadable" };

        for (auto* child : document.element->getChildIterator())
        {
            if (child->getTagName() != "PROGRAM")
                continue;

            PluginProgram program;
            readByLookUps (*child, program);
            programs.add (describe (program));
        }

        return programs;
    }

    juce::StringArray readStreaming (const juce::MemoryBlock& bytes)
    {
        auto content = PluginDatabase::readBytes (juce::MemoryBlock (bytes));

        if (content.unreadable.isNotEmpty())
            return { "unreadable" };

        juce::StringArray programs;

        for (const auto* program : content.programs)
            programs.add (describe (*program));

        return programs;
    }
}

TEST (DatabaseStreaming, EveryCorpusFileGivesTheProgramsTheTreeGave)
{
    const auto corpus = juce::File (QUENBY_FUZZ_CORPUS_DIR).getChildFile ("database_load");
    const auto files = corpus.findChildFiles (juce::File::findFiles, false);
    ASSERT_GE (files.size(), 12);

    for (const auto& file : files)
    {
        juce::MemoryBlock bytes;
        ASSERT_TRUE (file.loadFileAsData (bytes));
        EXPECT_EQ (readStreaming (bytes), readAsATree (bytes)) << file.getFileName();
    }
}

// Numbers of every shape a file may hold, read as JUCE's parser reads them. The two near
// the float between 1 and its successor tell whether the 18th significant digit is kept
// and the 19th dropped, as JUCE's parser does.
TEST (DatabaseStreaming, NumbersReadAsJucesParserReadsThem)
{
    const char* const texts[] = {
        "0", "1", "0.5", "-0", "-0.0", "0.37000000476837158203", "1.0000000000000000000000001",
        "123456789012345678901234567890", "0.000000000000000000000001", "00012.50", ".5", "5.", ".", "-",
        "", "1e3", "1E-3", " 2", "+3", "0.5x", "nan", "-inf", "1e400", "3.4028235e38", "3.4028236e38",
        "1.17549435e-38", "1e-45", "99999999999999999999999999999999999999999", "0.30000001192092895508",
        "1.00000005960464489", "1.000000059604644889",
    };

    for (const auto* text : texts)
    {
        const juce::String string (text);
        auto expected = (float) string.getDoubleValue();
        expected = ! std::isfinite (expected) ? 0.0f : expected == 0.0f && string.trimStart().startsWithChar ('-') ? -0.0f : expected;
        EXPECT_TRUE (sameBits (PluginDatabase::textToValue (string), expected)) << text;
    }
}

// Texts that need escaping, non-ASCII letters, line breaks and attribute lines long enough
// to wrap, and no programs at all.
TEST (DatabaseStreaming, WritesTheBytesJucesXmlWriterWrites)
{
    juce::OwnedArray<PluginProgram> programs;
    programs.add (new PluginProgram())->setName ("Pad \"warm\" & <wide>\r\n\ttab \xc3\xa9t\xc3\xa9 \xf0\x9f\x8e\xb9");
    programs.add (new PluginProgram())->setBank (juce::String::fromUTF8 ("User's [1] {a} \\ | ~ * % ; = ? ! $ # @ /"));
    programs[1]->getParameter (ParameterIndex::Osc1Gain)->setValue (0.123456789f);
    programs[1]->getParameter (ParameterIndex::Glide)->setValue (-3.0e-20f);

    for (const int count : { 0, 2 })
    {
        juce::XmlElement root ("VELMORA_DATABASE");
        juce::Array<const PluginProgram*> list;

        for (int p = 0; p < count; ++p)
        {
            PluginDatabase::writeProgramAttributes (*programs[p], *root.createNewChildElement ("PROGRAM"));
            list.add (programs[p]);
        }

        juce::MemoryOutputStream expected, written;
        juce::XmlElement::TextFormat format;
        format.lineWrapLength = 60;
        root.writeTo (expected, format);
        PluginDatabase::writePrograms (written, list);

        EXPECT_EQ (written.toString(), expected.toString()) << count;
    }
}
