#pragma once

#include "Model/Enumeration.h"
#include "Engine/OscillatorVoice.h"
#include "Processor/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace testing_helpers
{
    // A host's transport playing at a tempo; the song position follows the samples the
    // fixture renders, from startBeats on.
    struct TestPlayHead : public juce::AudioPlayHead
    {
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setBpm (bpm);
            info.setIsPlaying (playing);
            info.setTimeInSamples (position);
            info.setPpqPosition (startBeats + (double) position / sampleRate * bpm / 60.0);
            return info;
        }

        double bpm = 120.0, sampleRate = 48000.0, startBeats = 0.0;
        bool playing = true;
        juce::int64 position = 0;
    };

    // A processor prepared like a host would, playing a fresh default program.
    struct ProcessorFixture
    {
        explicit ProcessorFixture (double rate = 48000.0, int block = 512)
            : sampleRate (rate), blockSize (block)
        {
            processor.switchToProgram (processor.state->database->createProgram());
            processor.setRateAndBufferSizeDetails (rate, block);
            processor.prepareToPlay (rate, block);
        }

        ~ProcessorFixture()
        {
            processor.setPlayHead (nullptr);
            processor.releaseResources();
        }

        // Sets a parameter of the current program, as the editor does, and brings the engine to it.
        void set (ParameterIndex::Index index, float value)
        {
            processor.getEditPath().set (index, value, ParameterEditPath::Writer::editor);
        }

        // The same by the parameter's name.
        void set (const char* name, float value)
        {
            const auto index = Enumeration::findIndex (name);

            if (index == ParameterIndex::none)
                ADD_FAILURE() << "no parameter " << name;
            else
                set ((ParameterIndex::Index) index, value);
        }

        // Switches to the one-channel configuration, as a host would, and prepares again.
        bool useOneChannel()
        {
            juce::AudioProcessor::BusesLayout mono;
            mono.inputBuses.add (juce::AudioChannelSet::mono());
            mono.outputBuses.add (juce::AudioChannelSet::mono());

            if (! processor.setBusesLayout (mono))
                return false;

            processor.prepareToPlay (sampleRate, blockSize);
            return true;
        }

        const EngineSettings& settings() { return processor.synthAudioSource->getSynth().settings; }

        // Plays the host's transport: its position moves on with every block rendered.
        void play (TestPlayHead& playHead)
        {
            playHead.sampleRate = sampleRate;
            transport = &playHead;
            processor.setPlayHead (&playHead);
        }

        // Renders numSamples in host blocks; MIDI goes into the first block.
        juce::AudioBuffer<float> render (int numSamples, juce::MidiBuffer midi = {}, int channels = 2)
        {
            juce::AudioBuffer<float> result (channels, numSamples);
            result.clear();

            for (int position = 0; position < numSamples; position += blockSize)
            {
                const auto length = juce::jmin (blockSize, numSamples - position);
                juce::AudioBuffer<float> block (channels, length);
                block.clear();

                if (transport != nullptr)
                    transport->position = renderedSamples;

                renderedSamples += length;

                if (position == 0)
                    processor.processBlock (block, midi);
                else
                {
                    juce::MidiBuffer none;
                    processor.processBlock (block, none);
                }

                for (int c = 0; c < channels; ++c)
                    result.copyFrom (c, position, block, c, 0, length);
            }

            return result;
        }

        juce::AudioBuffer<float> renderNote (int note, float velocity, int numSamples)
        {
            juce::MidiBuffer midi;
            midi.addEvent (juce::MidiMessage::noteOn (1, note, velocity), 0);
            return render (numSamples, midi);
        }

        OscillatorVoice* voicePlaying (int note)
        {
            auto& synth = processor.synthAudioSource->getSynth();

            for (int i = 0; i < synth.getNumVoices(); ++i)
                if (auto* voice = dynamic_cast<OscillatorVoice*> (synth.getVoice (i)))
                    if (voice->isVoiceActive() && voice->getNote() == note)
                        return voice;

            return nullptr;
        }

        int countActiveVoices()
        {
            auto& synth = processor.synthAudioSource->getSynth();
            int count = 0;

            for (int i = 0; i < synth.getNumVoices(); ++i)
                count += synth.getVoice (i)->isVoiceActive() ? 1 : 0;

            return count;
        }

        const double sampleRate;
        const int blockSize;
        QuenbyAudioProcessor processor;
        TestPlayHead* transport = nullptr;
        juce::int64 renderedSamples = 0;
    };

    inline float peakOf (const juce::AudioBuffer<float>& buffer, int channel, int start = 0, int length = -1)
    {
        if (length < 0)
            length = buffer.getNumSamples() - start;

        return buffer.getMagnitude (channel, start, length);
    }

    // Frequency from the upward zero crossings between the first and the last one.
    inline double measureFrequency (const juce::AudioBuffer<float>& buffer, int channel, int start, int length, double sampleRate)
    {
        const auto* data = buffer.getReadPointer (channel);
        double first = -1.0, last = -1.0;
        int crossings = 0;

        for (int i = start + 1; i < start + length; ++i)
        {
            if (data[i - 1] < 0.0f && data[i] >= 0.0f)
            {
                const auto exact = (i - 1) + data[i - 1] / (data[i - 1] - data[i]);

                if (first < 0.0)
                    first = exact;
                else
                    ++crossings;

                last = exact;
            }
        }

        return crossings > 0 ? crossings * sampleRate / (last - first) : 0.0;
    }
}
