#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Vertical bars, 7 pixels wide with a 1-pixel gap, one per channel, showing each channel's
// level on the decibel scale: red above 0 dB, orange at 0 dB fading to blue at -40 dB.
// Message thread; the levels are handed in by the editor's timer.
class LevelMeterComponent : public juce::Component,
                            public juce::SettableTooltipClient
{
public:
    LevelMeterComponent() = default;

    void setNumChannels (int count);

    // A linear level, 1.0 at full scale. Repaints only on a change above 0.000001.
    void setLevel (int channel, float level);

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    std::vector<float> levels;
    juce::ColourGradient gradient;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LevelMeterComponent)
};
