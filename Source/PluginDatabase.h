#pragma once

#include "PluginProgram.h"

#include <juce_core/juce_core.h>

// All programs of the instrument, in the order of the file and of the editor's list,
// kept in "VelmoraDatabase.xml" in the user's application-data directory.
class PluginDatabase
{
public:
    // Starts with one new program named "Initial Program".
    PluginDatabase();

    static juce::File getDatabaseFile();

    // Replaces the list with the file's programs; creates the file from the programs in
    // memory when it does not exist. A file that cannot be parsed, or whose root is not a
    // program database, changes nothing and is not touched.
    void load();

    // Writes the whole list. A failed write is not reported and leaves the previous file.
    void save() const;

    // Appends a new program named "Empty" + the number of programs before it. Not saved.
    PluginProgram* createProgram();

    // The first program whose identifier equals id exactly, or nullptr.
    PluginProgram* findProgram (const juce::String& id) const;

    int getNumPrograms() const noexcept                 { return programs.size(); }
    PluginProgram* getProgram (int index) const noexcept { return programs[index]; }
    int indexOf (const PluginProgram* program) const noexcept { return programs.indexOf (program); }

    // The element of one program: identifier, texts and every parameter by name.
    static void writeProgramAttributes (const PluginProgram& program, juce::XmlElement& element);

    // Numbers are written in the shortest general notation with up to 20 significant
    // digits, so that every float survives a save and reload bit for bit.
    static juce::String valueToText (float value);

    // Text that is not a finite number reads as 0.
    static float textToValue (const juce::String& text);

    // Replaces the programs in memory with the given list; used by load().
    void replacePrograms (juce::OwnedArray<PluginProgram>& newPrograms);

private:
    juce::OwnedArray<PluginProgram> programs;

    JUCE_DECLARE_NON_COPYABLE (PluginDatabase)
};
