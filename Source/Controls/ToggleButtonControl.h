#pragma once

#include "Controls/PluginControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A switch bound to a parameter; writes 1 when on, 0 when off.
class ToggleButtonControl : public juce::ToggleButton,
                            public PluginControl
{
public:
    explicit ToggleButtonControl (const juce::String& componentName);

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;

protected:
    void clicked() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ToggleButtonControl)
};
