#include "EditorFixture.h"
#include "Components/EventLock.h"
#include "Model/ParameterTable.h"

#include <thread>

using namespace testing_helpers;

namespace
{
    using Button = std::unique_ptr<juce::TextButton> MainComponent::*;

    // The database holds the programs "P0", "P1", ... and the one at current is current,
    // with a note sounding.
    struct WindowWithPrograms : EditorFixture
    {
        PluginDatabase& database()       { return *processor->state->database; }
        PluginProgram& current()         { return *processor->state->getCurrentProgram(); }

        void usePrograms (int count, int currentIndex)
        {
            while (database().getNumPrograms() < count)
                database().createProgram();

            for (int i = 0; i < count; ++i)
                database().getProgram (i)->setName ("P" + juce::String (i));

            processor->switchToProgram (database().getProgram (currentIndex));
            processor->getProgramManager().noteListChanged();
            mainComponent().updateAll();

            juce::MidiBuffer midi;
            midi.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
            renderBlock (midi);
        }

        void click (Button button)
        {
            (mainComponent().*button)->triggerClick();
            pumpMessages();
        }

        int soundingVoices()             { return processor->getNumSoundingVoices(); }
    };

    struct StepCase
    {
        const char* what;
        Button button;
        int programs, current;
        const char* expectedCurrent;
        int expectedPrograms;
    };

    const StepCase stepCases[] = {
        { "Delete on the first program",    &MainComponent::textButtonDelete,            3, 0, "P0", 3 },
        { "Delete of the only program",     &MainComponent::textButtonDelete,            1, 0, "P0", 1 },
        { "Delete on the last of three",    &MainComponent::textButtonDelete,            3, 2, "P1", 2 },
        { "Delete on the second of three",  &MainComponent::textButtonDelete,            3, 1, "P2", 2 },
        { "Next on the last",               &MainComponent::textButtonProgramNext,       3, 2, "P2", 3 },
        { "Next on the first",              &MainComponent::textButtonProgramNext,       3, 0, "P1", 3 },
        { "Previous on the first",          &MainComponent::textButtonProgramPrevious,   3, 0, "P0", 3 },
        { "Previous on the last",           &MainComponent::textButtonProgramPrevious,   3, 2, "P1", 3 },
        { "Panic",                          &MainComponent::textButtonPanic,             3, 1, "P1", 3 },
    };

    struct ProgramSteps : WindowWithPrograms, ::testing::WithParamInterface<StepCase> {};
}

TEST_P (ProgramSteps, SelectTheExpectedProgramAndStopEveryNote)
{
    const auto& step = GetParam();
    usePrograms (step.programs, step.current);
    ASSERT_GT (soundingVoices(), 0);

    click (step.button);

    EXPECT_EQ (database().getNumPrograms(), step.expectedPrograms);
    EXPECT_EQ (current().getName(), step.expectedCurrent);
    EXPECT_EQ (soundingVoices(), 0);

    // The window follows: the display (marking the program, which is not in the file) and
    // the table's selection.
    EXPECT_EQ (display().labelProgram->getText(), juce::String ("Program  : ") + step.expectedCurrent + " *");
    EXPECT_EQ (mainComponent().browserPageComponent->getTableListBox().getSelectedRow(), processor->state->getCurrentProgramIndex());
}

INSTANTIATE_TEST_SUITE_P (Buttons, ProgramSteps, ::testing::ValuesIn (stepCases),
                          [] (const auto& info) { return juce::String (info.param.what).retainCharacters ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ").toStdString(); });

using ProgramOperations = WindowWithPrograms;

TEST_F (ProgramOperations, CopyAppendsCopyOfWithItsOwnIdentifierAndBothSoundsSurviveSaveAndReload)
{
    usePrograms (2, 1);
    current().setName ("Pad");
    processor->getEditPath().set (ParameterIndex::Osc1Gain, 0.3f, ParameterEditPath::Writer::editor);
    const auto padId = current().getId();

    click (&MainComponent::textButtonCopy);

    ASSERT_EQ (database().getNumPrograms(), 3);
    EXPECT_EQ (&current(), database().getProgram (2));
    EXPECT_EQ (current().getName(), "Copy of Pad");
    EXPECT_NE (current().getId(), padId);
    EXPECT_EQ (parameter (ParameterIndex::Osc1Gain), 0.3f);

    processor->getEditPath().set (ParameterIndex::Osc1Gain, 0.9f, ParameterEditPath::Writer::editor);
    const auto copyId = current().getId();
    click (&MainComponent::textButtonSave);

    QuenbyAudioProcessor reloaded;
    const auto& file = *reloaded.state->database;
    ASSERT_NE (file.findProgram (padId), nullptr);
    ASSERT_NE (file.findProgram (copyId), nullptr);
    EXPECT_EQ (file.findProgram (padId)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.3f);
    EXPECT_EQ (file.findProgram (copyId)->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.9f);
    EXPECT_EQ (file.findProgram (copyId)->getName(), "Copy of Pad");
}

TEST_F (ProgramOperations, ResetRestoresEveryDefaultInPlaceAndNewAppendsANewProgramInBankUser)
{
    usePrograms (3, 1);
    current().setName ("Pad");
    current().setBank ("User");

    for (int index = 0; index < ParameterIndex::count; ++index)
        processor->getEditPath().set (index, ParameterTable::get (index).defaultValue + 0.5f, ParameterEditPath::Writer::editor);

    click (&MainComponent::textButtonReset);

    EXPECT_EQ (processor->state->getCurrentProgramIndex(), 1);
    EXPECT_EQ (current().getName(), "Pad");
    EXPECT_EQ (current().getBank(), "User");
    EXPECT_EQ (soundingVoices(), 0);

    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_EQ (parameter (index), ParameterTable::get (index).defaultValue) << ParameterTable::get (index).name;

    click (&MainComponent::textButtonNew);

    ASSERT_EQ (database().getNumPrograms(), 4);
    EXPECT_EQ (&current(), database().getProgram (3));
    EXPECT_EQ (current().getName(), "New Program");
    EXPECT_EQ (current().getBank(), "User");
}

TEST_F (ProgramOperations, PageButtonsShowTheEditOrTheBrowserPageTheOthersStayHiddenClicksUnderAnEventLockAreDropped)
{
    auto& main = mainComponent();
    {
        const EventLock lock;
        main.buttonClicked (main.textButtonBrowser.get());
        main.buttonClicked (main.textButtonNew.get());
    }

    EXPECT_TRUE (main.editPageComponent->isVisible());
    EXPECT_EQ (processor->state->database->getNumPrograms(), 1);

    const std::pair<Button, juce::Component*> clicks[] = {
        { &MainComponent::textButtonBrowser, main.browserPageComponent.get() },
        { &MainComponent::textButtonEdit,    main.editPageComponent.get() },
    };

    for (const auto& [button, shownPage] : clicks)
    {
        click (button);

        for (auto* page : std::initializer_list<juce::Component*> { main.editPageComponent.get(), main.browserPageComponent.get(),
                                                                    main.wavePageComponent.get(), main.sequencePageComponent.get() })
        {
            EXPECT_EQ (page->isVisible(), page == shownPage) << page->getName();
            EXPECT_EQ (page->getBounds(), juce::Rectangle<int> (8, 69, 800, 443)) << page->getName();
        }
    }

    EXPECT_EQ (main.wavePageComponent->groupComponentMain->getText(), "Waves");
    EXPECT_EQ (main.sequencePageComponent->groupComponentMain->getText(), "Sequence");
}

// Hosts deliver automation and restores on their own threads: the window changes nothing
// there and shows the change at its next tick.
TEST_F (ProgramOperations, HostChangesAndStateRestoresShowAtTheNextTimerTick)
{
    usePrograms (2, 1);
    const juce::ScopedValueSetter<int> hovered (DisplayComponent::hoveredParameter, ParameterIndex::Osc1Gain);
    auto& browser = *mainComponent().browserPageComponent;
    mainComponent().timerCallback();
    const auto before = display().labelParameter->getText();

    std::thread ([this] { processor->getParameters()[ParameterIndex::Osc1Gain]->setValueNotifyingHost (0.25f); }).join();
    EXPECT_EQ (display().labelParameter->getText(), before);
    mainComponent().timerCallback();
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: Osc 1 Gain  Value: 50 %");

    // The same program with other texts, then a program the database does not know.
    const auto chunkOf = [] (const juce::String& id, const juce::String& name)
    {
        PluginProgram program;
        program.setId (id);
        program.setName (name);
        program.setMode ("Wide");
        juce::XmlElement element ("VELMORA_SETTINGS");
        PluginDatabase::writeProgramAttributes (program, element);
        juce::MemoryBlock chunk;
        juce::AudioProcessor::copyXmlToBinary (element, chunk);
        return chunk;
    };

    const auto restore = [&] (const juce::MemoryBlock& chunk)
    {
        std::thread ([&] { processor->setStateInformation (chunk.getData(), (int) chunk.getSize()); }).join();
        mainComponent().timerCallback();
    };

    restore (chunkOf (current().getId(), "Restored"));
    EXPECT_EQ (browser.textEditorName->getText(), "Restored");
    EXPECT_EQ (browser.textEditorMode->getText(), "Wide");
    EXPECT_EQ (display().labelProgram->getText(), "Program  : Restored *");

    restore (chunkOf ("from-another-machine", "Travelled"));
    EXPECT_EQ (browser.getTableListBox().getSelectedRow(), 2);
    EXPECT_EQ (browser.textEditorName->getText(), "Travelled");
}

TEST_F (ProgramOperations, ClosingTheWindowWritesTheFileThatAnotherInstancesWindowThenShows)
{
    QuenbyAudioProcessor other;                  // has read the file before the new program
    click (&MainComponent::textButtonNew);
    const auto id = current().getId();
    ASSERT_EQ (other.state->database->findProgram (id), nullptr);

    editor.reset();
    std::unique_ptr<juce::AudioProcessorEditor> otherEditor (other.createEditor());

    ASSERT_NE (other.state->database->findProgram (id), nullptr);
    EXPECT_EQ (other.state->database->findProgram (id)->getName(), "New Program");
}

TEST_F (ProgramOperations, TwoOpenWindowsKeepTheSkinUntilTheLastOneCloses)
{
    QuenbyAudioProcessor other;
    std::unique_ptr<juce::AudioProcessorEditor> otherEditor (other.createEditor());
    otherEditor.reset();

    const auto& look = mainComponent().getLookAndFeel();
    EXPECT_NE (dynamic_cast<const Skin*> (&look), nullptr);
    EXPECT_EQ (&look, &juce::LookAndFeel::getDefaultLookAndFeel());

    editor.reset();
    EXPECT_EQ (dynamic_cast<Skin*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
}

// "*" marks a program whose values or texts are not the file's; Save writes it, says so for
// a second and takes the mark away, and the next edit brings it back.
TEST_F (ProgramOperations, SaveSaysSavedForASecondAndTheMarkFollowsTheFile)
{
    usePrograms (2, 1);
    EXPECT_EQ (display().labelProgram->getText(), "Program  : P1 *");

    click (&MainComponent::textButtonSave);
    EXPECT_EQ (display().labelParameter->getText(), "Saved");
    EXPECT_EQ (display().labelProgram->getText(), "Program  : P1");

    processor->getEditPath().set (ParameterIndex::Filter1Cutoff, 0.7f, ParameterEditPath::Writer::editor);
    display().updateLabels();
    EXPECT_EQ (display().labelProgram->getText(), "Program  : P1 *");

    processor->getEditPath().set (ParameterIndex::Filter1Cutoff, ParameterTable::get (ParameterIndex::Filter1Cutoff).defaultValue,
                                  ParameterEditPath::Writer::editor);
    display().updateLabels();
    EXPECT_EQ (display().labelProgram->getText(), "Program  : P1");

    pumpMessages (1200);
    EXPECT_EQ (display().labelParameter->getText(), "Parameter: -----");

    // A window opened later compares with the file too (closing one saves the file).
    editor.reset();
    current().setName ("Renamed");
    editor.reset (dynamic_cast<QuenbyAudioProcessorEditor*> (processor->createEditor()));
    EXPECT_EQ (display().labelProgram->getText(), "Program  : Renamed *");
}
