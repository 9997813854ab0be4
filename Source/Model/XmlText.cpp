#include "Model/XmlText.h"

juce::String XmlText::fromBytes (const void* data, size_t size)
{
    auto* bytes = static_cast<const uint8_t*> (data);

    // A byte-order mark says only that the text is UTF-8.
    if (size >= 3 && bytes[0] == 0xef && bytes[1] == 0xbb && bytes[2] == 0xbf)
    {
        bytes += 3;
        size -= 3;
    }

    const auto* text = reinterpret_cast<const char*> (bytes);

    size_t end = 0;

    while (end < size && bytes[end] != 0)
        ++end;

    if (juce::CharPointer_UTF8::isValidString (text, (int) end))
        return juce::String::fromUTF8 (text, (int) end);

    juce::String result;
    result.preallocateBytes (end * 2);

    for (size_t i = 0; i < end;)
    {
        const auto lead = bytes[i];
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
        bool valid = length > 0 && i + length <= end;

        for (size_t k = 1; valid && k < length; ++k)
            valid = (bytes[i + k] & 0xc0) == 0x80;

        if (valid && length > 1)
            valid = juce::CharPointer_UTF8::isValidString (text + i, (int) length);

        if (valid)
        {
            result += juce::String::fromUTF8 (text + i, (int) length);
            i += length;
        }
        else
        {
            result += juce::String::charToString ((juce::juce_wchar) lead);
            ++i;
        }
    }

    return result;
}

std::unique_ptr<juce::XmlElement> XmlText::parse (const void* data, size_t size)
{
    const auto text = fromBytes (data, size).toStdString();

    // JUCE's parser loops for ever on a processing instruction followed by text inside an
    // element ("<a><?b?>c</a>"). Nothing read here is carried by one (the XML declaration
    // included), so every complete "<?...?>" is left out before parsing.
    std::string withoutInstructions;
    withoutInstructions.reserve (text.size());
    size_t position = 0;

    for (;;)
    {
        const auto start = text.find ("<?", position);
        const auto end = start == std::string::npos ? std::string::npos : text.find ("?>", start + 2);

        if (end == std::string::npos)
            break;

        withoutInstructions.append (text, position, start - position);
        position = end + 2;
    }

    withoutInstructions.append (text, position, std::string::npos);
    return juce::parseXML (juce::String::fromUTF8 (withoutInstructions.data(), (int) withoutInstructions.size()));
}

std::unique_ptr<juce::XmlElement> XmlText::parseBinaryChunk (const void* data, int sizeInBytes)
{
    constexpr juce::uint32 magicXmlNumber = 0x21324356;

    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != magicXmlNumber)
        return {};

    const auto length = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (length <= 0)
        return {};

    return parse (juce::addBytesToPointer (data, 8), (size_t) juce::jmin (sizeInBytes - 8, length));
}
