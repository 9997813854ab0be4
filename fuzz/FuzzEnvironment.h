#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>

// Points HOME and XDG_CONFIG_HOME at a temporary folder for the whole run, so no input
// ever reaches the user's program database, and removes the folder at exit. The folder is
// in memory where the system offers it: JUCE syncs every file it writes to the disk, which
// would make file writes most of a run's time.
struct FuzzEnvironment
{
    FuzzEnvironment()
    {
        const juce::File memory ("/dev/shm");
        home = memory.isDirectory() && memory.hasWriteAccess()
                 ? memory.getNonexistentChildFile ("quenby-fuzz-home", {}, false)
                 : juce::File::createTempFile ("quenby-fuzz-home");
        home.createDirectory();
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
        ::setenv ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName().toRawUTF8(), 1);
    }

    ~FuzzEnvironment()
    {
        home.deleteRecursively();
    }

    juce::File home;
};
