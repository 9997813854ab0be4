#include "FuzzEnvironment.h"
#include "OfflineRenderer.h"
#include "Processor/PluginProcessor.h"

#include <cmath>
#include <cstdint>
#include <vector>

// Any bytes as a host's state chunk, either as they are (first byte even) or, so that the
// XML reader is reached every time, as text behind a valid chunk header (first byte odd):
// the 4-byte magic number, the little-endian length and a terminating zero. After the
// restore the processor has a current program whose values are all finite, renders, and
// writes a chunk that restores again. The same bytes as the renderer's --state file either
// restore or give a one-line error, and leave a current program with finite values. The MIDI
// mappings a chunk holds are restored only where they make sense, and survive a save.
namespace
{
    FuzzEnvironment environment;

    std::vector<uint8_t> wrapInChunkHeader (const uint8_t* text, size_t size)
    {
        const auto length = (uint32_t) size + 1;
        std::vector<uint8_t> chunk { 0x56, 0x43, 0x32, 0x21,
                                     (uint8_t) length, (uint8_t) (length >> 8), (uint8_t) (length >> 16), (uint8_t) (length >> 24) };
        chunk.insert (chunk.end(), text, text + size);
        chunk.push_back (0);
        return chunk;
    }

    // Whatever a chunk held, the mappings are ones a musician could have made.
    void checkMappings (const MidiMappings& mappings)
    {
        if (! MidiMappings::isChannel (mappings.getChannel()))
            __builtin_trap();

        for (int controller = -1; controller <= MidiMappings::numControllers; ++controller)
        {
            const auto parameterIndex = mappings.getParameter (controller);

            if (parameterIndex != MidiMappings::none
                 && (! MidiMappings::isLearnable (controller) || ! MidiMappings::isMappable (parameterIndex)
                      || mappings.getController (parameterIndex) != controller))
                __builtin_trap();
        }
    }

    void checkCurrentProgram (QuenbyAudioProcessor& processor)
    {
        const auto* program = processor.state->getCurrentProgram();

        if (program == nullptr)
            __builtin_trap();

        for (int i = 0; i < program->getNumParameters(); ++i)
            if (! std::isfinite (program->getParameter (i)->getValue()))
                __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;

    const auto chunk = (data[0] & 1) != 0 ? wrapInChunkHeader (data + 1, size - 1)
                                          : std::vector<uint8_t> (data + 1, data + size);

    QuenbyAudioProcessor processor;
    processor.setRateAndBufferSizeDetails (48000.0, 64);
    processor.prepareToPlay (48000.0, 64);
    processor.setStateInformation (chunk.data(), (int) chunk.size());
    checkCurrentProgram (processor);
    const auto mappings = processor.getMidiInput().getMappings();
    checkMappings (mappings);

    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
    processor.processBlock (buffer, midi);

    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    checkCurrentProgram (processor);

    if (processor.getMidiInput().getMappings() != mappings)
        __builtin_trap();

    processor.releaseResources();

    const auto stateFile = environment.home.getChildFile ("fuzz.chunk");

    if (! stateFile.replaceWithData (chunk.data(), chunk.size()))
        return 0;

    RenderOptions options;
    options.stateFile = stateFile;
    juce::String error;
    QuenbyAudioProcessor rendering;

    if (! OfflineRenderer::setUpSound (rendering, options, error)
         && (error.isEmpty() || error.containsChar ('\n')))
        __builtin_trap();

    checkCurrentProgram (rendering);
    return 0;
}
