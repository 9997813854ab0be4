#include <gtest/gtest.h>

#include "DatabaseFileHelpers.h"

#include <juce_events/juce_events.h>

#include <cstdlib>

// Every test runs with its application-data directory in a fresh temporary folder, so
// no test reads or writes the user's program database.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    auto configHome = juce::File::createTempFile ("quenby-test-config");
    configHome.createDirectory();
    ::setenv ("XDG_CONFIG_HOME", configHome.getFullPathName().toRawUTF8(), 1);

    // JUCE on Linux does not read XDG_CONFIG_HOME from the environment: it takes the
    // application-data directory from ~/.config/user-dirs.dirs, else ~/.config, with ~
    // from HOME. A temporary HOME keeps the tests away from the user's files.
    ::setenv ("HOME", configHome.getFullPathName().toRawUTF8(), 1);

    // The tests start as a user who was offered the factory bank already, so a database
    // they create holds "Initial Program" alone; the factory bank's tests start afresh.
    testing_helpers::writeOfferedSettings();

    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = RUN_ALL_TESTS();
    }

    configHome.deleteRecursively();
    return result;
}
