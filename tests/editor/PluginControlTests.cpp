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

namespace
{
    // Every knob of the edit page.
    std::vector<SliderControl*> allKnobs (EditPageComponent& page)
    {
        std::vector<SliderControl*> knobs;

        for (auto* panel : page.getPanels())
            for (auto* control : panel->getControls())
                if (auto* knob = dynamic_cast<SliderControl*> (control))
                    knobs.push_back (knob);

        return knobs;
    }

    // Where a knob lands a share of its range away from a value: on its step, within its range.
    double expectedAfter (const juce::Slider& knob, double from, double share)
    {
        const auto value = juce::jlimit (knob.getMinimum(), knob.getMaximum(), from + share * (knob.getMaximum() - knob.getMinimum()));
        return std::round (value / ParameterTable::editorStep) * ParameterTable::editorStep;
    }
}

// A drag moves every knob by the same share of its range for the same pixels, from where it
// was; with Shift a tenth of that; a double-click brings back the parameter's default.
TEST_F (PluginControls, DragsMoveEveryKnobTheSameShareOfItsRangeShiftATenthAndADoubleClickResets)
{
    const auto knobs = allKnobs (*mainComponent().editPageComponent);
    ASSERT_EQ (knobs.size(), 49u);

    for (auto* knob : knobs)
    {
        const auto index = knob->parameterIndex;
        const auto name = juce::String (ParameterTable::get (index).name);
        const double start = ParameterTable::get (index).defaultValue;
        ASSERT_NEAR (knob->getValue(), start, 1e-6) << name;

        drag (*knob, 0.0f, 40.0f);              // 40 of 200 pixels up: a fifth of the range
        EXPECT_NEAR (knob->getValue(), expectedAfter (*knob, start, 0.2), 1e-6) << name;
        EXPECT_EQ (parameter (index), (float) knob->getValue()) << name;

        drag (*knob, 60.0f, 20.0f);             // right counts as up
        EXPECT_NEAR (knob->getValue(), expectedAfter (*knob, start, 0.6), 1e-6) << name;

        doubleClick (*knob);
        EXPECT_EQ (parameter (index), (float) start) << name;

        drag (*knob, 0.0f, -40.0f, juce::ModifierKeys::shiftModifier);
        EXPECT_NEAR (knob->getValue(), expectedAfter (*knob, start, -0.02), 1e-6) << name;
        doubleClick (*knob);
    }
}

// Shift pressed or let go in the middle of a drag goes on from where the knob is, and a drag
// past an end turns back at once.
TEST_F (PluginControls, ShiftInTheMiddleOfADragAndAnEndNeverMakeTheKnobJump)
{
    auto& knob = *allKnobs (*mainComponent().editPageComponent)[0];   // Osc 1 gain, at 0.5
    const auto start = centreOf (knob);

    press (knob, start);
    dragTo (knob, start, start.translated (0.0f, -20.0f));                                        // 0.6
    dragTo (knob, start, start.translated (0.0f, -20.0f), juce::ModifierKeys::shiftModifier);     // the anchor moves
    dragTo (knob, start, start.translated (0.0f, -120.0f), juce::ModifierKeys::shiftModifier);    // 100 fine pixels: +0.05
    EXPECT_NEAR (knob.getValue(), 0.65, 1e-6);

    dragTo (knob, start, start.translated (0.0f, -400.0f));       // far past the top
    EXPECT_EQ (knob.getValue(), 1.0);
    dragTo (knob, start, start.translated (0.0f, -380.0f));       // and at once down again
    EXPECT_NEAR (knob.getValue(), 0.9, 1e-6);
    release (knob, start, start.translated (0.0f, -380.0f));
}

TEST_F (PluginControls, TheBubbleBesideAKnobShowsItsValueInItsUnitWhileHoveredOrDragged)
{
    auto& page = *mainComponent().editPageComponent;
    auto& cutoff = page.filterComponent1->getChild<SliderControl> ("sliderCutoff");
    auto& bubble = *mainComponent().valueBubble;
    EXPECT_FALSE (bubble.isVisible());

    hover (cutoff);
    EXPECT_TRUE (bubble.isVisible());
    EXPECT_EQ (bubble.getText(), "1.50 kHz");

    const auto knobArea = mainComponent().getLocalArea (&cutoff, cutoff.getLocalBounds());
    EXPECT_GE (bubble.getX(), knobArea.getRight());
    EXPECT_NEAR (bubble.getBounds().getCentreY(), knobArea.getCentreY(), 1);

    const auto start = centreOf (cutoff);
    press (cutoff, start);
    dragTo (cutoff, start, start.translated (0.0f, -20.0f));
    EXPECT_EQ (bubble.getText(), "2.00 kHz");
    leave (cutoff);
    EXPECT_TRUE (bubble.isVisible());      // still dragging
    release (cutoff, start, start.translated (0.0f, -20.0f));
    EXPECT_FALSE (bubble.isVisible());

    // The master panel's knobs sit at the window's right edge: the bubble goes left of them.
    auto& volume = page.masterComponent->getChild<SliderControl> ("sliderMasterVolume");
    hover (volume);
    EXPECT_EQ (bubble.getText(), "100 %");
    EXPECT_LE (bubble.getRight(), MainComponent::width);
}

TEST_F (PluginControls, TheRightClickMenuTypesAValueInItsUnitAndResetsAnyControlToItsDefault)
{
    auto& page = *mainComponent().editPageComponent;
    auto& decay = page.envelopeComponentAmpOsc1->getChild<SliderControl> ("sliderDecay");
    auto& filterType = page.filterComponent1->getChild<ComboBoxControl> ("comboBoxFilterType");
    auto& sync = page.delayComponent->getChild<ToggleButtonControl> ("toggleButtonSync");

    auto knobMenu = decay.createContextMenu();
    EXPECT_EQ (menuTexts (knobMenu), juce::String::fromUTF8 ("Type a value\xe2\x80\xa6, MIDI learn, Reset to default"));

    findMenuItem (knobMenu, juce::String::fromUTF8 ("Type a value\xe2\x80\xa6"))->action();
    auto& entry = *mainComponent().valueEntry;
    ASSERT_TRUE (entry.isVisible());
    EXPECT_EQ (entry.getText(), "500 ms");
    EXPECT_EQ (entry.getKnob(), &decay);

    entry.setText ("loud");
    entry.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    pumpMessages();
    EXPECT_TRUE (entry.isVisible());       // no value: the field stays for another try
    EXPECT_EQ (parameter (ParameterIndex::EnvAmpOsc1Decay), 0.5f);

    entry.setText ("350 ms");
    entry.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    pumpMessages();
    EXPECT_FALSE (entry.isVisible());
    EXPECT_EQ (parameter (ParameterIndex::EnvAmpOsc1Decay), 0.35f);
    EXPECT_EQ ((float) decay.getValue(), 0.35f);

    findMenuItem (knobMenu, "Reset to default")->action();
    EXPECT_EQ (parameter (ParameterIndex::EnvAmpOsc1Decay), 0.5f);

    // Choices and switches have the same menu without typing.
    processor->setParameter (ParameterIndex::Filter1Type, 2.0f);
    processor->setParameter (ParameterIndex::Delay1Sync, 0.0f);
    mainComponent().timerCallback();

    for (auto* control : std::initializer_list<PluginControl*> { &filterType, &sync })
    {
        auto menu = control->createContextMenu();
        EXPECT_EQ (menuTexts (menu), "MIDI learn, Reset to default");
        findMenuItem (menu, "Reset to default")->action();
    }

    EXPECT_EQ (parameter (ParameterIndex::Filter1Type), 0.0f);
    EXPECT_EQ (filterType.getText(), "Lowpass");
    EXPECT_EQ (parameter (ParameterIndex::Delay1Sync), 1.0f);
    EXPECT_TRUE (sync.getToggleState());
}

// The menu's "MIDI learn" waits for a controller, binds it, and the controller then moves
// the knob: the window shows the value, the display says what was learned, and the menu
// offers to forget it; Escape cancels a learning.
TEST_F (PluginControls, MidiLearnFromTheMenuBindsTheNextControllerAndTheKnobFollowsIt)
{
    auto& cutoff = mainComponent().editPageComponent->filterComponent1->getChild<SliderControl> ("sliderCutoff");
    const auto controller = [this] (int number, int value)
    {
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::controllerEvent (1, number, value), 0);
        renderBlock (midi);
        processor->handleMidiRequests();
        mainComponent().timerCallback();
    };

    auto menu = cutoff.createContextMenu();
    findMenuItem (menu, "MIDI learn")->action();
    EXPECT_TRUE (display().labelParameter->getText().contains (juce::String::fromUTF8 ("Move a controller for Filter Cutoff\xe2\x80\xa6")));
    EXPECT_EQ (menuTexts (menu = cutoff.createContextMenu()), juce::String::fromUTF8 ("Type a value\xe2\x80\xa6, Cancel MIDI learn, Reset to default"));

    controller (64, 127);
    EXPECT_TRUE (display().labelParameter->getText().contains ("CC 64 keeps its own meaning"));

    controller (74, 5);
    EXPECT_TRUE (display().labelParameter->getText().contains ("CC 74 moves Filter Cutoff"));

    controller (74, 127);
    EXPECT_EQ (parameter (ParameterIndex::Filter1Cutoff), 1.0f);
    EXPECT_EQ ((float) cutoff.getValue(), 1.0f);

    menu = cutoff.createContextMenu();
    findMenuItem (menu, "Forget CC 74")->action();
    controller (74, 0);
    EXPECT_EQ (parameter (ParameterIndex::Filter1Cutoff), 1.0f);

    findMenuItem (menu = cutoff.createContextMenu(), "MIDI learn")->action();
    EXPECT_TRUE (mainComponent().keyPressed (juce::KeyPress (juce::KeyPress::escapeKey), &mainComponent()));
    controller (75, 0);
    EXPECT_EQ (processor->getMidiInput().getController (ParameterIndex::Filter1Cutoff), MidiInput::none);
}
