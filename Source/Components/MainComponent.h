#pragma once

#include "Components/BrowserPageComponent.h"
#include "Components/DisplayComponent.h"
#include "Components/EditPageComponent.h"
#include "Components/KeyboardComponent.h"
#include "Components/MidiIndicatorComponent.h"
#include "Components/SequencePageComponent.h"
#include "Components/Skin.h"
#include "Components/TempoField.h"
#include "Components/ValueBubble.h"
#include "Components/ValueEntry.h"
#include "Components/VoicePageComponent.h"
#include "Components/WavePageComponent.h"
#include "Components/WheelsComponent.h"

#include <juce_audio_utils/juce_audio_utils.h>

class PluginProgram;
class ProgramManager;
class QuenbyAudioProcessorEditor;

// Draws everything the musician sees: the top bar with the program and page buttons, the
// display, the MIDI lamp and the tempo; the page area (8, 69, 800 x 443) with the edit and
// browser pages; the logo, the wheels and the on-screen keyboard. Carries the program
// operations behind the buttons. Its 100 ms timer feeds the level meter, the wheels, the
// lamp and the tempo and picks up changes made by the host. Opening reloads the program
// database from its file; closing saves it. A right-click on its background (between the
// panels, on a frame or a label) opens the window's menu, with "Zoom". Every button and
// indicator has a tooltip. Message thread.
//
// The program list and the programs' texts are shared with host threads that save and
// restore state, so every change to them holds the processor's callback lock.
class MainComponent : public juce::Component,
                      public juce::Timer,
                      public juce::Button::Listener,
                      public juce::FileDragAndDropTarget,
                      public juce::KeyListener,
                      private juce::ChangeListener
{
public:
    MainComponent (QuenbyAudioProcessorEditor* editor, juce::MidiKeyboardState& keyboardState);
    ~MainComponent() override;

    // Brings every view in line with the current program.
    void updateAll();

    // "BPM    " followed by the host's tempo.
    void updateBpm();

    // The menu of the window's background: "Zoom" with the zoom steps, the current one ticked.
    juce::PopupMenu createWindowMenu();

    // Writes the program file, and says on the display whether it holds the program now.
    void saveDatabase();

    // 0 shows the edit page, 1 the browser page, 2 the voice page; any other number hides
    // all pages.
    void showPage (int page);

    // Replaces the scale of the instance's tuning with a Scala scale file, or its keyboard
    // mapping with a .kbm file; File() returns to equal temperament. A file that is neither
    // changes nothing, and the display says why.
    void loadTuning (const juce::File& file);

    // The program operations. Each stops every note first and leaves the views refreshed;
    // a step beyond either end of the list, a deletion of the first or only program, or
    // any operation without a current program changes no program.
    void selectProgram (PluginProgram* program);
    void previousProgram();
    void nextProgram();
    void newProgram();
    void deleteProgram();
    void copyProgram();
    void resetProgram();

    // The program manager's undo and redo (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y; the two buttons).
    void undo();
    void redo();

    // Program files: added after the list (a file dropped on the window too), or written
    // from programs; the display tells what was done, or why not.
    void importPrograms (const juce::File& file);
    void exportPrograms (const juce::Array<PluginProgram*>& programs, const juce::File& file);

    // MIDI learn, from a control's menu: the display asks for a controller until one arrives
    // (the processor binds it and keeps it for the user), Escape or the menu's second click
    // cancels, and the display then says what was bound or refused.
    void startMidiLearn (int parameterIndex);
    void cancelMidiLearn();
    void forgetMidiController (int parameterIndex);

    // The MIDI lamp's menu: "Omni" or one of the channels 1 ... 16, the current one ticked.
    juce::PopupMenu createMidiMenu();

    // "Restore factory programs" in the browser; the display says how many came back.
    void restoreFactoryPrograms();

    // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y from anywhere in the window (a text field keeps its own);
    // Escape while learning a controller.
    bool keyPressed (const juce::KeyPress&, juce::Component*) override;

    bool isInterestedInFileDrag (const juce::StringArray& files) override;
    void filesDropped (const juce::StringArray& files, int x, int y) override;

    void buttonClicked (juce::Button*) override;
    void timerCallback() override;
    void paint (juce::Graphics&) override;
    void resized() override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;

    static constexpr int width = 820;
    static constexpr int height = 640;
    static constexpr int pageX = 8, pageY = 69, pageWidth = 800, pageHeight = 443;

    QuenbyAudioProcessorEditor* const editor;

    // One skin for every open window of the process: it stays the default look until the
    // last window closes, so closing one of two windows leaves the other one skinned.
    juce::SharedResourcePointer<Skin> skin;

    std::unique_ptr<KeyboardComponent> keyboardComponent;
    std::unique_ptr<MidiIndicatorComponent> midiIndicatorComponent;

    std::unique_ptr<juce::Label> labelMidi;
    std::unique_ptr<juce::TextButton> textButtonProgramPrevious;
    std::unique_ptr<juce::TextButton> textButtonProgramNext;
    std::unique_ptr<juce::TextButton> textButtonSave;
    std::unique_ptr<juce::TextButton> textButtonNew;
    std::unique_ptr<juce::TextButton> textButtonPanic;
    std::unique_ptr<juce::TextButton> textButtonDelete;
    std::unique_ptr<EditPageComponent> editPageComponent;
    std::unique_ptr<WheelsComponent> wheelComponent;
    std::unique_ptr<DisplayComponent> displayComponent;
    std::unique_ptr<juce::TextButton> textButtonCopy;
    std::unique_ptr<juce::TextButton> textButtonReset;
    std::unique_ptr<juce::TextButton> textButtonBrowser;
    std::unique_ptr<TempoField> labelBpm;
    std::unique_ptr<BrowserPageComponent> browserPageComponent;
    std::unique_ptr<juce::TextButton> textButtonEdit;
    std::unique_ptr<WavePageComponent> wavePageComponent;
    std::unique_ptr<SequencePageComponent> sequencePageComponent;
    std::unique_ptr<VoicePageComponent> voicePageComponent;
    std::unique_ptr<juce::Label> labelLogo;
    std::unique_ptr<juce::TextButton> textButtonUndo;
    std::unique_ptr<juce::TextButton> textButtonRedo;
    std::unique_ptr<juce::TextButton> textButtonVoice;

    // Below the wheels; the bubble and the typing field lie above every other child.
    std::unique_ptr<juce::Label> labelPitchWheel;
    std::unique_ptr<juce::Label> labelModWheel;
    std::unique_ptr<ValueBubble> valueBubble;
    std::unique_ptr<ValueEntry> valueEntry;
    std::unique_ptr<juce::TooltipWindow> tooltipWindow;

private:
    // What MIDI brought since the last tick: the lamp, the end of a learning, a damaged
    // project's mappings.
    void updateMidi();

    static constexpr int learnMessageMilliseconds = 60000;
    int learningParameter = ParameterIndex::none;
    juce::uint32 lastMidiActivity = 0;

    void createChildren (juce::MidiKeyboardState& keyboardState);
    void describeChildren();

    // Switches to the program a step away from the current one in the list, or keeps the
    // current one at either end.
    void stepProgram (int step);

    // Runs a program operation and refreshes every view.
    void operate (bool applyTypedTexts, const std::function<void (ProgramManager&)>& operation);

    void changeListenerCallback (juce::ChangeBroadcaster*) override;
    int shownTuningChange = -1;     // the processor's tuning change count the voice page shows
    void updateHistoryButtons();
    ProgramManager& programs();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
