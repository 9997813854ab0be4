#include "Components/DecibelScaleComponent.h"
#include "Audio/DecibelScaling.h"
#include "Components/Skin.h"

juce::String DecibelScaleComponent::formatDecibels (float decibels)
{
    if (std::abs (decibels - DecibelScaling::minimumDecibels) < 0.001f)
        return "-inf";

    return juce::String ((int) decibels);
}

void DecibelScaleComponent::paint (juce::Graphics& g)
{
    const int width = getWidth(), height = getHeight();
    const auto font = Skin::getSmallFont();
    const auto fontHeight = (int) std::ceil (font.getHeight());

    g.setFont (font);
    g.setColour (Skin::getScaleColour());

    if (height > 0)
        g.fillRect (width - 1, 0, 1, height);

    for (const auto decibels : { 20.0f, 0.0f, -20.0f, -40.0f })
    {
        const int y = height - (int) (DecibelScaling::decibelsToProportion (decibels) * (float) height);
        g.fillRect (width - 6, y, 5, 1);
        g.drawText (formatDecibels (decibels), 0, y + 1, width - 3, fontHeight, juce::Justification::topRight);
    }

    g.fillRect (width - 6, height - 1, 5, 1);
    g.drawText ("-inf", 0, height - fontHeight - 1, width - 3, fontHeight, juce::Justification::bottomRight);
}
