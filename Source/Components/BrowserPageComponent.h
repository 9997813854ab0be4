#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuenbyAudioProcessorEditor;

// The page on which the musician picks the current program from the program database and
// edits its texts: a table of all programs, of which the page is the model, and the text
// fields of the current program with "Apply changes". The main component keeps the table's
// selection on the current program (getTableListBox) and has the fields rewritten
// (updateTextEditors). Message thread; the program list and texts are read and written
// under the processor's callback lock, since a host thread may add a program or replace
// texts while restoring its state.
class BrowserPageComponent : public juce::Component,
                             public juce::TableListBoxModel,
                             public juce::Button::Listener
{
public:
    explicit BrowserPageComponent (QuenbyAudioProcessorEditor* editor);
    ~BrowserPageComponent() override;

    juce::TableListBox& getTableListBox() noexcept     { return *tableListBox; }

    // Copies the current program's name, bank, category, subtype and mode into the fields.
    void updateTextEditors();

    // Rows are the database's programs in list order; sorting by a header never reorders
    // them. Column IDs are those of PluginProgram::getColumnText.
    int getNumRows() override;
    void paintRowBackground (juce::Graphics&, int row, int width, int height, bool rowIsSelected) override;
    void paintCell (juce::Graphics&, int row, int columnId, int width, int height, bool rowIsSelected) override;

    // A row the musician selects becomes the current program at once, without stopping
    // notes; a row selected by code under an EventLock changes nothing.
    void selectedRowsChanged (int lastRowSelected) override;

    // "Apply changes": the five texts go into the current program exactly as typed.
    void buttonClicked (juce::Button*) override;

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

private:
    QuenbyAudioProcessorEditor* const editor;

    void addColumns();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrowserPageComponent)
};
