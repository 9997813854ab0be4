#include "EditorFixture.h"
#include "Components/EventLock.h"
#include "Model/ParameterTable.h"

using namespace testing_helpers;

namespace
{
    // The browser page showing the programs "P0", "P1", ..., each with its position as its
    // wave type, the one at currentIndex current and a note sounding.
    struct BrowserPage : EditorFixture
    {
        PluginDatabase& database()           { return *processor->state->database; }
        PluginProgram& current()             { return *processor->state->getCurrentProgram(); }
        BrowserPageComponent& page()         { return *mainComponent().browserPageComponent; }
        juce::TableListBox& table()          { return page().getTableListBox(); }

        void usePrograms (int count, int currentIndex)
        {
            while (database().getNumPrograms() < count)
                database().createProgram();

            for (int i = 0; i < count; ++i)
            {
                database().getProgram (i)->setName ("P" + juce::String (i));
                database().getProgram (i)->getParameter (ParameterIndex::Osc1WaveType)->setValue ((float) i);
            }

            processor->switchToProgram (database().getProgram (currentIndex));
            processor->getProgramManager().noteListChanged();
            mainComponent().showPage (1);
            mainComponent().updateAll();

            juce::MidiBuffer midi;
            midi.addEvent (juce::MidiMessage::noteOn (1, 60, 1.0f), 0);
            renderBlock (midi);
        }

        void clickRow (int row, juce::ModifierKeys mods = {})
        {
            auto* rowComponent = table().getComponentForRowNumber (row);
            ASSERT_NE (rowComponent, nullptr);
            press (*rowComponent, centreOf (*rowComponent), mods);
            release (*rowComponent, centreOf (*rowComponent), centreOf (*rowComponent));
            pumpMessages();
        }

        // One cell as the table paints it, on a transparent image.
        juce::Image paintedCell (int row, int columnId)
        {
            juce::Image image (juce::Image::ARGB, table().getHeader().getColumnWidth (columnId), table().getRowHeight(), true);
            juce::Graphics g (image);
            const bool selected = table().isRowSelected (row);

            if (row < page().getNumRows())
                page().paintRowBackground (g, row, image.getWidth(), image.getHeight(), selected);

            page().paintCell (g, row, columnId, image.getWidth(), image.getHeight(), selected);
            return image;
        }

        static int countPixels (const juce::Image& image, juce::Colour colour)
        {
            int count = 0;

            for (int y = 0; y < image.getHeight(); ++y)
                for (int x = 0; x < image.getWidth(); ++x)
                    count += image.getPixelAt (x, y) == colour ? 1 : 0;

            return count;
        }

        static bool allPixelsAre (const juce::Image& image, juce::Colour colour)
        {
            return countPixels (image, colour) == image.getWidth() * image.getHeight();
        }

        static juce::String textsOf (const PluginProgram& program)
        {
            return juce::StringArray { program.getName(), program.getBank(), program.getCategory(),
                                       program.getSubType(), program.getMode() }.joinIntoString ("|");
        }
    };
}

TEST_F (BrowserPage, AClickOrAnArrowKeyPlaysTheRowsProgramWithoutStoppingNotesTheSameRowAgainReloadsNothing)
{
    usePrograms (3, 0);

    clickRow (2);
    EXPECT_EQ (&current(), database().getProgram (2));
    EXPECT_EQ (synth().settings.Osc1WaveType, 2);
    EXPECT_GT (processor->getNumSoundingVoices(), 0);
    EXPECT_EQ (display().labelProgram->getText(), "Program  : P2 *");   // not in the file
    EXPECT_EQ (page().textEditorName->getText(), "P2");

    // Unapplied text stays while the same row is clicked again, with or without a modifier.
    page().textEditorName->setText ("typed");
    clickRow (2);
    clickRow (2, juce::ModifierKeys::commandModifier);
    EXPECT_EQ (table().getSelectedRow(), 2);
    EXPECT_EQ (page().textEditorName->getText(), "typed");

    table().keyPressed (juce::KeyPress (juce::KeyPress::upKey));
    EXPECT_EQ (&current(), database().getProgram (1));
    EXPECT_EQ (synth().settings.Osc1WaveType, 1);
    EXPECT_EQ (page().textEditorName->getText(), "P1");
}

// The search and the sort are views: the list keeps its order, the current program stays.
TEST_F (BrowserPage, SearchFiltersByWordsInAnyOrderHeaderClicksSortAndNeitherTouchesTheList)
{
    usePrograms (4, 0);
    const char* const texts[][5] = {
        { "Warm Pad",  "User",    "Pads",  "Soft", "Poly" },
        { "Bass 10",   "Factory", "Bass",  "Sub",  "Mono" },
        { "bass 9",    "User",    "Bass",  "Sub",  "Mono" },
        { "Pad Two",   "Factory", "Pads",  "Wide", "Poly" },
    };

    for (int i = 0; i < 4; ++i)
        database().getProgram (i)->setTexts ({ { texts[i][0], texts[i][1], texts[i][2], texts[i][3], texts[i][4] } });

    processor->getProgramManager().noteListChanged();
    mainComponent().updateAll();

    const auto shownNames = [this]
    {
        juce::StringArray names;

        for (int row = 0; row < table().getNumRows(); ++row)
            names.add (page().getProgramInRow (row)->getName());

        return names.joinIntoString ("|");
    };

    struct Search { const char* text; const char* rows; };

    for (const auto& [text, rows] : { Search { "pad", "Warm Pad|Pad Two" }, Search { "SUB user", "bass 9" },
                                      Search { "poly  two ", "Pad Two" }, Search { "mono factory bass", "Bass 10" },
                                      Search { "lead", "" }, Search { "", "Warm Pad|Bass 10|bass 9|Pad Two" } })
    {
        page().textEditorSearch->setText (text, true);
        pumpMessages();
        EXPECT_EQ (shownNames(), rows) << text;
    }

    // Clicks on column titles as the header's mouse handler passes them on (finding the
    // column under the mouse needs a window on a display): Name ascending, then descending
    // (numbers in their natural order, letter case aside), then Bank, ties in list order.
    struct Sort { int column; const char* order; };
    auto& header = table().getHeader();

    for (const auto& [column, order] : { Sort { 1, "bass 9|Bass 10|Pad Two|Warm Pad" }, Sort { 1, "Warm Pad|Pad Two|Bass 10|bass 9" },
                                         Sort { 2, "Bass 10|Pad Two|Warm Pad|bass 9" } })
    {
        header.columnClicked (column, {});
        pumpMessages();
        EXPECT_EQ (shownNames(), order) << column;
    }

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (database().getProgram (i)->getName(), texts[i][0]);

    // Selecting by code under an EventLock moves only the table; the current program's row
    // is selected again by the next refresh, wherever the sort put it.
    {
        const EventLock lock;
        table().selectRow (0);
    }
    EXPECT_EQ (&current(), database().getProgram (0));
    mainComponent().updateAll();
    EXPECT_EQ (table().getSelectedRow(), 2);
    EXPECT_EQ (page().getSelectedPrograms(), juce::Array<PluginProgram*> { database().getProgram (0) });
}

// Leading and trailing blanks and an empty name are kept; Return in any field applies.
TEST_F (BrowserPage, ApplyChangesKeepsTheTextsAsTypedInTheRowTheDisplayAndAfterSaveTheFile)
{
    usePrograms (2, 1);
    const juce::StringArray typed { "", "  User", " Pads ", "Warm", "Poly  " };
    auto& p = page();
    juce::TextEditor* fields[] = { p.textEditorName.get(), p.textEditorBank.get(), p.textEditorCategory.get(),
                                   p.textEditorSubType.get(), p.textEditorMode.get() };

    for (int i = 0; i < typed.size(); ++i)
        fields[i]->setText (typed[i]);

    const auto namedCell = paintedCell (1, 1);
    p.textEditorMode->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    pumpMessages();

    EXPECT_EQ (textsOf (current()), typed.joinIntoString ("|"));
    EXPECT_EQ (display().labelProgram->getText(), "Program  :  *");
    EXPECT_EQ (display().labelBank->getText(), "Bank     :   User");

    // The selected row is inverted: dark letters on the light highlight, none once the name is empty.
    const auto dark = Skin::getDisplayBackgroundColour();
    EXPECT_GT (countPixels (namedCell, dark), 0);
    EXPECT_EQ (countPixels (paintedCell (1, 1), dark), 0);
    EXPECT_GT (countPixels (paintedCell (0, 1), Skin::getDisplayTextColour()), 0);

    const auto id = current().getId();
    mainComponent().textButtonSave->triggerClick();
    pumpMessages();
    QuenbyAudioProcessor reloaded;
    ASSERT_NE (reloaded.state->database->findProgram (id), nullptr);
    EXPECT_EQ (textsOf (*reloaded.state->database->findProgram (id)), typed.joinIntoString ("|"));
}

TEST_F (BrowserPage, AnEmptyDatabaseShowsNoRowsCellsPastTheListDrawNothingAndTheTableHasItsShadowEdge)
{
    usePrograms (2, 0);
    EXPECT_TRUE (allPixelsAre (paintedCell (2, 1), juce::Colours::transparentBlack));

    const auto image = snapshot (page());
    const auto tableBounds = table().getBounds();
    EXPECT_EQ (image.getPixelAt (tableBounds.getCentreX(), tableBounds.getY() - 1), juce::Colours::black);
    EXPECT_EQ (image.getPixelAt (tableBounds.getRight(), tableBounds.getCentreY()), juce::Colours::black);

    // The removed programs stay alive until a new one is current.
    std::vector<std::unique_ptr<PluginProgram>> removed;
    while (database().getNumPrograms() > 0)
        removed.push_back (database().removeProgram (0));

    processor->getProgramManager().noteListChanged();
    mainComponent().updateAll();
    EXPECT_EQ (table().getNumRows(), 0);

    // Between the header and the horizontal scroll bar (the columns are wider than the
    // table), only the list's background.
    const auto rowArea = table().getLocalBounds().withTrimmedTop (table().getHeaderHeight())
                                                 .withTrimmedBottom (table().getViewport()->getScrollBarThickness());
    EXPECT_TRUE (allPixelsAre (snapshot (table()).getClippedImage (rowArea), Skin::getDisplayBackgroundColour()));

    processor->switchToProgram (database().createProgram());
}

// "Restore factory programs" puts the bank back after the list and says so; the program
// played stays.
TEST_F (BrowserPage, RestoreFactoryProgramsAddsTheBankAfterTheListAndKeepsThePlayedProgram)
{
    usePrograms (2, 1);
    page().textButtonRestoreFactory->triggerClick();
    pumpMessages();

    const auto& bank = FactoryBank::getPrograms();
    ASSERT_EQ (database().getNumPrograms(), 2 + bank.size());
    EXPECT_EQ (database().getProgram (2)->getId(), bank[0]->getId());
    EXPECT_EQ (&current(), database().getProgram (1));
    EXPECT_EQ (table().getNumRows(), 2 + bank.size());
    EXPECT_TRUE (display().labelParameter->getText().contains ("Restored " + juce::String (bank.size()))) << display().labelParameter->getText();
}
