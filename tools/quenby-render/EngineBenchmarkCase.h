#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <memory>

class QuenbyAudioProcessor;

// One of the engine's benchmark situations, played through the real processor at 48 kHz
// in 512-sample blocks with a number of voices held in a steady state:
//   light:    oscillator 1 sine only, filter and effects off;
//   standard: both oscillators square, lowpass at a fixed cutoff, effects off;
//   heavy:    sawtooth and square, filter envelope and pitch envelopes moving (15 s
//             attacks), voice LFO, delay and reverb;
//   idle:     no note held, delay and reverb on;
//   vibrato:  standard with each voice's LFO on the pitch;
//   wobble:   standard with each voice's LFO on the filter;
//   storm:    heavy, with 128 note-ons in one block every quarter of a second, which
//             take over (steal) every voice, and 64-sample blocks unless told otherwise.
// Shared by quenby-render --bench and the Google Benchmark program.
class EngineBenchmarkCase
{
public:
    enum class Kind { light, standard, heavy, idle, vibrato, wobble, storm };

    static constexpr std::array<Kind, 7> allKinds { Kind::light, Kind::standard, Kind::heavy, Kind::idle,
                                                    Kind::vibrato, Kind::wobble, Kind::storm };
    static constexpr double sampleRate = 48000.0;
    static constexpr int blockSize = 512;
    static constexpr int stormBlockSize = 64;

    static const char* getName (Kind kind) noexcept;

    // The block size a case runs with unless told otherwise.
    static int getDefaultBlockSize (Kind kind) noexcept   { return kind == Kind::storm ? stormBlockSize : blockSize; }

    // Builds the processor, strikes the notes (none for idle) and renders past the attacks,
    // in blocks of the given size (the case's own when 0), with the voice lanes of the
    // named instruction set ("avx512", "avx2"), or none ("off"), or the widest the
    // machine has (empty). Throws std::invalid_argument for a set the machine lacks.
    EngineBenchmarkCase (Kind kind, int numVoices, int blockSizeToUse = 0, const juce::String& lanes = {});
    ~EngineBenchmarkCase();

    void renderBlock();
    float firstSample() const noexcept   { return buffer.getSample (0, 0); }
    int getBlockSize() const noexcept    { return numBlockSamples; }

    // The instruction set of the voice lanes, or "off".
    juce::String getLanes() const;

    // Real-time factor (audio seconds per CPU second) and the median and slowest block's
    // wall-clock time in microseconds.
    struct Measurement
    {
        double realTimeFactor = 0.0;
        double medianBlockMicroseconds = 0.0;
        double slowestBlockMicroseconds = 0.0;
    };

    // Renders at least this much audio, timing every block.
    Measurement measure (double audioSeconds);

    // Renders at least this much audio and returns audio seconds per CPU second.
    double measureRealTimeFactor (double audioSeconds)   { return measure (audioSeconds).realTimeFactor; }

    // The CPU model from /proc/cpuinfo, or "unknown".
    static juce::String getCpuModel();

private:
    const Kind kind;
    const int numBlockSamples;
    std::unique_ptr<QuenbyAudioProcessor> processor;
    juce::AudioBuffer<float> buffer;
    juce::MidiBuffer midi;
    int blocksRendered = 0;
};
