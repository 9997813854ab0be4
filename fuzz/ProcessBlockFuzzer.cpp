#include "FuzzEnvironment.h"
#include "Model/Enumeration.h"
#include "Model/ParameterConversion.h"
#include "Processor/PluginProcessor.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <limits>

// A fresh processor driven like a host would, by the input: its format's host scale, a
// sample rate, a channel layout, then any sequence of parameter sets (any float, out-of-range indices too),
// blocks of any size with any MIDI bytes, note stops and program switches. Hosts call
// processBlock under the callback lock, and so does this.
namespace
{
    FuzzEnvironment environment;

    float consumeValue (FuzzedDataProvider& input)
    {
        static const float specials[] = {
            0.0f, -0.0f, 0.5f, 1.0f, -1.0f, 2.0f, 100.0f, -100.0f, 1.0e30f, -1.0e30f,
            std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(),
            std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min(),
            std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
            std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN()
        };

        if (input.ConsumeBool())
            return input.PickValueInArray (specials);

        return input.ConsumeFloatingPoint<float>();
    }

    // Through both of the host's roads: the processor's parameter call and the parameter
    // object, which the format wrappers use (in VST3 and LV2 on the table's 0 ... 1 scale).
    // Indices outside 0 ... 70 are asked for too. The object's text of the value is read
    // back as a host's typed text would be.
    void setHostParameter (QuenbyAudioProcessor& processor, int index, float value, bool throughObject, bool scaled)
    {
        const auto& parameters = processor.getParameters();
        const bool viaObject = throughObject && juce::isPositiveAndBelow (index, parameters.size());

        if (viaObject)
        {
            parameters[index]->setValue (parameters[index]->getValueForText (parameters[index]->getText (value, 64)));
            parameters[index]->setValue (value);
        }
        else
        {
            processor.setParameter (index, value);
        }

        // Values are stored as given, however far outside the editor's ranges; an infinity
        // or NaN as 0. On the table's scale, any host value is a value the editor offers.
        auto stored = std::isfinite (value) ? value : 0.0f;

        if (viaObject && scaled)
            stored = ParameterConversion::fromNormalised (index, value);

        if (juce::isPositiveAndBelow (index, Enumeration::numParameters) && processor.getParameter (index) != stored)
            __builtin_trap();
    }

    void renderBlock (QuenbyAudioProcessor& processor, FuzzedDataProvider& input, int numChannels)
    {
        const auto numSamples = input.ConsumeIntegralInRange (0, 4096);
        juce::MidiBuffer midi;
        const auto numEvents = input.ConsumeIntegralInRange (0, 8);

        for (int e = 0; e < numEvents; ++e)
        {
            const auto position = numSamples > 0 ? input.ConsumeIntegralInRange (0, numSamples - 1) : 0;
            const auto bytes = input.ConsumeBytes<uint8_t> (input.ConsumeIntegralInRange (1, 6));

            if (! bytes.empty())
                midi.addEvent (bytes.data(), (int) bytes.size(), position);
        }

        juce::AudioBuffer<float> buffer (numChannels, numSamples);

        // The host's input is whatever it was; the processor must not let it through.
        for (int channel = 0; channel < numChannels; ++channel)
            juce::FloatVectorOperations::fill (buffer.getWritePointer (channel), 0.25f, numSamples);

        const juce::ScopedLock lock (processor.getCallbackLock());
        processor.processBlock (buffer, midi);

        if (! midi.isEmpty())
            __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    FuzzedDataProvider input (data, size);

    static const double rates[] = { 8000.0, 22050.0, 44100.0, 48000.0, 96000.0, 192000.0 };
    const auto sampleRate = input.PickValueInArray (rates);
    const auto preparedBlock = input.ConsumeIntegralInRange (1, 2048);
    const auto numChannels = input.ConsumeBool() ? 2 : 1;

    // VST2, the standalone app and the renderer store host values as they are; VST3 and LV2
    // hosts move on the table's scale.
    const bool scaled = input.ConsumeBool();
    juce::AudioProcessor::setTypeOfNextNewPlugin (scaled ? juce::AudioProcessor::wrapperType_VST3
                                                         : juce::AudioProcessor::wrapperType_Undefined);
    QuenbyAudioProcessor processor;
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);
    processor.setPlayConfigDetails (numChannels, numChannels, sampleRate, preparedBlock);
    processor.prepareToPlay (sampleRate, preparedBlock);

    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step)
    {
        switch (input.ConsumeIntegralInRange (0, 5))
        {
            case 0:
            case 1:
            {
                const auto index = input.ConsumeIntegralInRange (-2, Enumeration::numParameters + 2);
                const auto value = consumeValue (input);
                setHostParameter (processor, index, value, input.ConsumeBool(), scaled);
                break;
            }
            case 2:
            case 3:
                renderBlock (processor, input, numChannels);
                break;
            case 4:
                processor.stopAllNotes();
                break;
            default:
                processor.switchToProgram (processor.state->database->createProgram());
                break;
        }
    }

    processor.releaseResources();
    return 0;
}
