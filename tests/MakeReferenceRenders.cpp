// Writes the reference renders of the regression patterns into a folder (tests/reference).
// Run it only when the engine's output is meant to change, and say why in the commit.
#include "RenderPatterns.h"

#include <iostream>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: quenby_reference_renders OUTPUT_FOLDER\n";
        return 2;
    }

    // The processor reads and writes its program database: keep it away from the user's.
    auto configHome = juce::File::createTempFile ("quenby-reference-config");
    configHome.createDirectory();
    ::setenv ("XDG_CONFIG_HOME", configHome.getFullPathName().toRawUTF8(), 1);
    ::setenv ("HOME", configHome.getFullPathName().toRawUTF8(), 1);   // JUCE takes ~/.config from HOME

    int status = 0;
    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
        folder.createDirectory();

        for (const auto& pattern : render_patterns::allPatterns())
        {
            const auto file = render_patterns::referenceFile (folder, pattern);
            const auto audio = render_patterns::render (pattern);

            if (! render_patterns::writeReference (file, audio))
            {
                std::cerr << "cannot write " << file.getFullPathName() << "\n";
                status = 1;
                continue;
            }

            std::cout << file.getFullPathName() << ": peak " << audio.getMagnitude (0, audio.getNumSamples())
                      << "\n";
        }
    }

    configHome.deleteRecursively();
    return status;
}
