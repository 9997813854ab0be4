#include "Controls/ToggleButtonControl.h"
#include "Components/EventLock.h"
#include "Model/ParameterValue.h"

ToggleButtonControl::ToggleButtonControl (const juce::String& componentName)
    : juce::ToggleButton (componentName)
{
}

void ToggleButtonControl::mouseEnter (const juce::MouseEvent& e)
{
    juce::ToggleButton::mouseEnter (e);
    showOnDisplay();
}

void ToggleButtonControl::mouseExit (const juce::MouseEvent& e)
{
    juce::ToggleButton::mouseExit (e);
    clearFromDisplay();
}

void ToggleButtonControl::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
        showContextMenu();
    else
        juce::ToggleButton::mouseDown (e);
}

void ToggleButtonControl::mouseUp (const juce::MouseEvent& e)
{
    if (! e.mods.isPopupMenu())
        juce::ToggleButton::mouseUp (e);
}

void ToggleButtonControl::clicked()
{
    if (! EventLock::eventsEnabled || ! isBound())
        return;

    writeValue (getToggleState() ? 1.0f : 0.0f);
    refreshDisplay();
}

void ToggleButtonControl::showAndWrite (float storedValue)
{
    setToggleState (ParameterValue::isOn (storedValue), juce::sendNotification);
}
