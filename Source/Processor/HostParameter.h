#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class ParameterEditPath;

// What a host sees of one of the 71 parameters. It holds no value of its own: reads and
// writes go through the edit path to the current program, and both the name and the
// value text are the parameter's name. The name is also its identifier, which formats
// such as LV2 and VST3 need to tell the parameters apart.
class HostParameter : public juce::AudioProcessorParameterWithID
{
public:
    HostParameter (ParameterEditPath& editPath, int index);

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    juce::String getName (int maximumStringLength) const override;
    juce::String getLabel() const override;
    juce::String getText (float value, int maximumStringLength) const override;
    float getValueForText (const juce::String& text) const override;

private:
    ParameterEditPath& editPath;
    const int index;

    JUCE_DECLARE_NON_COPYABLE (HostParameter)
};
