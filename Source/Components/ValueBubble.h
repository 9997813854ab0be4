#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A small display-coloured box beside a knob with the knob's value in its unit, shown while
// the mouse is on or drags the knob. A child of the main component, above everything else;
// it takes no mouse clicks. Message thread.
class ValueBubble : public juce::Component
{
public:
    ValueBubble();

    // Shows the text beside the knob, right of it where the window has room, else left.
    void showFor (juce::Component& knob, const juce::String& text);

    // Hides the bubble if it shows the value of this knob.
    void hideFor (const juce::Component& knob);

    const juce::String& getText() const noexcept        { return text; }
    const juce::Component* getKnob() const noexcept     { return knob.getComponent(); }

    void paint (juce::Graphics&) override;

private:
    juce::String text;
    juce::Component::SafePointer<juce::Component> knob;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ValueBubble)
};
