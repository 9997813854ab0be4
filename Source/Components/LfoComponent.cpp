#include "Components/LfoComponent.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    const Child lfoChildren[] = {
        group    ("groupComponent", "LFO",                            {   0,   0, 360, 168 }),
        slider   ("sliderSpeed",                                      {  16,  40,  40,  32 }, Lfo1Speed),
        label    ("labelSpeed", "Speed",                              {  14,  16,  49,  24 }),
        comboBox ("comboBoxMode",                                     { 216,  88, 113,  24 }, Lfo1Mode),
        label    ("labelMode", "Mode",                                { 216,  64,  43,  24 }),
        toggle   ("toggleButtonActive", "On",                         {  16,  88,  72,  24 }, Lfo1Active),
        comboBox ("comboBoxWaveType",                                 { 216,  40, 112,  24 }, Lfo1WaveType),
        label    ("labelWaveType", "Wave",                            { 216,  16,  43,  24 }),
        toggle   ("toggleButtonSync", "Sync",                         {  16, 112,  80,  24 }, Lfo1Sync),
        comboBox ("comboBoxTarget",                                   { 216, 136, 113,  24 }, Lfo1Target),
        label    ("labelTarget", "Target",                            { 216, 112,  48,  24 }),
        toggle   ("toggleButtonLfoEnvelopeActive", "Env LFO",         {  16, 136,  80,  24 }, EnvLfo1Active),
        slider   ("sliderMix",                                        {  56,  40,  40,  32 }, Lfo1Mix),
        label    ("labelMix", "Mix",                                  {  61,  16,  49,  24 }),
    };
}

LfoComponent::LfoComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, lfoChildren)
{
}
