#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The lamp beside the "MIDI" label: lit while the synthesiser sounds or its pitch wheel is
// bent. The editor's timer sets it.
class MidiIndicatorComponent : public juce::Component,
                               public juce::SettableTooltipClient
{
public:
    MidiIndicatorComponent() = default;

    void paint (juce::Graphics&) override;

    bool active = false;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiIndicatorComponent)
};
