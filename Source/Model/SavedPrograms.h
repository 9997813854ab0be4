#pragma once

#include "Model/ParameterTable.h"

#include <juce_core/juce_core.h>

#include <array>
#include <map>

class PluginDatabase;
class PluginProgram;

// The programs as the database file holds them, so that the window can mark a program
// whose values or texts differ from the file's: one edited since it was last saved, or one
// the file does not hold at all. Taken from the file when the window opens and after each
// save. Message thread.
class SavedPrograms
{
public:
    // What the file holds now; a file that cannot be read or is no program database holds
    // no program.
    void readFile (const juce::File& file);

    // True when the file holds no program with this one's identifier, or when the first
    // one it holds (the one a reload finds) has other values or texts.
    bool differs (const PluginProgram& program) const;

private:
    struct Saved
    {
        juce::StringArray texts;
        std::array<float, ParameterIndex::count> values {};
    };

    static Saved savedFormOf (const PluginProgram& program);

    std::map<juce::String, Saved> byIdentifier;
};
