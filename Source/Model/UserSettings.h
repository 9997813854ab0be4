#pragma once

#include "Model/MidiMappings.h"

#include <juce_core/juce_core.h>

// What one user keeps for every instance of the instrument, in "Quenby/Settings.xml" in the
// application-data directory: one element QUENBY_SETTINGS whose attributes and children are
// the settings. A setting joins by a member, a line in readFrom and a line in writeTo.
//
// Reading never fails: a missing file gives the defaults, a damaged one (unreadable, not
// XML, another root, a value out of range) the defaults of what it does not hold properly,
// with a message saying what was wrong. Writing keeps whatever else the file holds, so a
// newer build's settings survive an older one. Any thread, one at a time per file.
class UserSettings
{
public:
    // The window's zoom, in percent: one of zoomSteps.
    static constexpr int zoomSteps[] = { 75, 100, 125, 150, 175, 200 };
    static constexpr int defaultZoomPercent = 100;
    int zoomPercent = defaultZoomPercent;

    static bool isZoomStep (int percent) noexcept;

    // The MIDI channel and the controllers learned, which every new instance starts with.
    MidiMappings midi;

    // The version of the factory bank this user's program database was offered, 0 for none.
    int factoryVersion = 0;

    // Settings and why they are not all the file's (empty when the file was fine or absent).
    struct Loaded;

    static juce::File getDefaultFile();

    static Loaded load (const juce::File& file = getDefaultFile());

    // The settings in a file's bytes, as load reads them.
    static Loaded read (const void* data, size_t size);

    // Writes these settings into the file, keeping the rest of what it holds; false when the
    // file could not be written.
    bool save (const juce::File& file = getDefaultFile()) const;

    void readFrom (const juce::XmlElement& element, juce::StringArray& problems);
    void writeTo (juce::XmlElement& element) const;

    static constexpr const char* rootTag = "QUENBY_SETTINGS";

    // Larger files are not settings this program wrote; they are left unread.
    static constexpr juce::int64 largestFileSize = 1 << 20;
};

struct UserSettings::Loaded
{
    UserSettings settings;
    juce::String problem;
};
