#pragma once

#include <juce_core/juce_core.h>

#include <string_view>

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
//
// With a ChildHandler, the root's children are handed over one by one as they are read
// instead of being kept in the tree, so a file of any length never has more than one of
// them in memory: the document's element is then the root alone.
class XmlReader
{
public:
    static constexpr int maximumDepth = 256;

    using Pointer = juce::String::CharPointerType;

    class ChildHandler
    {
    public:
        virtual ~ChildHandler() = default;

        // A child element of the root begins; its attributes follow in document order.
        virtual void beginElement (Pointer tagStart, Pointer tagEnd) = 0;

        // The value is the attribute's text in UTF-8, its references replaced; it lives only
        // for the call. False when the element already has an attribute of that name: the
        // first one is kept, as in the tree, where JUCE's look-ups find the first.
        virtual bool addAttribute (Pointer nameStart, Pointer nameEnd, std::string_view value) = 0;

        // The element ends; hasContent when it held elements or text of its own.
        virtual void endElement (bool hasContent) = 0;

        // A text (or CDATA section) directly inside the root.
        virtual void addText() = 0;
    };

    struct Document
    {
        std::unique_ptr<juce::XmlElement> element;   // nullptr when the text holds no readable element

        // True when the text is this element and nothing else: no error was passed over, no
        // attribute given twice, every closing tag names its element, and around it there is
        // only white space and a leading XML declaration (no comment, processing instruction,
        // document type or further content anywhere).
        bool complete = false;
    };

    static Document read (const juce::String& text, ChildHandler* handler = nullptr);

    // The same for UTF-8 text that is known to be valid and ends with a zero byte, read
    // where it lies without a copy.
    static Document read (Pointer text, ChildHandler* handler);

private:
    class ChildList;

    XmlReader (Pointer text, ChildHandler* handler);

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
    ChildHandler* const handler;
    bool outOfData = false, errorOccurred = false, tooDeep = false;
    bool complete = true, declarationAllowed = true;
    int depth = 0;
};
