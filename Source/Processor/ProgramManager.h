#pragma once

#include "Model/PluginProgram.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>

#include <atomic>
#include <bitset>
#include <functional>

class PluginDatabase;
class QuenbyAudioProcessor;

// The program operations, beside the edit path: selecting and stepping, new, copy,
// delete, reset, renaming, importing and exporting program files. Each change is a step
// of the undo history, and so is every parameter change the window makes through the edit
// path, one step per change gesture of its control. The top bar, the browser and the
// renderer call these operations; the window only shows their result.
//
// Message thread (or the one thread of the renderer). The program list and the programs'
// texts are shared with host threads that save and restore state, so every change to them
// holds the processor's callback lock; files are read and written outside it.
//
// Host automation and state restores are not recorded (they are the host's to undo). A
// step names the program objects it changed, which stay alive as long as a step may bring
// them back, so an unrecorded change never makes a step reach the wrong program: undoing
// an edit restores the value in the program it was made in.
class ProgramManager : private juce::AudioProcessorParameter::Listener
{
public:
    explicit ProgramManager (QuenbyAudioProcessor& processor);
    ~ProgramManager() override;

    PluginProgram* getCurrentProgram() const;

    // Makes a program of the list current (a step); a program that is current already, or
    // not in the list, changes nothing. The browser keeps notes sounding, the top bar not.
    void selectProgram (PluginProgram* program, bool stopNotes);

    // Selects the program at that place of the list (0-based), as a MIDI program change
    // does: the notes that sound keep sounding. False when the list has no such program.
    bool selectProgramAt (int listIndex);

    // The program a step away in the list ("<" -1, ">" +1), without wrapping; notes stop
    // even where there is none.
    void stepProgram (int step);

    // "New Program" in bank "User", appended and made current.
    PluginProgram* newProgram();

    // "Copy of " and the current program's name, with its own identifier, appended and made
    // current.
    PluginProgram* copyProgram();

    // Removes the current program, unless it is the first or the only one, and makes its
    // successor (or the new last) current. Undo brings it back with its identifier and at
    // its place. False when nothing was deleted.
    bool deleteProgram();

    // Every parameter of the current program back to its default; its texts stay.
    void resetProgram();

    // Gives a program of the list new texts; false when nothing changed.
    bool renameProgram (PluginProgram* program, const PluginProgram::Texts& texts);

    // Appends the programs of a program file or database file, the first made current. A
    // program whose identifier the list already holds gets a fresh one; nothing in the list
    // is replaced. A file that cannot be read, is no program file or holds no program
    // changes nothing and is refused with the reason.
    struct ImportResult
    {
        int numAdded = 0;
        juce::String error;     // empty when programs were added
    };

    ImportResult importPrograms (const juce::File& file);

    // "Restore factory programs": adds the factory programs whose identifiers the list does
    // not hold after the list's programs, in the bank's order, and changes nothing else (the
    // current program stays). Returns how many were added.
    int restoreFactoryPrograms();

    // Writes copies of programs to a program file (a database file of these programs only).
    // Returns the reason when the file could not be written, else an empty text.
    juce::String exportPrograms (const juce::Array<PluginProgram*>& programs, const juce::File& file) const;

    static constexpr const char* programFileExtension = ".quenby";

    // The undo history: at least the last minimumSteps steps, more while they fit in
    // maximumUnits (about bytes). It tells its change listeners of every new step, undo
    // and redo.
    static constexpr int minimumSteps = 100;
    static constexpr int maximumUnits = 1 << 20;

    juce::UndoManager& getHistory() noexcept        { return history; }
    bool undo();
    bool redo();

    // The programs were replaced (the database was reloaded): no step can reach them any
    // more, so the history starts again.
    void programsReplaced();

    // Called by the edit path for every change the window makes (not the host's).
    void recordEdit (PluginProgram& program, int index, float before, float after);

    // The program list as the browser shows it: every program with its texts, copied
    // under the lock, and a number that changes whenever programs come, go or get new
    // texts (from any thread).
    struct ListEntry
    {
        PluginProgram* program;
        PluginProgram::Texts texts;
    };

    std::vector<ListEntry> listPrograms() const;
    juce::uint32 getListRevision() const noexcept   { return listRevision.load(); }
    void noteListChanged() noexcept                 { ++listRevision; }

    // Whether a program is in the list (any thread).
    bool contains (const PluginProgram* program) const;

    // Used by the steps themselves.
    QuenbyAudioProcessor& getProcessor() noexcept   { return processor; }
    void applyValue (PluginProgram& program, int index, float value);

    // Changes the program list: notes stop, then the change runs under the callback lock
    // and the program it returns becomes current under the same lock, so no host call ever
    // reaches a program that left the list. A change that returns nullptr changed nothing.
    bool changeList (const std::function<PluginProgram* (PluginDatabase&)>& change);
    void switchTo (PluginProgram* program, bool stopNotes);

private:
    void parameterValueChanged (int, float) override {}
    void parameterGestureChanged (int parameterIndex, bool gestureIsStarting) override;

    // Runs a step as a transaction of its own.
    bool perform (juce::UndoableAction* step, const juce::String& name);

    QuenbyAudioProcessor& processor;
    juce::UndoManager history { maximumUnits, minimumSteps };
    std::atomic<juce::uint32> listRevision { 0 };

    std::bitset<PluginProgram::numParameters> openGestures;
    bool applyingHistory = false;

    JUCE_DECLARE_NON_COPYABLE (ProgramManager)
};
