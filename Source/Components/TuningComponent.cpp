#include "Components/TuningComponent.h"
#include "Components/MainComponent.h"
#include "Components/PluginEditor.h"
#include "Model/Tuning.h"

namespace
{
    using namespace PanelTable;

    const Child tuningChildren[] = {
        group  ("groupComponent", "Tuning",              {   0,   0, 376,  96 }),
        label  ("labelScale", "Scale",                   {   8,  16,  60,  24 }),
        label  ("labelDescription", "Equal temperament", {   8,  40, 360,  24 }),
    };
}

TuningComponent::TuningComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, tuningChildren)
{
    for (auto* button : { &textButtonLoad, &textButtonEqual })
    {
        addAndMakeVisible (button);
        button->addListener (this);
    }

    textButtonLoad.setName ("textButtonLoadTuning");
    textButtonEqual.setName ("textButtonEqualTuning");
    textButtonLoad.setTooltip ("Tuning: opens a Scala scale (.scl) or keyboard mapping (.kbm); the keys then play its pitches");
    textButtonEqual.setTooltip ("Equal temperament: twelve equal semitones, A at 440 Hz");
    getChild<juce::Label> ("labelDescription").setTooltip ("The description the scale file gives");
}

TuningComponent::~TuningComponent() = default;

void TuningComponent::showTuning (const Tuning& tuning)
{
    auto& label = getChild<juce::Label> ("labelDescription");
    const auto description = tuning.isEqualTemperament() ? juce::String ("Equal temperament")
                             : tuning.getDescription().isNotEmpty() ? tuning.getDescription()
                                                                     : juce::String ("A scale without a description");
    label.setText (description, juce::dontSendNotification);
}

void TuningComponent::resized()
{
    SectionPanel::resized();
    textButtonLoad.setBounds (8, 64, 80, 24);
    textButtonEqual.setBounds (96, 64, 64, 24);
}

void TuningComponent::buttonClicked (juce::Button* button)
{
    if (button == &textButtonEqual)
    {
        editor->getMainComponent().loadTuning (juce::File());
        return;
    }

    fileChooser = std::make_unique<juce::FileChooser> ("Open a Scala scale or keyboard mapping",
                                                       juce::File::getSpecialLocation (juce::File::userDocumentsDirectory), "*.scl;*.kbm");

    fileChooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                              [this] (const juce::FileChooser& chooser)
    {
        if (chooser.getResult() != juce::File())
            editor->getMainComponent().loadTuning (chooser.getResult());
    });
}
