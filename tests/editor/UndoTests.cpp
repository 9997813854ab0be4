#include "EditorFixture.h"
#include "Controls/ComboBoxControl.h"
#include "Controls/SliderControl.h"
#include "Model/ParameterTable.h"
#include "Processor/HostParameter.h"

#include <functional>

using namespace testing_helpers;

namespace
{
    // The window over the programs "P0", "P1", "P2" with values of their own, "P1" current.
    struct WindowHistory : EditorFixture
    {
        using EditorFixture::mainComponent;
        using EditorFixture::makeBoundControl;

        PluginDatabase& database()       { return *processor->state->database; }
        PluginProgram& current()         { return *processor->state->getCurrentProgram(); }
        BrowserPageComponent& browser()  { return *mainComponent().browserPageComponent; }

        void SetUp() override
        {
            EditorFixture::SetUp();

            while (database().getNumPrograms() < 3)
                database().createProgram();

            for (int i = 0; i < 3; ++i)
            {
                database().getProgram (i)->setName ("P" + juce::String (i));
                database().getProgram (i)->getParameter (ParameterIndex::Osc1Gain)->setValue (0.1f * (float) (i + 1));
                database().getProgram (i)->getParameter (ParameterIndex::Filter1Cutoff)->setValue (0.3f);
            }

            processor->switchToProgram (database().getProgram (1));
            processor->getProgramManager().noteListChanged();
            mainComponent().showPage (1);
            mainComponent().updateAll();
        }

        // Everything a step may change: every program's identifier, texts and values, in
        // list order, and which one is current.
        juce::String describeState()
        {
            juce::String text;

            for (int p = 0; p < database().getNumPrograms(); ++p)
            {
                const auto* program = database().getProgram (p);
                text << (program == &current() ? "*" : "") << program->getId() << " " << program->getTexts().text[0];

                for (const auto& other : program->getTexts().text)
                    text << "|" << other;

                for (int i = 0; i < program->getNumParameters(); ++i)
                    text << " " << program->getParameter (i)->getValue();

                text << "\n";
            }

            return text;
        }

        // As the window hands a key that no child took to the editor's key listener.
        void pressKeys (int keyCode, juce::ModifierKeys mods)
        {
            EXPECT_TRUE (static_cast<juce::KeyListener&> (mainComponent()).keyPressed (juce::KeyPress (keyCode, mods, 0), editor.get()));
            pumpMessages();
        }

        void undoKey()      { pressKeys ('z', juce::ModifierKeys::commandModifier); }
        void redoKey()      { pressKeys ('z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier); }
        void redoKeyY()     { pressKeys ('y', juce::ModifierKeys::commandModifier); }

        ProgramManager& programs()       { return processor->getProgramManager(); }
    };

    struct StepCase
    {
        const char* what;
        std::function<void (WindowHistory&)> step;
    };

    const StepCase stepCases[] = {
        { "knob drag", [] (WindowHistory& w)
            {
                auto knob = w.makeBoundControl<SliderControl> (ParameterIndex::Osc1Gain);
                knob->setRange (0.0, 1.0, 0.01);
                knob->startedDragging();

                for (const auto value : { 0.5, 0.6, 0.7 })
                    knob->setValue (value, juce::sendNotificationSync);

                knob->stoppedDragging();
            } },
        { "choice", [] (WindowHistory& w)
            {
                auto choice = w.makeBoundControl<ComboBoxControl> (ParameterIndex::Osc1WaveType);
                choice->addItemList ({ "Sine", "Square", "Triangle", "Sawtooth" }, 1);
                choice->setSelectedItemIndex (3, juce::sendNotificationSync);
            } },
        { "New",     [] (WindowHistory& w) { w.mainComponent().textButtonNew->triggerClick(); } },
        { "Copy",    [] (WindowHistory& w) { w.mainComponent().textButtonCopy->triggerClick(); } },
        { "Delete",  [] (WindowHistory& w) { w.mainComponent().textButtonDelete->triggerClick(); } },
        { "Reset",   [] (WindowHistory& w) { w.mainComponent().textButtonReset->triggerClick(); } },
        { "next",    [] (WindowHistory& w) { w.mainComponent().textButtonProgramNext->triggerClick(); } },
        { "previous", [] (WindowHistory& w) { w.mainComponent().textButtonProgramPrevious->triggerClick(); } },
        { "browser row", [] (WindowHistory& w) { w.browser().getTableListBox().selectRow (2); } },
        { "Apply changes", [] (WindowHistory& w)
            {
                w.browser().textEditorName->setText ("Renamed");
                w.browser().textEditorMode->setText ("Wide");
                w.browser().textButtonApplyChanges->triggerClick();
            } },
        { "import", [] (WindowHistory& w)
            {
                const auto file = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("undo-import.quenby");
                w.programs().exportPrograms ({ w.database().getProgram (0), w.database().getProgram (2) }, file);
                w.mainComponent().importPrograms (file);
                file.deleteFile();
            } },
    };

    struct EveryStep : WindowHistory, ::testing::WithParamInterface<StepCase> {};
}

// Each kind of step is one step: Ctrl+Z takes it back whole, Ctrl+Shift+Z and Ctrl+Y redo it,
// and the buttons follow.
TEST_P (EveryStep, IsTakenBackWholeAndRedoneByKeysAndButtons)
{
    const auto before = describeState();
    EXPECT_FALSE (mainComponent().textButtonUndo->isEnabled());

    GetParam().step (*this);
    pumpMessages();
    const auto after = describeState();
    ASSERT_NE (after, before);
    EXPECT_TRUE (mainComponent().textButtonUndo->isEnabled());

    undoKey();
    EXPECT_EQ (describeState(), before);
    EXPECT_FALSE (mainComponent().textButtonUndo->isEnabled());
    EXPECT_TRUE (mainComponent().textButtonRedo->isEnabled());

    redoKey();
    EXPECT_EQ (describeState(), after);

    mainComponent().textButtonUndo->triggerClick();
    pumpMessages();
    EXPECT_EQ (describeState(), before);

    redoKeyY();
    EXPECT_EQ (describeState(), after);

    // The window shows what the program manager made current (marked as differing from the
    // program file, which the set-up never wrote).
    EXPECT_EQ (display().labelProgram->getText(), "Program  : " + current().getName() + " *");
    EXPECT_EQ (browser().getSelectedPrograms(), juce::Array<PluginProgram*> { &current() });
}

INSTANTIATE_TEST_SUITE_P (Steps, EveryStep, ::testing::ValuesIn (stepCases),
                          [] (const auto& info) { return juce::String (info.param.what).retainCharacters ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ").toStdString(); });

// The host's automation and state restores are not steps; undo passes over them and takes
// back only the window's own changes, in the programs it made them in.
TEST_F (WindowHistory, HostChangesAreNotStepsAndLeaveTheStepsIntact)
{
    processor->getHostParameter (ParameterIndex::Osc1Gain)->setFromEditor (0.9f);
    auto* edited = &current();
    processor->setParameter (ParameterIndex::Filter1Cutoff, 0.7f);

    juce::MemoryBlock chunk;
    {
        PluginProgram restored;
        restored.setName ("From the project");
        juce::XmlElement element ("VELMORA_SETTINGS");
        PluginDatabase::writeProgramAttributes (restored, element);
        juce::AudioProcessor::copyXmlToBinary (element, chunk);
    }
    processor->setStateInformation (chunk.getData(), (int) chunk.getSize());
    mainComponent().timerCallback();
    ASSERT_EQ (current().getName(), "From the project");

    undoKey();
    EXPECT_EQ (edited->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.2f);
    EXPECT_EQ (edited->getParameter (ParameterIndex::Filter1Cutoff)->getValue(), 0.7f);
    EXPECT_EQ (current().getName(), "From the project");
    EXPECT_FALSE (programs().getHistory().canUndo());
    EXPECT_EQ (database().getNumPrograms(), 4);
}

// Undo after Delete brings the program back with its identifier at its place; the history
// keeps at least the last hundred steps.
TEST_F (WindowHistory, DeleteComesBackWithItsIdentifierAndAHundredStepsAreKept)
{
    const auto id = current().getId();
    mainComponent().textButtonDelete->triggerClick();
    pumpMessages();
    ASSERT_EQ (database().findProgram (id), nullptr);
    undoKey();
    EXPECT_EQ (database().getProgram (1)->getId(), id);
    EXPECT_EQ (&current(), database().getProgram (1));

    auto* knob = processor->getHostParameter (ParameterIndex::Osc1Gain);

    for (int step = 1; step <= ProgramManager::minimumSteps + 20; ++step)
        knob->setFromEditor ((float) step / 1000.0f);

    for (int step = 0; step < ProgramManager::minimumSteps; ++step)
        undoKey();

    EXPECT_EQ (parameter (ParameterIndex::Osc1Gain), 0.02f);
}

// After Delete the fields show the program now selected, and "Apply changes" renames only it.
TEST_F (WindowHistory, AfterDeleteTheFieldsShowTheSelectedProgramAndApplyRenamesOnlyIt)
{
    const auto deletedId = current().getId();
    mainComponent().textButtonDelete->triggerClick();
    pumpMessages();
    ASSERT_EQ (current().getName(), "P2");
    EXPECT_EQ (browser().textEditorName->getText(), "P2");

    browser().textEditorBank->setText ("Mine");
    browser().textButtonApplyChanges->triggerClick();
    pumpMessages();

    EXPECT_EQ (current().getName(), "P2");
    EXPECT_EQ (current().getBank(), "Mine");
    EXPECT_EQ (database().getProgram (0)->getName(), "P0");
    EXPECT_EQ (database().getNumPrograms(), 2);
    EXPECT_EQ (database().findProgram (deletedId), nullptr);
}

// Text typed and not applied goes into its program when another row is chosen.
TEST_F (WindowHistory, TextTypedAndNotAppliedIsAppliedWhenAnotherRowIsChosen)
{
    browser().textEditorName->setText ("Typed");
    browser().getTableListBox().selectRow (0);

    EXPECT_EQ (database().getProgram (1)->getName(), "Typed");
    EXPECT_EQ (&current(), database().getProgram (0));
    EXPECT_EQ (browser().textEditorName->getText(), "P0");
}

// Import adds after the list: colliding identifiers get fresh ones and nothing is
// replaced; an unreadable file changes nothing and the display says why.
TEST_F (WindowHistory, ImportAddsWithFreshIdentifiersWhereTakenAndRefusesAnUnreadableFile)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory);
    const auto exported = folder.getChildFile ("two.quenby");
    const auto original = describeState();
    ASSERT_EQ (programs().exportPrograms ({ database().getProgram (0), database().getProgram (2) }, exported), "");

    mainComponent().importPrograms (exported);

    ASSERT_EQ (database().getNumPrograms(), 5);
    EXPECT_TRUE (describeState().replace ("*", "").startsWith (original.replace ("*", "")));
    EXPECT_EQ (database().getProgram (3)->getName(), "P0");
    EXPECT_EQ (database().getProgram (4)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.3f);
    EXPECT_NE (database().getProgram (3)->getId(), database().getProgram (0)->getId());
    EXPECT_NE (database().getProgram (4)->getId(), database().getProgram (2)->getId());
    EXPECT_EQ (&current(), database().getProgram (3));
    EXPECT_EQ (display().labelParameter->getText(), "Imported 2 from two.quenby");

    const auto garbage = folder.getChildFile ("garbage.quenby");
    ASSERT_TRUE (garbage.replaceWithText ("not a program"));
    const auto beforeGarbage = describeState();
    mainComponent().importPrograms (garbage);

    EXPECT_EQ (describeState(), beforeGarbage);
    EXPECT_EQ (display().labelParameter->getText(), "Not imported: garbage.quenby is not XML");

    exported.deleteFile();
    garbage.deleteFile();
}
