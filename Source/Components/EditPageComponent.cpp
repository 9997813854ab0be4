#include "Components/EditPageComponent.h"
#include "Components/LevelMeterComponent.h"
#include "Components/PluginEditor.h"
#include "Components/Skin.h"

EditPageComponent::EditPageComponent (QuenbyAudioProcessorEditor* editorToUse)
    : editor (editorToUse)
{
}

EditPageComponent::~EditPageComponent() = default;

void EditPageComponent::updateControls()
{
}

LevelMeterComponent* EditPageComponent::getLevelMeter() const noexcept
{
    return nullptr;
}

void EditPageComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
}
