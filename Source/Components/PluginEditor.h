#pragma once

#include "Model/SavedPrograms.h"
#include "Processor/PluginProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

class MainComponent;

// The plug-in's window: the main component, 820 x 640, drawn at the user's zoom (75 ... 200 %,
// from the window's right-click menu, kept in the user's settings). The host's own scale
// factor (VST3 content scale, LV2 ui:scaleFactor) scales the whole editor on top of that,
// so the window takes 820 x 640 times both. Everything is drawn as vectors at that scale.
class QuenbyAudioProcessorEditor : public juce::AudioProcessorEditor,
                                   private juce::AudioProcessorListener
{
public:
    static constexpr int width = 820;
    static constexpr int height = 640;

    explicit QuenbyAudioProcessorEditor (QuenbyAudioProcessor&);
    ~QuenbyAudioProcessorEditor() override;

    QuenbyAudioProcessor& getProcessor() noexcept      { return quenbyProcessor; }
    MainComponent& getMainComponent() noexcept         { return *mainComponent; }

    // The programs as the database file holds them, for the mark of an unsaved program.
    SavedPrograms& getSavedPrograms() noexcept         { return savedPrograms; }

    // Draws the window at a zoom of UserSettings::zoomSteps and keeps it for the user; any
    // other percentage is ignored.
    void setZoomPercent (int percent);
    int getZoomPercent() const noexcept                { return zoomPercent; }

    // A standing notice on the display, such as the standalone app's missing audio output;
    // empty for none.
    void showNotice (const juce::String& notice);

private:
    QuenbyAudioProcessor& quenbyProcessor;
    SavedPrograms savedPrograms;
    std::unique_ptr<MainComponent> mainComponent;
    int zoomPercent;

    void applyZoom();

    // Hosts may report a parameter change on any thread, the audio thread included; off the
    // message thread the main component's timer picks the change up within 100 ms.
    void audioProcessorParameterChanged (juce::AudioProcessor*, int parameterIndex, float newValue) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuenbyAudioProcessorEditor)
};
