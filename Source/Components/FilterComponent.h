#pragma once

#include "Components/SectionPanel.h"

// The filter panel: type, cutoff and resonance, and the switches "On" and "Env Filter".
// The edit page binds its controls to the parameters of its table.
class FilterComponent : public SectionPanel
{
public:
    explicit FilterComponent (QuenbyAudioProcessorEditor* editor);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilterComponent)
};
