#pragma once

#include "Model/ParameterTable.h"
#include "Model/ParameterUnits.h"

#include <juce_core/juce_core.h>

#include <optional>

// What a parameter's stored value means to a host and to the window, worked out from the
// parameter table: the text it shows, the value a typed text names, and its position on a
// host's 0 ... 1 scale. Every index handed in must be valid (ParameterIndex::isValid). Any
// thread.
//
// Texts: a switch reads "On" or "Off"; a choice its item as the editor lists it; an offset
// its semitones with a sign, "+7 st", "0 st", "-5 st"; a pitch range its semitones, "2 st";
// a plain value what its row's unit makes of it (ParameterUnits): "1.50 kHz", "350 ms",
// "50 %", "1/4" for a synchronised LFO. A choice value that names no item reads as a
// number with two decimals.
//
// The 0 ... 1 scale reaches the whole range the editor offers: a choice's items, a switch's
// two states and each editor step of an offset (25 steps) or a pitch range (13 steps) sit
// evenly from 0 to 1, and a plain value is its own position.
class ParameterConversion
{
public:
    using Context = ParameterTextContext;

    static juce::String toText (int index, float storedValue, Context context = {});

    // The value the editor would store for what the text names, or nothing when the text
    // names no value. Item texts and "On"/"Off" are matched without regard to case; offsets
    // and pitch ranges read a whole number of semitones ("+7 st", "7", "-5"); a number is
    // also taken for a switch (0 off, else on) and a choice (its item index). A plain value
    // reads in its unit ("1.5 kHz", "1500", "350 ms") and becomes the editor's step whose
    // quantity is nearest (the lowest of equally near ones), so a value beyond the editor's
    // range is brought to its nearest end.
    static std::optional<float> fromText (int index, const juce::String& text, Context context = {});

    // The number of positions on the host's scale, or 0 when the scale is continuous.
    static int getNumSteps (int index);

    // The position of a stored value on the host's scale, 0 ... 1; a value between two
    // positions is shown at the one that sounds.
    static float toNormalised (int index, float storedValue);

    // The value the editor stores at that position (the nearest step of a stepped scale).
    static float fromNormalised (int index, float normalised);

    // Exactly the float the editor's slider writes at a step of its range.
    static float editorValueAtStep (int step);
};
