#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuenbyAudioProcessorEditor;

// A page that is created with the others but never shown: a frame titled "Sequence".
class SequencePageComponent : public juce::Component
{
public:
    explicit SequencePageComponent (QuenbyAudioProcessorEditor* editor);
    ~SequencePageComponent() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    std::unique_ptr<juce::GroupComponent> groupComponentMain;

private:
    [[maybe_unused]] QuenbyAudioProcessorEditor* const editor;   // kept like every page's, not needed here

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencePageComponent)
};
