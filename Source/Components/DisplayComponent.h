#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuenbyAudioProcessorEditor;

// The LCD-style panel of the top bar: the current program's name, bank and category, and
// the name and value of the parameter whose control is under the mouse. Message thread.
class DisplayComponent : public juce::Component
{
public:
    explicit DisplayComponent (QuenbyAudioProcessorEditor* editor);
    ~DisplayComponent() override;

    // Rewrites the labels from the current program and the hovered parameter.
    void updateLabels();

    // Shows a message in the parameter line until a control is hovered.
    void showMessage (const juce::String& text);

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
    QuenbyAudioProcessorEditor* editor;
    juce::String message;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DisplayComponent)
};
