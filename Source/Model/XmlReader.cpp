#include "Model/XmlReader.h"

#include <algorithm>
#include <vector>

// The steps below follow JUCE's XmlDocument one for one (juce_XmlDocument.cpp), so that
// both readers agree wherever JUCE's is safe; the comments mark where this one departs.
// That includes its error handling: an error JUCE carries on after (an unknown entity, a
// bad character reference) clears an earlier fatal one, and so it does here.

namespace
{
    using juce::juce_wchar;

    bool isIdentifierChar (juce_wchar c) noexcept
    {
        static const juce::uint32 legalChars[] = { 0, 0x7ff6000, 0x87fffffe, 0x7fffffe, 0 };

        if ((juce::uint32) c < 160)
            return (legalChars[c >> 5] & (1u << (c & 31))) != 0;

        return juce::CharacterFunctions::isLetterOrDigit (c) || c == '_' || c == '-' || c == ':' || c == '.';
    }

    juce::String::CharPointerType findEndOfToken (juce::String::CharPointerType p) noexcept
    {
        while (isIdentifierChar (*p))
            ++p;

        return p;
    }

    // JUCE's isWhitespace asks the C library, whose answer may depend on the locale, for
    // every character; the characters that every locale answers alike are answered here.
    bool isWhitespace (juce_wchar c) noexcept
    {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            return true;

        if (c > ' ' && c < 0x7f)
            return false;

        return juce::CharacterFunctions::isWhitespace (c);
    }

    void skipWhitespace (juce::String::CharPointerType& p) noexcept
    {
        while (isWhitespace (*p))
            ++p;
    }

    bool startsWith (juce::String::CharPointerType p, const char* ascii) noexcept
    {
        return juce::CharacterFunctions::compareUpTo (p, juce::CharPointer_ASCII (ascii), (int) std::strlen (ascii)) == 0;
    }
}

// Children collected in order and attached at the end, each prepended from the last:
// XmlElement::addChildElement walks the whole list, which would make reading quadratic.
// The root's children go to the handler instead, when there is one: an element's tag and
// attributes went there as it was read, and only its end is told here.
class XmlReader::ChildList
{
public:
    ChildList (juce::XmlElement& parentToFill, ChildHandler* handlerToUse) : parent (parentToFill), handler (handlerToUse) {}

    ~ChildList()
    {
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            parent.prependChildElement (child->release());
    }

    void add (std::unique_ptr<juce::XmlElement> child)
    {
        if (handler == nullptr)
            children.push_back (std::move (child));
        else if (child->isTextElement())
            handler->addText();
        else
            handler->endElement (child->getFirstChildElement() != nullptr);
    }

private:
    juce::XmlElement& parent;
    ChildHandler* const handler;
    std::vector<std::unique_ptr<juce::XmlElement>> children;
};

XmlReader::XmlReader (Pointer text, ChildHandler* handlerToUse) : input (text), handler (handlerToUse) {}

XmlReader::Document XmlReader::read (const juce::String& text, ChildHandler* handler)
{
    return read (text.getCharPointer(), handler);
}

XmlReader::Document XmlReader::read (Pointer text, ChildHandler* handler)
{
    XmlReader reader (text, handler);
    Document document;
    document.element = reader.readDocument();
    document.complete = document.element != nullptr && reader.complete;
    return document;
}

std::unique_ptr<juce::XmlElement> XmlReader::readDocument()
{
    if (input.isEmpty() || ! skipDeclaration() || ! skipDocumentType())
        return {};

    auto element = readNextElement (true);

    if (errorOccurred || tooDeep)
        return {};

    skipWhitespace (input);

    if (outOfData || ! input.isEmpty())
        complete = false;     // JUCE ignores whatever follows the element

    return element;
}

bool XmlReader::skipDeclaration()
{
    skipNextWhiteSpace();

    if (startsWith (input, "<?xml"))
    {
        // Only an unterminated one is left here: skipNextWhiteSpace passes complete ones.
        const auto end = juce::CharacterFunctions::find (input, juce::CharPointer_ASCII ("?>"));

        if (end.isEmpty())
            return false;

        input = end + 2;
        skipNextWhiteSpace();
    }

    declarationAllowed = false;
    return true;
}

// Passed over by counting angle brackets, as JUCE does; what it declares is not used.
bool XmlReader::skipDocumentType()
{
    if (! startsWith (input, "<!DOCTYPE"))
        return true;

    complete = false;
    input += 9;

    for (int open = 1; open > 0;)
    {
        const auto c = readNextChar();

        if (outOfData)
            return false;

        if (c == '<')
            ++open;
        else if (c == '>')
            --open;
    }

    return true;
}

void XmlReader::skipNextWhiteSpace()
{
    for (;;)
    {
        skipWhitespace (input);

        if (input.isEmpty())
        {
            outOfData = true;
            break;
        }

        if (*input == '<')
        {
            if (input[1] == '!' && input[2] == '-' && input[3] == '-')
            {
                complete = false;
                input += 4;
                const auto closeComment = input.indexOf (juce::CharPointer_ASCII ("-->"));

                if (closeComment < 0)
                {
                    outOfData = true;
                    break;
                }

                input += closeComment + 3;
                continue;
            }

            if (input[1] == '?')
            {
                const bool declaration = startsWith (input, "<?xml")
                                          && (juce::CharacterFunctions::isWhitespace (input[5]) || input[5] == '?');

                if (! (declarationAllowed && declaration))
                    complete = false;

                declarationAllowed = false;
                input += 2;
                const auto closeBracket = input.indexOf (juce::CharPointer_ASCII ("?>"));

                if (closeBracket < 0)
                {
                    outOfData = true;
                    break;
                }

                input += closeBracket + 2;
                continue;
            }
        }

        break;
    }
}

juce::juce_wchar XmlReader::readNextChar() noexcept
{
    const auto c = input.getAndAdvance();

    if (c == 0)
    {
        outOfData = true;
        --input;
    }

    return c;
}

void XmlReader::setError (bool carryOn) noexcept
{
    errorOccurred = ! carryOn;
    complete = false;
}

void XmlReader::readQuotedString (juce::String& result)
{
    const auto quote = readNextChar();

    while (! outOfData)
    {
        const auto c = readNextChar();

        if (c == quote)
            break;

        --input;

        if (c == '&')
        {
            readEntity (result);
            continue;
        }

        const auto start = input;

        for (;;)
        {
            const auto character = *input;

            if (character == quote)
            {
                result.appendCharPointer (start, input);
                ++input;
                return;
            }

            if (character == '&')
            {
                result.appendCharPointer (start, input);
                break;
            }

            if (character == 0)
            {
                setError (false);    // unmatched quotes
                outOfData = true;
                break;
            }

            ++input;
        }
    }
}

std::unique_ptr<juce::XmlElement> XmlReader::readNextElement (bool alsoReadChildren)
{
    std::unique_ptr<juce::XmlElement> node;
    skipNextWhiteSpace();

    if (outOfData || *input != '<')
        return node;

    ++input;
    auto endOfToken = findEndOfToken (input);

    if (endOfToken == input)
    {
        // A gap between "<" and the name is allowed.
        skipNextWhiteSpace();
        endOfToken = findEndOfToken (input);

        if (endOfToken == input)
        {
            setError (false);    // tag name missing
            return node;
        }
    }

    node = std::make_unique<juce::XmlElement> (input, endOfToken);

    // A child of the root, whose attributes the handler takes.
    const bool handled = handler != nullptr && depth == 1;

    if (handled)
        handler->beginElement (input, endOfToken);

    input = endOfToken;
    std::vector<const char*> attributeNames;

    for (;;)
    {
        skipNextWhiteSpace();
        const auto c = *input;

        if (c == '/' && input[1] == '>')
        {
            input += 2;
            break;
        }

        if (c == '>')
        {
            ++input;

            if (alsoReadChildren)
                readChildElements (*node);

            break;
        }

        if (isIdentifierChar (c))
        {
            const auto nameStart = input;
            const auto nameEnd = findEndOfToken (input);
            input = nameEnd;
            skipNextWhiteSpace();

            if (readNextChar() != '=')
            {
                setError (false);    // expected '=' after the attribute name
                return node;
            }

            skipNextWhiteSpace();
            const auto quote = *input;

            if (quote == '"' || quote == '\'')
            {
                if (handled)
                {
                    // A value without references is handed over where it lies: UTF-8
                    // sequences hold no ASCII bytes, so the quote is found byte by byte.
                    const auto* open = input.getAddress();
                    auto* close = open + 1;

                    while (*close != 0 && *close != (char) quote && *close != '&')
                        ++close;

                    bool added = false;

                    if (*close == (char) quote)
                    {
                        added = handler->addAttribute (nameStart, nameEnd, { open + 1, (size_t) (close - open - 1) });
                        input = Pointer (close + 1);
                    }
                    else
                    {
                        juce::String value;
                        readQuotedString (value);
                        added = handler->addAttribute (nameStart, nameEnd, { value.toRawUTF8(), value.getNumBytesAsUTF8() });
                    }

                    if (! added)
                        complete = false;

                    continue;
                }

                juce::String value;
                readQuotedString (value);

                // JUCE keeps both of a repeated attribute and finds the first. Names are
                // pooled, so one is told apart by the address of its text.
                const juce::Identifier name (nameStart, nameEnd);
                const auto* pooledName = name.getCharPointer().getAddress();

                if (std::find (attributeNames.begin(), attributeNames.end(), pooledName) != attributeNames.end())
                {
                    complete = false;
                }
                else
                {
                    attributeNames.push_back (pooledName);
                    node->setAttribute (name, value);
                }

                continue;
            }

            // A value without quotes silently ends the element, as in JUCE.
            complete = false;
        }
        else if (! outOfData)
        {
            setError (false);    // illegal character in the element
        }

        break;
    }

    return node;
}

void XmlReader::readChildElements (juce::XmlElement& parent)
{
    if (depth >= maximumDepth)
    {
        tooDeep = true;
        outOfData = true;    // every open element ends at once
        setError (false);
        return;
    }

    const juce::ScopedValueSetter<int> nested (depth, depth + 1);
    ChildList children (parent, depth == 1 ? handler : nullptr);

    for (;;)
    {
        const auto beforeWhiteSpace = input;
        skipNextWhiteSpace();

        if (outOfData)
        {
            setError (false);    // unmatched tags
            break;
        }

        if (*input == '<')
        {
            const auto c1 = input[1];

            if (c1 == '/')
            {
                const auto closeTag = input.indexOf ((juce_wchar) '>');

                if (closeTag >= 0)
                {
                    noteClosingTag (parent, input + 2, input + closeTag);
                    input += closeTag + 1;
                }
                else
                {
                    complete = false;
                }

                break;
            }

            if (c1 == '!' && juce::CharacterFunctions::compareUpTo (input + 2, juce::CharPointer_ASCII ("[CDATA["), 7) == 0)
            {
                input += 9;
                const auto start = input;

                for (;;)
                {
                    const auto c0 = *input;

                    if (c0 == 0)
                    {
                        setError (false);    // unterminated CDATA section
                        outOfData = true;
                        break;
                    }

                    if (c0 == ']' && input[1] == ']' && input[2] == '>')
                    {
                        children.add (std::unique_ptr<juce::XmlElement> (juce::XmlElement::createTextElement (juce::String (start, input))));
                        input += 3;
                        break;
                    }

                    ++input;
                }
            }
            else if (auto child = readNextElement (true))
            {
                children.add (std::move (child));
            }
            else
            {
                break;
            }
        }
        else
        {
            input = beforeWhiteSpace;    // the text includes the white space before it

            if (! readText (children))
                return;
        }
    }
}

// A block of text up to the next element or closing tag; false when the element cannot go on.
bool XmlReader::readText (ChildList& children)
{
    juce::MemoryOutputStream content;
    bool contentIsUsed = false;     // text of white space alone is left out, as JUCE does by default

    for (;;)
    {
        const auto c = *input;

        if (c == '<')
        {
            const bool comment = input[1] == '!' && input[2] == '-' && input[3] == '-';

            // Departs from JUCE: a processing instruction is stepped over here too. JUCE
            // stops the text at it, skips it as white space, then goes back to the start of
            // the text and stops at it again, for ever.
            const bool instruction = input[1] == '?';

            if (! comment && ! instruction)
                break;

            complete = false;
            input += comment ? 4 : 2;
            const auto close = input.indexOf (juce::CharPointer_ASCII (comment ? "-->" : "?>"));

            if (close < 0)
            {
                setError (false);    // unterminated comment or instruction
                outOfData = true;
                return false;
            }

            input += close + (comment ? 3 : 2);
            continue;
        }

        if (c == 0)
        {
            setError (false);    // unmatched tags
            outOfData = true;
            return false;
        }

        if (c == '&')
        {
            juce::String entity;
            readEntity (entity);

            if (entity.startsWithChar ('<') && entity[1] != 0)
            {
                // What an unknown entity's name holds is read as elements, as JUCE does.
                const auto oldInput = input;
                const auto oldOutOfData = outOfData;
                input = entity.getCharPointer();
                outOfData = false;

                while (auto child = readNextElement (true))
                    children.add (std::move (child));

                input = oldInput;
                outOfData = oldOutOfData;
            }
            else
            {
                content << entity;
                contentIsUsed = contentIsUsed || entity.containsNonWhitespaceChars();
            }

            continue;
        }

        for (;; ++input)
        {
            auto next = *input;

            if (next == '\r')
            {
                next = '\n';

                if (input[1] == '\n')
                    continue;
            }

            if (next == '<' || next == '&')
                break;

            if (next == 0)
            {
                setError (false);    // unmatched tags
                outOfData = true;
                return false;
            }

            content.appendUTF8Char (next);
            contentIsUsed = contentIsUsed || ! isWhitespace (next);
        }
    }

    if (contentIsUsed)
        children.add (std::unique_ptr<juce::XmlElement> (juce::XmlElement::createTextElement (content.toUTF8())));

    return true;
}

void XmlReader::readEntity (juce::String& result)
{
    ++input;    // the ampersand

    static const std::pair<const char*, char> predefined[] = {
        { "amp;", '&' }, { "quot;", '"' }, { "apos;", '\'' }, { "lt;", '<' }, { "gt;", '>' }
    };

    for (const auto& [name, character] : predefined)
    {
        const auto length = (int) std::strlen (name);

        if (input.compareIgnoreCaseUpTo (juce::CharPointer_ASCII (name), length) == 0)
        {
            input += length;
            result += character;
            return;
        }
    }

    if (*input == '#')
    {
        juce::int64 code = 0;
        ++input;

        if (*input == 'x' || *input == 'X')
        {
            ++input;
            int numDigits = 0;

            while (input[0] != ';')
            {
                const auto digit = juce::CharacterFunctions::getHexDigitValue (input[0]);

                if (digit < 0 || ++numDigits > 8)
                {
                    setError (true);    // illegal escape sequence
                    break;
                }

                code = (code << 4) | digit;
                ++input;
            }

            // Departs from JUCE, which steps past the character that ended the number
            // even when it is the end of the text.
            if (! input.isEmpty())
                ++input;
        }
        else if (input[0] >= '0' && input[0] <= '9')
        {
            int numDigits = 0;

            for (;;)
            {
                const auto c = input[0];

                if (c == 0)
                {
                    setError (true);    // unexpected end of input
                    return;
                }

                if (c == ';')
                    break;

                if (++numDigits > 12)
                {
                    setError (true);    // illegal escape sequence
                    break;
                }

                code = code * 10 + ((juce::int64) c - '0');
                ++input;
            }

            ++input;
        }
        else
        {
            setError (true);    // illegal escape sequence
            result += '&';
            return;
        }

        appendCharacter (result, code);
        return;
    }

    const auto nameStart = input;
    const auto semicolon = input.indexOf ((juce_wchar) ';');

    if (semicolon < 0)
    {
        outOfData = true;
        complete = false;
        result += '&';
        return;
    }

    // Without a document type every other entity is unknown: JUCE reads it as its name.
    input += semicolon + 1;
    result += juce::String (nameStart, (size_t) semicolon);
    setError (true);
}

// JUCE appends the number as a character whatever it is (a zero appends nothing); one
// that is no Unicode character would make text that is not valid UTF-8.
void XmlReader::appendCharacter (juce::String& result, juce::int64 code)
{
    const auto character = (juce::uint32) (juce::uint64) code;

    if (character == 0)
        return;

    if (character > 0x10ffff || (character >= 0xd800 && character <= 0xdfff))
    {
        complete = false;
        result += (juce_wchar) 0xfffd;
        return;
    }

    result += (juce_wchar) character;
}

// JUCE does not check the name in a closing tag; a file whose tags do not match is not
// read as it was meant.
void XmlReader::noteClosingTag (const juce::XmlElement& element, Pointer nameStart, Pointer tagEnd)
{
    if (juce::String (nameStart, tagEnd).trimEnd() != element.getTagName())
        complete = false;
}
