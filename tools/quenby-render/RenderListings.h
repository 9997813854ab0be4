#pragma once

#include <juce_core/juce_core.h>

class PluginDatabase;

// The plain tables quenby-render prints on standard output, one row per line after a
// header line, columns padded with spaces.
struct RenderListings
{
    // --list-parameters: every parameter's index, name, default (with what it means) and
    // the values --set and --at take, all from the parameter table.
    static juce::String listParameters();

    // --list-programs: the name, bank and category of each program of the database.
    static juce::String listPrograms (const PluginDatabase& database);

    // The shortest decimal text that reads back as exactly this float.
    static juce::String shortestText (float value);
};
