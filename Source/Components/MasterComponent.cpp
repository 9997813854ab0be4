#include "Components/MasterComponent.h"
#include "Components/DecibelScaleComponent.h"
#include "Components/LevelMeterComponent.h"

namespace
{
    using namespace PanelTable;
    using namespace ParameterIndex;

    const Child masterChildren[] = {
        group        ("groupComponent", "Master",         {   0,   0, 176, 168 }, "new group"),
        slider       ("sliderMasterVolume",               {  56, 130,  32,  32 }, MasterVolume),
        label        ("labelMasterVolume", "Volume",      {  45, 106,  58,  24 }),
        slider       ("sliderGlide",                      {   8, 130,  40,  32 }, Glide),
        label        ("labelGlide", "Glide",              {   8, 106,  40,  24 }),
        comboBox     ("comboBoxPlayMode",                 {  16,  40,  64,  24 }, CurrentPlayMode),
        label        ("labelPlayMode", "Mode",            {  16,  16,  58,  24 }),
        decibelScale ("decibelScaleComponent",            { 110,  24,  24, 134 }),
        levelMeter   ("levelMeterComponent",              { 142,  24,  96, 134 }),
    };
}

MasterComponent::MasterComponent (QuenbyAudioProcessorEditor* editorToUse)
    : SectionPanel (editorToUse, masterChildren),
      decibelScaleComponent (getChild<DecibelScaleComponent> ("decibelScaleComponent")),
      levelMeterComponent (getChild<LevelMeterComponent> ("levelMeterComponent"))
{
}
