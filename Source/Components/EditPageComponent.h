#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class LevelMeterComponent;
class QuenbyAudioProcessorEditor;

// The page on which the sound of the current program is edited, in the main component's
// page area. The section panels live here; the main component needs only the two calls
// below, so the panels never concern it. Message thread.
class EditPageComponent : public juce::Component
{
public:
    explicit EditPageComponent (QuenbyAudioProcessorEditor* editor);
    ~EditPageComponent() override;

    // Shows the current program's values in every control, without notification. Called by
    // the main component's full refresh.
    void updateControls();

    // The level meter the main component's timer feeds with the two output levels every
    // tick: the master panel's, null while the page has no master panel.
    LevelMeterComponent* getLevelMeter() const noexcept;

    void paint (juce::Graphics&) override;

private:
    [[maybe_unused]] QuenbyAudioProcessorEditor* const editor;   // handed on to the panels

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditPageComponent)
};
