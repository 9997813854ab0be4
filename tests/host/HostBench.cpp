// Creates one instance of a built plug-in format the way a DAW does and says how long that
// took and the process's peak memory, for bench/database-scaling.sh. The plug-in reads the
// program database under the HOME it is given.
//
//   quenby_hostbench vst3|vst2|lv2
#include <juce_audio_processors/juce_audio_processors.h>

#include <iostream>
#include <sys/resource.h>

int main (int argc, char** argv)
{
    const juce::String format (argc > 1 ? argv[1] : "vst3");
    const juce::ScopedJuceInitialiser_GUI juceInitialiser;

    juce::VSTPluginFormat vst2;
    juce::VST3PluginFormat vst3;
    juce::LV2PluginFormat lv2;
    juce::AudioPluginFormat& chosen = format == "vst2" ? (juce::AudioPluginFormat&) vst2
                                    : format == "lv2" ? (juce::AudioPluginFormat&) lv2 : (juce::AudioPluginFormat&) vst3;
    const juce::String location = format == "vst2" ? QUENBY_VST2_FILE
                                : format == "lv2" ? QUENBY_LV2_URI
                                : juce::File (QUENBY_VST3_LIBRARY).getParentDirectory().getParentDirectory().getParentDirectory().getFullPathName();

    juce::OwnedArray<juce::PluginDescription> descriptions;
    chosen.findAllTypesForFile (descriptions, location);

    if (descriptions.isEmpty())
    {
        std::cerr << "quenby_hostbench: no plug-in at " << location << std::endl;
        return 1;
    }

    const auto start = juce::Time::getMillisecondCounterHiRes();
    juce::String error;
    auto instance = chosen.createInstanceFromDescription (*descriptions[0], 48000.0, 512, error);
    const auto seconds = (juce::Time::getMillisecondCounterHiRes() - start) / 1000.0;

    if (instance == nullptr)
    {
        std::cerr << "quenby_hostbench: " << error << std::endl;
        return 1;
    }

    rusage usage {};
    ::getrusage (RUSAGE_SELF, &usage);
    std::cout << format << " instance created in " << juce::String (seconds, 3) << " s; peak memory "
              << juce::String ((double) usage.ru_maxrss / 1024.0, 1) << " MB" << std::endl;
    return 0;
}
