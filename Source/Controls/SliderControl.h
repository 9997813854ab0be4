#pragma once

#include "Controls/PluginControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A knob bound to a parameter. Ctrl-click sets it to the middle of its range. A drag is
// one change gesture for the host.
class SliderControl : public juce::Slider,
                      public PluginControl
{
public:
    explicit SliderControl (const juce::String& componentName);
    ~SliderControl() override;

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void valueChanged() override;
    void startedDragging() override;
    void stoppedDragging() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SliderControl)
};
