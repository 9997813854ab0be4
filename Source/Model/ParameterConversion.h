#pragma once

#include "Model/ParameterTable.h"

#include <juce_core/juce_core.h>

#include <optional>

// What a text depends on besides the value itself: whether the LFO's speed and the
// delay's time are note values of the tempo. The defaults are a new program's.
struct ParameterTextContext
{
    bool lfoSynced = false;      // Lfo1Sync
    bool delaySynced = true;     // Delay1Sync

    // The context of a program, from a function that reads its value at an index.
    template <typename ValueAt>
    static ParameterTextContext of (ValueAt&& valueAt)
    {
        return { valueAt (ParameterIndex::Lfo1Sync) != 0.0f, valueAt (ParameterIndex::Delay1Sync) != 0.0f };
    }
};

// What a parameter's stored value means to a host, worked out from the parameter table:
// the text it shows, the value a typed text names, and its position on a host's 0 ... 1
// scale. Every index handed in must be valid (ParameterIndex::isValid). Any thread.
//
// Texts: a switch reads "On" or "Off"; a choice its item as the editor lists it; an offset
// its semitones with a sign, "+7 st", "0 st", "-5 st"; a pitch range its semitones, "2 st";
// the LFO's speed, while the LFO follows the tempo, the note value one cycle lasts ("1/4",
// "1/8T", "2 bars"); anything else the stored value with two decimals, "0.50". A choice
// value that names no item reads as a plain value.
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
    // also taken for a switch (0 off, else on), a choice (its item index) and a plain value.
    // Values beyond the editor's range are brought to its nearest end. A synchronised LFO's
    // speed also reads a note value's name, as the middle of that note value's speeds.
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
