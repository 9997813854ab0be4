#include "Controls/ToggleButtonControl.h"
#include "Components/EventLock.h"

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

void ToggleButtonControl::clicked()
{
    if (! EventLock::eventsEnabled || ! isBound())
        return;

    writeValue (getToggleState() ? 1.0f : 0.0f);
    refreshDisplay();
}
