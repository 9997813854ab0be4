#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <bitset>
#include <optional>
#include <vector>

// The frequency of every note the engine can reach: equal temperament with A at 440 Hz, or
// what a scale and a keyboard mapping make of each key. A plain value, copied whole into
// the engine; no allocation, any thread.
class NoteFrequencies
{
public:
    // Notes an oscillator reaches with its offset and the wheel's range lie in this range;
    // notes beyond it take the nearer end.
    static constexpr int lowestNote = -128, highestNote = 255;

    bool isEqualTemperament() const noexcept         { return equalTemperament; }

    // Hz; equal temperament exactly as 440 x 2^((note - 69) / 12).
    double frequencyOf (int note) const noexcept;

    // False for a key the mapping leaves out: it plays nothing.
    bool sounds (int note) const noexcept;

private:
    friend class Tuning;

    bool equalTemperament = true;
    std::array<double, highestNote - lowestNote + 1> hertz {};
    std::bitset<128> silentKeys;
};

// A Scala scale (.scl) and keyboard mapping (.kbm) as an instance holds them: the texts as
// they were read (so that a project carries them), the scale's description, and the
// frequencies they give. Reading refuses anything that is not a valid scale or mapping
// with a message that says why, in a line; it never throws, hangs or reads past its input.
class Tuning
{
public:
    // Each text at most this many bytes: a state chunk carries them.
    static constexpr int largestText = 64 * 1024;

    // Equal temperament: no texts, no description.
    Tuning() = default;

    struct Read;

    // An empty scale text stands for twelve equal steps; an empty mapping for the standard
    // one (key 60 is the scale's first degree, key 69 sounds 440 Hz, every key one degree).
    static Read read (const juce::String& scaleText, const juce::String& mappingText);

    // The text of a file's bytes, as a Scala file is most likely written (UTF-8, else Latin-1).
    static juce::String textOf (const void* data, size_t size);

    // read with the texts of a scale file and a mapping file; File() for none. A file that
    // cannot be read or is larger than largestText is refused with its name.
    static Read readFiles (const juce::File& scaleFile, const juce::File& mappingFile);

    // This tuning with one file's text in place of its scale, or of its mapping when the
    // file's name ends in ".kbm".
    Read withFile (const juce::File& file) const;

    bool isEqualTemperament() const noexcept            { return frequencies.isEqualTemperament(); }
    const juce::String& getScaleText() const noexcept   { return scaleText; }
    const juce::String& getMappingText() const noexcept { return mappingText; }
    const juce::String& getDescription() const noexcept { return description; }
    const NoteFrequencies& getFrequencies() const noexcept { return frequencies; }

private:
    juce::String scaleText, mappingText, description;
    NoteFrequencies frequencies;
};

struct Tuning::Read
{
    std::optional<Tuning> tuning;
    juce::String error;         // empty when tuning holds the result
};
