#pragma once

#include "RenderOptions.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>

class QuenbyAudioProcessor;
class PluginDatabase;

// Drives the real processor the way a host does: a play head with the tempo, the MIDI
// file's events delivered in host-sized blocks, and rendering past the last event until
// the output has been silent for a moment (or the tail cap is reached).
class OfflineRenderer
{
public:
    struct Result
    {
        juce::int64 numSamples = 0;
        double sampleRate = 0.0;
        double bpm = 120.0;
        std::vector<float> peaks;          // per channel, linear
        double rms = 0.0;                  // linear, over every channel up to the song's last event
        double processingSeconds = 0.0;    // time spent in processBlock

        double getAudioSeconds() const noexcept     { return sampleRate > 0.0 ? (double) numSamples / sampleRate : 0.0; }
        double getRealTimeFactor() const noexcept   { return processingSeconds > 0.0 ? getAudioSeconds() / processingSeconds : 0.0; }
    };

    using ProgressCallback = std::function<void (double proportionDone)>;

    explicit OfflineRenderer (const RenderOptions& options);

    // Renders to the options' output file; the file appears only when complete. On failure
    // returns false, says why in error and leaves no file behind.
    bool render (Result& result, juce::String& error, const ProgressCallback& progress = {});

    // Renders into memory instead of a file: the whole output, every channel.
    bool renderToBuffer (juce::AudioBuffer<float>& output, Result& result, juce::String& error);

    // The one-line summary: file, duration, peak per channel in dBFS, real-time factor.
    static juce::String describe (const Result& result, const juce::File& outputFile);

    // Applies --set values the way a host does, through the processor's edit path.
    static bool applyParameterSets (QuenbyAudioProcessor& processor, const RenderOptions& options, juce::String& error);

    // Brings the processor to the sound the options ask for: the first program of the
    // --program-file or the --program of the database (else a new program with the default
    // values), then the --state chunk, then the --set values and the --cc controllers; then
    // writes the state chunk to the --save-state file.
    static bool setUpSound (QuenbyAudioProcessor& processor, const RenderOptions& options, juce::String& error);

    // For options without MIDI and WAV files: sets up the sound and only writes its state.
    bool saveStateOnly (juce::String& error);

    // What the user should know about the program database file: that it did not load
    // completely (and why), and whether a copy of it was kept before it was written.
    static juce::StringArray describeDatabase (const PluginDatabase& database);

    // The notes of describeDatabase from the last render or saveStateOnly.
    const juce::StringArray& getWarnings() const noexcept      { return warnings; }

private:
    // Adds to the warnings what of the user's settings and the --state chunk's MIDI mappings
    // could not be read.
    void noteMidiProblems (QuenbyAudioProcessor& processor);

    // Each rendered block in turn; false stops the render as failed (error says why).
    using BlockSink = std::function<bool (const juce::AudioBuffer<float>& block, int numSamples, juce::String& error)>;

    bool renderSong (const BlockSink& sink, Result& result, juce::String& error, const ProgressCallback& progress);

    const RenderOptions options;
    juce::StringArray warnings;
};
