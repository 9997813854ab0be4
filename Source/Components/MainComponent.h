#pragma once

#include "Components/DisplayComponent.h"
#include "Components/MidiIndicatorComponent.h"
#include "Components/Skin.h"
#include "Components/WheelsComponent.h"

#include <juce_audio_utils/juce_audio_utils.h>

class LevelMeterComponent;
class QuenbyAudioProcessorEditor;

// Draws everything the musician sees: the top bar with the program and page buttons, the
// display, the MIDI lamp and the tempo; the page area (8, 69, 800 x 443); the logo, the
// wheels and the on-screen keyboard. Owns the skin and makes it the default look of the
// process. Its 100 ms timer feeds the level meter, the wheels, the lamp and the tempo and
// picks up parameter changes made by the host. Opening reloads the program database from
// its file; closing saves it. Message thread.
class MainComponent : public juce::Component,
                      public juce::Timer
{
public:
    MainComponent (QuenbyAudioProcessorEditor* editor, juce::MidiKeyboardState& keyboardState);
    ~MainComponent() override;

    // Brings every view in line with the current program.
    void updateAll();

    // "BPM    " followed by the host's tempo.
    void updateBpm();

    // The meter the timer feeds with the two output levels; null while no page shows one.
    void setLevelMeter (LevelMeterComponent* meter) noexcept     { levelMeter = meter; }

    void timerCallback() override;
    void paint (juce::Graphics&) override;
    void resized() override;
    void mouseExit (const juce::MouseEvent&) override;

    static constexpr int width = 820;
    static constexpr int height = 640;
    static constexpr int pageX = 8, pageY = 69, pageWidth = 800, pageHeight = 443;

    QuenbyAudioProcessorEditor* const editor;
    std::unique_ptr<Skin> skin;
    std::unique_ptr<juce::MidiKeyboardComponent> keyboardComponent;
    std::unique_ptr<MidiIndicatorComponent> midiIndicatorComponent;

    std::unique_ptr<juce::Label> labelMidi;
    std::unique_ptr<juce::TextButton> textButtonProgramPrevious;
    std::unique_ptr<juce::TextButton> textButtonProgramNext;
    std::unique_ptr<juce::TextButton> textButtonSave;
    std::unique_ptr<juce::TextButton> textButtonNew;
    std::unique_ptr<juce::TextButton> textButtonPanic;
    std::unique_ptr<juce::TextButton> textButtonDelete;
    std::unique_ptr<WheelsComponent> wheelComponent;
    std::unique_ptr<DisplayComponent> displayComponent;
    std::unique_ptr<juce::TextButton> textButtonCopy;
    std::unique_ptr<juce::TextButton> textButtonReset;
    std::unique_ptr<juce::TextButton> textButtonBrowser;
    std::unique_ptr<juce::Label> labelBpm;
    std::unique_ptr<juce::TextButton> textButtonEdit;
    std::unique_ptr<juce::Label> labelLogo;

private:
    LevelMeterComponent* levelMeter = nullptr;

    void createChildren (juce::MidiKeyboardState& keyboardState);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
