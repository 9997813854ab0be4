#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <utility>

// What quenby-render was asked to do, read from its command line.
struct RenderOptions
{
    juce::File midiFile;
    juce::String phrase;                    // --phrase: a built-in phrase played instead of a MIDI file
    juce::File outputFile;
    double sampleRate = 48000.0;
    int blockSize = 512;
    int numChannels = 2;
    int bitsPerSample = 32;                 // 32 writes floating-point samples
    std::optional<double> bpm;              // default: the MIDI file's first tempo, else 120
    double tailSeconds = 30.0;              // cap on rendering after the last event
    std::vector<std::pair<juce::String, float>> parameterSets;   // --set Name=value, in order

    // --at SECONDS NAME=VALUE: a parameter change at that time of the song.
    struct TimedChange
    {
        double seconds = 0.0;
        int parameterIndex = 0;
        float value = 0.0f;
    };

    std::vector<TimedChange> timedChanges;  // in the order given

    // --cc NUMBER=NAME: a controller bound to a parameter for the render.
    std::vector<std::pair<int, int>> controllerBindings;   // controller, parameter index
    juce::String programName;               // --program: play the database's program of that name
    juce::File programFile;                 // --program-file: play the first program of a program file
    juce::File stateFile;                   // --state: a saved state chunk restored before rendering
    juce::File saveStateFile;               // --save-state: where the resulting state chunk goes
    juce::File scaleFile, mappingFile;      // --scl, --kbm: the tuning, replacing the state file's

    bool listParameters = false;            // --list-parameters: print the parameter table instead
    bool listPrograms = false;              // --list-programs: print the database's programs instead

    // True when a table is to be printed, and nothing else done.
    bool listsOnly() const                  { return listParameters || listPrograms; }

    // False when only --save-state was asked for, without MIDI and WAV files.
    bool rendersAudio() const               { return midiFile != juce::File() || phrase.isNotEmpty(); }

    // Reads the arguments (without the program name). On failure returns an empty
    // optional and says why in error.
    static std::optional<RenderOptions> parse (const juce::StringArray& arguments, juce::String& error);

    static juce::String getUsage();
};
