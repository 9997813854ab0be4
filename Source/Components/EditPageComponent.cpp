#include "Components/EditPageComponent.h"
#include "Components/EventLock.h"
#include "Components/PluginEditor.h"
#include "Components/Skin.h"
#include "Model/ParameterValue.h"

namespace
{
    template <typename Panel>
    std::unique_ptr<Panel> makePanel (QuenbyAudioProcessorEditor* editor, const char* name)
    {
        auto panel = std::make_unique<Panel> (editor);
        panel->setName (name);
        return panel;
    }
}

EditPageComponent::EditPageComponent (QuenbyAudioProcessorEditor* editorToUse)
    : editor (editorToUse),
      oscillatorComponent1 (makePanel<OscillatorComponent> (editorToUse, "oscillatorComponent1")),
      oscillatorComponent2 (makePanel<OscillatorComponent> (editorToUse, "oscillatorComponent2")),
      filterComponent1 (makePanel<FilterComponent> (editorToUse, "filterComponent1")),
      envelopeComponentAmpOsc1 (makePanel<EnvelopeComponent> (editorToUse, "envelopeComponentAmpOsc1")),
      envelopeComponentAmpOsc2 (makePanel<EnvelopeComponent> (editorToUse, "envelopeComponentAmpOsc2")),
      envelopeComponentFilter1 (makePanel<EnvelopeComponent> (editorToUse, "envelopeComponentFilter1")),
      lfoComponent1 (makePanel<LfoComponent> (editorToUse, "lfoComponent1")),
      envelopeComponentLfo1 (makePanel<EnvelopeComponent> (editorToUse, "envelopeComponentLfo1")),
      delayComponent (makePanel<DelayComponent> (editorToUse, "delayComponent")),
      reverbComponent (makePanel<ReverbComponent> (editorToUse, "reverbComponent")),
      masterComponent (makePanel<MasterComponent> (editorToUse, "masterComponent")),
      envelopeComponentPitchOsc1 (makePanel<EnvelopeComponent> (editorToUse, "envelopeComponentPitchOsc1")),
      envelopeComponentPitchOsc2 (makePanel<EnvelopeComponent> (editorToUse, "envelopeComponentPitchOsc2"))
{
    for (auto* panel : getPanels())
        addAndMakeVisible (panel);

    // A click between the panels reaches the window's menu.
    setInterceptsMouseClicks (false, true);

    using namespace ParameterGroups;
    oscillatorComponent1->assignParameters ("OSC 1", oscillators[0]);
    oscillatorComponent2->assignParameters ("OSC 2", oscillators[1]);
    filterComponent1->assignParameters ("FILTER");
    lfoComponent1->assignParameters ("LFO");
    delayComponent->assignParameters ("DELAY");
    reverbComponent->assignParameters ("REVERB");
    envelopeComponentAmpOsc1->assignParameters ("ENV AMP 1", amplitudeEnvelope1);
    envelopeComponentAmpOsc2->assignParameters ("ENV AMP 2", amplitudeEnvelope2);
    envelopeComponentPitchOsc1->assignParameters ("ENV PITCH 1", pitchEnvelope1);
    envelopeComponentPitchOsc2->assignParameters ("ENV PITCH 2", pitchEnvelope2);
    envelopeComponentFilter1->assignParameters ("ENV FILTER", filterEnvelope);
    envelopeComponentLfo1->assignParameters ("ENV LFO", lfoEnvelope);
    masterComponent->assignParameters ("MASTER");
}

EditPageComponent::~EditPageComponent() = default;

std::vector<SectionPanel*> EditPageComponent::getPanels() const
{
    return { oscillatorComponent1.get(), oscillatorComponent2.get(), filterComponent1.get(),
             envelopeComponentAmpOsc1.get(), envelopeComponentAmpOsc2.get(), envelopeComponentFilter1.get(),
             lfoComponent1.get(), envelopeComponentLfo1.get(), delayComponent.get(), reverbComponent.get(),
             masterComponent.get(), envelopeComponentPitchOsc1.get(), envelopeComponentPitchOsc2.get() };
}

// The audio thread renders under the same lock, so it is held only for the reading.
void EditPageComponent::updateControls()
{
    auto& processor = editor->getProcessor();
    ParameterValues values {};
    {
        const juce::ScopedLock lock (processor.getCallbackLock());

        for (int index = 0; index < ParameterIndex::count; ++index)
            if (ParameterTable::get (index).hasEditorControl)
                values[(size_t) index] = processor.getEditPath().get (index);
    }

    showValues (values);
}

void EditPageComponent::showValues (const ParameterValues& v)
{
    const EventLock eventLock;
    using ParameterValue::isOn;

    const std::pair<OscillatorComponent*, const OscillatorParameters&> oscillators[] = {
        { oscillatorComponent1.get(), ParameterGroups::oscillators[0] },
        { oscillatorComponent2.get(), ParameterGroups::oscillators[1] },
    };

    for (const auto& [panel, p] : oscillators)
        panel->setValues (isOn (v[p.active]), SectionPanel::toItemIndex (v[p.waveType]), v[p.gain], v[p.detune], v[p.pan],
                          v[p.offset], v[p.pitchRange], v[p.pitchEnvRange], isOn (v[p.pitchEnvDown]), isOn (v[p.pitchEnvActive]));

    for (auto* panel : std::initializer_list<SectionPanel*> { filterComponent1.get(), lfoComponent1.get(),
                                                              delayComponent.get(), reverbComponent.get() })
        panel->showValues (v);

    const std::pair<EnvelopeComponent*, const EnvelopeParameters&> envelopes[] = {
        { envelopeComponentAmpOsc1.get(), ParameterGroups::amplitudeEnvelope1 },
        { envelopeComponentAmpOsc2.get(), ParameterGroups::amplitudeEnvelope2 },
        { envelopeComponentPitchOsc1.get(), ParameterGroups::pitchEnvelope1 },
        { envelopeComponentPitchOsc2.get(), ParameterGroups::pitchEnvelope2 },
        { envelopeComponentFilter1.get(), ParameterGroups::filterEnvelope },
        { envelopeComponentLfo1.get(), ParameterGroups::lfoEnvelope },
    };

    for (const auto& [panel, e] : envelopes)
        panel->setValues (v[e.attack], v[e.decay], v[e.sustain], v[e.release]);

    masterComponent->showValues (v);
}

LevelMeterComponent* EditPageComponent::getLevelMeter() const noexcept
{
    return &masterComponent->levelMeterComponent;
}

void EditPageComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());
}

void EditPageComponent::resized()
{
    const std::pair<SectionPanel*, juce::Rectangle<int>> layout[] = {
        { oscillatorComponent1.get(),       {   0,   0, 248, 168 } },
        { oscillatorComponent2.get(),       {   0, 176, 248, 168 } },
        { filterComponent1.get(),           { 624, 176, 176, 168 } },
        { envelopeComponentAmpOsc1.get(),   { 256,   0, 176,  80 } },
        { envelopeComponentAmpOsc2.get(),   { 256,  88, 176,  80 } },
        { envelopeComponentFilter1.get(),   { 256, 176, 176,  80 } },
        { lfoComponent1.get(),              { 256, 264, 360, 168 } },
        { envelopeComponentLfo1.get(),      { 440, 176, 176,  80 } },
        { delayComponent.get(),             {   0, 352, 248,  80 } },
        { reverbComponent.get(),            { 624, 352, 176,  80 } },
        { masterComponent.get(),            { 624,   0, 176, 168 } },
        { envelopeComponentPitchOsc1.get(), { 440,   0, 176,  80 } },
        { envelopeComponentPitchOsc2.get(), { 440,  88, 176,  80 } },
    };

    for (const auto& [panel, bounds] : layout)
        panel->setBounds (bounds);
}
