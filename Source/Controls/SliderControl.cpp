#include "Controls/SliderControl.h"
#include "Components/EventLock.h"
#include "Components/MainComponent.h"
#include "Components/PluginEditor.h"
#include "Model/ParameterConversion.h"

SliderControl::SliderControl (const juce::String& componentName)
    : juce::Slider (componentName)
{
}

// A window closed in the middle of a drag still ends the host's gesture.
SliderControl::~SliderControl()
{
    endGesture();
}

void SliderControl::showBubble()
{
    if (isBound())
        editor->getMainComponent().valueBubble->showFor (*this, getValueText ((float) getValue()));
}

void SliderControl::hideBubble()
{
    if (isBound())
        editor->getMainComponent().valueBubble->hideFor (*this);
}

void SliderControl::mouseEnter (const juce::MouseEvent& e)
{
    juce::Slider::mouseEnter (e);
    showOnDisplay();
    showBubble();
}

void SliderControl::mouseExit (const juce::MouseEvent& e)
{
    juce::Slider::mouseExit (e);
    clearFromDisplay();

    if (! dragging)
        hideBubble();
}

// No drag starts from a Ctrl-click. The value reaches the parameter through valueChanged,
// which JUCE calls at once; only the slider's listeners hear of it later.
void SliderControl::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
    {
        showContextMenu();
        return;
    }

    if (e.mods.isCtrlDown())
    {
        setValue (getMinimum() + (getMaximum() - getMinimum()) * 0.5, juce::sendNotificationAsync);

        if (isBound())
            refreshDisplay();

        return;
    }

    dragging = true;
    fine = e.mods.isShiftDown();
    anchor = lastPosition = e.position;
    anchorProportion = lastProportion = valueToProportionOfLength (getValue());
    beginGesture();
    showBubble();
}

void SliderControl::mouseDrag (const juce::MouseEvent& e)
{
    if (! dragging)
        return;

    if (e.mods.isShiftDown() != fine)
    {
        fine = e.mods.isShiftDown();
        anchor = lastPosition;
        anchorProportion = lastProportion;
    }

    const auto pixels = pixelsForFullRange * (fine ? fineFactor : 1.0);
    const auto travel = (double) (e.position.x - anchor.x) + (double) (anchor.y - e.position.y);
    const auto proportion = anchorProportion + travel / pixels;
    const auto limited = juce::jlimit (0.0, 1.0, proportion);

    if (limited != proportion)
    {
        anchor = e.position;
        anchorProportion = limited;
    }

    lastPosition = e.position;
    lastProportion = limited;
    setValue (proportionOfLengthToValue (limited), juce::sendNotificationSync);
}

void SliderControl::mouseUp (const juce::MouseEvent&)
{
    if (! dragging)
        return;

    dragging = false;
    endGesture();

    if (! isMouseOver())
        hideBubble();
}

void SliderControl::mouseDoubleClick (const juce::MouseEvent&)
{
    resetToDefault();
}

void SliderControl::showAndWrite (float storedValue)
{
    setValue (storedValue, juce::sendNotificationSync);
}

bool SliderControl::applyTypedText (const juce::String& text)
{
    if (! isBound())
        return false;

    const auto value = ParameterConversion::fromText (parameterIndex, text, editor->getProcessor().getEditPath().getTextContext());

    if (! value.has_value())
        return false;

    showAndWrite (*value);
    return true;
}

void SliderControl::addOwnMenuItems (juce::PopupMenu& menu)
{
    menu.addItem (juce::String::fromUTF8 ("Type a value\xe2\x80\xa6"), whileAlive ([] (PluginControl& control)
    {
        auto& slider = static_cast<SliderControl&> (control);
        slider.editor->getMainComponent().valueEntry->openFor (slider);
    }));
}

void SliderControl::valueChanged()
{
    if (! EventLock::eventsEnabled || ! isBound())
        return;

    writeValue ((float) getValue());
    refreshDisplay();

    if (dragging || isMouseOver())
        showBubble();
}

// The mouse wheel's steps, one gesture each.
void SliderControl::startedDragging()
{
    beginGesture();
}

void SliderControl::stoppedDragging()
{
    endGesture();
}
