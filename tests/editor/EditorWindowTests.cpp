#include "EditorFixture.h"
#include "Components/DecibelScaleComponent.h"
#include "Components/LevelMeterComponent.h"
#include "Controls/SliderControl.h"
#include "Model/ParameterTable.h"

using namespace testing_helpers;

namespace
{
    juce::MidiBuffer oneMessage (const juce::MidiMessage& message)
    {
        juce::MidiBuffer midi;
        midi.addEvent (message, 0);
        return midi;
    }

    bool isRed (juce::Colour c)      { return c.getRed() > 200 && c.getGreen() < 110 && c.getBlue() < 110; }
    bool isOrange (juce::Colour c)   { return c.getRed() > 200 && c.getGreen() > 120 && c.getGreen() < 180 && c.getBlue() < 110; }
}

using EditorWindow = EditorFixture;

TEST_F (EditorWindow, OpensAtItsSizeWithThePageBackgroundAndTheDisplayFill)
{
    EXPECT_EQ (editor->getWidth(), 820);
    EXPECT_EQ (editor->getHeight(), 640);

    const auto image = snapshot (*editor);
    EXPECT_EQ (image.getPixelAt (260, 290).getARGB(), 0xff2a3a57u);   // the page between two panels
    EXPECT_EQ (image.getPixelAt (330, 56).getARGB(), 0xff0008aeu);    // the display, right of its text

    // The display's dark edge along its top.
    EXPECT_EQ (image.getPixelAt (200, 6).getARGB(), 0xff000000u);
}

TEST_F (EditorWindow, DisplayShowsTheProgramAndTheHoveredParameterWithSixSignificantDigits)
{
    EXPECT_EQ (display().labelProgram->getText(), "Program  : " + processor->state->getCurrentProgram()->getName());
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: -----");
    EXPECT_FALSE (display().labelDebug->isVisible());

    auto gain = makeBoundControl<SliderControl> (ParameterIndex::Osc1Gain);
    processor->getEditPath().set (ParameterIndex::Osc1Gain, 0.5f, ParameterEditPath::Writer::editor);
    hover (*gain);
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Osc1Gain Value: 0.5");

    processor->getEditPath().set (ParameterIndex::Osc1Gain, 1.0f / 3.0f, ParameterEditPath::Writer::editor);
    display().updateLabels();
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Osc1Gain Value: 0.333333");

    // A host's change shows at the next timer tick.
    processor->setParameter (ParameterIndex::Osc1Gain, 2.0f);
    mainComponent().timerCallback();
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Osc1Gain Value: 2");

    leave (*gain);
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: -----");
}

TEST_F (EditorWindow, TimerLightsTheLampForABendOrASoundingVoiceAndShowsTheTempo)
{
    auto& lamp = *mainComponent().midiIndicatorComponent;

    mainComponent().timerCallback();
    EXPECT_FALSE (lamp.active);
    EXPECT_EQ (mainComponent().labelBpm->getText(), "BPM    120");

    renderBlock (oneMessage (juce::MidiMessage::pitchWheel (1, 12000)));
    mainComponent().timerCallback();
    EXPECT_TRUE (lamp.active);
    EXPECT_EQ (wheels().pitchValue, 12000);

    renderBlock (oneMessage (juce::MidiMessage::pitchWheel (1, 8192)));
    mainComponent().timerCallback();
    EXPECT_FALSE (lamp.active);

    renderBlock (oneMessage (juce::MidiMessage::noteOn (1, 60, 1.0f)));
    mainComponent().timerCallback();
    EXPECT_TRUE (lamp.active);

    // The master panel's meter is fed.
    auto& meter = mainComponent().editPageComponent->masterComponent->levelMeterComponent;
    EXPECT_NE (snapshot (meter).getPixelAt (3, meter.getHeight() - 1).getARGB(), 0xff000000u);
}

TEST_F (EditorWindow, PitchWheelDragBendsTheSynthAndSpringsBackModWheelLeavesAHardwareBendAlone)
{
    auto& wheel = wheels();
    const juce::Point<float> pitch { 6.0f, 50.0f }, mod { 25.0f, 50.0f };

    press (wheel, pitch);
    dragTo (wheel, pitch, pitch.translated (0.0f, -10.0f));
    EXPECT_EQ (wheel.pitchValue, 9472);
    EXPECT_EQ (synth().pitchWheelValue.load(), 9472);

    release (wheel, pitch, pitch.translated (0.0f, -10.0f));
    EXPECT_EQ (synth().pitchWheelValue.load(), 8192);

    renderBlock (oneMessage (juce::MidiMessage::pitchWheel (1, 12000)));
    press (wheel, mod);
    dragTo (wheel, mod, { mod.x, 0.0f });
    EXPECT_EQ (wheel.modValue, 128);
    dragTo (wheel, mod, { mod.x, (float) wheel.getHeight() });
    EXPECT_EQ (wheel.modValue, 0);
    release (wheel, mod, { mod.x, (float) wheel.getHeight() });
    EXPECT_EQ (synth().pitchWheelValue.load(), 12000);

    // After the release the wheels follow the synthesiser again.
    mainComponent().timerCallback();
    EXPECT_EQ (wheel.pitchValue, 12000);
}

TEST_F (EditorWindow, ZeroDecibelsLightsTheMeterUpToTheScalesZeroMarkInOrangeAndRedAboveIt)
{
    LevelMeterComponent meter;
    DecibelScaleComponent scale;
    meter.setSize (16, 100);
    scale.setSize (40, 100);
    meter.setNumChannels (2);

    // The scale's 0 dB tick is its second one from the top.
    const auto scaleImage = snapshot (scale);
    std::vector<int> tickRows;

    for (int y = 0; y < 100; ++y)
        if (scaleImage.getPixelAt (scale.getWidth() - 2, y).getBrightness() > 0.9f)
            tickRows.push_back (y);

    ASSERT_EQ (tickRows.size(), 5u);
    const int zeroDecibelRow = tickRows[1];

    meter.setLevel (0, 1.0f);
    auto image = snapshot (meter);
    EXPECT_TRUE (isOrange (image.getPixelAt (3, zeroDecibelRow))) << image.getPixelAt (3, zeroDecibelRow).toString();
    EXPECT_EQ (image.getPixelAt (3, zeroDecibelRow - 1).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (11, 99).getARGB(), 0xff000000u);   // channel 1 at level 0 stays black

    meter.setLevel (0, 2.0f);
    image = snapshot (meter);
    EXPECT_TRUE (isRed (image.getPixelAt (3, zeroDecibelRow - 2))) << image.getPixelAt (3, zeroDecibelRow - 2).toString();
}

TEST_F (EditorWindow, RotarySliderDrawsItsArcAtOneAndNoneAtZero)
{
    auto slider = makeBoundControl<SliderControl> (ParameterIndex::Osc1Gain);
    slider->setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    slider->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    slider->setRange (0.0, 1.0, 0.01);
    slider->setSize (40, 32);

    // The ring straight above the centre lies half-way along the arc.
    slider->setValue (1.0, juce::dontSendNotification);
    EXPECT_GT (snapshot (*slider).getPixelAt (20, 2).getBrightness(), 0.6f);

    slider->setValue (0.0, juce::dontSendNotification);
    EXPECT_EQ (snapshot (*slider).getPixelAt (20, 2).getARGB(), Skin::getKnobBackgroundColour().getARGB());
}
