#include "Components/WavePageComponent.h"
#include "Components/Skin.h"

WavePageComponent::WavePageComponent (QuenbyAudioProcessorEditor* editorToUse)
    : groupComponentMain (std::make_unique<juce::GroupComponent> ("groupComponentMain", "Waves")),
      editor (editorToUse)
{
    addAndMakeVisible (groupComponentMain.get());
}

WavePageComponent::~WavePageComponent() = default;

void WavePageComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
}

void WavePageComponent::resized()
{
    groupComponentMain->setBounds (0, 0, 800, 443);
}
