#include "Components/MainComponent.h"
#include "Components/EventLock.h"
#include "Components/LevelMeterComponent.h"
#include "Components/PluginEditor.h"
#include "Model/UserSettings.h"
#include "Processor/MidiInput.h"

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

    template <typename Page>
    std::unique_ptr<Page> makePage (QuenbyAudioProcessorEditor* editor, const char* name)
    {
        auto page = std::make_unique<Page> (editor);
        page->setName (name);
        return page;
    }
}

MainComponent::MainComponent (QuenbyAudioProcessorEditor* editorToUse, juce::MidiKeyboardState& keyboardState)
    : editor (editorToUse)
{
    createChildren (keyboardState);

    // Unsaved edits of the current program survive the reload; the file's own programs are
    // what the display compares the current one with.
    editor->getProcessor().reloadDatabase();
    editor->getSavedPrograms().readFile (PluginDatabase::getDatabaseFile());

    setSize (width, height);
    juce::LookAndFeel::setDefaultLookAndFeel (skin);
    showPage (0);
    startTimer (100);

    // Keys that no child takes reach the editor, which hands them on here.
    editor->addKeyListener (this);
    programs().getHistory().addChangeListener (this);
    updateHistoryButtons();
}

MainComponent::~MainComponent()
{
    programs().getHistory().removeChangeListener (this);
    editor->removeKeyListener (this);
    stopTimer();
    juce::PopupMenu::dismissAllActiveMenus();
    editor->getProcessor().saveDatabase();

    // A controller moved after the window closed binds nothing.
    if (learningParameter != ParameterIndex::none)
        editor->getProcessor().getMidiInput().cancelLearning();

    // The last window gives the framework its own look back before the skin is deleted.
    if (skin.getReferenceCount() == 1 && &juce::LookAndFeel::getDefaultLookAndFeel() == skin)
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

// In creation order, which is also the z-order: later children lie above earlier ones.
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
    editPageComponent = makePage<EditPageComponent> (editor, "editPageComponent");
    wheelComponent = std::make_unique<WheelsComponent> (editor);
    wheelComponent->setName ("wheelComponent");
    displayComponent = std::make_unique<DisplayComponent> (editor);
    displayComponent->setName ("displayComponent");
    textButtonCopy = makeButton ("textButtonCopy", "Copy");
    textButtonReset = makeButton ("textButtonReset", "Reset");
    textButtonBrowser = makeButton ("textButtonBrowser", "Browser");
    labelBpm = std::make_unique<TempoField>();
    labelBpm->setFont (labelFont);
    labelBpm->setJustificationType (juce::Justification::centredLeft);
    browserPageComponent = makePage<BrowserPageComponent> (editor, "browserPageComponent");
    textButtonEdit = makeButton ("textButtonEdit", "Edit");
    wavePageComponent = makePage<WavePageComponent> (editor, "wavePageComponent");
    sequencePageComponent = makePage<SequencePageComponent> (editor, "sequencePageComponent");
    voicePageComponent = makePage<VoicePageComponent> (editor, "voicePageComponent");
    labelLogo = makeLabel ("labelLogo", "QUENBY", Skin::getLogoFont());
    textButtonUndo = makeButton ("textButtonUndo", "Undo");
    textButtonRedo = makeButton ("textButtonRedo", "Redo");
    textButtonVoice = makeButton ("textButtonVoice", "Voice");
    keyboardComponent = std::make_unique<KeyboardComponent> (keyboardState);
    midiIndicatorComponent = std::make_unique<MidiIndicatorComponent>();
    midiIndicatorComponent->createMenu = [this] { return createMidiMenu(); };
    labelPitchWheel = makeLabel ("labelPitchWheel", "Pitch", Skin::getSmallFont().withHeight (9.0f));
    labelModWheel = makeLabel ("labelModWheel", "Mod", Skin::getSmallFont().withHeight (9.0f));
    valueBubble = std::make_unique<ValueBubble>();
    valueEntry = std::make_unique<ValueEntry>();

    for (auto* child : std::initializer_list<juce::Component*> {
             labelMidi.get(), textButtonProgramPrevious.get(), textButtonProgramNext.get(), textButtonSave.get(),
             textButtonNew.get(), textButtonPanic.get(), textButtonDelete.get(), editPageComponent.get(),
             wheelComponent.get(), displayComponent.get(), textButtonCopy.get(), textButtonReset.get(),
             textButtonBrowser.get(), labelBpm.get(), browserPageComponent.get(), textButtonEdit.get(),
             wavePageComponent.get(), sequencePageComponent.get(), voicePageComponent.get(), labelLogo.get(),
             keyboardComponent.get(), midiIndicatorComponent.get(), textButtonUndo.get(), textButtonRedo.get(),
             textButtonVoice.get(), labelPitchWheel.get(), labelModWheel.get() })
        addAndMakeVisible (child);

    addChildComponent (valueBubble.get());
    addChildComponent (valueEntry.get());

    for (auto* button : { textButtonProgramPrevious.get(), textButtonProgramNext.get(), textButtonSave.get(),
                          textButtonNew.get(), textButtonPanic.get(), textButtonDelete.get(), textButtonCopy.get(),
                          textButtonReset.get(), textButtonBrowser.get(), textButtonEdit.get(),
                          textButtonUndo.get(), textButtonRedo.get(), textButtonVoice.get() })
        button->addListener (this);

    // The open page's button stays pressed, dark text on its light face.
    for (auto* pageButton : { textButtonEdit.get(), textButtonBrowser.get(), textButtonVoice.get() })
        pageButton->setColour (juce::TextButton::textColourOnId, Skin::getBaseColour());

    auto& processor = editor->getProcessor();
    labelBpm->setAdjustable (processor.wrapperType == juce::AudioProcessor::wrapperType_Standalone);
    labelBpm->onTempoChosen = [&processor] (double bpm) { processor.setTempoWithoutHost (bpm); };

    describeChildren();
    tooltipWindow = std::make_unique<juce::TooltipWindow> (this, 700);
}

// What every button and indicator does; the logo and the wheels' labels pass a click on to
// the window's menu.
void MainComponent::describeChildren()
{
    const std::pair<juce::SettableTooltipClient*, juce::String> tooltips[] = {
        { textButtonProgramPrevious.get(), "Previous program: plays the program before this one in the list" },
        { textButtonProgramNext.get(),     "Next program: plays the program after this one in the list" },
        { textButtonPanic.get(),           "All notes off: silences every sounding note" },
        { textButtonSave.get(),            "Save: writes every program to the program file" },
        { textButtonNew.get(),             "New: adds a program with the default values and plays it" },
        { textButtonCopy.get(),            "Copy: adds a copy of this program and plays it" },
        { textButtonDelete.get(),          "Delete: removes this program from the list (the first one stays)" },
        { textButtonReset.get(),           "Reset: sets every parameter of this program to its default" },
        { textButtonEdit.get(),            "Edit: shows the knobs of this program" },
        { textButtonBrowser.get(),         "Browser: lists every program; click one to play it" },
        { textButtonVoice.get(),           "Voice: filter depth, key tracking and velocity, unison, sync, the mod wheel's depth and the tuning" },
        { labelMidi.get(),                 "MIDI: the lamp lights while notes sound or the pitch wheel is bent, and flickers as controllers arrive" },
        { midiIndicatorComponent.get(),    "Lights while notes sound or the pitch wheel is bent, flickers as controllers arrive; right-click to choose the MIDI channel" },
        { displayComponent.get(),          "The program (\"*\" while it differs from the program file) and the value of the control under the mouse" },
        { keyboardComponent.get(),         "Plays notes with the mouse, like a MIDI keyboard" },
        { labelBpm.get(),                  labelBpm->isEditable() ? "Tempo: drag up or down, or double-click to type it; the synchronised LFO and delay follow it"
                                                                  : "The host's tempo, which the synchronised LFO and delay follow" },
    };

    for (const auto& [client, tooltip] : tooltips)
        client->setTooltip (tooltip);

    for (auto* background : std::initializer_list<juce::Component*> { labelLogo.get(), labelPitchWheel.get(), labelModWheel.get() })
        background->setInterceptsMouseClicks (false, false);

    for (auto* wheelLabel : { labelPitchWheel.get(), labelModWheel.get() })
    {
        wheelLabel->setBorderSize ({});
        wheelLabel->setJustificationType (juce::Justification::centred);
    }
}

void MainComponent::resized()
{
    const juce::Rectangle<int> page { pageX, pageY, pageWidth, pageHeight };

    const std::pair<juce::Component*, juce::Rectangle<int>> layout[] = {
        { labelMidi.get(),                 {   7,   5,  40,  24 } },
        { textButtonProgramPrevious.get(), { 384,   7,  32,  24 } },
        { textButtonProgramNext.get(),     { 416,   7,  32,  24 } },
        { textButtonSave.get(),            { 488,   7,  64,  24 } },
        { textButtonNew.get(),             { 552,   7,  64,  24 } },
        { textButtonPanic.get(),           { 448,   7,  40,  24 } },
        { textButtonDelete.get(),          { 680,   7,  64,  24 } },
        { editPageComponent.get(),         page },
        { wheelComponent.get(),            {   8, 530,  32, 100 } },
        { displayComponent.get(),          {  80,   6, 296,  56 } },
        { textButtonCopy.get(),            { 616,   7,  64,  24 } },
        { textButtonReset.get(),           { 744,   7,  64,  24 } },
        { textButtonBrowser.get(),         { 488,  32, 128,  24 } },
        { labelBpm.get(),                  {   7,  20,  65,  24 } },
        { browserPageComponent.get(),      page },
        { textButtonEdit.get(),            { 384,  32, 104,  24 } },
        { wavePageComponent.get(),         page },
        { sequencePageComponent.get(),     page },
        { labelLogo.get(),                 {   8, 504, 150,  24 } },
        { keyboardComponent.get(),         {  48, 530, 758, 100 } },
        { midiIndicatorComponent.get(),    {  48,  11,  24,  12 } },
        { textButtonUndo.get(),            { 616,  32,  64,  24 } },
        { textButtonRedo.get(),            { 680,  32,  64,  24 } },
        { voicePageComponent.get(),        page },
        { textButtonVoice.get(),           { 744,  32,  64,  24 } },
        { labelPitchWheel.get(),           {   3, 630,  23,  10 } },
        { labelModWheel.get(),             {  25, 630,  18,  10 } },
    };

    for (const auto& [child, bounds] : layout)
        child->setBounds (bounds);
}

void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
}

// An open menu is modal, and the framework sends no exit to a component that a modal one
// blocks: moving onto a child, or into the menu, never closes it here.
void MainComponent::mouseExit (const juce::MouseEvent&)
{
    juce::PopupMenu::dismissAllActiveMenus();
}

void MainComponent::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
        createWindowMenu().showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this).withMousePosition());
}

juce::PopupMenu MainComponent::createWindowMenu()
{
    juce::PopupMenu zoom;

    for (const auto percent : UserSettings::zoomSteps)
        zoom.addItem (juce::String (percent) + " %", true, percent == editor->getZoomPercent(),
                      [safe = SafePointer<MainComponent> (this), percent]
                      {
                          if (safe != nullptr)
                              safe->editor->setZoomPercent (percent);
                      });

    juce::PopupMenu menu;
    menu.addSubMenu ("Zoom", zoom);
    return menu;
}

juce::PopupMenu MainComponent::createMidiMenu()
{
    juce::PopupMenu menu;
    const auto current = editor->getProcessor().getMidiInput().getChannel();

    for (int channel = MidiMappings::omni; channel <= 16; ++channel)
        menu.addItem (channel == MidiMappings::omni ? juce::String ("Omni") : "Channel " + juce::String (channel), true, channel == current,
                      [safe = SafePointer<MainComponent> (this), channel]
                      {
                          if (safe == nullptr)
                              return;

                          auto& processor = safe->editor->getProcessor();
                          processor.getMidiInput().setChannel (channel);
                          const auto kept = processor.keepMidiMappingsForUser();
                          safe->displayComponent->showMessage (kept ? "MIDI channel " + MidiMappings::channelText (channel)
                                                                    : "The MIDI channel could not be kept: " + UserSettings::getDefaultFile().getFullPathName(),
                                                               kept ? 1500 : 4000);
                      });

    return menu;
}

void MainComponent::startMidiLearn (int parameterIndex)
{
    if (! MidiMappings::isMappable (parameterIndex))
        return;

    learningParameter = parameterIndex;
    editor->getProcessor().getMidiInput().startLearning (parameterIndex);
    displayComponent->showMessage ("Move a controller for " + juce::String (ParameterTable::get (parameterIndex).label)
                                   + juce::String::fromUTF8 ("\xe2\x80\xa6"), learnMessageMilliseconds);
}

void MainComponent::cancelMidiLearn()
{
    if (learningParameter == ParameterIndex::none)
        return;

    learningParameter = ParameterIndex::none;
    editor->getProcessor().getMidiInput().cancelLearning();
    displayComponent->showMessage ("MIDI learn cancelled", 1500);
}

void MainComponent::forgetMidiController (int parameterIndex)
{
    auto& processor = editor->getProcessor();
    const auto controller = processor.getMidiInput().getController (parameterIndex);

    if (controller == MidiInput::none)
        return;

    processor.getMidiInput().forget (parameterIndex);
    processor.keepMidiMappingsForUser();
    displayComponent->showMessage ("CC " + juce::String (controller) + " forgotten", 1500);
}

void MainComponent::updateMidi()
{
    auto& input = editor->getProcessor().getMidiInput();

    if (const auto problem = input.takeProblem(); problem.isNotEmpty())
        displayComponent->showMessage (problem, 5000);

    if (learningParameter == ParameterIndex::none)
        return;

    if (const auto refused = input.takeRefusedController(); refused != MidiInput::none)
        displayComponent->showMessage ("CC " + juce::String (refused) + " keeps its own meaning: move another controller for "
                                       + ParameterTable::get (learningParameter).label, learnMessageMilliseconds);

    if (input.getLearningParameter() == learningParameter)
        return;

    // The processor bound the controller (or another window cancelled).
    if (const auto controller = input.getController (learningParameter); controller != MidiInput::none)
        displayComponent->showMessage ("CC " + juce::String (controller) + " moves " + ParameterTable::get (learningParameter).label, 2500);

    learningParameter = ParameterIndex::none;
}

void MainComponent::saveDatabase()
{
    auto& processor = editor->getProcessor();
    processor.saveDatabase();

    const auto file = PluginDatabase::getDatabaseFile();
    editor->getSavedPrograms().readFile (file);

    bool saved = false;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());

        if (const auto* program = processor.state->getCurrentProgram())
            saved = ! editor->getSavedPrograms().differs (*program);
    }

    if (saved)
        displayComponent->showMessage ("Saved", 1000);
    else
        displayComponent->showMessage ("Not saved: " + file.getFullPathName() + " cannot be written", 4000);
}

void MainComponent::buttonClicked (juce::Button* button)
{
    if (! EventLock::eventsEnabled)
        return;

    if (button == textButtonPanic.get())                  editor->getProcessor().stopAllNotes();
    else if (button == textButtonNew.get())               newProgram();
    else if (button == textButtonSave.get())              saveDatabase();
    else if (button == textButtonProgramPrevious.get())   previousProgram();
    else if (button == textButtonProgramNext.get())       nextProgram();
    else if (button == textButtonDelete.get())            deleteProgram();
    else if (button == textButtonReset.get())             resetProgram();
    else if (button == textButtonCopy.get())              copyProgram();
    else if (button == textButtonEdit.get())              showPage (0);
    else if (button == textButtonBrowser.get())           showPage (1);
    else if (button == textButtonVoice.get())             showPage (2);
    else if (button == textButtonUndo.get())              undo();
    else if (button == textButtonRedo.get())              redo();
}

void MainComponent::showPage (int page)
{
    for (auto* each : std::initializer_list<juce::Component*> { editPageComponent.get(), browserPageComponent.get(),
                                                                sequencePageComponent.get(), wavePageComponent.get(),
                                                                voicePageComponent.get() })
        each->setVisible (false);

    if (page == 0)
        editPageComponent->setVisible (true);
    else if (page == 1)
        browserPageComponent->setVisible (true);
    else if (page == 2)
        voicePageComponent->setVisible (true);

    textButtonEdit->setToggleState (page == 0, juce::dontSendNotification);
    textButtonBrowser->setToggleState (page == 1, juce::dontSendNotification);
    textButtonVoice->setToggleState (page == 2, juce::dontSendNotification);
}

void MainComponent::loadTuning (const juce::File& file)
{
    auto& processor = editor->getProcessor();

    if (file == juce::File())
    {
        processor.setTuning (Tuning());
        displayComponent->showMessage ("Tuning: equal temperament", 2000);
        return;
    }

    const auto read = processor.getTuning().withFile (file);

    if (! read.tuning.has_value())
    {
        displayComponent->showMessage ("Tuning not loaded: " + read.error, 5000);
        return;
    }

    processor.setTuning (*read.tuning);
    displayComponent->showMessage ("Tuning: " + file.getFileName(), 2000);
}

ProgramManager& MainComponent::programs()
{
    return editor->getProcessor().getProgramManager();
}

// Each operation is the program manager's; texts typed in the browser and not applied go
// into their program first when another one is about to be chosen.
void MainComponent::operate (bool applyTypedTexts, const std::function<void (ProgramManager&)>& operation)
{
    const EventLock eventLock;

    if (applyTypedTexts)
        browserPageComponent->applyUnappliedTexts();

    operation (programs());
    updateAll();
}

void MainComponent::selectProgram (PluginProgram* program)  { operate (true, [program] (auto& p) { p.getProcessor().stopAllNotes(); p.selectProgram (program, true); }); }
void MainComponent::previousProgram()                       { stepProgram (-1); }
void MainComponent::nextProgram()                           { stepProgram (1); }
void MainComponent::copyProgram()                           { operate (true, [] (auto& p) { p.copyProgram(); }); }
void MainComponent::resetProgram()                          { operate (false, [] (auto& p) { p.resetProgram(); }); }
void MainComponent::deleteProgram()                         { operate (false, [] (auto& p) { p.deleteProgram(); }); }
void MainComponent::undo()                                  { operate (false, [] (auto& p) { p.undo(); }); }
void MainComponent::redo()                                  { operate (false, [] (auto& p) { p.redo(); }); }

// No wrap-around. A current program missing from the list gives way to the first one
// when stepping forwards.
void MainComponent::stepProgram (int step)
{
    operate (true, [step] (auto& p) { p.stepProgram (step); });
}

void MainComponent::newProgram()
{
    operate (true, [] (auto& p) { p.newProgram(); });

    if (browserPageComponent->isShowing())
        browserPageComponent->editName();
}

void MainComponent::importPrograms (const juce::File& file)
{
    ProgramManager::ImportResult result;
    operate (false, [&] (auto& p) { result = p.importPrograms (file); });
    displayComponent->showMessage (result.error.isNotEmpty() ? "Not imported: " + result.error
                                                              : "Imported " + juce::String (result.numAdded) + " from " + file.getFileName(),
                                   4000);
}

void MainComponent::restoreFactoryPrograms()
{
    int numAdded = 0;
    operate (true, [&] (auto& p) { numAdded = p.restoreFactoryPrograms(); });
    displayComponent->showMessage (numAdded > 0 ? "Restored " + juce::String (numAdded) + " factory programs"
                                                : juce::String ("Every factory program is in the list"),
                                   4000);
}

void MainComponent::exportPrograms (const juce::Array<PluginProgram*>& programsToExport, const juce::File& file)
{
    const auto error = programs().exportPrograms (programsToExport, file);
    displayComponent->showMessage (error.isNotEmpty() ? "Not exported: " + error
                                                      : "Exported " + juce::String (programsToExport.size()) + " to " + file.getFileName(),
                                   4000);
}

bool MainComponent::isInterestedInFileDrag (const juce::StringArray&)
{
    return true;
}

void MainComponent::filesDropped (const juce::StringArray& files, int, int)
{
    for (const auto& path : files)
    {
        const juce::File file (path);

        if (file.hasFileExtension ("scl;kbm"))
            loadTuning (file);
        else
            importPrograms (file);
    }
}

bool MainComponent::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    const auto mods = key.getModifiers();

    if (key == juce::KeyPress::escapeKey && learningParameter != ParameterIndex::none)
    {
        cancelMidiLearn();
        return true;
    }

    if (! mods.isCommandDown() || mods.isAltDown())
        return false;

    const auto letter = juce::CharacterFunctions::toLowerCase ((juce::juce_wchar) key.getKeyCode());

    if (letter == 'z' && ! mods.isShiftDown())
        undo();
    else if ((letter == 'z' && mods.isShiftDown()) || (letter == 'y' && ! mods.isShiftDown()))
        redo();
    else
        return false;

    return true;
}

void MainComponent::changeListenerCallback (juce::ChangeBroadcaster*)
{
    updateHistoryButtons();
}

// The buttons name the step they would take back or redo.
void MainComponent::updateHistoryButtons()
{
    auto& history = programs().getHistory();
    textButtonUndo->setEnabled (history.canUndo());
    textButtonRedo->setEnabled (history.canRedo());
    textButtonUndo->setTooltip (history.canUndo() ? "Undo " + history.getUndoDescription() + " (Ctrl+Z)" : juce::String());
    textButtonRedo->setTooltip (history.canRedo() ? "Redo " + history.getRedoDescription() + " (Ctrl+Shift+Z)" : juce::String());
}

void MainComponent::updateAll()
{
    editPageComponent->updateControls();
    voicePageComponent->updateControls();
    shownTuningChange = editor->getProcessor().getTuningChangeCount();
    {
        // The table's selection follows the program without coming back as a user's choice.
        const EventLock eventLock;
        browserPageComponent->showCurrentProgram();
    }

    displayComponent->updateLabels();
    updateBpm();
}

void MainComponent::updateBpm()
{
    labelBpm->showTempo (editor->getProcessor().state->getTempo());
}

// Reads what the audio and host threads publish (atomics and a locked copy of the tempo);
// a stale value only delays a refresh by one tick.
void MainComponent::timerCallback()
{
    auto& processor = editor->getProcessor();

    if (auto* levelMeter = editPageComponent->getLevelMeter())
    {
        levelMeter->setLevel (0, processor.getLevel (0));
        levelMeter->setLevel (1, processor.getLevel (1));
    }

    auto& synth = processor.synthAudioSource->getSynth();
    const int pitchWheel = synth.pitchWheelValue;
    wheelComponent->showSynthValues (pitchWheel, synth.modWheelValue);

    // Controllers make the lamp flicker, lit or not.
    const auto activity = processor.getMidiInput().getActivity();
    const bool sounding = pitchWheel != WheelsComponent::pitchCentre || processor.getNumSoundingVoices() > 0;
    midiIndicatorComponent->active = activity != lastMidiActivity ? ! midiIndicatorComponent->active : sounding;
    midiIndicatorComponent->repaint();
    lastMidiActivity = activity;
    updateMidi();

    updateBpm();

    if (processor.hostChangedParameter.exchange (false))
        updateAll();

    if (processor.getTuningChangeCount() != shownTuningChange)
    {
        shownTuningChange = processor.getTuningChangeCount();
        voicePageComponent->tuningComponent->showTuning (processor.getTuning());
    }

    // A restored program may keep its row but bring new texts.
    if (processor.hostRestoredState.exchange (false))
        browserPageComponent->updateTextEditors();

    if (DisplayComponent::debugMode)
        displayComponent->updateLabels();
}
