#include "Components/SequencePageComponent.h"
#include "Components/Skin.h"

SequencePageComponent::SequencePageComponent (QuenbyAudioProcessorEditor* editorToUse)
    : groupComponentMain (std::make_unique<juce::GroupComponent> ("groupComponentMain", "Sequence")),
      editor (editorToUse)
{
    addAndMakeVisible (groupComponentMain.get());
}

SequencePageComponent::~SequencePageComponent() = default;

void SequencePageComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
}

void SequencePageComponent::resized()
{
    groupComponentMain->setBounds (0, 0, 800, 443);
}
