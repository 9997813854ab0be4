#include "EditorFixture.h"
#include "Components/EventLock.h"
#include "Controls/ComboBoxControl.h"
#include "Controls/SliderControl.h"
#include "Controls/ToggleButtonControl.h"
#include "Model/ParameterTable.h"

using namespace testing_helpers;

using PluginControls = EditorFixture;

TEST_F (PluginControls, EachControlWritesItsValueThroughTheEditPathWithoutTellingTheHost)
{
    auto waveType = makeBoundControl<ComboBoxControl> (ParameterIndex::Osc2WaveType);
    waveType->addItemList ({ "Sine", "Square", "Triangle", "Sawtooth" }, 1);
    waveType->setSelectedItemIndex (2, juce::sendNotificationSync);
    EXPECT_EQ (parameter (ParameterIndex::Osc2WaveType), 2.0f);

    auto active = makeBoundControl<ToggleButtonControl> (ParameterIndex::Osc2Active);
    active->setClickingTogglesState (true);
    active->triggerClick();
    pumpMessages();
    EXPECT_EQ (parameter (ParameterIndex::Osc2Active), 1.0f);
    EXPECT_TRUE (synth().settings.Osc2Active);
    active->triggerClick();
    pumpMessages();
    EXPECT_EQ (parameter (ParameterIndex::Osc2Active), 0.0f);

    // The host's next read sees the control's value; no host change was raised.
    EXPECT_EQ (processor->getParameter (ParameterIndex::Osc2WaveType), 2.0f);
    EXPECT_FALSE (processor->hostChangedParameter.load());
}

TEST_F (PluginControls, ChangesUnderAnEventLockAndUnboundControlsWriteNothing)
{
    auto gain = makeBoundControl<SliderControl> (ParameterIndex::Osc1Gain);
    gain->setRange (0.0, 1.0, 0.01);
    auto filterType = makeBoundControl<ComboBoxControl> (ParameterIndex::Filter1Type);
    filterType->addItemList ({ "Lowpass", "Bandpass", "Highpass" }, 1);
    SliderControl unbound ("unbound");
    unbound.setRange (0.0, 1.0, 0.01);
    const auto gainBefore = parameter (ParameterIndex::Osc1Gain);
    const auto typeBefore = parameter (ParameterIndex::Filter1Type);

    {
        const EventLock lock;
        gain->setValue (0.9, juce::sendNotificationSync);
        filterType->setSelectedItemIndex (1, juce::sendNotificationSync);
    }

    unbound.setValue (0.7, juce::sendNotificationSync);
    hover (unbound);

    EXPECT_TRUE (EventLock::eventsEnabled);
    EXPECT_EQ (parameter (ParameterIndex::Osc1Gain), gainBefore);
    EXPECT_EQ (parameter (ParameterIndex::Filter1Type), typeBefore);
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: -----");
}

TEST_F (PluginControls, CtrlClickSetsTheMiddleOfTheRange)
{
    auto offset = makeBoundControl<SliderControl> (ParameterIndex::Osc1Offset);
    offset->setRange (0.0, ParameterTable::get (ParameterIndex::Osc1Offset).editorMaximum, 0.01);
    offset->setValue (0.0, juce::dontSendNotification);
    processor->getEditPath().set (ParameterIndex::Osc1Offset, 0.0f, ParameterEditPath::Writer::editor);

    press (*offset, SyntheticMouse::centreOf (*offset), juce::ModifierKeys::ctrlModifier);
    pumpMessages();
    EXPECT_EQ (parameter (ParameterIndex::Osc1Offset), 0.12f);
    EXPECT_EQ (processor->getParameter (ParameterIndex::Osc1Offset), 0.12f);
}
