#include "Model/Tuning.h"

#include <cmath>
#include <cstdint>

// Any bytes as a scale and a keyboard mapping (split where the first zero byte lies): the
// readers give a tuning or a reason, never both, and every key of a tuning has a finite,
// positive frequency.
namespace
{
    void check (bool condition)
    {
        if (! condition)
            __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    size_t split = 0;

    while (split < size && data[split] != 0)
        ++split;

    const auto scale = Tuning::textOf (data, split);
    const auto mapping = split < size ? Tuning::textOf (data + split + 1, size - split - 1) : juce::String();
    const auto read = Tuning::read (scale, mapping);

    check (read.tuning.has_value() != read.error.isNotEmpty());

    if (read.tuning.has_value())
        for (int note = NoteFrequencies::lowestNote - 1; note <= NoteFrequencies::highestNote + 1; ++note)
        {
            const auto hertz = read.tuning->getFrequencies().frequencyOf (note);
            check (std::isfinite (hertz) && hertz > 0.0);
            read.tuning->getFrequencies().sounds (note);
        }

    return 0;
}
