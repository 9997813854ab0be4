#include "Processor/HostParameter.h"
#include "Model/Enumeration.h"
#include "Model/PluginParameter.h"
#include "Processor/ParameterEditPath.h"

HostParameter::HostParameter (ParameterEditPath& editPathToUse, int parameterIndex)
    : AudioProcessorParameterWithID (juce::ParameterID (Enumeration::getName (parameterIndex), 1),
                                     Enumeration::getName (parameterIndex)),
      editPath (editPathToUse),
      index (parameterIndex)
{
}

float HostParameter::getValue() const
{
    return editPath.get (index);
}

void HostParameter::setValue (float newValue)
{
    editPath.set (index, newValue, ParameterEditPath::Writer::host);
}

// The value a new program has, so that a host's "reset to default" gives the real default.
float HostParameter::getDefaultValue() const
{
    return PluginParameter::getDefaultValue (index);
}

juce::String HostParameter::getName (int maximumStringLength) const
{
    return Enumeration::getName (index).substring (0, maximumStringLength);
}

juce::String HostParameter::getLabel() const
{
    return {};
}

juce::String HostParameter::getText (float, int maximumStringLength) const
{
    return getName (maximumStringLength);
}

// The text shown is the name, which says nothing about a value: typing it back changes nothing.
float HostParameter::getValueForText (const juce::String&) const
{
    return getValue();
}
