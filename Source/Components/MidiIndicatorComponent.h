#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The lamp beside the "MIDI" label: lit while the synthesiser sounds or its pitch wheel is
// bent, flickering while controllers arrive. The editor's timer sets it; a right-click
// opens the menu the window gives it (the MIDI channel).
class MidiIndicatorComponent : public juce::Component,
                               public juce::SettableTooltipClient
{
public:
    MidiIndicatorComponent() = default;

    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;

    bool active = false;
    std::function<juce::PopupMenu()> createMenu;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiIndicatorComponent)
};
