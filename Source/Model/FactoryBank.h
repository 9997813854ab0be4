#pragma once

#include "Model/PluginDatabase.h"

#include <memory>
#include <vector>

// The factory bank: the programs of presets/Factory.xml, which the build puts into the
// binary, and how a user's program database comes to hold them.
//
// A new user's database starts with "Initial Program" followed by the bank; an existing
// one gains the factory programs it does not hold, by their fixed identifiers, after its
// own programs. Both happen once: the user's settings remember the version of the bank
// they were offered, so a factory program deleted or changed later (or a database file
// deleted) brings nothing back. "Restore factory programs" adds back the missing ones on
// request.
class FactoryBank
{
public:
    // Raised whenever programs are added to presets/Factory.xml, so that databases offered
    // an earlier bank gain the new ones at their next start.
    static constexpr int version = 1;

    // The bank's programs in the file's order, read once from the binary's copy.
    static const juce::OwnedArray<PluginProgram>& getPrograms();

    // The first factory program of that name, or nullptr.
    static const PluginProgram* findProgram (const juce::String& name);

    // Copies of the factory programs whose identifiers the database does not hold, in the
    // bank's order.
    static std::vector<std::unique_ptr<PluginProgram>> copyMissingFrom (const PluginDatabase& database);

    // The load of a processor or a tool that starts: loads the database (creating its file
    // when there is none), then offers the bank unless the settings say this version was
    // offered. What it adds is written to the file at once (keeping a copy of a damaged
    // file first, as every write does) and the version is remembered; when the file cannot
    // be written, the next start offers again. Returns the number of programs added.
    static int loadAtStart (PluginDatabase& database, const juce::File& settingsFile = getSettingsFile());

    static juce::File getSettingsFile();
};
