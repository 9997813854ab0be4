#pragma once

#include "Model/ProgramListView.h"

#include <juce_gui_basics/juce_gui_basics.h>

class PluginProgram;
class QuenbyAudioProcessorEditor;

// The page on which the musician finds and picks programs and edits their texts: a table
// of the programs, which the search field filters and a header click sorts (the order is a
// view; the list keeps its order), the text fields of the program selected in the table
// with "Apply changes", "Import..." and "Export..." for program files, and "Restore factory
// programs". The page is the
// table's model. The main component keeps the table's selection on the current program
// (showCurrentProgram). Message thread; the program operations are the program manager's.
class BrowserPageComponent : public juce::Component,
                             public juce::TableListBoxModel,
                             public juce::Button::Listener,
                             public juce::TextEditor::Listener
{
public:
    explicit BrowserPageComponent (QuenbyAudioProcessorEditor* editor);
    ~BrowserPageComponent() override;

    juce::TableListBox& getTableListBox() noexcept     { return *tableListBox; }

    // Brings the rows up to date with the program list, selects the current program's row
    // (none while the search hides it) and shows its texts in the fields when they show
    // another program or old texts. Called by the main component's full refresh, under an
    // EventLock, so the selection does not come back as the musician's choice.
    void showCurrentProgram();

    // Copies the current program's name, bank, category, subtype and mode into the fields.
    void updateTextEditors();

    // "Apply changes", also Return in a field: the five texts go exactly as typed into the
    // program the fields show. Texts typed and not applied are applied before another row
    // is chosen.
    void applyChanges();
    void applyUnappliedTexts();

    // Puts the cursor in the name field, its text selected (after "New").
    void editName();

    // The program a row shows, or nullptr.
    PluginProgram* getProgramInRow (int row) const;

    // The programs of the selected rows, in row order.
    juce::Array<PluginProgram*> getSelectedPrograms() const;

    // Column IDs are PluginProgram's column numbers plus one (the header's 0 means none).
    int getNumRows() override;
    void paintRowBackground (juce::Graphics&, int row, int width, int height, bool rowIsSelected) override;
    void paintCell (juce::Graphics&, int row, int columnId, int width, int height, bool rowIsSelected) override;
    void sortOrderChanged (int newSortColumnId, bool isForwards) override;

    // The row the musician chose last becomes the current program at once, without
    // stopping notes; rows selected by code under an EventLock change nothing.
    void selectedRowsChanged (int lastRowSelected) override;

    void buttonClicked (juce::Button*) override;
    void textEditorTextChanged (juce::TextEditor&) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;

    void paint (juce::Graphics&) override;
    void resized() override;

    static constexpr int rowHeight = 18;

    // In creation order, which is also the z-order.
    std::unique_ptr<juce::GroupComponent> groupComponentMain;
    std::unique_ptr<juce::TableListBox> tableListBox;
    std::unique_ptr<juce::Label> labelName;
    std::unique_ptr<juce::Label> labelCategory;
    std::unique_ptr<juce::Label> labelSubType;
    std::unique_ptr<juce::Label> labelMode;
    std::unique_ptr<juce::TextEditor> textEditorName;
    std::unique_ptr<juce::TextEditor> textEditorCategory;
    std::unique_ptr<juce::TextEditor> textEditorSubType;
    std::unique_ptr<juce::TextEditor> textEditorMode;
    std::unique_ptr<juce::TextButton> textButtonApplyChanges;
    std::unique_ptr<juce::Label> labelBank;
    std::unique_ptr<juce::TextEditor> textEditorBank;
    std::unique_ptr<juce::Label> labelSearch;
    std::unique_ptr<juce::TextEditor> textEditorSearch;
    std::unique_ptr<juce::TextButton> textButtonImport;
    std::unique_ptr<juce::TextButton> textButtonExport;
    std::unique_ptr<juce::TextButton> textButtonRestoreFactory;

private:
    QuenbyAudioProcessorEditor* const editor;

    ProgramListView view;
    juce::uint32 viewRevision = 0;
    bool viewFilled = false;

    // The program the fields show, and its texts as they were put there.
    PluginProgram* fieldsProgram = nullptr;
    PluginProgram::Texts fieldsTexts;

    std::unique_ptr<juce::FileChooser> fileChooser;

    void addColumns();
    void refreshList();
    void selectCurrentRow();
    PluginProgram::Texts getTypedTexts() const;
    std::array<juce::TextEditor*, PluginProgram::Texts::count> getFields() const;
    void chooseExportFile();
    void chooseImportFile();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrowserPageComponent)
};
