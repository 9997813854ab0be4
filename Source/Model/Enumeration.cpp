#include "Model/Enumeration.h"
#include "Model/ParameterTable.h"

// Filled exactly once, on the first lookup from whichever thread comes first: the C++
// runtime serialises the initialisation of a function-local static.
const juce::HashMap<int, juce::String>& Enumeration::getTable()
{
    struct NameTable
    {
        NameTable()
        {
            for (int index = 0; index < numParameters; ++index)
                names.set (index, ParameterTable::get (index).name);
        }

        juce::HashMap<int, juce::String> names;
    };

    static const NameTable table;
    return table.names;
}

juce::String Enumeration::getName (int index)
{
    const auto& table = getTable();

    if (table.contains (index))
        return table[index];

    return "Undefined";
}

int Enumeration::getNumEntries()
{
    return getTable().size();
}

int Enumeration::findIndex (const juce::String& name)
{
    for (int index = 0; index < numParameters; ++index)
        if (name == ParameterTable::get (index).name)
            return index;

    return ParameterIndex::none;
}
