#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The decibel marks beside the level meter: 20, 0, -20, -40 and -inf at the bottom, at
// the heights where the meter shows those levels.
class DecibelScaleComponent : public juce::Component,
                              public juce::SettableTooltipClient
{
public:
    DecibelScaleComponent() = default;

    void paint (juce::Graphics&) override;

    // "-inf" at the scale's floor, else the whole number of decibels: short enough to fit
    // beside the meter.
    static juce::String formatDecibels (float decibels);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DecibelScaleComponent)
};
