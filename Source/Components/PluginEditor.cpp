#include "Components/PluginEditor.h"
#include "Components/MainComponent.h"
#include "Model/UserSettings.h"

QuenbyAudioProcessorEditor::QuenbyAudioProcessorEditor (QuenbyAudioProcessor& processorToEdit)
    : AudioProcessorEditor (processorToEdit),
      quenbyProcessor (processorToEdit)
{
    juce::PopupMenu::dismissAllActiveMenus();

    const auto settings = UserSettings::load();
    zoomPercent = settings.settings.zoomPercent;

    mainComponent = std::make_unique<MainComponent> (this, quenbyProcessor.keyboardState);
    addAndMakeVisible (mainComponent.get());
    mainComponent->setTopLeftPosition (0, 0);
    applyZoom();

    // Every view shows the current program before the window is shown.
    mainComponent->updateAll();
    quenbyProcessor.addListener (this);

    if (settings.problem.isNotEmpty())
        mainComponent->displayComponent->showMessage (settings.problem, 5000);
}

QuenbyAudioProcessorEditor::~QuenbyAudioProcessorEditor()
{
    juce::PopupMenu::dismissAllActiveMenus();
    quenbyProcessor.removeListener (this);
    mainComponent.reset();
}

void QuenbyAudioProcessorEditor::applyZoom()
{
    const auto scale = (float) zoomPercent / 100.0f;
    mainComponent->setTransform (juce::AffineTransform::scale (scale));
    setSize (juce::roundToInt ((float) width * scale), juce::roundToInt ((float) height * scale));
}

// Read, changed and written at once, so settings another window wrote meanwhile stay.
void QuenbyAudioProcessorEditor::setZoomPercent (int percent)
{
    if (! UserSettings::isZoomStep (percent))
        return;

    zoomPercent = percent;
    applyZoom();

    auto settings = UserSettings::load().settings;
    settings.zoomPercent = percent;

    if (! settings.save())
        mainComponent->displayComponent->showMessage ("The zoom could not be kept: " + UserSettings::getDefaultFile().getFullPathName(), 4000);
}

void QuenbyAudioProcessorEditor::showNotice (const juce::String& notice)
{
    mainComponent->displayComponent->setNotice (notice);
}

void QuenbyAudioProcessorEditor::audioProcessorParameterChanged (juce::AudioProcessor*, int, float)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        mainComponent->updateAll();
}
