#include "Components/PluginEditor.h"
#include "Components/MainComponent.h"

QuenbyAudioProcessorEditor::QuenbyAudioProcessorEditor (QuenbyAudioProcessor& processorToEdit)
    : AudioProcessorEditor (processorToEdit),
      quenbyProcessor (processorToEdit)
{
    juce::PopupMenu::dismissAllActiveMenus();
    setSize (width, height);

    mainComponent = std::make_unique<MainComponent> (this, quenbyProcessor.keyboardState);
    addAndMakeVisible (mainComponent.get());
    mainComponent->setTopLeftPosition (0, 0);

    // Every view shows the current program before the window is shown.
    mainComponent->updateAll();
    quenbyProcessor.addListener (this);
}

QuenbyAudioProcessorEditor::~QuenbyAudioProcessorEditor()
{
    juce::PopupMenu::dismissAllActiveMenus();
    quenbyProcessor.removeListener (this);
    mainComponent.reset();
}

void QuenbyAudioProcessorEditor::audioProcessorParameterChanged (juce::AudioProcessor*, int, float)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        mainComponent->updateAll();
}
