#pragma once

// The note values a tempo-synchronised LFO cycle can last, longest first: from eight bars
// down to a thirty-second note, straight, dotted and triplet wherever they fall inside that
// range. A bar is a whole note, four beats; a beat is the quarter note the tempo counts.
// The LFO's speed (0 ... 1) chooses among them evenly: 0 is eight bars, 1 a thirty-second.
namespace NoteValue
{
    struct Entry
    {
        const char* name;     // "2 bars", "1/4", "1/8D" (dotted), "1/8T" (triplet)
        double beats;         // the length in beats
    };

    inline constexpr Entry all[] =
    {
        { "8 bars", 32.0 },      { "4 bars D", 24.0 },     { "8 bars T", 64.0 / 3.0 },
        { "4 bars", 16.0 },      { "2 bars D", 12.0 },     { "4 bars T", 32.0 / 3.0 },
        { "2 bars", 8.0 },       { "1 bar D", 6.0 },       { "2 bars T", 16.0 / 3.0 },
        { "1 bar", 4.0 },        { "1/2D", 3.0 },          { "1 bar T", 8.0 / 3.0 },
        { "1/2", 2.0 },          { "1/4D", 1.5 },          { "1/2T", 4.0 / 3.0 },
        { "1/4", 1.0 },          { "1/8D", 0.75 },         { "1/4T", 2.0 / 3.0 },
        { "1/8", 0.5 },          { "1/16D", 0.375 },       { "1/8T", 1.0 / 3.0 },
        { "1/16", 0.25 },        { "1/32D", 0.1875 },      { "1/16T", 1.0 / 6.0 },
        { "1/32", 0.125 },
    };

    inline constexpr int count = (int) (sizeof (all) / sizeof (all[0]));

    // The note value a speed chooses: equal bands over 0 ... 1, speeds outside it (or NaN)
    // at the nearer end.
    inline int indexForSpeed (double speed) noexcept
    {
        if (! (speed > 0.0))
            return 0;

        return speed >= 1.0 ? count - 1 : (int) (speed * count);
    }

    inline const Entry& forSpeed (double speed) noexcept    { return all[indexForSpeed (speed)]; }

    // The speed in the middle of a note value's band, on the editor's 0.01 grid.
    inline double speedOf (int index) noexcept              { return (4 * index + 2) / 100.0; }
}
