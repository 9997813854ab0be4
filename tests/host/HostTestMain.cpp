#include <gtest/gtest.h>

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdlib>
#include <dlfcn.h>

namespace
{
    // Plug-in windows set window-manager properties that a bare X server (Xvfb without a
    // window manager) does not know; Xlib's default error handler would end the process at
    // the first such request. JUCE's own applications ignore these errors, and so does this
    // host. JUCE loads Xlib at run time, so the handler is set the same way.
    void ignoreXErrors()
    {
        using ErrorHandler = int (*) (void*, void*);
        using SetErrorHandler = ErrorHandler (*) (ErrorHandler);

        if (auto* xlib = ::dlopen ("libX11.so.6", RTLD_LAZY | RTLD_GLOBAL))
            if (auto setErrorHandler = reinterpret_cast<SetErrorHandler> (::dlsym (xlib, "XSetErrorHandler")))
                setErrorHandler ([] (void*, void*) { return 0; });
    }
}

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
    ignoreXErrors();

    int result = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = RUN_ALL_TESTS();
    }

    home.deleteRecursively();
    return result;
}
