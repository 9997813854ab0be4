#include "Components/TempoField.h"
#include "Components/GeneralNumberText.h"

#include <cmath>

TempoField::TempoField()
    : juce::Label ("labelBpm", "BPM")
{
}

void TempoField::setAdjustable (bool shouldBeAdjustable)
{
    adjustable = shouldBeAdjustable;
    setEditable (false, adjustable, false);
    setMouseCursor (adjustable ? juce::MouseCursor::UpDownResizeCursor : juce::MouseCursor::NormalCursor);
}

void TempoField::showTempo (double bpm)
{
    tempo = bpm;

    if (! isBeingEdited())
        setText ("BPM    " + toGeneralNumberText (bpm), juce::dontSendNotification);
}

std::optional<double> TempoField::readTempo (const juce::String& text)
{
    const auto number = text.trim().trimCharactersAtStart ("BPMbpm ").trim();

    if (number.isEmpty() || ! number.containsOnly ("0123456789.") || ! number.containsAnyOf ("0123456789"))
        return {};

    return juce::jlimit (lowestTempo, highestTempo, number.getDoubleValue());
}

void TempoField::choose (double bpm)
{
    const auto limited = juce::jlimit (lowestTempo, highestTempo, std::round (bpm * 10.0) / 10.0);
    showTempo (limited);

    if (onTempoChosen)
        onTempoChosen (limited);
}

void TempoField::mouseDown (const juce::MouseEvent& e)
{
    tempoAtDragStart = tempo;
    juce::Label::mouseDown (e);
}

void TempoField::mouseDrag (const juce::MouseEvent& e)
{
    if (! adjustable)
        return;

    const auto step = e.mods.isShiftDown() ? 0.1 : 1.0;
    choose (tempoAtDragStart - std::round (e.getDistanceFromDragStartY() / 2.0) * step);
}

void TempoField::editorShown (juce::TextEditor* editor)
{
    editor->setText (toGeneralNumberText (tempo), juce::dontSendNotification);
    editor->selectAll();
}

// A text without a number keeps the tempo.
void TempoField::textWasEdited()
{
    if (const auto typed = readTempo (getText()))
        choose (*typed);
    else
        showTempo (tempo);
}
