#include "Processor/HostParameter.h"
#include "Model/Enumeration.h"
#include "Model/ParameterConversion.h"
#include "Model/ParameterTable.h"
#include "Model/PluginParameter.h"
#include "Processor/ParameterEditPath.h"

HostParameter::Scale HostParameter::scaleFor (juce::AudioProcessor::WrapperType format) noexcept
{
    const bool scaled = format == juce::AudioProcessor::wrapperType_VST3 || format == juce::AudioProcessor::wrapperType_LV2;
    return scaled ? Scale::table : Scale::stored;
}

HostParameter::HostParameter (ParameterEditPath& editPathToUse, int parameterIndex, Scale scaleToUse)
    : AudioProcessorParameterWithID (juce::ParameterID (Enumeration::getName (parameterIndex), 1),
                                     Enumeration::getName (parameterIndex)),
      editPath (editPathToUse),
      index (parameterIndex),
      scale (scaleToUse)
{
}

float HostParameter::toHostValue (float storedValue) const
{
    return scale == Scale::table ? ParameterConversion::toNormalised (index, storedValue) : storedValue;
}

float HostParameter::toStoredValue (float hostValue) const
{
    return scale == Scale::table ? ParameterConversion::fromNormalised (index, hostValue) : hostValue;
}

float HostParameter::getValue() const
{
    return toHostValue (editPath.get (index));
}

void HostParameter::setValue (float newValue)
{
    editPath.set (index, toStoredValue (newValue), ParameterEditPath::Writer::host);
}

void HostParameter::setFromEditor (float storedValue)
{
    editPath.set (index, storedValue, ParameterEditPath::Writer::editor);
    tellHostOfValue();
}

void HostParameter::tellHostOfValue()
{
    sendValueChangedMessageToListeners (getValue());
}

// The value a new program has, so that a host's "reset to default" gives the real default.
float HostParameter::getDefaultValue() const
{
    return toHostValue (PluginParameter::getDefaultValue (index));
}

juce::String HostParameter::getName (int maximumStringLength) const
{
    return Enumeration::getName (index).substring (0, maximumStringLength);
}

juce::String HostParameter::getLabel() const
{
    return {};
}

ParameterConversion::Context HostParameter::textContext() const
{
    return editPath.getTextContext();
}

juce::String HostParameter::getText (float value, int maximumStringLength) const
{
    return ParameterConversion::toText (index, toStoredValue (value), textContext()).substring (0, maximumStringLength);
}

// A text that names no value leaves the value as it is.
float HostParameter::getValueForText (const juce::String& text) const
{
    const auto stored = ParameterConversion::fromText (index, text, textContext());
    return stored.has_value() ? toHostValue (*stored) : getValue();
}

// Only the scaled formats step: a VST2 host moves raw values, which are not steps of 0 ... 1.
bool HostParameter::isDiscrete() const
{
    return scale == Scale::table && ParameterConversion::getNumSteps (index) > 0;
}

bool HostParameter::isBoolean() const
{
    return isDiscrete() && ParameterTable::get (index).kind == ParameterKind::toggle;
}

int HostParameter::getNumSteps() const
{
    return isDiscrete() ? ParameterConversion::getNumSteps (index) : AudioProcessorParameter::getNumSteps();
}
