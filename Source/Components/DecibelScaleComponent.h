#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The decibel marks beside the level meter: 20dB, 0dB, -20dB, -40dB and -inf at the
// bottom, at the heights where the meter shows those levels.
class DecibelScaleComponent : public juce::Component
{
public:
    DecibelScaleComponent() = default;

    void paint (juce::Graphics&) override;

    // "-inf" at the scale's floor, else the whole number of decibels followed by "dB".
    static juce::String formatDecibels (float decibels);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DecibelScaleComponent)
};
