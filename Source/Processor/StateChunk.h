#pragma once

#include "Model/MidiMappings.h"
#include "Model/PluginProgram.h"
#include "Model/Tuning.h"

#include <juce_core/juce_core.h>

// The state chunk a host keeps with a project: the current program as one element
// "VELMORA_SETTINGS" holding the attributes of a database program, followed by the MIDI
// channel and the learned controllers (MidiMappings), in JUCE's binary XML
// layout (what AudioProcessor::getXmlFromBinary reads): the magic number 0x21324356, the
// little-endian length of the text, the element in UTF-8 on one line without an XML
// declaration, and a zero byte. Only this class knows that layout.
class StateChunk
{
public:
    static constexpr juce::uint32 magicNumber = 0x21324356;
    static constexpr const char* tag = "VELMORA_SETTINGS";

    // Replaces destination with the chunk of the program and the mappings, and of a tuning
    // other than equal temperament as a child "TUNING" with the texts of its files in
    // "Scale" and "Mapping".
    static void write (const PluginProgram& program, const Tuning& tuning, const MidiMappings& mappings, juce::MemoryBlock& destination);

    // The tuning an element read from a chunk carries: equal temperament when it has none,
    // the reason when its texts are no scale or mapping.
    static Tuning::Read readTuning (const juce::XmlElement& element);
    static constexpr const char* tuningTag = "TUNING";

    // The element of a chunk, whatever its tag, or nullptr when the data holds none: too
    // short, another magic number, no text, or text that does not parse. Reads with the
    // project's own XML reader: never hangs and never reads outside the data.
    static std::unique_ptr<juce::XmlElement> read (const void* data, size_t size);

    // Whether an element read from a chunk carries a program: its tag, in any letter case.
    static bool holdsProgram (const juce::XmlElement& element);
};
