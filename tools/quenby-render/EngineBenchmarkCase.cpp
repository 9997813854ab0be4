#include "EngineBenchmarkCase.h"
#include "OfflineRenderer.h"
#include "Engine/VoiceLaneRenderer.h"
#include "Processor/PluginProcessor.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>
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
            case EngineBenchmarkCase::Kind::storm:
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
        case Kind::storm:    return "storm";
    }

    return "unknown";
}

EngineBenchmarkCase::EngineBenchmarkCase (Kind kindToRun, int numVoices, int blockSizeToUse, const juce::String& lanes)
    : kind (kindToRun),
      numBlockSamples (blockSizeToUse > 0 ? blockSizeToUse : getDefaultBlockSize (kindToRun)),
      processor (std::make_unique<QuenbyAudioProcessor>()),
      buffer (2, numBlockSamples)
{
    auto& laneRenderer = processor->synthAudioSource->getSynth().getLaneRenderer();

    if (lanes == "off")
        laneRenderer.setEnabled (false);
    else if (lanes.isNotEmpty() && ! laneRenderer.useInstructionSet (lanes.toRawUTF8()))
        throw std::invalid_argument ("this machine cannot run voice lanes of " + lanes.toStdString());

    processor->switchToProgram (processor->state->database->createProgram());

    for (const auto& [index, value] : settingsFor (kind))
        processor->getEditPath().set (index, value, ParameterEditPath::Writer::editor);

    processor->setRateAndBufferSizeDetails (sampleRate, numBlockSamples);
    processor->prepareToPlay (sampleRate, numBlockSamples);

    if (kind != Kind::idle && kind != Kind::storm)
        for (int i = 0; i < numVoices; ++i)
            midi.addEvent (juce::MidiMessage::noteOn (1, i % 128, 0.8f), 0);

    // A second of audio: past the amplitude attacks (0.3 s) into the steady state.
    const auto warmUpBlocks = (int) std::ceil (sampleRate / numBlockSamples);

    for (int i = 0; i < warmUpBlocks; ++i)
        renderBlock();
}

EngineBenchmarkCase::~EngineBenchmarkCase()
{
    processor->releaseResources();
}

void EngineBenchmarkCase::renderBlock()
{
    // The storm: every note at once, four times a second.
    const auto stormEvery = (int) (sampleRate / 4.0 / numBlockSamples);

    if (kind == Kind::storm && blocksRendered % juce::jmax (1, stormEvery) == 0)
        for (int note = 0; note < 128; ++note)
            midi.addEvent (juce::MidiMessage::noteOn (1, note, 0.8f), 0);

    processor->processBlock (buffer, midi);
    ++blocksRendered;
}

EngineBenchmarkCase::Measurement EngineBenchmarkCase::measure (double audioSeconds)
{
    const auto numBlocks = juce::jmax (1, (int) std::ceil (audioSeconds * sampleRate / numBlockSamples));
    std::vector<double> blockMicroseconds ((size_t) numBlocks);
    const auto started = cpuSeconds();

    for (int i = 0; i < numBlocks; ++i)
    {
        const auto blockStart = std::chrono::steady_clock::now();
        renderBlock();
        const std::chrono::duration<double, std::micro> blockTime = std::chrono::steady_clock::now() - blockStart;
        blockMicroseconds[(size_t) i] = blockTime.count();
    }

    const auto elapsed = cpuSeconds() - started;
    const auto rendered = numBlocks * numBlockSamples / sampleRate;

    Measurement result;
    result.realTimeFactor = elapsed > 0.0 ? rendered / elapsed : 0.0;
    result.slowestBlockMicroseconds = *std::max_element (blockMicroseconds.begin(), blockMicroseconds.end());
    std::nth_element (blockMicroseconds.begin(), blockMicroseconds.begin() + numBlocks / 2, blockMicroseconds.end());
    result.medianBlockMicroseconds = blockMicroseconds[(size_t) numBlocks / 2];
    return result;
}

juce::String EngineBenchmarkCase::getLanes() const
{
    const auto& laneRenderer = processor->synthAudioSource->getSynth().getLaneRenderer();
    const bool running = laneRenderer.isEnabled() && laneRenderer.getLaneWidth() > 0;
    return running ? juce::String (laneRenderer.getInstructionSetName()) : juce::String ("off");
}

juce::String EngineBenchmarkCase::getCpuModel()
{
    const auto lines = juce::StringArray::fromLines (juce::File ("/proc/cpuinfo").loadFileAsString());

    for (const auto& line : lines)
        if (line.startsWith ("model name"))
            return line.fromFirstOccurrenceOf (":", false, false).trim();

    return "unknown";
}
