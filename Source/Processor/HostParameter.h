#pragma once

#include "Model/ParameterConversion.h"

#include <juce_audio_processors/juce_audio_processors.h>

class ParameterEditPath;

// What a host sees of one of the 71 parameters. It holds no value of its own: reads and
// writes go through the edit path to the current program. The name is the parameter's
// name, which is also its identifier (LV2 and VST3 tell the parameters apart by it); the
// value text says what the value means (ParameterConversion).
class HostParameter : public juce::AudioProcessorParameterWithID
{
public:
    // How the host's value relates to the stored one.
    enum class Scale
    {
        stored,    // the host's value is the stored value: VST2 projects keep raw values
        table      // the host's 0 ... 1 reaches the parameter's whole range: VST3 and LV2
    };

    // The scale of the plug-in format a processor runs in.
    static Scale scaleFor (juce::AudioProcessor::WrapperType format) noexcept;

    HostParameter (ParameterEditPath& editPath, int index, Scale scale);

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    juce::String getName (int maximumStringLength) const override;
    juce::String getLabel() const override;
    juce::String getText (float value, int maximumStringLength) const override;
    float getValueForText (const juce::String& text) const override;
    bool isDiscrete() const override;
    bool isBoolean() const override;
    int getNumSteps() const override;

    // Stores a value chosen in the editor (message thread) and tells the host's listeners
    // the new host value. The value is written once, as the editor's: the host value sent
    // is exactly getValue(), so a format wrapper that compares before writing back, as
    // JUCE's do, does not write it a second time as the host's.
    void setFromEditor (float storedValue);

    // Tells the host's listeners the current value, as setFromEditor does, for a value that
    // is already stored (a MIDI controller moved it). Message thread.
    void tellHostOfValue();

private:
    // The current program's sync switches, which some texts depend on.
    ParameterConversion::Context textContext() const;

    float toHostValue (float storedValue) const;
    float toStoredValue (float hostValue) const;

    ParameterEditPath& editPath;
    const int index;
    const Scale scale;

    JUCE_DECLARE_NON_COPYABLE (HostParameter)
};
