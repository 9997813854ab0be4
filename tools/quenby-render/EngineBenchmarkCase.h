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
//   wobble:   standard with each voice's LFO on the filter.
// Shared by quenby-render --bench and the Google Benchmark program.
class EngineBenchmarkCase
{
public:
    enum class Kind { light, standard, heavy, idle, vibrato, wobble };

    static constexpr std::array<Kind, 6> allKinds { Kind::light, Kind::standard, Kind::heavy, Kind::idle,
                                                    Kind::vibrato, Kind::wobble };
    static constexpr double sampleRate = 48000.0;
    static constexpr int blockSize = 512;

    static const char* getName (Kind kind) noexcept;

    // Builds the processor, strikes the notes (none for idle) and renders past the attacks.
    EngineBenchmarkCase (Kind kind, int numVoices);
    ~EngineBenchmarkCase();

    void renderBlock();
    float firstSample() const noexcept   { return buffer.getSample (0, 0); }

    // Renders at least this much audio and returns audio seconds per CPU second.
    double measureRealTimeFactor (double audioSeconds);

    // The CPU model from /proc/cpuinfo, or "unknown".
    static juce::String getCpuModel();

private:
    std::unique_ptr<QuenbyAudioProcessor> processor;
    juce::AudioBuffer<float> buffer { 2, blockSize };
    juce::MidiBuffer midi;
};
