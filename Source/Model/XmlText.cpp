#include "Model/XmlText.h"

#include <cstring>
#include <string>

namespace
{
    void appendUtf8 (std::string& text, juce::uint32 c)
    {
        if (c < 0x80)
        {
            text += (char) c;
        }
        else if (c < 0x800)
        {
            text += (char) (0xc0 | (c >> 6));
            text += (char) (0x80 | (c & 0x3f));
        }
        else if (c < 0x10000)
        {
            text += (char) (0xe0 | (c >> 12));
            text += (char) (0x80 | ((c >> 6) & 0x3f));
            text += (char) (0x80 | (c & 0x3f));
        }
        else
        {
            text += (char) (0xf0 | (c >> 18));
            text += (char) (0x80 | ((c >> 12) & 0x3f));
            text += (char) (0x80 | ((c >> 6) & 0x3f));
            text += (char) (0x80 | (c & 0x3f));
        }
    }

    // The length of the well-formed UTF-8 sequence at bytes (no overlong forms, surrogates
    // or values beyond U+10FFFF), or 0 when there is none.
    size_t sequenceLength (const juce::uint8* bytes, size_t available) noexcept
    {
        const auto lead = bytes[0];

        if (lead < 0x80)
            return 1;

        const auto length = lead >= 0xc2 && lead <= 0xdf ? 2u : lead >= 0xe0 && lead <= 0xef ? 3u : lead >= 0xf0 && lead <= 0xf4 ? 4u : 0u;

        if (length == 0 || length > available)
            return 0;

        // The second byte's range depends on the lead; the others are any continuation byte.
        const auto second = bytes[1];
        const auto low  = lead == 0xe0 ? 0xa0 : lead == 0xf0 ? 0x90 : 0x80;
        const auto high = lead == 0xed ? 0x9f : lead == 0xf4 ? 0x8f : 0xbf;

        if (second < low || second > high)
            return 0;

        for (size_t i = 2; i < length; ++i)
            if ((bytes[i] & 0xc0) != 0x80)
                return 0;

        return length;
    }

    XmlText::Decoded decodeUtf8 (const juce::uint8* bytes, size_t size)
    {
        XmlText::Decoded result;
        size_t end = 0;

        while (end < size && bytes[end] != 0)
            ++end;

        result.exact = end == size;

        std::string text;
        bool valid = true;

        for (size_t i = 0; i < end;)
        {
            if (valid && bytes[i] < 0x80)
            {
                ++i;
                continue;
            }

            const auto length = sequenceLength (bytes + i, end - i);

            if (length == 0 && valid)
            {
                // From the first stray byte on, the text is rebuilt.
                valid = false;
                text.reserve (end * 2);
                text.assign (reinterpret_cast<const char*> (bytes), i);
            }

            if (! valid)
            {
                if (length == 0)
                    appendUtf8 (text, bytes[i]);
                else
                    text.append (reinterpret_cast<const char*> (bytes + i), length);
            }

            i += juce::jmax ((size_t) 1, length);
        }

        result.exact = result.exact && valid;
        result.text = valid ? juce::String::fromUTF8 (reinterpret_cast<const char*> (bytes), (int) end)
                            : juce::String::fromUTF8 (text.data(), (int) text.size());
        return result;
    }

    XmlText::Decoded decodeUtf16 (const juce::uint8* bytes, size_t size, bool bigEndian)
    {
        XmlText::Decoded result;
        result.exact = size % 2 == 0;

        const auto unitAt = [&] (size_t i) -> juce::uint32
        {
            return bigEndian ? (juce::uint32) ((bytes[2 * i] << 8) | bytes[2 * i + 1])
                             : (juce::uint32) (bytes[2 * i] | (bytes[2 * i + 1] << 8));
        };

        std::string text;
        text.reserve (size);
        const auto numUnits = size / 2;

        for (size_t i = 0; i < numUnits; ++i)
        {
            auto c = unitAt (i);

            if (c == 0)
            {
                result.exact = false;
                break;
            }

            if (c >= 0xd800 && c <= 0xdbff && i + 1 < numUnits && unitAt (i + 1) >= 0xdc00 && unitAt (i + 1) <= 0xdfff)
            {
                c = 0x10000 + ((c - 0xd800) << 10) + (unitAt (++i) - 0xdc00);
            }
            else if (c >= 0xd800 && c <= 0xdfff)
            {
                c = 0xfffd;    // half of a pair
                result.exact = false;
            }

            appendUtf8 (text, c);
        }

        result.text = juce::String::fromUTF8 (text.data(), (int) text.size());
        return result;
    }
}

std::optional<size_t> XmlText::findUtf8Text (const void* data, size_t size)
{
    const auto* bytes = static_cast<const juce::uint8*> (data);

    if (size >= 2 && ((bytes[0] == 0xfe && bytes[1] == 0xff) || (bytes[0] == 0xff && bytes[1] == 0xfe)))
        return {};

    const size_t start = size >= 3 && bytes[0] == 0xef && bytes[1] == 0xbb && bytes[2] == 0xbf ? 3 : 0;

    for (size_t i = start; i < size;)
    {
        // Eight bytes at a time while they are ASCII and none is zero.
        while (i + 8 <= size)
        {
            juce::uint64 word;
            std::memcpy (&word, bytes + i, sizeof (word));
            constexpr auto ones = 0x0101010101010101ull, highBits = 0x8080808080808080ull;

            if (((word - ones) & ~word & highBits) != 0 || (word & highBits) != 0)
                break;

            i += 8;
        }

        if (i >= size)
            break;

        if (bytes[i] == 0)
            return {};

        const auto length = sequenceLength (bytes + i, size - i);

        if (length == 0)
            return {};

        i += length;
    }

    return start;
}

XmlText::Decoded XmlText::decode (const void* data, size_t size)
{
    const auto* bytes = static_cast<const juce::uint8*> (data);

    if (size >= 2 && ((bytes[0] == 0xfe && bytes[1] == 0xff) || (bytes[0] == 0xff && bytes[1] == 0xfe)))
        return decodeUtf16 (bytes + 2, size - 2, bytes[0] == 0xfe);

    if (size >= 3 && bytes[0] == 0xef && bytes[1] == 0xbb && bytes[2] == 0xbf)
        return decodeUtf8 (bytes + 3, size - 3);

    return decodeUtf8 (bytes, size);
}

XmlReader::Document XmlText::parse (const void* data, size_t size)
{
    const auto decoded = decode (data, size);
    auto document = XmlReader::read (decoded.text);
    document.complete = document.complete && decoded.exact;
    return document;
}
