#include "Components/MainComponent.h"
#include "Components/GeneralNumberText.h"
#include "Components/LevelMeterComponent.h"
#include "Components/PluginEditor.h"

namespace
{
    std::unique_ptr<juce::Label> makeLabel (const char* name, const char* text, const juce::Font& font)
    {
        auto label = std::make_unique<juce::Label> (name, text);
        label->setFont (font);
        label->setJustificationType (juce::Justification::centredLeft);
        label->setEditable (false, false, false);
        return label;
    }

    std::unique_ptr<juce::TextButton> makeButton (const char* name, const char* text)
    {
        auto button = std::make_unique<juce::TextButton> (name);
        button->setButtonText (text);
        return button;
    }
}

MainComponent::MainComponent (QuenbyAudioProcessorEditor* editorToUse, juce::MidiKeyboardState& keyboardState)
    : editor (editorToUse)
{
    createChildren (keyboardState);

    // Unsaved edits of the current program survive the reload.
    editor->getProcessor().reloadDatabase();

    setSize (width, height);

    skin = std::make_unique<Skin>();
    juce::LookAndFeel::setDefaultLookAndFeel (skin.get());

    startTimer (100);
}

MainComponent::~MainComponent()
{
    stopTimer();
    juce::PopupMenu::dismissAllActiveMenus();
    editor->getProcessor().saveDatabase();

    if (&juce::LookAndFeel::getDefaultLookAndFeel() == skin.get())
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

// In creation order, which is also the z-order: later children lie above earlier ones.
// The pages take their places in the page area between these children.
void MainComponent::createChildren (juce::MidiKeyboardState& keyboardState)
{
    const juce::Font labelFont (14.0f, juce::Font::plain);

    labelMidi = makeLabel ("labelMidi", "MIDI", labelFont);
    textButtonProgramPrevious = makeButton ("textButtonProgramPrevious", "<");
    textButtonProgramNext = makeButton ("textButtonProgramNext", ">");
    textButtonSave = makeButton ("textButtonSave", "Save");
    textButtonNew = makeButton ("textButtonNew", "New");
    textButtonPanic = makeButton ("textButtonPanic", "!");
    textButtonDelete = makeButton ("textButtonDelete", "Delete");
    wheelComponent = std::make_unique<WheelsComponent> (editor);
    wheelComponent->setName ("wheelComponent");
    displayComponent = std::make_unique<DisplayComponent> (editor);
    displayComponent->setName ("displayComponent");
    textButtonCopy = makeButton ("textButtonCopy", "Copy");
    textButtonReset = makeButton ("textButtonReset", "Reset");
    textButtonBrowser = makeButton ("textButtonBrowser", "Browser");
    labelBpm = makeLabel ("labelBpm", "BPM", labelFont);
    textButtonEdit = makeButton ("textButtonEdit", "Edit");
    labelLogo = makeLabel ("labelLogo", "QUENBY", Skin::getLogoFont());
    keyboardComponent = std::make_unique<juce::MidiKeyboardComponent> (keyboardState, juce::MidiKeyboardComponent::horizontalKeyboard);
    midiIndicatorComponent = std::make_unique<MidiIndicatorComponent>();

    for (auto* child : std::initializer_list<juce::Component*> {
             labelMidi.get(), textButtonProgramPrevious.get(), textButtonProgramNext.get(), textButtonSave.get(),
             textButtonNew.get(), textButtonPanic.get(), textButtonDelete.get(), wheelComponent.get(),
             displayComponent.get(), textButtonCopy.get(), textButtonReset.get(), textButtonBrowser.get(),
             labelBpm.get(), textButtonEdit.get(), labelLogo.get(), keyboardComponent.get(), midiIndicatorComponent.get() })
        addAndMakeVisible (child);
}

void MainComponent::resized()
{
    const std::pair<juce::Component*, juce::Rectangle<int>> layout[] = {
        { labelMidi.get(),                 {   7,   5,  40,  24 } },
        { textButtonProgramPrevious.get(), { 384,   7,  32,  24 } },
        { textButtonProgramNext.get(),     { 416,   7,  32,  24 } },
        { textButtonSave.get(),            { 488,   7,  64,  24 } },
        { textButtonNew.get(),             { 552,   7,  64,  24 } },
        { textButtonPanic.get(),           { 448,   7,  40,  24 } },
        { textButtonDelete.get(),          { 680,   7,  64,  24 } },
        { wheelComponent.get(),            {   8, 530,  32, 100 } },
        { displayComponent.get(),          {  80,   6, 296,  56 } },
        { textButtonCopy.get(),            { 616,   7,  64,  24 } },
        { textButtonReset.get(),           { 744,   7,  64,  24 } },
        { textButtonBrowser.get(),         { 488,  32, 128,  24 } },
        { labelBpm.get(),                  {   7,  20,  65,  24 } },
        { textButtonEdit.get(),            { 384,  32, 104,  24 } },
        { labelLogo.get(),                 {   8, 504, 150,  24 } },
        { keyboardComponent.get(),         {  48, 530, 758, 100 } },
        { midiIndicatorComponent.get(),    {  48,  11,  24,  12 } },
    };

    for (const auto& [child, bounds] : layout)
        child->setBounds (bounds);
}

void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
}

void MainComponent::mouseExit (const juce::MouseEvent&)
{
    juce::PopupMenu::dismissAllActiveMenus();
}

void MainComponent::updateAll()
{
    displayComponent->updateLabels();
    updateBpm();
}

void MainComponent::updateBpm()
{
    labelBpm->setText ("BPM    " + toGeneralNumberText (editor->getProcessor().state->getTempo()), juce::dontSendNotification);
}

// Reads what the audio and host threads publish (atomics and a locked copy of the tempo);
// a stale value only delays a refresh by one tick.
void MainComponent::timerCallback()
{
    auto& processor = editor->getProcessor();

    if (levelMeter != nullptr)
    {
        levelMeter->setLevel (0, processor.getLevel (0));
        levelMeter->setLevel (1, processor.getLevel (1));
    }

    auto& synth = processor.synthAudioSource->getSynth();
    const int pitchWheel = synth.pitchWheelValue;
    wheelComponent->showSynthValues (pitchWheel, synth.modWheelValue);

    midiIndicatorComponent->active = pitchWheel != WheelsComponent::pitchCentre || processor.getNumSoundingVoices() > 0;
    midiIndicatorComponent->repaint();

    updateBpm();

    if (processor.hostChangedParameter.exchange (false))
        updateAll();

    if (DisplayComponent::debugMode)
        displayComponent->updateLabels();
}
