#pragma once

#include "Components/SectionPanel.h"

// The delay panel: four knobs in a row ("Mix", "Time", "Feed", "Swing") and the switches
// "On" and "Sync". The edit page binds its controls to the parameters of its table.
class DelayComponent : public SectionPanel
{
public:
    explicit DelayComponent (QuenbyAudioProcessorEditor* editor);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DelayComponent)
};
