#pragma once

#include "Components/DelayComponent.h"
#include "Components/EnvelopeComponent.h"
#include "Components/FilterComponent.h"
#include "Components/LfoComponent.h"
#include "Components/MasterComponent.h"
#include "Components/OscillatorComponent.h"
#include "Components/ReverbComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

class LevelMeterComponent;
class QuenbyAudioProcessorEditor;

// The page on which the sound of the current program is edited, in the main component's
// page area: thirteen section panels in a fixed grid, whose controls edit every parameter
// but MidiLearn, one control each. Message thread.
class EditPageComponent : public juce::Component
{
public:
    explicit EditPageComponent (QuenbyAudioProcessorEditor* editor);
    ~EditPageComponent() override;

    // Shows the current program's values in every control: reads them under the
    // processor's callback lock, then sets the controls after releasing it. Called by the
    // main component's full refresh.
    void updateControls();

    // Sets every control from the values given, by parameter index, without notification
    // and under an EventLock, so nothing comes back as an edit.
    void showValues (const ParameterValues& values);

    // The level meter the main component's timer feeds with the two output levels every
    // tick: the master panel's.
    LevelMeterComponent* getLevelMeter() const noexcept;

    // The thirteen panels in member order.
    std::vector<SectionPanel*> getPanels() const;

    void paint (juce::Graphics&) override;
    void resized() override;

    QuenbyAudioProcessorEditor* const editor;   // handed on to the panels

    // In creation order, which is also the z-order.
    std::unique_ptr<OscillatorComponent> oscillatorComponent1;
    std::unique_ptr<OscillatorComponent> oscillatorComponent2;
    std::unique_ptr<FilterComponent> filterComponent1;
    std::unique_ptr<EnvelopeComponent> envelopeComponentAmpOsc1;
    std::unique_ptr<EnvelopeComponent> envelopeComponentAmpOsc2;
    std::unique_ptr<EnvelopeComponent> envelopeComponentFilter1;
    std::unique_ptr<LfoComponent> lfoComponent1;
    std::unique_ptr<EnvelopeComponent> envelopeComponentLfo1;
    std::unique_ptr<DelayComponent> delayComponent;
    std::unique_ptr<ReverbComponent> reverbComponent;
    std::unique_ptr<MasterComponent> masterComponent;
    std::unique_ptr<EnvelopeComponent> envelopeComponentPitchOsc1;
    std::unique_ptr<EnvelopeComponent> envelopeComponentPitchOsc2;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditPageComponent)
};
