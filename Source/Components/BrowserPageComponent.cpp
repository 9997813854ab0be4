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

    // Single line: Return applies instead of starting a new line.
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

    // The IDs are the columns of PluginProgram::getColumnText plus one: the header's 0
    // means no column, and every column, Name too, sorts.
    constexpr int minimumColumnWidth = 50, maximumColumnWidth = 400;

    const Column columns[] = {
        { 1, "Name",     240, juce::TableHeaderComponent::defaultFlags },
        { 2, "Bank",     140, juce::TableHeaderComponent::defaultFlags },
        { 3, "Category", 140, juce::TableHeaderComponent::defaultFlags },
        { 4, "SubType",  140, juce::TableHeaderComponent::defaultFlags },
        { 5, "Mode",     140, juce::TableHeaderComponent::defaultFlags },
    };

    std::unique_ptr<juce::TextButton> makeButton (const char* name, const juce::String& text, juce::Button::Listener* listener)
    {
        auto button = std::make_unique<juce::TextButton> (name);
        button->setButtonText (text);
        button->addListener (listener);
        return button;
    }

    ProgramManager& programsOf (QuenbyAudioProcessorEditor* editor)
    {
        return editor->getProcessor().getProgramManager();
    }
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
    textButtonApplyChanges = makeButton ("textButtonApplyChanges", "Apply changes", this);
    labelBank = makeLabel ("labelBank", "Bank");
    textEditorBank = makeTextEditor ("textEditorBank");
    labelSearch = makeLabel ("labelSearch", "Search");
    textEditorSearch = makeTextEditor ("textEditorSearch");
    textEditorSearch->setTextToShowWhenEmpty ("name, bank, category, subtype, mode", Skin::getHighlightColour().withAlpha (0.6f));
    textButtonImport = makeButton ("textButtonImport", juce::CharPointer_UTF8 ("Import\xe2\x80\xa6"), this);
    textButtonExport = makeButton ("textButtonExport", juce::CharPointer_UTF8 ("Export\xe2\x80\xa6"), this);
    textButtonRestoreFactory = makeButton ("textButtonRestoreFactory", "Restore factory programs", this);

    for (auto* child : std::initializer_list<juce::Component*> {
             groupComponentMain.get(), tableListBox.get(), labelName.get(), labelCategory.get(), labelSubType.get(),
             labelMode.get(), textEditorName.get(), textEditorCategory.get(), textEditorSubType.get(),
             textEditorMode.get(), textButtonApplyChanges.get(), labelBank.get(), textEditorBank.get(),
             labelSearch.get(), textEditorSearch.get(), textButtonImport.get(), textButtonExport.get(),
             textButtonRestoreFactory.get() })
        addAndMakeVisible (child);

    for (auto* field : getFields())
        field->addListener (this);

    textEditorSearch->addListener (this);

    tableListBox->setModel (this);
    addColumns();
    tableListBox->setMultipleSelectionEnabled (true);
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
        { textButtonRestoreFactory.get(), "Adds back the factory programs missing from the list; nothing else changes" },
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
}

void BrowserPageComponent::resized()
{
    const std::pair<juce::Component*, juce::Rectangle<int>> layout[] = {
        { groupComponentMain.get(),      {   0,   0, 800, 443 } },
        { tableListBox.get(),            {  16, 120, 768, 312 } },
        { labelName.get(),               {  16,  24,  64,  24 } },
        { labelCategory.get(),           { 520,  24,  64,  24 } },
        { labelSubType.get(),            {  16,  56,  64,  24 } },
        { labelMode.get(),               { 264,  56,  64,  24 } },
        { textEditorName.get(),          {  80,  24, 176,  24 } },
        { textEditorCategory.get(),      { 584,  24, 176,  24 } },
        { textEditorSubType.get(),       {  80,  56, 176,  24 } },
        { textEditorMode.get(),          { 328,  56, 176,  24 } },
        { textButtonApplyChanges.get(),  { 584,  56, 176,  24 } },
        { labelBank.get(),               { 264,  24,  64,  24 } },
        { textEditorBank.get(),          { 328,  24, 176,  24 } },
        { labelSearch.get(),             {  16,  88,  64,  24 } },
        { textEditorSearch.get(),        {  80,  88, 312,  24 } },
        { textButtonRestoreFactory.get(), { 400,  88, 176,  24 } },
        { textButtonImport.get(),        { 584,  88,  84,  24 } },
        { textButtonExport.get(),        { 676,  88,  84,  24 } },
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

std::array<juce::TextEditor*, PluginProgram::Texts::count> BrowserPageComponent::getFields() const
{
    return { textEditorName.get(), textEditorBank.get(), textEditorCategory.get(), textEditorSubType.get(), textEditorMode.get() };
}

// The rows follow the list whenever programs came, went or got new texts.
void BrowserPageComponent::refreshList()
{
    auto& programs = programsOf (editor);
    const auto revision = programs.getListRevision();

    if (viewFilled && revision == viewRevision)
        return;

    viewFilled = true;
    viewRevision = revision;
    std::vector<ProgramListView::Entry> entries;

    for (auto& [program, texts] : programs.listPrograms())
        entries.push_back ({ program, std::move (texts) });

    view.setEntries (std::move (entries));
    tableListBox->updateContent();
    tableListBox->repaint();
}

void BrowserPageComponent::selectCurrentRow()
{
    const auto row = view.findRow (programsOf (editor).getCurrentProgram());

    if (row < 0)
        tableListBox->deselectAllRows();
    else if (! tableListBox->isRowSelected (row))
        tableListBox->selectRow (row);
}

void BrowserPageComponent::showCurrentProgram()
{
    refreshList();
    selectCurrentRow();

    const auto* current = programsOf (editor).getCurrentProgram();
    const auto* entry = view.getRow (view.findRow (current));

    if (current != fieldsProgram || (entry != nullptr && entry->texts != fieldsTexts))
        updateTextEditors();
}

// The rows as of the last refresh: the main component's full refresh follows every change
// of the list, and a host's within a timer tick. A row's program is looked for in the list
// before anything is done with it.
int BrowserPageComponent::getNumRows()
{
    return view.getNumRows();
}

void BrowserPageComponent::paintRowBackground (juce::Graphics& g, int, int, int, bool rowIsSelected)
{
    g.fillAll (Skin::getDisplayBackgroundColour());

    if (rowIsSelected)
        g.fillAll (Skin::getDisplayTextColour());
}

void BrowserPageComponent::paintCell (juce::Graphics& g, int row, int columnId, int width, int height, bool rowIsSelected)
{
    const auto* entry = view.getRow (row);

    if (entry == nullptr || ! juce::isPositiveAndBelow (columnId - 1, PluginProgram::Texts::count))
        return;

    // Selected rows are drawn inverted: dark text on the light highlight.
    g.setColour (rowIsSelected ? Skin::getDisplayBackgroundColour() : Skin::getDisplayTextColour());
    g.setFont (Skin::getDisplayFont());
    g.drawText (entry->texts.text[columnId - 1], 2, 0, width - 4, height, juce::Justification::centredLeft, true);

    g.setColour (juce::Colours::black.withAlpha (0.2f));
    g.fillRect (width - 1, 0, 1, height);
}

void BrowserPageComponent::sortOrderChanged (int newSortColumnId, bool isForwards)
{
    view.setSort (newSortColumnId - 1, isForwards);
    tableListBox->updateContent();
    tableListBox->repaint();

    const EventLock eventLock;
    selectCurrentRow();
    tableListBox->scrollToEnsureRowIsOnscreen (juce::jmax (0, tableListBox->getSelectedRow()));
}

void BrowserPageComponent::selectedRowsChanged (int lastRowSelected)
{
    if (! EventLock::eventsEnabled)
        return;

    const auto* entry = view.getRow (lastRowSelected);

    if (entry == nullptr)
        return;

    // A row outside the list keeps the current program. Notes keep sounding.
    auto* chosen = entry->program;
    applyUnappliedTexts();
    programsOf (editor).selectProgram (chosen, false);
    editor->getMainComponent().updateAll();
}

PluginProgram::Texts BrowserPageComponent::getTypedTexts() const
{
    PluginProgram::Texts texts;
    const auto fields = getFields();

    for (size_t i = 0; i < fields.size(); ++i)
        texts.text[i] = fields[i]->getText();

    return texts;
}

void BrowserPageComponent::applyUnappliedTexts()
{
    if (fieldsProgram != nullptr && getTypedTexts() != fieldsTexts)
        applyChanges();
}

void BrowserPageComponent::applyChanges()
{
    const auto typed = getTypedTexts();

    if (programsOf (editor).renameProgram (fieldsProgram, typed))
        fieldsTexts = typed;

    // The row shows the new texts, even where the search or the order now puts it elsewhere.
    editor->getMainComponent().updateAll();
}

void BrowserPageComponent::updateTextEditors()
{
    auto& processor = editor->getProcessor();
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        fieldsProgram = processor.state->getCurrentProgram();

        if (fieldsProgram == nullptr)
            return;

        fieldsTexts = fieldsProgram->getTexts();
    }

    const auto fields = getFields();

    for (size_t i = 0; i < fields.size(); ++i)
        fields[i]->setText (fieldsTexts.text[i], true);
}

void BrowserPageComponent::editName()
{
    textEditorName->grabKeyboardFocus();
    textEditorName->selectAll();
}

PluginProgram* BrowserPageComponent::getProgramInRow (int row) const
{
    const auto* entry = view.getRow (row);
    return entry != nullptr ? entry->program : nullptr;
}

juce::Array<PluginProgram*> BrowserPageComponent::getSelectedPrograms() const
{
    juce::Array<PluginProgram*> programs;
    const auto selected = tableListBox->getSelectedRows();

    for (int i = 0; i < selected.size(); ++i)
        if (const auto* entry = view.getRow (selected[i]))
            programs.add (entry->program);

    return programs;
}

void BrowserPageComponent::textEditorTextChanged (juce::TextEditor& field)
{
    if (&field != textEditorSearch.get())
        return;

    view.setSearch (field.getText());
    tableListBox->updateContent();
    tableListBox->repaint();

    const EventLock eventLock;
    selectCurrentRow();
}

void BrowserPageComponent::textEditorReturnKeyPressed (juce::TextEditor& field)
{
    if (&field != textEditorSearch.get())
        applyChanges();
}

void BrowserPageComponent::buttonClicked (juce::Button* button)
{
    if (button == textButtonApplyChanges.get())
        applyChanges();
    else if (button == textButtonExport.get())
        chooseExportFile();
    else if (button == textButtonImport.get())
        chooseImportFile();
    else if (button == textButtonRestoreFactory.get())
        editor->getMainComponent().restoreFactoryPrograms();
}

void BrowserPageComponent::chooseExportFile()
{
    const auto programs = getSelectedPrograms();

    if (programs.isEmpty())
        return;

    const auto folder = juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
    const auto name = juce::File::createLegalFileName (programs.size() == 1 ? programs[0]->getName() : "Programs");
    const auto extension = juce::String (ProgramManager::programFileExtension);
    fileChooser = std::make_unique<juce::FileChooser> ("Export programs", folder.getChildFile (name + extension), "*" + extension);

    const auto flags = juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles
                     | juce::FileBrowserComponent::warnAboutOverwriting;

    fileChooser->launchAsync (flags, [this, programs, extension] (const juce::FileChooser& chooser)
    {
        const auto chosen = chooser.getResult();

        if (chosen != juce::File())
            editor->getMainComponent().exportPrograms (programs, chosen.hasFileExtension (extension) ? chosen : chosen.withFileExtension (extension));
    });
}

void BrowserPageComponent::chooseImportFile()
{
    const auto extension = juce::String (ProgramManager::programFileExtension);
    fileChooser = std::make_unique<juce::FileChooser> ("Import programs", juce::File::getSpecialLocation (juce::File::userDocumentsDirectory),
                                                       "*" + extension + ";*.xml");

    fileChooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                              [this] (const juce::FileChooser& chooser)
    {
        if (chooser.getResult() != juce::File())
            editor->getMainComponent().importPrograms (chooser.getResult());
    });
}
