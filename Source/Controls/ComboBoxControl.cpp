#include "Controls/ComboBoxControl.h"
#include "Components/EventLock.h"
#include "Model/ParameterValue.h"

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

void ComboBoxControl::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
        showContextMenu();
    else
        juce::ComboBox::mouseDown (e);
}

// The display keeps its value line until its next refresh.
void ComboBoxControl::comboBoxChanged (juce::ComboBox* changed)
{
    if (! EventLock::eventsEnabled || changed != this)
        return;

    writeValue ((float) getSelectedItemIndex());
}

void ComboBoxControl::showAndWrite (float storedValue)
{
    setSelectedItemIndex (ParameterValue::truncated (storedValue), juce::sendNotificationSync);
}
