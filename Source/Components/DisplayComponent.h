#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuenbyAudioProcessorEditor;

// The LCD-style panel of the top bar: the current program's name (marked "*" while it
// differs from the program file), bank and category, and on its last line the parameter
// whose control is under the mouse with its value in its unit. That line also carries the
// window's messages: a short one ("Saved") for a moment, over everything, and a standing
// notice ("No audio output ...") while no parameter is hovered. Message thread.
class DisplayComponent : public juce::Component,
                         public juce::SettableTooltipClient,
                         private juce::Timer
{
public:
    explicit DisplayComponent (QuenbyAudioProcessorEditor* editor);
    ~DisplayComponent() override;

    // Rewrites the labels from the current program and the hovered parameter.
    void updateLabels();

    // Shows a message on the last line for the time given.
    void showMessage (const juce::String& message, int milliseconds);

    // A notice that stands until it is replaced; empty for none.
    void setNotice (const juce::String& notice);

    void paint (juce::Graphics&) override;
    void resized() override;

    // The parameter index whose control the mouse is over, or -1. Set by the controls.
    static int hoveredParameter;

    // While false, labelDebug stays hidden and is never updated.
    static bool debugMode;

    std::unique_ptr<juce::Label> labelBank;
    std::unique_ptr<juce::Label> labelCategory;
    std::unique_ptr<juce::Label> labelProgram;
    std::unique_ptr<juce::Label> labelParameter;
    std::unique_ptr<juce::Label> labelDebug;

private:
    void timerCallback() override;

    QuenbyAudioProcessorEditor* editor;
    juce::String message, notice;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DisplayComponent)
};
