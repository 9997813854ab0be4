#include "PluginParameter.h"
#include "Enumeration.h"

namespace
{
    // The defaults in index order; 0.12f, 0.02f, 0.01f, 0.3f and 0.1f are the floats
    // nearest those decimals.
    const float defaultValues[Enumeration::numParameters] =
    {
        1.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.12f, 0.02f, 0.01f, 0.0f,    // oscillator 1
        0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.12f, 0.02f, 0.01f, 0.0f,    // oscillator 2
        0.0f, 0.0f, 0.3f, 0.0f,                                      // filter
        0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 1.0f,                    // LFO
        0.0f, 1.0f, 0.5f, 0.5f, 0.5f, 0.0f,                          // delay
        0.0f, 0.5f, 0.5f, 0.5f,                                      // reverb
        0.1f, 0.5f, 0.5f, 0.5f,                                      // amplitude envelope 1
        0.1f, 0.5f, 0.5f, 0.5f,                                      // amplitude envelope 2
        0.0f, 0.5f, 0.5f, 1.0f, 0.0f,                                // pitch envelope 1
        0.0f, 0.5f, 0.5f, 1.0f, 0.0f,                                // pitch envelope 2
        0.0f, 0.5f, 0.5f, 0.5f, 0.5f,                                // filter envelope
        0.0f, 0.5f, 0.5f, 0.5f, 0.5f,                                // LFO envelope
        0.5f, 0.0f, 0.0f, 0.0f                                       // master, MIDI learn, glide, play mode
    };
}

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
    if (parameterIndex < 0 || parameterIndex >= Enumeration::numParameters)
        return 0.0f;

    return defaultValues[parameterIndex];
}
