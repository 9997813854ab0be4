#include "Components/DelayComponent.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    const Child delayChildren[] = {
        group  ("groupComponent", "Delay",          {   0,   0, 248,  80 }),
        slider ("sliderMix",                        {   8,  40,  40,  32 }, Delay1Mix),
        label  ("labelMix", "Mix",                  {  14,  16,  40,  24 }),
        slider ("sliderTime",                       {  48,  40,  40,  32 }, Delay1Time),
        label  ("labelTime", "Time",                {  48,  16,  52,  24 }),
        slider ("sliderFeedback",                   {  88,  40,  40,  32 }, Delay1Feedback),
        toggle ("toggleButtonActive", "On",         { 176,  24,  64,  24 }, Delay1Active),
        slider ("sliderSwing",                      { 128,  40,  40,  32 }, Delay1Swing),
        label  ("labelPan", "Swing",                { 129,  16,  40,  24 }),
        label  ("labelFeedback", "Feed",            {  89,  16,  38,  24 }),
        toggle ("toggleButtonSync", "Sync",         { 176,  48,  64,  24 }, Delay1Sync),
    };
}

DelayComponent::DelayComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, delayChildren)
{
}
