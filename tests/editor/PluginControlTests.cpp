#include "EditorFixture.h"
#include "Components/EventLock.h"
#include "Controls/ComboBoxControl.h"
#include "Controls/SliderControl.h"
#include "Controls/ToggleButtonControl.h"
#include "Model/ParameterTable.h"

using namespace testing_helpers;

using PluginControls = EditorFixture;

namespace
{
    // What a host's listener hears of the parameters, one text per call.
    struct HostListener : public juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
        {
            heard.add ("value " + juce::String (index) + " " + juce::String (value));
        }

        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override  { heard.add ("begin " + juce::String (index)); }
        void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override    { heard.add ("end " + juce::String (index)); }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

        juce::StringArray heard;
    };
}

// Automation recording from the window: a drag is one gesture with its values, a click or a
// choice a gesture with one value. Each value is written once, as the editor's, so the
// window is not told to refresh as after a host's change.
TEST_F (PluginControls, TheHostHearsADragAsOneGestureAndEachChangeOnce)
{
    HostListener host;
    processor->addListener (&host);

    auto gain = makeBoundControl<SliderControl> (ParameterIndex::Osc1Gain);
    gain->setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    gain->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    gain->setRange (0.0, 1.0, ParameterTable::editorStep);
    gain->setSize (40, 32);
    gain->setValue (0.5, juce::dontSendNotification);
    const auto start = centreOf (*gain);

    press (*gain, start);
    dragTo (*gain, start, start.translated (10.0f, 0.0f));
    dragTo (*gain, start, start.translated (20.0f, 0.0f));
    release (*gain, start, start.translated (20.0f, 0.0f));

    const auto index = juce::String (ParameterIndex::Osc1Gain);
    ASSERT_GE (host.heard.size(), 4) << host.heard.joinIntoString (", ");
    EXPECT_EQ (host.heard[0], "begin " + index);
    EXPECT_EQ (host.heard[host.heard.size() - 1], "end " + index);

    for (int i = 1; i < host.heard.size() - 1; ++i)
        EXPECT_TRUE (host.heard[i].startsWith ("value " + index + " ")) << host.heard[i];

    EXPECT_GT (parameter (ParameterIndex::Osc1Gain), 0.5f);
    EXPECT_EQ (host.heard[host.heard.size() - 2], "value " + index + " " + juce::String (parameter (ParameterIndex::Osc1Gain)));

    host.heard.clear();
    auto playMode = makeBoundControl<ComboBoxControl> (ParameterIndex::CurrentPlayMode);
    playMode->addItemList ({ "Poly", "Mono", "Glide" }, 1);
    playMode->setSelectedItemIndex (1, juce::sendNotificationSync);

    const auto mode = juce::String (ParameterIndex::CurrentPlayMode);
    EXPECT_EQ (host.heard.joinIntoString (", "), "begin " + mode + ", value " + mode + " " + juce::String (1.0f) + ", end " + mode);
    EXPECT_FALSE (processor->hostChangedParameter.load());

    processor->removeListener (&host);
}

TEST_F (PluginControls, EachControlWritesItsValueThroughTheEditPathWithoutAHostWrite)
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

    // The host's next read sees the control's value; no host write was made.
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
