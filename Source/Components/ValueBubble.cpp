#include "Components/ValueBubble.h"
#include "Components/Skin.h"

namespace
{
    constexpr int height = 18, padding = 5, gap = 2;
}

ValueBubble::ValueBubble()
{
    setInterceptsMouseClicks (false, false);
    setVisible (false);
}

void ValueBubble::showFor (juce::Component& knobToShow, const juce::String& newText)
{
    auto* parent = getParentComponent();

    if (parent == nullptr)
        return;

    knob = &knobToShow;
    text = newText;

    const auto area = parent->getLocalArea (&knobToShow, knobToShow.getLocalBounds());
    const auto width = Skin::getDisplayFont().getStringWidth (text) + 2 * padding;
    auto x = area.getRight() + gap;

    if (x + width > parent->getWidth())
        x = area.getX() - gap - width;

    setBounds (x, area.getCentreY() - height / 2, width, height);
    setVisible (true);
    toFront (false);
    repaint();
}

void ValueBubble::hideFor (const juce::Component& knobToHide)
{
    if (knob == &knobToHide)
    {
        knob = nullptr;
        setVisible (false);
    }
}

void ValueBubble::paint (juce::Graphics& g)
{
    const auto area = getLocalBounds().toFloat().reduced (0.5f);

    g.setColour (Skin::getDisplayBackgroundColour());
    g.fillRoundedRectangle (area, 3.0f);
    g.setColour (Skin::getDisplayTextColour());
    g.drawRoundedRectangle (area, 3.0f, 1.0f);
    g.setFont (Skin::getDisplayFont());
    g.drawText (text, getLocalBounds().reduced (padding, 0), juce::Justification::centred, false);
}
