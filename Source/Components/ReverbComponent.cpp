#include "Components/ReverbComponent.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    const Child reverbChildren[] = {
        group  ("groupComponent", "Reverb",         {   0,   0, 176,  80 }),
        slider ("sliderMix",                        {   8,  40,  40,  32 }, Reverb1Mix),
        label  ("labelMix", "Mix",                  {  14,  16,  40,  24 }),
        slider ("sliderDamping",                    {  48,  40,  40,  32 }, Reverb1Damping),
        label  ("labelDamping", "Damp",             {  48,  16,  52,  24 }),
        slider ("sliderFeedback",                   {  88,  40,  40,  32 }, Reverb1Feedback),
        toggle ("toggleButtonActive", "On",         { 128,  16,  40,  24 }, Reverb1Active),
        label  ("labelFeedback", "Feed",            {  89,  16,  38,  24 }),
    };
}

ReverbComponent::ReverbComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, reverbChildren)
{
}
