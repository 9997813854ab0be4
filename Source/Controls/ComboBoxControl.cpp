#include "Controls/ComboBoxControl.h"
#include "Components/EventLock.h"

ComboBoxControl::ComboBoxControl (const juce::String& componentName)
    : juce::ComboBox (componentName)
{
    addListener (this);
}

ComboBoxControl::~ComboBoxControl()
{
    removeListener (this);
}

void ComboBoxControl::mouseEnter (const juce::MouseEvent& e)
{
    juce::ComboBox::mouseEnter (e);
    showOnDisplay();
}

void ComboBoxControl::mouseExit (const juce::MouseEvent& e)
{
    juce::ComboBox::mouseExit (e);
    clearFromDisplay();
}

// The display keeps its value line until its next refresh.
void ComboBoxControl::comboBoxChanged (juce::ComboBox* changed)
{
    if (! EventLock::eventsEnabled || changed != this)
        return;

    writeValue ((float) getSelectedItemIndex());
}
