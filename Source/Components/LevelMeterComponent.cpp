#include "Components/LevelMeterComponent.h"
#include "Audio/DecibelScaling.h"
#include "Components/Skin.h"

void LevelMeterComponent::setNumChannels (int count)
{
    count = juce::jmax (0, count);

    if ((size_t) count != levels.size())
    {
        levels.resize ((size_t) count, 0.0f);
        repaint();
    }
}

void LevelMeterComponent::setLevel (int channel, float level)
{
    if (! juce::isPositiveAndBelow (channel, (int) levels.size()))
        return;

    auto& stored = levels[(size_t) channel];

    if (std::abs (level - stored) > 0.000001f)
    {
        stored = level;
        repaint();
    }
}

// Stops measured from the top: red down to the 0 dB height, orange there, blue from -40 dB.
void LevelMeterComponent::resized()
{
    const auto proportionFromTop = [] (float decibels) { return 1.0 - (double) DecibelScaling::decibelsToProportion (decibels); };

    gradient = juce::ColourGradient (Skin::getMeterHighColour(), 0.0f, 0.0f,
                                     Skin::getMeterLowColour(), 0.0f, (float) (getHeight() - 1), false);
    gradient.addColour (proportionFromTop (0.0f) - 0.000001, Skin::getMeterHighColour());
    gradient.addColour (proportionFromTop (0.0f), Skin::getMeterMidColour());
    gradient.addColour (proportionFromTop (-40.0f), Skin::getMeterLowColour());
}

void LevelMeterComponent::paint (juce::Graphics& g)
{
    const int height = getHeight();

    for (size_t i = 0; i < levels.size(); ++i)
    {
        const auto lit = (int) (DecibelScaling::decibelsToProportion (DecibelScaling::gainToDecibels (levels[i])) * (float) height);
        const int x = 8 * (int) i;

        if (lit > 0)
        {
            g.setGradientFill (gradient);
            g.fillRect (x, height - lit, 7, lit);
        }

        g.setColour (juce::Colours::black);
        g.fillRect (x, 0, 7, height - lit);

        // 3-pixel segments across the lit part.
        for (int y = height; y > height - lit + 3; y -= 3)
            g.drawLine ((float) x, (float) y, (float) (x + 7), (float) y, 1.0f);
    }
}
