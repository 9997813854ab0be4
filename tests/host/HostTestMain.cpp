#include <gtest/gtest.h>

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdlib>

// The plug-ins under test read and write their program database under XDG_CONFIG_HOME,
// and JUCE's LV2 hosting finds bundles only under ~/.lv2: both point into a temporary
// home, whose ~/.lv2 links the freshly built bundle.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    auto home = juce::File::createTempFile ("quenby-host-home");
    home.getChildFile (".lv2").createDirectory();
    home.getChildFile (".config").createDirectory();
    juce::File (QUENBY_LV2_BUNDLE).createSymbolicLink (home.getChildFile (".lv2").getChildFile ("Quenby.lv2"), true);

    ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    ::setenv ("XDG_CONFIG_HOME", home.getChildFile (".config").getFullPathName().toRawUTF8(), 1);
    ::unsetenv ("LV2_PATH");

    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = RUN_ALL_TESTS();
    }

    home.deleteRecursively();
    return result;
}
