#pragma once

#include "Components/SectionPanel.h"

class SliderControl;

// The four knobs of one ADSR envelope under their letters. Its on/off switch, where it
// has one, sits on the panel of the section it modulates. The edit page holds six.
class EnvelopeComponent : public SectionPanel
{
public:
    explicit EnvelopeComponent (QuenbyAudioProcessorEditor* editor);

    // Titles the panel and binds its four knobs to one envelope's parameters.
    void assignParameters (const juce::String& title, const EnvelopeParameters& parameters);

    // Shows the values without notification.
    void setValues (float attack, float decay, float sustain, float release);

    SliderControl& sliderAttack;
    SliderControl& sliderDecay;
    SliderControl& sliderSustain;
    SliderControl& sliderRelease;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EnvelopeComponent)
};
