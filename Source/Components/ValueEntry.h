#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class SliderControl;

// The field a knob's "Type a value…" opens over it: it shows the value in its unit, all
// selected, and Return takes what was typed in the knob's unit ("1.5 kHz", "350 ms").
// Escape or a click elsewhere closes it and changes nothing; a text that names no value
// keeps it open. A child of the main component. Message thread.
class ValueEntry : public juce::TextEditor
{
public:
    ValueEntry();

    void openFor (SliderControl& knob);
    void close();

    SliderControl* getKnob() const noexcept;

private:
    void take();

    juce::Component::SafePointer<juce::Component> knob;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ValueEntry)
};
