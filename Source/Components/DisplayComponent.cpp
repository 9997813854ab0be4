#include "Components/DisplayComponent.h"
#include "Components/PluginEditor.h"
#include "Components/Skin.h"
#include "Model/ParameterConversion.h"
#include "Model/ParameterTable.h"

int DisplayComponent::hoveredParameter = ParameterIndex::none;
bool DisplayComponent::debugMode = false;

namespace
{
    std::unique_ptr<juce::Label> makeDisplayLabel (const char* name, const char* text, juce::Justification justification)
    {
        auto label = std::make_unique<juce::Label> (name, text);
        label->setFont (Skin::getDisplayFont());
        label->setJustificationType (justification);
        label->setEditable (false, false, false);
        label->setColour (juce::Label::textColourId, Skin::getDisplayTextColour());
        label->setInterceptsMouseClicks (false, false);
        return label;
    }
}

DisplayComponent::DisplayComponent (QuenbyAudioProcessorEditor* editorToUse)
    : editor (editorToUse)
{
    labelBank = makeDisplayLabel ("labelBank", "Bank", juce::Justification::centredLeft);
    labelCategory = makeDisplayLabel ("labelCategory", "Category", juce::Justification::centredLeft);
    labelProgram = makeDisplayLabel ("labelProgram", "Program", juce::Justification::centredLeft);
    labelParameter = makeDisplayLabel ("labelParameter", "Parameter", juce::Justification::centredLeft);
    labelDebug = makeDisplayLabel ("labelDebug", "DEBUG", juce::Justification::centredRight);

    for (auto* label : { labelBank.get(), labelCategory.get(), labelProgram.get(), labelParameter.get() })
        addAndMakeVisible (label);

    addChildComponent (labelDebug.get());
    labelDebug->setVisible (debugMode);
}

DisplayComponent::~DisplayComponent() = default;

void DisplayComponent::showMessage (const juce::String& newMessage, int milliseconds)
{
    message = newMessage;
    startTimer (milliseconds);
    updateLabels();
}

void DisplayComponent::setNotice (const juce::String& newNotice)
{
    notice = newNotice;
    updateLabels();
}

void DisplayComponent::timerCallback()
{
    stopTimer();
    message.clear();
    updateLabels();
}

void DisplayComponent::updateLabels()
{
    if (editor == nullptr)
        return;

    auto& processor = editor->getProcessor();
    juce::String bank, category, name, parameter = notice.isNotEmpty() ? notice : "Parameter: -----";
    {
        // Host threads replace the current program's texts under this lock.
        const juce::ScopedLock lock (processor.getCallbackLock());
        const auto* program = processor.state->getCurrentProgram();

        if (program == nullptr)
            return;

        bank = program->getBank();
        category = program->getCategory();
        name = program->getName() + (editor->getSavedPrograms().differs (*program) ? " *" : "");

        if (ParameterIndex::isValid (hoveredParameter))
        {
            const auto& editPath = processor.getEditPath();
            parameter = juce::String ("Parameter: ") + ParameterTable::get (hoveredParameter).label + "  Value: "
                      + ParameterConversion::toText (hoveredParameter, editPath.get (hoveredParameter), editPath.getTextContext());
        }
    }

    if (message.isNotEmpty())
        parameter = message;

    labelBank->setText ("Bank     : " + bank, juce::dontSendNotification);
    labelCategory->setText ("Category : " + category, juce::dontSendNotification);
    labelProgram->setText ("Program  : " + name, juce::dontSendNotification);
    labelParameter->setText (parameter, juce::dontSendNotification);

    if (debugMode)
        labelDebug->setText ("Voices: " + juce::String (processor.getNumSoundingVoices()), juce::dontSendNotification);
}

// The thick edge lines are centred on the border, so half of each falls outside.
void DisplayComponent::paint (juce::Graphics& g)
{
    const auto width = (float) getWidth(), height = (float) getHeight();

    g.fillAll (Skin::getDisplayBackgroundColour());
    g.setColour (juce::Colours::black);
    g.drawLine (0.0f, 0.0f, width, 0.0f, 3.0f);
    g.drawLine (width, 0.0f, width, height, 3.0f);
}

void DisplayComponent::resized()
{
    labelBank->setBounds (4, 10, 290, 24);
    labelCategory->setBounds (4, 22, 290, 24);
    labelProgram->setBounds (4, -2, 290, 24);
    labelParameter->setBounds (4, 34, 290, 24);
    labelDebug->setBounds (176, -2, 120, 24);
}
