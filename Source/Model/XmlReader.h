#pragma once

#include <juce_core/juce_core.h>

// Reads XML text into JUCE's element tree the way juce::parseXML reads it, with the same
// leniencies (an unescaped "<" in an attribute value, closing tags whose name is not
// checked, unknown entities read as their name), so that every file JUCE's reader takes
// gives the same elements. It has none of that reader's faults:
//  - a processing instruction between pieces of text inside an element is stepped over as
//    a comment is (JUCE's reader loops for ever on "<a><?b?>c</a>");
//  - a document type declaration is passed over and its entities are never expanded (JUCE
//    expands them recursively, which can loop or recurse without end);
//  - elements nested deeper than maximumDepth make the text unreadable instead of
//    exhausting the stack;
//  - a character reference that is no Unicode character reads as U+FFFD, and one cut off by
//    the end of the text never makes the reader step past it.
// Text inside attribute values is never changed. The text must not contain a zero
// character before its end (a juce::String never does).
class XmlReader
{
public:
    static constexpr int maximumDepth = 256;

    struct Document
    {
        std::unique_ptr<juce::XmlElement> element;   // nullptr when the text holds no readable element

        // True when the text is this element and nothing else: no error was passed over, no
        // attribute given twice, every closing tag names its element, and around it there is
        // only white space and a leading XML declaration (no comment, processing instruction,
        // document type or further content anywhere).
        bool complete = false;
    };

    static Document read (const juce::String& text);

private:
    using Pointer = juce::String::CharPointerType;

    class ChildList;

    explicit XmlReader (const juce::String& text);

    std::unique_ptr<juce::XmlElement> readDocument();
    bool skipDeclaration();
    bool skipDocumentType();
    void skipNextWhiteSpace();
    juce::juce_wchar readNextChar() noexcept;
    void readQuotedString (juce::String& result);
    std::unique_ptr<juce::XmlElement> readNextElement (bool alsoReadChildren);
    void readChildElements (juce::XmlElement& parent);
    bool readText (ChildList& children);
    void readEntity (juce::String& result);
    void appendCharacter (juce::String& result, juce::int64 code);
    void noteClosingTag (const juce::XmlElement& element, Pointer nameStart, Pointer tagEnd);
    void setError (bool carryOn) noexcept;

    Pointer input;
    bool outOfData = false, errorOccurred = false, tooDeep = false;
    bool complete = true, declarationAllowed = true;
    int depth = 0;
};
