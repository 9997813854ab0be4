#include "Components/KeyboardComponent.h"

KeyboardComponent::KeyboardComponent (juce::MidiKeyboardState& state)
    : juce::MidiKeyboardComponent (state, juce::MidiKeyboardComponent::horizontalKeyboard)
{
    setScrollButtonsVisible (false);
    setAvailableRange (lowestNote, highestNote);
    setOctaveForMiddleC (4);
}

int KeyboardComponent::countWhiteKeys() noexcept
{
    int count = 0;

    for (int note = lowestNote; note <= highestNote; ++note)
        count += juce::MidiMessage::isMidiNoteBlack (note) ? 0 : 1;

    return count;
}

void KeyboardComponent::resized()
{
    if (getWidth() > 0)
        setKeyWidth ((float) getWidth() / (float) countWhiteKeys());

    juce::MidiKeyboardComponent::resized();
}
