#include "Components/BrowserPageComponent.h"
#include "Components/EventLock.h"
#include "Components/MainComponent.h"
#include "Components/PluginEditor.h"
#include "Components/Skin.h"

namespace
{
    std::unique_ptr<juce::Label> makeLabel (const char* name, const char* text)
    {
        auto label = std::make_unique<juce::Label> (name, text);
        label->setFont (juce::Font (13.0f, juce::Font::plain));
        label->setJustificationType (juce::Justification::centredLeft);
        label->setEditable (false, false, false);
        return label;
    }

    // Single line: Return neither starts a new line nor applies the texts.
    std::unique_ptr<juce::TextEditor> makeTextEditor (const char* name)
    {
        auto textEditor = std::make_unique<juce::TextEditor> (name);
        textEditor->setMultiLine (false, false);
        textEditor->setReturnKeyStartsNewLine (false);
        textEditor->setReadOnly (false);
        textEditor->setScrollbarsShown (false);
        textEditor->setCaretVisible (true);
        textEditor->setPopupMenuEnabled (true);
        return textEditor;
    }

    struct Column
    {
        int id;
        const char* title;
        int width;
        int flags;
    };

    // The IDs are the columns of PluginProgram::getColumnText. The Name column has ID 0,
    // the header's "no column": it can never become the sort column. JUCE asserts on that
    // ID in debug builds only.
    constexpr int minimumColumnWidth = 50, maximumColumnWidth = 400;

    const Column columns[] = {
        { 0, "Name",     240, juce::TableHeaderComponent::resizable },
        { 1, "Bank",     140, juce::TableHeaderComponent::defaultFlags },
        { 2, "Category", 140, juce::TableHeaderComponent::defaultFlags },
        { 3, "SubType",  140, juce::TableHeaderComponent::defaultFlags },
        { 4, "Mode",     140, juce::TableHeaderComponent::defaultFlags },
    };
}

BrowserPageComponent::BrowserPageComponent (QuenbyAudioProcessorEditor* editorToUse)
    : editor (editorToUse)
{
    groupComponentMain = std::make_unique<juce::GroupComponent> ("groupComponentMain", "Browser");
    tableListBox = std::make_unique<juce::TableListBox>();
    tableListBox->setName ("tableListBox");
    labelName = makeLabel ("labelName", "Name");
    labelCategory = makeLabel ("labelCategory", "Category");
    labelSubType = makeLabel ("labelSubType", "SubType");
    labelMode = makeLabel ("labelMode", "Mode");
    textEditorName = makeTextEditor ("textEditorName");
    textEditorCategory = makeTextEditor ("textEditorCategory");
    textEditorSubType = makeTextEditor ("textEditorSubType");
    textEditorMode = makeTextEditor ("textEditorMode");
    textButtonApplyChanges = std::make_unique<juce::TextButton> ("textButtonApplyChanges");
    textButtonApplyChanges->setButtonText ("Apply changes");
    textButtonApplyChanges->addListener (this);
    labelBank = makeLabel ("labelBank", "Bank");
    textEditorBank = makeTextEditor ("textEditorBank");

    for (auto* child : std::initializer_list<juce::Component*> {
             groupComponentMain.get(), tableListBox.get(), labelName.get(), labelCategory.get(), labelSubType.get(),
             labelMode.get(), textEditorName.get(), textEditorCategory.get(), textEditorSubType.get(),
             textEditorMode.get(), textButtonApplyChanges.get(), labelBank.get(), textEditorBank.get() })
        addAndMakeVisible (child);

    tableListBox->setModel (this);
    addColumns();
    tableListBox->setMultipleSelectionEnabled (false);
    tableListBox->setColour (juce::ListBox::outlineColourId, juce::Colours::white);
    tableListBox->setColour (juce::ListBox::backgroundColourId, Skin::getDisplayBackgroundColour());
    tableListBox->setRowHeight (rowHeight);

    // What each field does; the page's background, frame and labels pass a click on to the
    // window's menu.
    const std::pair<juce::SettableTooltipClient*, const char*> tooltips[] = {
        { tableListBox.get(),           "Every program of the program file: click one to play it" },
        { textEditorName.get(),         "The program's name, as the list and the display show it" },
        { textEditorBank.get(),         "The program's bank: a group of programs it belongs to" },
        { textEditorCategory.get(),     "The program's category, such as Bass, Lead or Pad" },
        { textEditorSubType.get(),      "A finer kind of sound within the category" },
        { textEditorMode.get(),         "How the program is meant to be played, such as Poly or Mono" },
        { textButtonApplyChanges.get(), "Apply changes: gives the program the texts typed above" },
    };

    for (const auto& [client, tooltip] : tooltips)
        client->setTooltip (tooltip);

    setInterceptsMouseClicks (false, true);

    for (auto* background : std::initializer_list<juce::Component*> { groupComponentMain.get(), labelName.get(), labelBank.get(),
                                                                       labelCategory.get(), labelSubType.get(), labelMode.get() })
        background->setInterceptsMouseClicks (false, false);
}

BrowserPageComponent::~BrowserPageComponent() = default;

void BrowserPageComponent::addColumns()
{
    auto& header = tableListBox->getHeader();

    for (const auto& column : columns)
        header.addColumn (column.title, column.id, column.width, minimumColumnWidth, maximumColumnWidth, column.flags);

    // Added without the visible flag, the Name column is shown here.
    header.setColumnVisible (columns[0].id, true);
}

void BrowserPageComponent::resized()
{
    const std::pair<juce::Component*, juce::Rectangle<int>> layout[] = {
        { groupComponentMain.get(),      {   0,  0, 800, 443 } },
        { tableListBox.get(),            {  16, 96, 768, 336 } },
        { labelName.get(),               {  16, 24,  64,  24 } },
        { labelCategory.get(),           { 520, 24,  64,  24 } },
        { labelSubType.get(),            {  16, 56,  64,  24 } },
        { labelMode.get(),               { 264, 56,  64,  24 } },
        { textEditorName.get(),          {  80, 24, 176,  24 } },
        { textEditorCategory.get(),      { 584, 24, 176,  24 } },
        { textEditorSubType.get(),       {  80, 56, 176,  24 } },
        { textEditorMode.get(),          { 328, 56, 176,  24 } },
        { textButtonApplyChanges.get(),  { 584, 56, 176,  24 } },
        { labelBank.get(),               { 264, 24,  64,  24 } },
        { textEditorBank.get(),          { 328, 24, 176,  24 } },
    };

    for (const auto& [child, bounds] : layout)
        child->setBounds (bounds);
}

// A shadow edge along the top and the right of the table.
void BrowserPageComponent::paint (juce::Graphics& g)
{
    g.fillAll (Skin::getPageBackgroundColour());

    const auto table = tableListBox->getBounds().toFloat();
    g.setColour (Skin::getDisplayBackgroundColour());
    g.fillRect (table);

    g.setColour (juce::Colours::black);
    g.drawLine (table.getX(), table.getY() - 1.0f, table.getRight(), table.getY() - 1.0f, 2.0f);
    g.drawLine (table.getRight(), table.getY() - 2.0f, table.getRight(), table.getBottom(), 3.0f);
}

int BrowserPageComponent::getNumRows()
{
    auto& processor = editor->getProcessor();
    const juce::ScopedLock lock (processor.getCallbackLock());
    return processor.state->database->getNumPrograms();
}

void BrowserPageComponent::paintRowBackground (juce::Graphics& g, int, int, int, bool rowIsSelected)
{
    g.fillAll (Skin::getDisplayBackgroundColour());

    if (rowIsSelected)
        g.fillAll (Skin::getDisplayTextColour());
}

void BrowserPageComponent::paintCell (juce::Graphics& g, int row, int columnId, int width, int height, bool)
{
    juce::String text;
    {
        auto& processor = editor->getProcessor();
        const juce::ScopedLock lock (processor.getCallbackLock());
        const auto* program = processor.state->database->getProgram (row);

        if (program == nullptr)
            return;

        text = program->getColumnText (columnId);
    }

    // The selected row is drawn inverted: dark text on the light highlight.
    g.setColour (row == tableListBox->getSelectedRow() ? Skin::getDisplayBackgroundColour() : Skin::getDisplayTextColour());
    g.setFont (Skin::getDisplayFont());
    g.drawText (text, 2, 0, width - 4, height, juce::Justification::centredLeft, true);

    g.setColour (juce::Colours::black.withAlpha (0.2f));
    g.fillRect (width - 1, 0, 1, height);
}

void BrowserPageComponent::selectedRowsChanged (int lastRowSelected)
{
    if (! EventLock::eventsEnabled)
        return;

    // A row outside the list keeps the current program. Notes keep sounding.
    auto& processor = editor->getProcessor();
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        processor.switchToProgram (processor.state->database->getProgram (lastRowSelected));
    }

    editor->getMainComponent().updateAll();
    updateTextEditors();
}

void BrowserPageComponent::buttonClicked (juce::Button* button)
{
    if (button != textButtonApplyChanges.get())
        return;

    auto& processor = editor->getProcessor();
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        auto* program = processor.state->getCurrentProgram();

        if (program == nullptr)
            return;

        program->setName (textEditorName->getText());
        program->setBank (textEditorBank->getText());
        program->setCategory (textEditorCategory->getText());
        program->setSubType (textEditorSubType->getText());
        program->setMode (textEditorMode->getText());
    }

    editor->getMainComponent().displayComponent->updateLabels();
    repaint();
}

void BrowserPageComponent::updateTextEditors()
{
    auto& processor = editor->getProcessor();
    juce::String name, bank, category, subType, mode;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        const auto* program = processor.state->getCurrentProgram();

        if (program == nullptr)
            return;

        name = program->getName();
        bank = program->getBank();
        category = program->getCategory();
        subType = program->getSubType();
        mode = program->getMode();
    }

    textEditorName->setText (name, true);
    textEditorBank->setText (bank, true);
    textEditorCategory->setText (category, true);
    textEditorSubType->setText (subType, true);
    textEditorMode->setText (mode, true);
}
