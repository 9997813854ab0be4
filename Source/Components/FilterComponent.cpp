#include "Components/FilterComponent.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    const Child filterChildren[] = {
        group    ("groupComponent", "Filter",                         {   0,   0, 176, 168 }),
        slider   ("sliderCutoff",                                     {  16,  96,  40,  32 }, Filter1Cutoff),
        label    ("labelCutoff", "Cutoff",                            {  16,  72,  46,  24 }),
        comboBox ("comboBoxFilterType",                               {  16,  40,  91,  24 }, Filter1Type),
        label    ("labelFilterType", "Type",                          {  16,  16,  43,  24 }),
        slider   ("sliderResonance",                                  {  56,  96,  40,  32 }, Filter1Resonance),
        label    ("labelDetune", "Reso",                              {  56,  72,  48,  24 }),
        toggle   ("toggleButtonActive", "On",                         {  16, 136,  48,  24 }, Filter1Active),
        toggle   ("toggleButtonFilterEnvelopeActive", "Env Filter",   {  72, 136,  80,  24 }, EnvFilter1Active),
    };
}

FilterComponent::FilterComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, filterChildren)
{
}
