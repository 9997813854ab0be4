#pragma once

#include "Model/PluginParameter.h"

#include <juce_core/juce_core.h>

// One complete sound: the values of all 71 parameters, a name, four free classification
// texts and an identifier used to find the program again after a reload or a restore.
class PluginProgram
{
public:
    PluginProgram();

    // Restores every parameter to its default. Without keepIdentity the program is also
    // renamed "Empty" and gets a fresh identifier; bank, category, subtype and mode stay.
    void reset (bool keepIdentity);

    // Copies identifier, texts and all values; this program keeps its own parameter objects.
    void copyFrom (const PluginProgram& source);

    PluginParameter* getParameter (int index) const noexcept;
    int getNumParameters() const noexcept      { return parameters.size(); }

    juce::String getName() const               { return name; }
    juce::String getBank() const               { return bank; }
    juce::String getCategory() const           { return category; }
    juce::String getSubType() const            { return subType; }
    juce::String getMode() const               { return mode; }
    juce::String getId() const                 { return id; }

    void setName (const juce::String& newName)         { name = newName; }
    void setBank (const juce::String& newBank)         { bank = newBank; }
    void setCategory (const juce::String& newCategory) { category = newCategory; }
    void setSubType (const juce::String& newSubType)   { subType = newSubType; }
    void setMode (const juce::String& newMode)         { mode = newMode; }
    void setId (const juce::String& newId)             { id = newId; }

    // The text of a column of the editor's program list: 0 name, 1 bank, 2 category,
    // 3 subtype, 4 mode; empty for any other column.
    juce::String getColumnText (int column) const;

    // A random version-4 UUID in dashed lower-case form, 36 characters.
    static juce::String createIdentifier();

private:
    juce::OwnedArray<PluginParameter> parameters;
    juce::String name, bank, category, subType, mode, id;

    JUCE_DECLARE_NON_COPYABLE (PluginProgram)
};
