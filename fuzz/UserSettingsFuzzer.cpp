#include "FuzzEnvironment.h"
#include "Model/UserSettings.h"

#include <cstdint>
#include <iterator>

// Any bytes as the user's settings file: reading gives a zoom of the menu and MIDI mappings
// a musician could have made, and settings saved over such a file read back as they were
// saved.
namespace
{
    FuzzEnvironment environment;

    void check (bool condition)
    {
        if (! condition)
            __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto loaded = UserSettings::read (data, size);
    check (UserSettings::isZoomStep (loaded.settings.zoomPercent));

    const auto& midi = loaded.settings.midi;
    check (MidiMappings::isChannel (midi.getChannel()));

    for (int controller = 0; controller < MidiMappings::numControllers; ++controller)
        if (const auto parameterIndex = midi.getParameter (controller); parameterIndex != MidiMappings::none)
            check (MidiMappings::isLearnable (controller) && midi.getController (parameterIndex) == controller);

    // Every so often through a file, as the window reads and writes it.
    if (size > 0 && data[0] % 16 == 0)
    {
        const auto file = UserSettings::getDefaultFile();
        file.getParentDirectory().createDirectory();
        check (file.replaceWithData (data, size) || size == 0);

        auto settings = UserSettings::load (file).settings;
        settings.zoomPercent = UserSettings::zoomSteps[size % std::size (UserSettings::zoomSteps)];
        check (settings.save (file));

        const auto reloaded = UserSettings::load (file);
        check (reloaded.settings.zoomPercent == settings.zoomPercent);
        check (reloaded.settings.midi == settings.midi);
    }

    return 0;
}
