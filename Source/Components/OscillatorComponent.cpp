#include "Components/OscillatorComponent.h"
#include "Controls/ComboBoxControl.h"
#include "Controls/SliderControl.h"
#include "Controls/ToggleButtonControl.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    constexpr float scaleFontHeight = 9.1f;

    // Oscillator 1's parameters give the controls' ranges and items; assignParameters binds
    // them to either oscillator's.
    const Child oscillatorChildren[] = {
        group    ("groupComponent", "Oscillator",                   {   0,   0, 248, 168 }),
        slider   ("sliderGain",                                     { 112,  40,  40,  32 }, Osc1Gain),
        label    ("labelGain", "Gain",                              { 112,  16,  40,  24 }),
        comboBox ("comboBoxWaveType",                               {  16,  40,  88,  24 }, Osc1WaveType),
        label    ("labelWaveType", "Wave",                          {  16,  16,  43,  24 }),
        slider   ("sliderDetune",                                   { 152,  40,  40,  32 }, Osc1Detune),
        label    ("labelDetune", "Detune",                          { 148,  16,  52,  24 }),
        slider   ("sliderPan",                                      { 192,  40,  40,  32 }, Osc1Pan),
        label    ("labelPan", "Pan",                                { 196,  16,  40,  24 }),
        toggle   ("toggleButtonActive", "On",                       {  16,  88,  72,  24 }, Osc1Active),
        slider   ("sliderOffset",                                   { 192,  96,  40,  33 }, Osc1Offset),
        label    ("labelWheel", "Wheel",                            { 110,  72,  48,  24 }),
        slider   ("sliderPitchRange",                               { 112,  96,  38,  33 }, Osc1PitchRange),
        label    ("labelOctave", "Offset",                          { 191,  72,  48,  24 }),
        label    ("labelWheelRangeScale", "0/+12",                  { 114, 126,  40,  16 }, scaleFontHeight),
        label    ("labelOffsetRangeScale", "-12/+12",               { 189, 126,  40,  16 }, scaleFontHeight),
        toggle   ("toggleButtonPitchEnvelopeActive", "Env Pitch",   {  16, 112,  80,  24 }, EnvPitchOsc1Active),
        label    ("labelPitchEnvRange", "Pitch",                    { 154,  72,  48,  24 }),
        slider   ("sliderPitchEnvRange",                            { 152,  96,  40,  33 }, Osc1PitchEnvRange),
        label    ("labelPitchEnvScale", "0/+12",                    { 155, 126,  40,  16 }, scaleFontHeight),
        toggle   ("toggleButtonPitchEnvelopeDown", "Env Pitch Down", { 16, 136, 128,  24 }, Osc1PitchEnvDown),
    };
}

OscillatorComponent::OscillatorComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, oscillatorChildren),
      toggleButtonActive (getChild<ToggleButtonControl> ("toggleButtonActive")),
      comboBoxWaveType (getChild<ComboBoxControl> ("comboBoxWaveType")),
      sliderGain (getChild<SliderControl> ("sliderGain")),
      sliderDetune (getChild<SliderControl> ("sliderDetune")),
      sliderPan (getChild<SliderControl> ("sliderPan")),
      sliderOffset (getChild<SliderControl> ("sliderOffset")),
      sliderPitchRange (getChild<SliderControl> ("sliderPitchRange")),
      sliderPitchEnvRange (getChild<SliderControl> ("sliderPitchEnvRange")),
      toggleButtonPitchEnvelopeDown (getChild<ToggleButtonControl> ("toggleButtonPitchEnvelopeDown")),
      toggleButtonPitchEnvelopeActive (getChild<ToggleButtonControl> ("toggleButtonPitchEnvelopeActive"))
{
}

void OscillatorComponent::assignParameters (const juce::String& title, const OscillatorParameters& parameters)
{
    getGroup().setText (title);
    bind (toggleButtonActive, parameters.active);
    bind (comboBoxWaveType, parameters.waveType);
    bind (sliderGain, parameters.gain);
    bind (sliderDetune, parameters.detune);
    bind (sliderPan, parameters.pan);
    bind (sliderOffset, parameters.offset);
    bind (sliderPitchRange, parameters.pitchRange);
    bind (sliderPitchEnvRange, parameters.pitchEnvRange);
    bind (toggleButtonPitchEnvelopeDown, parameters.pitchEnvDown);
    bind (toggleButtonPitchEnvelopeActive, parameters.pitchEnvActive);
}

void OscillatorComponent::setValues (bool active, int waveTypeIndex, float gain, float detune, float pan, float offset,
                                     float pitchRange, float pitchEnvRange, bool pitchEnvDown, bool pitchEnvActive)
{
    toggleButtonActive.setToggleState (active, juce::dontSendNotification);
    comboBoxWaveType.setSelectedItemIndex (waveTypeIndex, juce::dontSendNotification);
    showSliderValue (sliderGain, gain);
    showSliderValue (sliderDetune, detune);
    showSliderValue (sliderPan, pan);
    showSliderValue (sliderOffset, offset);
    showSliderValue (sliderPitchRange, pitchRange);
    showSliderValue (sliderPitchEnvRange, pitchEnvRange);
    toggleButtonPitchEnvelopeDown.setToggleState (pitchEnvDown, juce::dontSendNotification);
    toggleButtonPitchEnvelopeActive.setToggleState (pitchEnvActive, juce::dontSendNotification);
}
