#include "Components/MidiIndicatorComponent.h"
#include "Components/Skin.h"

void MidiIndicatorComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
    g.setColour (Skin::getTextColour());
    g.drawRect (juce::Rectangle<int> (0, 0, getWidth() - 1, getHeight() - 1), 1);

    if (active)
        g.fillAll (Skin::getTextColour());
}

void MidiIndicatorComponent::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu() && createMenu != nullptr)
        createMenu().showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this));
}
