#include "Controls/SliderControl.h"
#include "Components/EventLock.h"

SliderControl::SliderControl (const juce::String& componentName)
    : juce::Slider (componentName)
{
}

// A window closed in the middle of a drag still ends the host's gesture.
SliderControl::~SliderControl()
{
    endGesture();
}

void SliderControl::mouseEnter (const juce::MouseEvent& e)
{
    juce::Slider::mouseEnter (e);
    showOnDisplay();
}

void SliderControl::mouseExit (const juce::MouseEvent& e)
{
    juce::Slider::mouseExit (e);
    clearFromDisplay();
}

// No drag starts from a Ctrl-click. The value reaches the parameter through valueChanged,
// which JUCE calls at once; only the slider's listeners hear of it later.
void SliderControl::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isCtrlDown())
    {
        setValue (getMinimum() + (getMaximum() - getMinimum()) * 0.5, juce::sendNotificationAsync);

        if (isBound())
            refreshDisplay();

        return;
    }

    juce::Slider::mouseDown (e);
}

void SliderControl::valueChanged()
{
    if (! EventLock::eventsEnabled || ! isBound())
        return;

    writeValue ((float) getValue());
    refreshDisplay();
}

void SliderControl::startedDragging()
{
    beginGesture();
}

void SliderControl::stoppedDragging()
{
    endGesture();
}
