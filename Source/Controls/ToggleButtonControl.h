#pragma once

#include "Controls/PluginControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A switch bound to a parameter; writes 1 when on, 0 when off. A right-click opens the
// control menu and leaves the switch as it is.
class ToggleButtonControl : public juce::ToggleButton,
                            public PluginControl
{
public:
    explicit ToggleButtonControl (const juce::String& componentName);

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

protected:
    void clicked() override;
    juce::Component& asComponent() override     { return *this; }
    void showAndWrite (float storedValue) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ToggleButtonControl)
};
