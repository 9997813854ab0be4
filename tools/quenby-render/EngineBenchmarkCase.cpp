#include "EngineBenchmarkCase.h"
#include "OfflineRenderer.h"
#include "Processor/PluginProcessor.h"

#include <ctime>
#include <vector>

namespace
{
    using Settings = std::vector<std::pair<ParameterIndex::Index, float>>;

    Settings settingsFor (EngineBenchmarkCase::Kind kind)
    {
        using namespace ParameterIndex;

        // Full sustain keeps every voice at a steady level once its attack is over.
        Settings settings { { EnvAmpOsc1Sustain, 1.0f }, { EnvAmpOsc2Sustain, 1.0f } };
        const Settings standard { { Osc2Active, 1.0f }, { Osc1WaveType, OscillatorWave::square }, { Osc2WaveType, OscillatorWave::square },
                                  { Filter1Active, 1.0f }, { Filter1Type, FilterType::lowpass }, { Filter1Cutoff, 0.5f },
                                  { Filter1Resonance, 0.2f }, { EnvFilter1Active, 0.0f } };
        const Settings voiceLfo { { Lfo1Active, 1.0f }, { Lfo1Mode, LfoMode::retrigger }, { Lfo1WaveType, LfoWave::sine },
                                  { Lfo1Speed, 0.5f } };
        Settings extra;

        switch (kind)
        {
            case EngineBenchmarkCase::Kind::light:
                break;

            case EngineBenchmarkCase::Kind::standard:
                extra = standard;
                break;

            case EngineBenchmarkCase::Kind::vibrato:
            case EngineBenchmarkCase::Kind::wobble:
                extra = standard;
                extra.insert (extra.end(), voiceLfo.begin(), voiceLfo.end());
                extra.push_back ({ Lfo1Target, kind == EngineBenchmarkCase::Kind::vibrato ? LfoTarget::pitch : LfoTarget::filter });
                extra.push_back ({ Lfo1Mix, kind == EngineBenchmarkCase::Kind::vibrato ? 0.05f : 0.5f });
                break;

            case EngineBenchmarkCase::Kind::heavy:
                // Attacks of 15 s keep the filter and pitch envelopes moving while measured.
                extra = { { Osc2Active, 1.0f }, { Osc1WaveType, OscillatorWave::sawtooth }, { Osc2WaveType, OscillatorWave::square },
                          { Filter1Active, 1.0f }, { Filter1Cutoff, 0.6f }, { Filter1Resonance, 0.2f },
                          { EnvFilter1Active, 1.0f }, { EnvFilter1Attack, 1.0f },
                          { EnvPitchOsc1Active, 1.0f }, { EnvPitchOsc1Attack, 1.0f },
                          { EnvPitchOsc2Active, 1.0f }, { EnvPitchOsc2Attack, 1.0f },
                          { Lfo1Active, 1.0f }, { Lfo1Mode, LfoMode::retrigger }, { Lfo1Target, LfoTarget::amp },
                          { Lfo1WaveType, LfoWave::sine }, { Lfo1Speed, 0.5f }, { Lfo1Mix, 0.3f },
                          { Delay1Active, 1.0f }, { Reverb1Active, 1.0f } };
                break;

            case EngineBenchmarkCase::Kind::idle:
                extra = { { Delay1Active, 1.0f }, { Reverb1Active, 1.0f } };
                break;
        }

        settings.insert (settings.end(), extra.begin(), extra.end());
        return settings;
    }

    double cpuSeconds() noexcept
    {
        return (double) std::clock() / CLOCKS_PER_SEC;
    }
}

const char* EngineBenchmarkCase::getName (Kind kind) noexcept
{
    switch (kind)
    {
        case Kind::light:    return "light";
        case Kind::standard: return "standard";
        case Kind::heavy:    return "heavy";
        case Kind::idle:     return "idle";
        case Kind::vibrato:  return "vibrato";
        case Kind::wobble:   return "wobble";
    }

    return "unknown";
}

EngineBenchmarkCase::EngineBenchmarkCase (Kind kind, int numVoices)
    : processor (std::make_unique<QuenbyAudioProcessor>())
{
    processor->switchToProgram (processor->state->database->createProgram());

    for (const auto& [index, value] : settingsFor (kind))
        processor->getEditPath().set (index, value, ParameterEditPath::Writer::editor);

    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);

    if (kind != Kind::idle)
        for (int i = 0; i < numVoices; ++i)
            midi.addEvent (juce::MidiMessage::noteOn (1, i % 128, 0.8f), 0);

    // A second of audio: past the amplitude attacks (0.3 s) into the steady state.
    for (int i = 0; i < 100; ++i)
        renderBlock();
}

EngineBenchmarkCase::~EngineBenchmarkCase()
{
    processor->releaseResources();
}

void EngineBenchmarkCase::renderBlock()
{
    processor->processBlock (buffer, midi);
}

double EngineBenchmarkCase::measureRealTimeFactor (double audioSeconds)
{
    const auto numBlocks = juce::jmax (1, (int) std::ceil (audioSeconds * sampleRate / blockSize));
    const auto started = cpuSeconds();

    for (int i = 0; i < numBlocks; ++i)
        renderBlock();

    const auto elapsed = cpuSeconds() - started;
    const auto rendered = numBlocks * blockSize / sampleRate;
    return elapsed > 0.0 ? rendered / elapsed : 0.0;
}

juce::String EngineBenchmarkCase::getCpuModel()
{
    const auto lines = juce::StringArray::fromLines (juce::File ("/proc/cpuinfo").loadFileAsString());

    for (const auto& line : lines)
        if (line.startsWith ("model name"))
            return line.fromFirstOccurrenceOf (":", false, false).trim();

    return "unknown";
}
