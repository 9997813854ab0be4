#pragma once

#include "Model/XmlReader.h"

#include <juce_core/juce_core.h>

#include <optional>

// The text of a database file or a state chunk, decoded as JUCE's file reader decodes it:
// UTF-16 (little- or big-endian) after its byte-order mark, otherwise UTF-8 with or without
// its byte-order mark. Bytes that are not part of a valid UTF-8 sequence are taken as the
// Latin-1 characters they most likely are (a file written by another program); JUCE's own
// reader would take such a byte as the start of a longer character and read past it. The
// text ends at its first zero character, as JUCE's reader ends it.
struct XmlText
{
    struct Decoded
    {
        juce::String text;
        bool exact = true;      // false when a byte was guessed at, replaced or left out
    };

    static Decoded decode (const void* data, size_t size);

    // Where the text starts in the bytes (after a UTF-8 byte-order mark) when they are
    // UTF-8 already, every sequence valid and no zero byte among them: then decoding
    // would give exactly these bytes, and a reader can take them as they lie.
    static std::optional<size_t> findUtf8Text (const void* data, size_t size);

    // The decoded text read by XmlReader; complete only when the decoding was exact too.
    static XmlReader::Document parse (const void* data, size_t size);
};
