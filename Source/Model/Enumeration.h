#pragma once

#include "Model/ParameterTable.h"

#include <juce_core/juce_core.h>

// The process-wide table from parameter index (0 ... 70) to parameter name. The name is
// the host's parameter name and text, and the attribute name in the program database
// file and in the state chunk.
class Enumeration
{
public:
    static constexpr int numParameters = ParameterIndex::count;

    // The name of the parameter with that index, or "Undefined" for any other index.
    static juce::String getName (int index);

    // The index of the parameter with that name (compared exactly), or ParameterIndex::none.
    static int findIndex (const juce::String& name);

    // The number of entries of the table (fills it first if it is empty).
    static int getNumEntries();

private:
    static const juce::HashMap<int, juce::String>& getTable();
};
