#pragma once

#include <juce_core/juce_core.h>

// Parses XML from bytes that may not be valid UTF-8. JUCE's parser reads an invalid byte
// as the start of a longer character: it swallows the quote or bracket after it, and at
// the end of the text it reads past the buffer. Bytes that are not part of a valid UTF-8
// sequence are taken as the Latin-1 characters they most likely are (a file written by
// another program); the text ends at the first zero byte, as JUCE's reader ends it, and
// a leading byte-order mark is skipped.
struct XmlText
{
    static juce::String fromBytes (const void* data, size_t size);

    // Also leaves out processing instructions, on which JUCE's parser can hang.
    static std::unique_ptr<juce::XmlElement> parse (const void* data, size_t size);

    // The element of a chunk written by AudioProcessor::copyXmlToBinary (magic number,
    // little-endian length, text), or nullptr where getXmlFromBinary gives none.
    static std::unique_ptr<juce::XmlElement> parseBinaryChunk (const void* data, int sizeInBytes);
};
