#pragma once

#include "Model/PluginProgram.h"

#include <juce_core/juce_core.h>

#include <functional>

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
    // Only for a list that no other thread can reach at the same time.
    void load();

    // The same for a list other threads use: the new programs are built first, then swapped
    // in while swapLock is held, and afterSwap runs still under it so that the owner can
    // point at the new programs before anyone else sees the list. afterSwap runs only when
    // the list was replaced; the old programs are still alive then, and are deleted after
    // the lock is released.
    void load (const juce::CriticalSection& swapLock, const std::function<void()>& afterSwap);

    // Writes the whole list. A failed write is not reported and leaves the previous file.
    void save() const;

    // The file's content for the current list: the root element with one child per program.
    std::unique_ptr<juce::XmlElement> createXml() const;

    // Writes a database element to the file, through a temporary file that replaces it.
    static void writeToFile (const juce::XmlElement& root);

    // Appends a new program named "Empty" + the number of programs before it. Not saved.
    PluginProgram* createProgram();

    // Takes the program at index out of the list and hands it to the caller, or nullptr for
    // an index outside the list. A caller that guards the list with a lock destroys the
    // program after releasing it, so that no other thread waits for the destruction.
    std::unique_ptr<PluginProgram> removeProgram (int index);

    // The first program whose identifier equals id exactly, or nullptr.
    PluginProgram* findProgram (const juce::String& id) const;

    int getNumPrograms() const noexcept                 { return programs.size(); }
    PluginProgram* getProgram (int index) const noexcept { return programs[index]; }
    int indexOf (const PluginProgram* program) const noexcept { return programs.indexOf (program); }

    // The element of one program: identifier, texts and every parameter by name.
    static void writeProgramAttributes (const PluginProgram& program, juce::XmlElement& element);

    // The reverse: the identifier and texts from their attributes, or the given fallbacks
    // when an attribute is missing; each parameter whose name is an attribute gets its
    // value, the others keep theirs.
    static void readProgramAttributes (const juce::XmlElement& element, PluginProgram& program,
                                       const juce::String& missingId, const juce::String& missingText);

    // Numbers are written in the shortest general notation with up to 20 significant
    // digits, so that every float survives a save and reload bit for bit.
    static juce::String valueToText (float value);

    // Text that is not a number reads as 0, and so does one beyond the float range, so that
    // no program ever holds an infinity or a NaN.
    static float textToValue (const juce::String& text);

private:
    juce::OwnedArray<PluginProgram> programs;

    JUCE_DECLARE_NON_COPYABLE (PluginDatabase)
};
