#pragma once

#include "Model/ParameterTable.h"
#include "Model/PluginParameter.h"

#include <juce_core/juce_core.h>

#include <array>
#include <utility>

// One complete sound: the values of all parameters, a name, four free classification
// texts and an identifier used to find the program again after a reload or a restore.
class PluginProgram
{
public:
    PluginProgram();

    // A program with default values whose identifier and texts are empty, for a reader
    // that sets them (no identifier is drawn for nothing).
    static std::unique_ptr<PluginProgram> createBlank();

    // A copy of a program: identifier, texts and values.
    static std::unique_ptr<PluginProgram> createCopy (const PluginProgram& source);

    // Restores every parameter to its default. Without keepIdentity the program is also
    // renamed "Empty" and gets a fresh identifier; bank, category, subtype and mode stay.
    void reset (bool keepIdentity);

    // Copies identifier, texts and all values; this program keeps its own parameter objects.
    void copyFrom (const PluginProgram& source);

    PluginParameter* getParameter (int index) const noexcept;
    int getNumParameters() const noexcept      { return numParameters; }

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

    // The five texts the musician edits, together.
    struct Texts
    {
        static constexpr int count = 5;
        juce::String text[count];    // in the order of the columns: name, bank, category, subtype, mode

        bool operator== (const Texts& other) const noexcept;
        bool operator!= (const Texts& other) const noexcept     { return ! operator== (other); }
    };

    Texts getTexts() const;
    void setTexts (const Texts& texts);

    // A random version-4 UUID in dashed lower-case form, 36 characters.
    static juce::String createIdentifier();

    static constexpr int numParameters = ParameterIndex::count;

private:
    struct Blank {};
    explicit PluginProgram (Blank) noexcept {}

    using Parameters = std::array<PluginParameter, numParameters>;

    template <size_t... index>
    static Parameters makeParameters (std::index_sequence<index...>)   { return { { PluginParameter ((int) index)... } }; }

    // Held in the program itself rather than one allocation each: a database of tens of
    // thousands of programs stays compact. Mutable because other threads write values
    // through the pointers that getParameter hands out of a const program.
    mutable Parameters parameters = makeParameters (std::make_index_sequence<numParameters>());
    juce::String name, bank, category, subType, mode, id;

    JUCE_DECLARE_NON_COPYABLE (PluginProgram)
};
