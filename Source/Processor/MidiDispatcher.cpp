#include "Processor/MidiDispatcher.h"
#include "Processor/HostParameter.h"
#include "Processor/PluginProcessor.h"

MidiDispatcher::MidiDispatcher (QuenbyAudioProcessor& processorToUse)
    : processor (processorToUse)
{
    // Without a message manager no timer could call back.
    if (juce::MessageManager::getInstanceWithoutCreating() != nullptr)
        startTimer (intervalMilliseconds);
}

MidiDispatcher::~MidiDispatcher()
{
    stopTimer();

    for (int index = 0; index < ParameterIndex::count; ++index)
        endGesture (index);
}

void MidiDispatcher::timerCallback()
{
    dispatch();
}

void MidiDispatcher::endGesture (int parameterIndex)
{
    if (! gestureOpen[(size_t) parameterIndex])
        return;

    gestureOpen.reset ((size_t) parameterIndex);

    if (auto* parameter = processor.getHostParameter (parameterIndex))
        parameter->endChangeGesture();
}

void MidiDispatcher::dispatch (double nowMilliseconds)
{
    auto& input = processor.getMidiInput();

    // The window shows the new program at its next tick.
    if (const auto request = input.takeProgramRequest(); request != MidiInput::none)
        if (processor.getProgramManager().selectProgramAt (request))
            processor.hostChangedParameter = true;

    if (input.completeLearning() != MidiInput::none)
        processor.keepMidiMappingsForUser();

    for (int index = 0; index < ParameterIndex::count; ++index)
    {
        auto* parameter = processor.getHostParameter (index);

        if (input.takeMoved (index))
        {
            if (! gestureOpen[(size_t) index])
            {
                gestureOpen.set ((size_t) index);
                parameter->beginChangeGesture();
            }

            parameter->tellHostOfValue();
            lastMove[(size_t) index] = nowMilliseconds;
        }
        else if (gestureOpen[(size_t) index] && nowMilliseconds - lastMove[(size_t) index] >= gestureEndMilliseconds)
        {
            endGesture (index);
        }
    }
}
