#include "EditorFixture.h"
#include "Components/DecibelScaleComponent.h"
#include "Components/LevelMeterComponent.h"
#include "Controls/PluginControl.h"
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

TEST_F (EditorWindow, DisplayShowsTheProgramAndTheHoveredParameterByItsLabelWithItsValueInItsUnit)
{
    EXPECT_EQ (display().labelProgram->getText(), "Program  : " + processor->state->getCurrentProgram()->getName());
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: -----");
    EXPECT_FALSE (display().labelDebug->isVisible());

    auto gain = makeBoundControl<SliderControl> (ParameterIndex::Osc1Gain);
    processor->getEditPath().set (ParameterIndex::Osc1Gain, 0.5f, ParameterEditPath::Writer::editor);
    hover (*gain);
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Osc 1 Gain  Value: 100 %");

    // A host's change shows at the next timer tick.
    processor->setParameter (ParameterIndex::Osc1Gain, 2.0f);
    mainComponent().timerCallback();
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Osc 1 Gain  Value: 400 %");

    auto cutoff = makeBoundControl<SliderControl> (ParameterIndex::Filter1Cutoff);
    processor->setParameter (ParameterIndex::Filter1Cutoff, 0.3f);
    hover (*cutoff);
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Filter Cutoff  Value: 1.50 kHz");

    // The delay's time follows its sync switch.
    auto time = makeBoundControl<SliderControl> (ParameterIndex::Delay1Time);
    hover (*time);
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Delay Time  Value: 4/16");
    processor->setParameter (ParameterIndex::Delay1Sync, 0.0f);
    display().updateLabels();
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Delay Time  Value: 1.00 s");

    // A standing notice shows while nothing is hovered; a message for its moment over all.
    editor->showNotice ("No audio output");
    leave (*time);
    EXPECT_EQ (display().labelParameter->getText(), "No audio output");
    display().showMessage ("Saved", 50);
    EXPECT_EQ (display().labelParameter->getText(), "Saved");
    pumpMessages (200);
    EXPECT_EQ (display().labelParameter->getText(), "No audio output");
    editor->showNotice ({});

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

TEST_F (EditorWindow, PitchWheelDragBendsTheSynthAndSpringsBackModWheelSendsItsValueAndStays)
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
    EXPECT_EQ (wheel.modValue, 127);
    EXPECT_EQ (synth().modWheelValue.load(), 127);
    dragTo (wheel, mod, { mod.x, (float) wheel.getHeight() / 2.0f });
    release (wheel, mod, { mod.x, (float) wheel.getHeight() / 2.0f });
    EXPECT_EQ (synth().pitchWheelValue.load(), 12000);
    EXPECT_EQ (synth().modWheelValue.load(), 64);

    // After the release the wheels follow the synthesiser again: the mod wheel stays.
    mainComponent().timerCallback();
    EXPECT_EQ (wheel.pitchValue, 12000);
    EXPECT_EQ (wheel.modValue, 64);
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

// The zoom of the window's menu scales everything, is kept for the user and comes back with
// the next window; the host's own scale multiplies it.
TEST_F (EditorWindow, ZoomFromTheWindowMenuScalesTheWholeWindowAndIsKeptForTheUser)
{
    auto menu = mainComponent().createWindowMenu();
    EXPECT_EQ (menuTexts (menu), "Zoom, 75 %, 100 %, 125 %, 150 %, 175 %, 200 %");
    EXPECT_TRUE (findMenuItem (menu, "100 %")->isTicked);

    findMenuItem (menu, "150 %")->action();
    EXPECT_EQ (editor->getWidth(), 1230);
    EXPECT_EQ (editor->getHeight(), 960);
    EXPECT_EQ (UserSettings::load().settings.zoomPercent, 150);

    const auto image = snapshot (*editor);
    ASSERT_EQ (image.getWidth(), 1230);
    ASSERT_EQ (image.getHeight(), 960);
    EXPECT_EQ (image.getPixelAt (390, 435).getARGB(), 0xff2a3a57u);   // the page between two panels
    EXPECT_EQ (image.getPixelAt (495, 84).getARGB(), 0xff0008aeu);    // the display, right of its text
    EXPECT_EQ (image.getPixelAt (300, 9).getARGB(), 0xff000000u);     // its dark top edge, 1.5 times as thick

    editor.reset (dynamic_cast<QuenbyAudioProcessorEditor*> (processor->createEditor()));
    EXPECT_EQ (editor->getZoomPercent(), 150);
    EXPECT_EQ (editor->getWidth(), 1230);

    editor->setZoomPercent (75);
    editor->setScaleFactor (2.0f);         // a host's content scale
    EXPECT_EQ (editor->getBoundsInParent().getWidth(), 1230);
    EXPECT_EQ (editor->getBoundsInParent().getHeight(), 960);

    editor->setZoomPercent (130);          // not a step of the menu
    EXPECT_EQ (editor->getZoomPercent(), 75);
}

TEST_F (EditorWindow, ADamagedSettingsFileOpensAtOneHundredPercentAndSaysWhy)
{
    editor.reset();
    UserSettings::getDefaultFile().getParentDirectory().createDirectory();
    ASSERT_TRUE (UserSettings::getDefaultFile().replaceWithText ("<QUENBY_SETTINGS Zoom=\"huge\"/>"));

    editor.reset (dynamic_cast<QuenbyAudioProcessorEditor*> (processor->createEditor()));
    EXPECT_EQ (editor->getWidth(), 820);
    EXPECT_TRUE (display().labelParameter->getText().contains ("Settings.xml has a zoom of \"huge\"")) << display().labelParameter->getText();
}

// A right-click between the panels, on a frame or a label, reaches the window's menu; every
// control keeps its own.
TEST_F (EditorWindow, TheBackgroundTakesClicksBetweenTheControls)
{
    auto& main = mainComponent();
    auto& osc1 = *main.editPageComponent->oscillatorComponent1;
    const auto inMain = [&] (juce::Component& child, juce::Point<int> at) { return main.getLocalPoint (&child, at); };

    EXPECT_EQ (main.getComponentAt (inMain (*main.editPageComponent, { 252, 100 })), &main);   // between two panels
    EXPECT_EQ (main.getComponentAt (inMain (osc1, { 5, 8 })), &main);                          // the title strip
    EXPECT_EQ (main.getComponentAt (inMain (osc1, { 120, 24 })), &main);                       // the "Gain" label
    EXPECT_EQ (main.getComponentAt (inMain (osc1, { 132, 56 })), &osc1.getChild<juce::Component> ("sliderGain"));
    EXPECT_EQ (main.getComponentAt (juce::Point<int> { 60, 600 }), main.keyboardComponent.get());
}

// What each control, button and indicator does, one walk over every panel's controls.
TEST_F (EditorWindow, EveryControlButtonAndIndicatorHasATooltip)
{
    const auto tooltipOf = [] (juce::Component* component)
    {
        auto* client = dynamic_cast<juce::TooltipClient*> (component);
        return client != nullptr ? client->getTooltip() : juce::String();
    };

    auto& main = mainComponent();
    std::vector<juce::Component*> described;

    auto panels = main.editPageComponent->getPanels();

    for (auto* panel : main.voicePageComponent->getPanels())
        panels.push_back (panel);

    for (auto* panel : panels)
        for (auto* control : panel->getControls())
        {
            const auto index = dynamic_cast<PluginControl&> (*control).parameterIndex;
            EXPECT_TRUE (tooltipOf (control).startsWith (ParameterTable::get (index).description)) << control->getName();
        }

    for (auto* button : { main.textButtonProgramPrevious.get(), main.textButtonProgramNext.get(), main.textButtonPanic.get(),
                          main.textButtonSave.get(), main.textButtonNew.get(), main.textButtonCopy.get(), main.textButtonDelete.get(),
                          main.textButtonReset.get(), main.textButtonEdit.get(), main.textButtonBrowser.get(),
                          main.textButtonVoice.get(), &main.voicePageComponent->tuningComponent->textButtonLoad,
                          &main.voicePageComponent->tuningComponent->textButtonEqual })
        described.push_back (button);

    auto& master = *main.editPageComponent->masterComponent;
    auto& browser = *main.browserPageComponent;

    for (auto* indicator : std::initializer_list<juce::Component*> {
             main.labelMidi.get(), main.midiIndicatorComponent.get(), main.labelBpm.get(), main.displayComponent.get(),
             main.wheelComponent.get(), main.keyboardComponent.get(), &master.levelMeterComponent, &master.decibelScaleComponent,
             &browser.getTableListBox(), browser.textEditorName.get(), browser.textButtonApplyChanges.get() })
        described.push_back (indicator);

    for (auto* component : described)
        EXPECT_TRUE (tooltipOf (component).isNotEmpty()) << component->getName();

    EXPECT_EQ (tooltipOf (main.textButtonPanic.get()), "All notes off: silences every sounding note");
    EXPECT_TRUE (tooltipOf (&master.getChild<juce::Component> ("sliderGlide")).contains ("double-click"));
}

TEST_F (EditorWindow, TheOpenPagesButtonIsPressedTheScaleFitsTheKeysAreWholeAndTheWheelsNamed)
{
    auto& main = mainComponent();
    EXPECT_TRUE (main.textButtonEdit->getToggleState());
    EXPECT_FALSE (main.textButtonBrowser->getToggleState());
    main.textButtonBrowser->triggerClick();
    pumpMessages();
    EXPECT_FALSE (main.textButtonEdit->getToggleState());
    EXPECT_TRUE (main.textButtonBrowser->getToggleState());
    main.textButtonVoice->triggerClick();
    pumpMessages();
    EXPECT_FALSE (main.textButtonBrowser->getToggleState());
    EXPECT_TRUE (main.textButtonVoice->getToggleState());
    EXPECT_TRUE (main.voicePageComponent->isVisible() && ! main.editPageComponent->isVisible() && ! main.browserPageComponent->isVisible());

    // Each mark of the decibel scale within its width.
    auto& scale = main.editPageComponent->masterComponent->decibelScaleComponent;

    for (const auto decibels : { 20.0f, 0.0f, -20.0f, -40.0f })
    {
        const auto text = DecibelScaleComponent::formatDecibels (decibels);
        EXPECT_LE (Skin::getSmallFont().getStringWidthFloat (text), (float) scale.getWidth() - 3.0f) << text;
    }

    EXPECT_EQ (DecibelScaleComponent::formatDecibels (-40.0f), "-40");

    // From the first key's left edge to the last one's right edge, every key inside.
    auto& keys = *main.keyboardComponent;
    EXPECT_EQ (keys.getKeyStartPosition (keys.getRangeStart()), 0.0f);
    EXPECT_NEAR (keys.getTotalKeyboardWidth(), (float) keys.getWidth(), 0.01f);
    EXPECT_EQ (juce::MidiMessage::getMidiNoteName (keys.getRangeStart(), true, true, keys.getOctaveForMiddleC()), "C1");

    EXPECT_EQ (main.labelPitchWheel->getText(), "Pitch");
    EXPECT_EQ (main.labelModWheel->getText(), "Mod");
    EXPECT_LE (main.labelPitchWheel->getFont().getStringWidthFloat ("Pitch"), (float) main.labelPitchWheel->getWidth());
    EXPECT_LE (main.labelModWheel->getFont().getStringWidthFloat ("Mod"), (float) main.labelModWheel->getWidth());
    EXPECT_GE (main.labelPitchWheel->getY(), main.wheelComponent->getBottom());
}

// The voice page's tuning shows the scale's description; a file that is no scale changes
// nothing and the display says why; "Equal" returns to equal temperament.
TEST_F (EditorWindow, TheTuningControlLoadsAScaleShowsItsDescriptionAndRefusesWhatIsNone)
{
    auto& main = mainComponent();
    auto& description = main.voicePageComponent->tuningComponent->getChild<juce::Label> ("labelDescription");
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("quenby-tuning-test");
    folder.createDirectory();
    const auto scale = folder.getChildFile ("fifths.scl"), bad = folder.getChildFile ("bad.scl");
    ASSERT_TRUE (scale.replaceWithText ("Pythagorean fifths\n2\n3/2\n2/1\n") && bad.replaceWithText ("No scale\n"));

    EXPECT_EQ (description.getText(), "Equal temperament");
    main.loadTuning (scale);
    main.timerCallback();
    EXPECT_EQ (description.getText(), "Pythagorean fifths");
    EXPECT_FALSE (processor->getTuning().isEqualTemperament());

    main.loadTuning (bad);
    main.timerCallback();
    EXPECT_EQ (display().labelParameter->getText(), "Tuning not loaded: bad.scl: the scale has no number of notes (a description line, then the number, then one pitch per line)");
    EXPECT_EQ (processor->getTuning().getScaleText(), scale.loadFileAsString());
    EXPECT_EQ (description.getText(), "Pythagorean fifths");

    main.voicePageComponent->tuningComponent->textButtonEqual.triggerClick();
    pumpMessages();
    main.timerCallback();
    EXPECT_TRUE (processor->getTuning().isEqualTemperament());
    EXPECT_EQ (description.getText(), "Equal temperament");
    folder.deleteRecursively();
}

// Where no host reports a tempo, the tempo field sets it: dragged or typed.
TEST_F (EditorWindow, TheTempoFieldSetsTheTempoTheEngineFollows)
{
    auto& field = *mainComponent().labelBpm;
    EXPECT_FALSE (field.isEditable());       // a host reports the tempo
    field.setAdjustable (true);

    drag (field, 0.0f, 20.0f);
    EXPECT_EQ (processor->getTempoWithoutHost(), 130.0);
    renderBlock();
    EXPECT_EQ (synth().tempo, 130.0);      // the engine follows it from the next block
    mainComponent().timerCallback();
    EXPECT_EQ (field.getText(), "BPM    130");

    field.showEditor();
    ASSERT_NE (field.getCurrentTextEditor(), nullptr);
    EXPECT_EQ (field.getCurrentTextEditor()->getText(), "130");
    field.getCurrentTextEditor()->setText ("128.5");
    field.getCurrentTextEditor()->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    pumpMessages();
    EXPECT_EQ (processor->getTempoWithoutHost(), 128.5);

    field.showEditor();
    field.getCurrentTextEditor()->setText ("fast");
    field.getCurrentTextEditor()->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    pumpMessages();
    EXPECT_EQ (processor->getTempoWithoutHost(), 128.5);
    EXPECT_EQ (TempoField::readTempo ("BPM 900"), std::optional<double> (TempoField::highestTempo));
}
