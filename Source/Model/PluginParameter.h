#pragma once

#include "Model/RelaxedAtomic.h"

#include <juce_core/juce_core.h>

// One parameter value of one program. The value is stored exactly as written: no
// clamping, rounding or normalisation. Host threads, the editor and the engine's
// settings conversion read and write it without a lock, so it is kept atomic.
class PluginParameter
{
public:
    explicit PluginParameter (int index);

    int getIndex() const noexcept                { return index; }
    float getValue() const noexcept              { return value.load(); }
    void setValue (float newValue) noexcept      { value = newValue; }

    juce::String getName() const;
    float getDefaultValue() const noexcept       { return getDefaultValue (index); }

    // The default of a parameter index; 0 for an index outside 0 ... 70.
    static float getDefaultValue (int index) noexcept;

private:
    const int index;
    RelaxedAtomic<float> value;

    JUCE_DECLARE_NON_COPYABLE (PluginParameter)
};
