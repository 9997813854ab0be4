#include "HostParameter.h"
#include "Enumeration.h"
#include "PluginParameter.h"
#include "PluginProcessor.h"

HostParameter::HostParameter (QuenbyAudioProcessor& processorToUse, int parameterIndex)
    : AudioProcessorParameterWithID (juce::ParameterID (Enumeration::getName (parameterIndex), 1),
                                     Enumeration::getName (parameterIndex)),
      processor (processorToUse),
      index (parameterIndex)
{
}

float HostParameter::getValue() const
{
    return processor.getParameter (index);
}

void HostParameter::setValue (float newValue)
{
    processor.setParameter (index, newValue);
}

// The value a new program has, so that a host's "reset to default" gives the real default.
float HostParameter::getDefaultValue() const
{
    return PluginParameter::getDefaultValue (index);
}

juce::String HostParameter::getName (int maximumStringLength) const
{
    return processor.getParameterName (index, maximumStringLength);
}

juce::String HostParameter::getLabel() const
{
    return {};
}

juce::String HostParameter::getText (float, int maximumStringLength) const
{
    return processor.getParameterText (index, maximumStringLength);
}

// The text shown is the name, which says nothing about a value: typing it back changes nothing.
float HostParameter::getValueForText (const juce::String&) const
{
    return getValue();
}
