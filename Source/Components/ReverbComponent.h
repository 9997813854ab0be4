#pragma once

#include "Components/SectionPanel.h"

// The reverb panel: three knobs ("Mix", "Damp", "Feed") and the "On" switch. The edit page
// binds its controls to the parameters of its table.
class ReverbComponent : public SectionPanel
{
public:
    explicit ReverbComponent (QuenbyAudioProcessorEditor* editor);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ReverbComponent)
};
