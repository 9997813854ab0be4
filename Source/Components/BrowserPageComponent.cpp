#include "Components/BrowserPageComponent.h"
#include "Components/EventLock.h"
#include "Components/MainComponent.h"
#include "Components/PluginEditor.h"

namespace
{
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
}

BrowserPageComponent::BrowserPageComponent (QuenbyAudioProcessorEditor* editorToUse)
    : editor (editorToUse)
{
    tableListBox = std::make_unique<juce::TableListBox>();
    tableListBox->setName ("tableListBox");
    textEditorName = makeTextEditor ("textEditorName");
    textEditorCategory = makeTextEditor ("textEditorCategory");
    textEditorSubType = makeTextEditor ("textEditorSubType");
    textEditorMode = makeTextEditor ("textEditorMode");
    textEditorBank = makeTextEditor ("textEditorBank");

    for (auto* child : std::initializer_list<juce::Component*> { tableListBox.get(), textEditorName.get(), textEditorCategory.get(),
                                                                 textEditorSubType.get(), textEditorMode.get(), textEditorBank.get() })
        addAndMakeVisible (child);

    tableListBox->setModel (this);
    tableListBox->setMultipleSelectionEnabled (false);
}

BrowserPageComponent::~BrowserPageComponent() = default;

void BrowserPageComponent::resized()
{
    tableListBox->setBounds (16, 96, 768, 336);
    textEditorName->setBounds (80, 24, 176, 24);
    textEditorCategory->setBounds (584, 24, 176, 24);
    textEditorSubType->setBounds (80, 56, 176, 24);
    textEditorMode->setBounds (328, 56, 176, 24);
    textEditorBank->setBounds (328, 24, 176, 24);
}

int BrowserPageComponent::getNumRows()
{
    auto& processor = editor->getProcessor();
    const juce::ScopedLock lock (processor.getCallbackLock());
    return processor.state->database->getNumPrograms();
}

void BrowserPageComponent::paintRowBackground (juce::Graphics&, int, int, int, bool)
{
}

void BrowserPageComponent::paintCell (juce::Graphics&, int, int, int, int, bool)
{
}

void BrowserPageComponent::selectedRowsChanged (int lastRowSelected)
{
    if (! EventLock::eventsEnabled)
        return;

    auto& processor = editor->getProcessor();
    {
        // A row outside the list keeps the current program.
        const juce::ScopedLock lock (processor.getCallbackLock());
        processor.switchToProgram (processor.state->database->getProgram (lastRowSelected));
    }

    editor->getMainComponent().updateAll();
    updateTextEditors();
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
