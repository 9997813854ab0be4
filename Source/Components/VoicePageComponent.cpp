#include "Components/VoicePageComponent.h"
#include "Components/EventLock.h"
#include "Components/PluginEditor.h"
#include "Components/Skin.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    const Child filterChildren[] = {
        group    ("groupComponent", "Filter",               {   0,   0, 256,  96 }),
        slider   ("sliderEnvAmount",                        {  16,  48,  40,  32 }, Filter1EnvAmount),
        label    ("labelEnvAmount", "Env Amt",              {  10,  24,  56,  24 }),
        slider   ("sliderKeyTrack",                         {  64,  48,  40,  32 }, Filter1KeyTrack),
        label    ("labelKeyTrack", "Key",                   {  70,  24,  40,  24 }),
        slider   ("sliderVelocity",                         { 112,  48,  40,  32 }, Filter1Velocity),
        label    ("labelVelocity", "Velo",                  { 116,  24,  40,  24 }),
        comboBox ("comboBoxSlope",                          { 160,  48,  80,  24 }, Filter1Slope),
        label    ("labelSlope", "Slope",                    { 160,  24,  48,  24 }),
    };

    const Child ampChildren[] = {
        group    ("groupComponent", "Amp",                  {   0,   0,  72,  96 }),
        slider   ("sliderVelocity",                         {  16,  48,  40,  32 }, AmpVelocity),
        label    ("labelVelocity", "Velo",                  {  20,  24,  40,  24 }),
    };

    const Child lfoChildren[] = {
        group    ("groupComponent", "LFO",                  {   0,   0,  72,  96 }),
        slider   ("sliderModWheel",                         {  16,  48,  40,  32 }, Lfo1ModWheel),
        label    ("labelModWheel", "Wheel",                 {  14,  24,  48,  24 }),
    };

    const Child unison1Children[] = {
        group    ("groupComponent", "Unison 1",             {   0,   0, 200,  96 }),
        comboBox ("comboBoxVoices",                         {  16,  48,  56,  24 }, Osc1Unison),
        label    ("labelVoices", "Voices",                  {  16,  24,  56,  24 }),
        slider   ("sliderDetune",                           {  88,  48,  40,  32 }, Osc1UnisonDetune),
        label    ("labelDetune", "Detune",                  {  84,  24,  52,  24 }),
        slider   ("sliderWidth",                            { 144,  48,  40,  32 }, Osc1UnisonWidth),
        label    ("labelWidth", "Width",                    { 144,  24,  48,  24 }),
    };

    const Child unison2Children[] = {
        group    ("groupComponent", "Unison 2",             {   0,   0, 264,  96 }),
        comboBox ("comboBoxVoices",                         {  16,  48,  56,  24 }, Osc2Unison),
        label    ("labelVoices", "Voices",                  {  16,  24,  56,  24 }),
        slider   ("sliderDetune",                           {  88,  48,  40,  32 }, Osc2UnisonDetune),
        label    ("labelDetune", "Detune",                  {  84,  24,  52,  24 }),
        slider   ("sliderWidth",                            { 144,  48,  40,  32 }, Osc2UnisonWidth),
        label    ("labelWidth", "Width",                    { 144,  24,  48,  24 }),
        toggle   ("toggleButtonSync", "Sync",               { 196,  48,  60,  24 }, Osc2Sync),
    };

    template <size_t numChildren>
    std::unique_ptr<SectionPanel> makePanel (QuenbyAudioProcessorEditor* editor, const char* name, const char* title,
                                             const Child (&table)[numChildren])
    {
        auto panel = std::make_unique<SectionPanel> (editor, table);
        panel->setName (name);
        panel->assignParameters (title);
        return panel;
    }
}

VoicePageComponent::VoicePageComponent (QuenbyAudioProcessorEditor* editorToUse)
    : editor (editorToUse),
      filterVoiceComponent (makePanel (editorToUse, "filterVoiceComponent", "FILTER", filterChildren)),
      ampVoiceComponent (makePanel (editorToUse, "ampVoiceComponent", "AMP", ampChildren)),
      lfoVoiceComponent (makePanel (editorToUse, "lfoVoiceComponent", "LFO", lfoChildren)),
      unisonComponent1 (makePanel (editorToUse, "unisonComponent1", "UNISON 1", unison1Children)),
      unisonComponent2 (makePanel (editorToUse, "unisonComponent2", "UNISON 2", unison2Children)),
      tuningComponent (std::make_unique<TuningComponent> (editorToUse))
{
    tuningComponent->setName ("tuningComponent");
    tuningComponent->assignParameters ("TUNING");

    for (auto* panel : getPanels())
        addAndMakeVisible (panel);

    // A click between the panels reaches the window's menu.
    setInterceptsMouseClicks (false, true);
}

VoicePageComponent::~VoicePageComponent() = default;

std::vector<SectionPanel*> VoicePageComponent::getPanels() const
{
    return { filterVoiceComponent.get(), ampVoiceComponent.get(), lfoVoiceComponent.get(),
             unisonComponent1.get(), unisonComponent2.get(), tuningComponent.get() };
}

void VoicePageComponent::updateControls()
{
    auto& processor = editor->getProcessor();
    ParameterValues values {};
    {
        const juce::ScopedLock lock (processor.getCallbackLock());

        for (int index = 0; index < ParameterIndex::count; ++index)
            if (ParameterTable::get (index).hasEditorControl)
                values[(size_t) index] = processor.getParameter (index);
    }

    showValues (values);
    tuningComponent->showTuning (processor.getTuning());
}

void VoicePageComponent::showValues (const ParameterValues& values)
{
    const EventLock eventLock;

    for (auto* panel : getPanels())
        panel->showValues (values);
}

void VoicePageComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
}

void VoicePageComponent::resized()
{
    const std::pair<juce::Component*, juce::Rectangle<int>> layout[] = {
        { filterVoiceComponent.get(), {   0,   0, 256,  96 } },
        { ampVoiceComponent.get(),    { 264,   0,  72,  96 } },
        { lfoVoiceComponent.get(),    { 344,   0,  72,  96 } },
        { unisonComponent1.get(),     {   0, 104, 200,  96 } },
        { unisonComponent2.get(),     { 208, 104, 264,  96 } },
        { tuningComponent.get(),      { 424,   0, 376,  96 } },
    };

    for (const auto& [panel, bounds] : layout)
        panel->setBounds (bounds);
}
