#pragma once

#include "Components/SectionPanel.h"
#include "Components/TuningComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

class QuenbyAudioProcessorEditor;

// The third page: what shapes a voice beyond the edit page's panels, in section panels
// built from tables: the filter's envelope amount, key tracking, velocity and slope; the
// amplitude's velocity; the unison of each oscillator and oscillator 2's sync; the mod
// wheel's depth on the LFO; and the tuning. Message thread.
class VoicePageComponent : public juce::Component
{
public:
    explicit VoicePageComponent (QuenbyAudioProcessorEditor* editor);
    ~VoicePageComponent() override;

    // Shows the current program's values (read under the processor's callback lock) and the
    // instance's tuning.
    void updateControls();

    // Sets every control from the values given, without notification.
    void showValues (const ParameterValues& values);

    // The parameter panels in member order, then the tuning panel.
    std::vector<SectionPanel*> getPanels() const;

    void paint (juce::Graphics&) override;
    void resized() override;

    QuenbyAudioProcessorEditor* const editor;

    // In creation order, which is also the z-order.
    std::unique_ptr<SectionPanel> filterVoiceComponent;
    std::unique_ptr<SectionPanel> ampVoiceComponent;
    std::unique_ptr<SectionPanel> lfoVoiceComponent;
    std::unique_ptr<SectionPanel> unisonComponent1;
    std::unique_ptr<SectionPanel> unisonComponent2;
    std::unique_ptr<TuningComponent> tuningComponent;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VoicePageComponent)
};
