#pragma once

#include "Controls/PluginControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A choice list bound to a parameter; writes the 0-based index of the selected item. A
// right-click opens the control menu instead of the list.
class ComboBoxControl : public juce::ComboBox,
                        public juce::ComboBox::Listener,
                        public PluginControl
{
public:
    explicit ComboBoxControl (const juce::String& componentName);
    ~ComboBoxControl() override;

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void comboBoxChanged (juce::ComboBox*) override;

protected:
    juce::Component& asComponent() override     { return *this; }
    void showAndWrite (float storedValue) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ComboBoxControl)
};
