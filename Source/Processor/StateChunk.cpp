#include "Processor/StateChunk.h"
#include "Model/PluginDatabase.h"
#include "Model/XmlText.h"

void StateChunk::write (const PluginProgram& program, const Tuning& tuning, const MidiMappings& mappings, juce::MemoryBlock& destination)
{
    juce::XmlElement element (tag);
    PluginDatabase::writeProgramAttributes (program, element);
    mappings.writeTo (element);

    if (! tuning.isEqualTemperament())
    {
        auto* child = element.createNewChildElement (tuningTag);
        child->setAttribute ("Scale", tuning.getScaleText());
        child->setAttribute ("Mapping", tuning.getMappingText());
    }

    const auto text = element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto numBytes = text.getNumBytesAsUTF8();

    juce::MemoryOutputStream out (destination, false);
    out.writeInt ((int) magicNumber);
    out.writeInt ((int) numBytes);
    out.write (text.toRawUTF8(), numBytes);
    out.writeByte (0);
}

std::unique_ptr<juce::XmlElement> StateChunk::read (const void* data, size_t size)
{
    constexpr size_t headerSize = 8;

    if (data == nullptr || size <= headerSize || juce::ByteOrder::littleEndianInt (data) != magicNumber)
        return {};

    // A length with the top bit set counts as none, as it does for JUCE's reader.
    const auto length = (juce::int32) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (length <= 0)
        return {};

    const auto textSize = juce::jmin (size - headerSize, (size_t) length);
    return std::move (XmlText::parse (juce::addBytesToPointer (data, headerSize), textSize).element);
}

Tuning::Read StateChunk::readTuning (const juce::XmlElement& element)
{
    if (const auto* child = element.getChildByName (tuningTag))
        return Tuning::read (child->getStringAttribute ("Scale"), child->getStringAttribute ("Mapping"));

    return { Tuning(), {} };
}

bool StateChunk::holdsProgram (const juce::XmlElement& element)
{
    return element.hasTagName (tag);
}
