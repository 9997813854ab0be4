#pragma once

#include "Components/SectionPanel.h"

// The LFO panel: speed and mix knobs, the switches "On", "Sync" and "Env LFO", and a column
// of three choices: wave shape, mode and target. The edit page binds its controls to the
// parameters of its table.
class LfoComponent : public SectionPanel
{
public:
    explicit LfoComponent (QuenbyAudioProcessorEditor* editor);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LfoComponent)
};
