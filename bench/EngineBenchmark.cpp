// Real-time factors of the processor: audio seconds rendered per CPU second, at 48 kHz
// in 512-sample blocks, with a fixed number of voices kept sounding.
#include "Enumeration.h"
#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <fstream>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    using Settings = std::vector<std::pair<const char*, float>>;

    void setParameter (QuenbyAudioProcessor& processor, const char* name, float value)
    {
        for (int index = 0; index < Enumeration::numParameters; ++index)
            if (Enumeration::getName (index) == name)
                processor.state->getCurrentProgram()->getParameter (index)->setValue (value);
    }

    // Holds `voices` distinct notes with a full sustain, then measures blocks.
    void renderVoices (benchmark::State& benchState, const Settings& settings)
    {
        const auto voices = (int) benchState.range (0);

        QuenbyAudioProcessor processor;
        processor.switchToProgram (processor.state->database->createProgram());
        setParameter (processor, "EnvAmpOsc1Sustain", 1.0f);
        setParameter (processor, "EnvAmpOsc2Sustain", 1.0f);

        for (const auto& [name, value] : settings)
            setParameter (processor, name, value);

        processor.synthAudioSource->parametersChanged();
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);

        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;

        for (int i = 0; i < voices; ++i)
            midi.addEvent (juce::MidiMessage::noteOn (1, i % 128, 0.8f), 0);

        processor.processBlock (buffer, midi);

        // Past the attacks, so every measured block has all voices in their steady state.
        for (int i = 0; i < 100; ++i)
        {
            midi.clear();
            processor.processBlock (buffer, midi);
        }

        for (auto _ : benchState)
        {
            midi.clear();
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0)[0]);
        }

        benchState.counters["realtime_x"] = benchmark::Counter (blockSize / sampleRate,
                                                              benchmark::Counter::kIsIterationInvariantRate);
        benchState.counters["voices"] = voices;
        processor.releaseResources();
    }

    void BothOscillators (benchmark::State& state)
    {
        renderVoices (state, { { "Osc2Active", 1.0f }, { "Osc1WaveType", 3.0f }, { "Osc2WaveType", 1.0f } });
    }

    juce::String cpuModel()
    {
        std::ifstream info ("/proc/cpuinfo");
        std::string line;

        while (std::getline (info, line))
            if (line.rfind ("model name", 0) == 0)
                return juce::String (line).fromFirstOccurrenceOf (":", false, false).trim();

        return "unknown";
    }
}

BENCHMARK (BothOscillators)->Arg (8)->Arg (32)->Arg (128)->Unit (benchmark::kMicrosecond);

int main (int argc, char** argv)
{
    // The processor reads and writes its program database: keep it away from the user's.
    auto configHome = juce::File::createTempFile ("quenby-bench-config");
    configHome.createDirectory();
    ::setenv ("XDG_CONFIG_HOME", configHome.getFullPathName().toRawUTF8(), 1);
    ::setenv ("HOME", configHome.getFullPathName().toRawUTF8(), 1);   // JUCE finds ~/.config through HOME

    benchmark::AddCustomContext ("cpu_model", cpuModel().toStdString());
    benchmark::Initialize (&argc, argv);

    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        benchmark::RunSpecifiedBenchmarks();
    }

    benchmark::Shutdown();
    configHome.deleteRecursively();
    return 0;
}
