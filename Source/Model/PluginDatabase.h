#pragma once

#include "Model/PluginProgram.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

// All programs of the instrument, in the order of the file and of the editor's list,
// kept in "VelmoraDatabase.xml" in the user's application-data directory.
//
// Files are read and written as streams: reading never builds a tree of the whole file,
// and writing never builds one either, so loading, listing and saving grow with the number
// of programs and no more.
class PluginDatabase
{
public:
    // Starts with one new program named "Initial Program".
    PluginDatabase();

    static juce::File getDatabaseFile();

    // Replaces the list with the file's programs; creates the file from the programs in
    // memory when it does not exist. A file that cannot be read, cannot be parsed, or whose
    // root is not a program database changes nothing in memory and is not touched.
    // Only for a list that no other thread can reach at the same time.
    void load();

    // The same for a list other threads use: the new programs are built first, then swapped
    // in while swapLock is held, and afterSwap runs still under it so that the owner can
    // point at the new programs before anyone else sees the list. afterSwap runs only when
    // the list was replaced; the old programs are still alive then, and are deleted after
    // the lock is released.
    void load (const juce::CriticalSection& swapLock, const std::function<void()>& afterSwap);

    // Why the last load did not take the file completely, or an empty text when it did (or
    // found no file). Not completely means: the file could not be read; its bytes were not
    // all text (stray bytes read as Latin-1, a zero byte, half a UTF-16 character); it was
    // not XML, or XML with errors, comments, processing instructions besides the declaration,
    // a document type, repeated attributes or mismatched closing tags; its root was not a
    // program database; or it held anything a save does not write back (other elements or
    // text, attributes that are no program text or parameter).
    const juce::String& getLoadProblem() const noexcept     { return loadProblem; }

    // Writes the whole list. A failed write leaves the previous file; false then.
    bool save();

    // Copies of the programs, in list order: what a save writes, taken while the owner
    // holds its lock so that the file is written after releasing it.
    using Snapshot = std::vector<std::unique_ptr<PluginProgram>>;
    Snapshot takeSnapshot() const;

    // Writes programs to the database file, through a temporary file that replaces it.
    // The first write after a load that did not take the file completely first keeps a
    // byte-identical copy of the file beside it, named as the file followed by
    // ".unreadable-YYYYMMDD-HHMMSS"; when no copy can be made, nothing is written. False
    // when the file was not written.
    bool write (const Snapshot& snapshot);

    // The copy the last write kept, or File() when it kept none.
    const juce::File& getKeptCopy() const noexcept          { return keptCopy; }

    // What a file of programs (a database or a program file) holds.
    struct FileContent
    {
        // Empty when the file was read; else why not: it "cannot be read", "is not XML" or
        // "is not a program database". Then programs is empty.
        juce::String unreadable;

        // For a file that was read, why it was not taken completely (see getLoadProblem),
        // or an empty text.
        juce::String incomplete;

        juce::OwnedArray<PluginProgram> programs;
    };

    // Reads the programs of a file's bytes: one per child of the root tagged exactly
    // "PROGRAM", with the fallbacks of readProgramAttributes for missing attributes.
    static FileContent readFile (const juce::File& file);
    static FileContent readBytes (juce::MemoryBlock&& bytes);

    // Writes programs as a database file's text: the layout JUCE's XmlElement::writeTo gives
    // the same elements with a line-wrap length of 60. False when the stream fails.
    static void writePrograms (juce::OutputStream& stream, const juce::Array<const PluginProgram*>& programs);

    // The same into a file, through a temporary file that replaces it only when complete.
    static bool writeFile (const juce::File& file, const juce::Array<const PluginProgram*>& programs);

    // The programs of a database element: one per child tagged exactly "PROGRAM".
    static void readPrograms (const juce::XmlElement& root, juce::OwnedArray<PluginProgram>& programs);

    // Appends a new program named "Empty" + the number of programs before it. Not saved.
    PluginProgram* createProgram();

    // Puts a program into the list at index (clamped to the list), taking ownership.
    PluginProgram* insertProgram (std::unique_ptr<PluginProgram> program, int index);

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
    // value, the others keep theirs, except that the parameters appended after the first 71
    // take their defaults (an element from before them). Of repeated attributes the first
    // counts.
    static void readProgramAttributes (const juce::XmlElement& element, PluginProgram& program,
                                       const juce::String& missingId, const juce::String& missingText);

    // Numbers are written in the shortest general notation with up to 20 significant
    // digits, so that every float survives a save and reload bit for bit.
    static juce::String valueToText (float value);

    // What JUCE's String::getDoubleValue reads from the text, narrowed to float, except that
    // text beyond the float range reads as 0, so that no program ever holds an infinity or a
    // NaN, and "-0" keeps its sign.
    static float textToValue (const juce::String& text);

private:
    juce::OwnedArray<PluginProgram> programs;

    // Set by a load, used by the next write; message thread (or the constructing thread).
    juce::String loadProblem;
    bool keepFileBeforeWriting = false;
    juce::File keptCopy;

    bool keepCopyOfFile (const juce::File& file);

    JUCE_DECLARE_NON_COPYABLE (PluginDatabase)
};
