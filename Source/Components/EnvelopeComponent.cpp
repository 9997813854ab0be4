#include "Components/EnvelopeComponent.h"
#include "Controls/SliderControl.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    constexpr float letterFontHeight = 15.0f;

    // The first amplitude envelope's parameters give the knobs' ranges; assignParameters
    // binds them to any envelope's.
    const Child envelopeChildren[] = {
        group  ("groupComponent", "Envelope",   {   0,   0, 176,  80 }),
        slider ("sliderAttack",                 {   8,  40,  40,  32 }, EnvAmpOsc1Attack),
        label  ("labelAttack", "A",             {  18,  18,  23,  24 }, letterFontHeight),
        slider ("sliderDecay",                  {  48,  40,  40,  32 }, EnvAmpOsc1Decay),
        label  ("labelDecay", "D",              {  58,  18,  23,  24 }, letterFontHeight),
        slider ("sliderSustain",                {  88,  40,  40,  32 }, EnvAmpOsc1Sustain),
        label  ("labelSustain", "S",            {  98,  18,  23,  24 }, letterFontHeight),
        slider ("sliderRelease",                { 128,  40,  40,  32 }, EnvAmpOsc1Release),
        label  ("labelRelease", "R",            { 138,  18,  23,  24 }, letterFontHeight),
    };
}

EnvelopeComponent::EnvelopeComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, envelopeChildren),
      sliderAttack (getChild<SliderControl> ("sliderAttack")),
      sliderDecay (getChild<SliderControl> ("sliderDecay")),
      sliderSustain (getChild<SliderControl> ("sliderSustain")),
      sliderRelease (getChild<SliderControl> ("sliderRelease"))
{
}

void EnvelopeComponent::assignParameters (const juce::String& title, const EnvelopeParameters& parameters)
{
    getGroup().setText (title);
    bind (sliderAttack, parameters.attack);
    bind (sliderDecay, parameters.decay);
    bind (sliderSustain, parameters.sustain);
    bind (sliderRelease, parameters.release);
}

void EnvelopeComponent::setValues (float attack, float decay, float sustain, float release)
{
    showSliderValue (sliderAttack, attack);
    showSliderValue (sliderDecay, decay);
    showSliderValue (sliderSustain, sustain);
    showSliderValue (sliderRelease, release);
}
