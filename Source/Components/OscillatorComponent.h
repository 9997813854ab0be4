#pragma once

#include "Components/SectionPanel.h"

class ComboBoxControl;
class SliderControl;
class ToggleButtonControl;

// The panel of one oscillator: wave, gain, detune and pan; the stepped knobs of the
// pitch-wheel range, pitch-envelope range and semitone offset with their scales; the
// switches "On", "Env Pitch" and "Env Pitch Down". The edit page holds two.
class OscillatorComponent : public SectionPanel
{
public:
    explicit OscillatorComponent (QuenbyAudioProcessorEditor* editor);

    // Titles the panel and binds its ten controls to one oscillator's parameters.
    void assignParameters (const juce::String& title, const OscillatorParameters& parameters);

    // Shows the values without notification; a wave-type index without an item selects none.
    void setValues (bool active, int waveTypeIndex, float gain, float detune, float pan, float offset,
                    float pitchRange, float pitchEnvRange, bool pitchEnvDown, bool pitchEnvActive);

    ToggleButtonControl& toggleButtonActive;
    ComboBoxControl& comboBoxWaveType;
    SliderControl& sliderGain;
    SliderControl& sliderDetune;
    SliderControl& sliderPan;
    SliderControl& sliderOffset;
    SliderControl& sliderPitchRange;
    SliderControl& sliderPitchEnvRange;
    ToggleButtonControl& toggleButtonPitchEnvelopeDown;
    ToggleButtonControl& toggleButtonPitchEnvelopeActive;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OscillatorComponent)
};
