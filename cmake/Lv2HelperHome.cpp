// Linked into JUCE's LV2 description helper, which loads the plug-in during the build: before
// the helper's main runs, home and configuration point into the build folder, so the plug-in
// opens a program database there rather than the builder's own.
#include <cstdlib>

namespace
{
    const bool homeInBuildFolder = []
    {
        setenv ("HOME", QUENBY_LV2_HELPER_HOME, 1);
        setenv ("XDG_CONFIG_HOME", QUENBY_LV2_HELPER_HOME, 1);
        return true;
    }();
}
