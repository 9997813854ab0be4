#include "Model/XmlText.h"

#include <gtest/gtest.h>

namespace
{
    juce::String describe (const juce::XmlElement* element)
    {
        return element == nullptr ? juce::String ("(none)") : element->toString (juce::XmlElement::TextFormat().singleLine());
    }

    struct ReaderCase
    {
        const char* text;
        bool complete;
    };

    struct DecodingCase
    {
        std::vector<juce::uint8> bytes;
        const char* utf8;
        bool exact;
    };

    void PrintTo (const ReaderCase& c, std::ostream* out)     { *out << c.text; }
    void PrintTo (const DecodingCase& c, std::ostream* out)   { *out << c.utf8; }
}

// Texts on which JUCE's own reader is safe, many of them odd: the project's reader gives the
// same elements, and says whether the text was that element and nothing else.
class XmlReaderAgreesWithJuce : public ::testing::TestWithParam<ReaderCase> {};

TEST_P (XmlReaderAgreesWithJuce, OnTextsJucesReaderReadsSafely)
{
    const juce::String text (juce::CharPointer_UTF8 (GetParam().text));
    const auto document = XmlReader::read (text);

    EXPECT_EQ (describe (document.element.get()), describe (juce::parseXML (text).get()));
    EXPECT_EQ (document.complete, GetParam().complete);
}

INSTANTIATE_TEST_SUITE_P (Texts, XmlReaderAgreesWithJuce, ::testing::Values (
    ReaderCase { "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<a x=\"1\" y='2'>\r\n <b z=\"&lt;&AMP;&#65;&#x42;\"/>\n</a>\n", true },
    ReaderCase { "<a x=\"Why <?\" y=\"C ?>\"/>", true },
    ReaderCase { "<a>text<![CDATA[<b/>]]>&quot;</a >", true },
    ReaderCase { "", false },
    ReaderCase { "<a><b>", false },
    ReaderCase { "<a x=\"", false },
    ReaderCase { "<a x=1><b/></a>", false },
    ReaderCase { "<a>&<b c=\"d\"/>;&unknown;</a>", false },
    ReaderCase { "<a><b></c></a>", false },
    ReaderCase { "<a><!-- note --><b/></a>", false },
    ReaderCase { "<a x=\"1\" <?p?> y=\"2\"/>", false },
    ReaderCase { "<?xml version=\"1.0\"?><?other?><a/>", false },
    ReaderCase { "<a/><b/>", false },
    // A fatal error, then one JUCE carries on after, which clears it.
    ReaderCase { "<r><a x=\"1\" !><b/>&x;</r>", false }));

// Texts on which JUCE's reader loops for ever, exhausts the stack or reads past the text,
// and one it reads differently.
TEST (XmlReader, ReadsHostileTextsWithoutHangingAndKeepsAttributeText)
{
    const auto read = [] (const juce::String& text) { return XmlReader::read (text); };

    const auto instruction = read ("<a><?b?>c</a>");
    ASSERT_NE (instruction.element, nullptr);
    EXPECT_EQ (instruction.element->getAllSubText(), "c");
    EXPECT_FALSE (instruction.complete);

    const auto recursiveEntity = read ("<!DOCTYPE r [<!ENTITY e \"&e;\"><!ENTITY f \"<a><?b?>c</a>\">]><r x=\"&e;\">&f;</r>");
    ASSERT_NE (recursiveEntity.element, nullptr);
    EXPECT_EQ (recursiveEntity.element->getStringAttribute ("x"), "e");
    EXPECT_FALSE (recursiveEntity.complete);

    const auto nested = [&] (int depth) { return read (juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth)); };
    EXPECT_NE (nested (XmlReader::maximumDepth).element, nullptr);
    EXPECT_EQ (nested (XmlReader::maximumDepth + 1).element, nullptr);
    EXPECT_EQ (read (juce::String::repeatedString ("<a>", 200000)).element, nullptr);

    EXPECT_EQ (read ("<a x=\"&#x").element, nullptr);

    // JUCE keeps both of a repeated attribute and finds the first; this reader keeps the first.
    const auto repeated = read ("<a x=\"1\" x=\"2\"/>");
    ASSERT_NE (repeated.element, nullptr);
    EXPECT_EQ (repeated.element->getStringAttribute ("x"), juce::parseXML ("<a x=\"1\" x=\"2\"/>")->getStringAttribute ("x"));
    EXPECT_FALSE (repeated.complete);

    const auto notCharacters = read ("<a x=\"&#xD800;&#1114112;!\"/>");
    ASSERT_NE (notCharacters.element, nullptr);
    EXPECT_EQ (notCharacters.element->getStringAttribute ("x"), juce::String (juce::CharPointer_UTF8 ("\xef\xbf\xbd\xef\xbf\xbd!")));
    EXPECT_FALSE (notCharacters.complete);
}

class XmlTextDecoding : public ::testing::TestWithParam<DecodingCase> {};

TEST_P (XmlTextDecoding, ReadsTheEncodingsJucesFileReaderReads)
{
    const auto& bytes = GetParam().bytes;
    const auto decoded = XmlText::decode (bytes.data(), bytes.size());

    EXPECT_EQ (decoded.text, juce::String (juce::CharPointer_UTF8 (GetParam().utf8)));
    EXPECT_EQ (decoded.exact, GetParam().exact);
}

INSTANTIATE_TEST_SUITE_P (Bytes, XmlTextDecoding, ::testing::Values (
    DecodingCase { { 0xef, 0xbb, 0xbf, 'a', 0xc3, 0xa9 }, "a\xc3\xa9", true },
    DecodingCase { { 0xff, 0xfe, 'a', 0, 0xe9, 0, 0x3d, 0xd8, 0x00, 0xde }, "a\xc3\xa9\xf0\x9f\x98\x80", true },
    DecodingCase { { 0xfe, 0xff, 0, 'a', 0, 0xe9, 0xd8, 0x3d, 0xde, 0x00 }, "a\xc3\xa9\xf0\x9f\x98\x80", true },
    DecodingCase { { 0xff, 0xfe, 'a', 0, 'b' }, "a", false },
    DecodingCase { { 0xff, 0xfe, 0x3d, 0xd8, 'a', 0 }, "\xef\xbf\xbd" "a", false },
    DecodingCase { { 'C', 'a', 'f', 0xe9 }, "Caf\xc3\xa9", false },
    DecodingCase { { 0xc0, 0xaf, 0xed, 0xa0, 0x80 }, "\xc3\x80\xc2\xaf\xc3\xad\xc2\xa0\xc2\x80", false },
    DecodingCase { { 'a', 'b', 0, 'c' }, "ab", false }));
