#include "Components/ValueEntry.h"
#include "Components/Skin.h"
#include "Controls/SliderControl.h"

ValueEntry::ValueEntry()
    : juce::TextEditor ("valueEntry")
{
    setMultiLine (false);
    setReturnKeyStartsNewLine (false);
    setSelectAllWhenFocused (true);
    setFont (Skin::getDisplayFont().withHeight (13.0f));
    setJustification (juce::Justification::centred);
    setColour (juce::TextEditor::backgroundColourId, Skin::getDisplayBackgroundColour());
    setColour (juce::TextEditor::textColourId, Skin::getDisplayTextColour());
    setColour (juce::TextEditor::outlineColourId, Skin::getDisplayTextColour());
    setColour (juce::TextEditor::focusedOutlineColourId, Skin::getDisplayTextColour());
    setVisible (false);

    onReturnKey = [this] { take(); };
    onEscapeKey = [this] { close(); };
    onFocusLost = [this] { close(); };
}

SliderControl* ValueEntry::getKnob() const noexcept
{
    return dynamic_cast<SliderControl*> (knob.getComponent());
}

void ValueEntry::openFor (SliderControl& knobToEdit)
{
    auto* parent = getParentComponent();

    if (parent == nullptr)
        return;

    knob = &knobToEdit;
    const auto area = parent->getLocalArea (&knobToEdit, knobToEdit.getLocalBounds());
    setBounds (juce::Rectangle<int> (80, 20).withCentre (area.getCentre()).constrainedWithin (parent->getLocalBounds()));
    setText (knobToEdit.getValueText ((float) knobToEdit.getValue()), juce::dontSendNotification);
    setVisible (true);
    toFront (false);

    if (isShowing())
        grabKeyboardFocus();

    selectAll();
}

void ValueEntry::close()
{
    knob = nullptr;
    setVisible (false);
}

void ValueEntry::take()
{
    if (auto* target = getKnob())
    {
        if (! target->applyTypedText (getText()))
        {
            selectAll();
            return;
        }
    }

    close();
}
