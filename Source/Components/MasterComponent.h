#pragma once

#include "Components/SectionPanel.h"

class DecibelScaleComponent;
class LevelMeterComponent;

// The master panel: play mode, glide and volume, and the two-channel output level meter
// with its decibel scale. The main component's timer feeds the meter; the panel does not.
// The edit page binds its controls to the parameters of its table (none to MidiLearn).
class MasterComponent : public SectionPanel
{
public:
    explicit MasterComponent (QuenbyAudioProcessorEditor* editor);

    DecibelScaleComponent& decibelScaleComponent;
    LevelMeterComponent& levelMeterComponent;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MasterComponent)
};
