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

// A plain value in its unit (ParameterUnit): the quantity the engine makes of a stored value,
// the text of a quantity, and the quantity a typed text names. Quantities are in the unit's
// base: seconds, Hz, percent, cents, Q, a pan from -1 (left) to +1 (right), sixteenths, and
// for a synchronised LFO the index of its note value (NoteValue). Any thread.
namespace ParameterUnits
{
    // The engine's own conversions of a stored value p, as its settings, filter, LFO, delay
    // and glide compute them (tests compare the two).
    double attackSeconds (float p) noexcept;        // 3p up to 0.5, else 15p
    double releaseSeconds (float p) noexcept;       // 5p up to 0.5, else 15p
    double glideSeconds (float p) noexcept;         // 2 p^2
    double cutoffHertz (float p) noexcept;          // 5000 p, at least 10 (in single precision)
    double resonanceQ (float p) noexcept;           // 50 p, at least 1 (in single precision)
    double lfoHertz (float p) noexcept;             // 10 p
    double freeDelaySeconds (float p) noexcept;     // 2p, within 0 ... 2
    int syncedDelaySixteenths (float p) noexcept;   // trunc (8p), none below 0

    double quantityOf (ParameterUnit unit, float storedValue, ParameterTextContext context);

    // "1.50 kHz", "350 ms", "+20 ct", "C", "3/16", "1/4T": what the window, the hosts and the
    // renderer's listing show. Never empty, whatever the quantity.
    juce::String textOf (ParameterUnit unit, double quantity, ParameterTextContext context);

    // The quantity a text names in the unit or its usual multiples ("1.5 kHz", "1500",
    // "350 ms", "0.35 s", "50 %", "40L", "3/16", "1/8"); a bare number is in the base unit.
    // Nothing for text that names no quantity of the unit.
    std::optional<double> parse (ParameterUnit unit, const juce::String& text, ParameterTextContext context);
}
