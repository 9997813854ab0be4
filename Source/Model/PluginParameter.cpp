#include "Model/PluginParameter.h"
#include "Model/Enumeration.h"

PluginParameter::PluginParameter (int parameterIndex)
    : index (parameterIndex),
      value (getDefaultValue (parameterIndex))
{
}

juce::String PluginParameter::getName() const
{
    return Enumeration::getName (index);
}

float PluginParameter::getDefaultValue (int parameterIndex) noexcept
{
    return ParameterIndex::isValid (parameterIndex) ? ParameterTable::get (parameterIndex).defaultValue : 0.0f;
}
