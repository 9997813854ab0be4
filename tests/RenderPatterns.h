#pragma once

#include "TestHelpers.h"

#include <functional>
#include <vector>

// Fixed playing situations rendered through the processor at 48 kHz. Their output is kept
// in tests/reference/ (float32 little-endian, channel 0 then channel 1) so that any change
// of the engine's arithmetic shows up sample for sample.
namespace render_patterns
{
    // A parameter value set before the block that contains the sample.
    struct Change
    {
        int sample;
        const char* name;
        float value;
    };

    // A MIDI message at a sample position.
    struct Event
    {
        int sample;
        juce::MidiMessage message;
    };

    struct Pattern
    {
        const char* name;
        int numSamples;
        int blockSize;
        std::vector<Change> changes;
        std::vector<Event> events;
    };

    // Test failures name the pattern rather than dump its bytes.
    inline void PrintTo (const Pattern& pattern, std::ostream* stream)  { *stream << pattern.name; }

    inline Event on (int sample, int note, float velocity = 0.8f)  { return { sample, juce::MidiMessage::noteOn (1, note, velocity) }; }
    inline Event off (int sample, int note)                        { return { sample, juce::MidiMessage::noteOff (1, note) }; }
    inline Event wheel (int sample, int value)                     { return { sample, juce::MidiMessage::pitchWheel (1, value) }; }

    // Short envelopes, so notes start, decay and end within a tenth of a second.
    inline std::vector<Change> quickAmplitudeEnvelopes()
    {
        return { { 0, "EnvAmpOsc1Attack", 0.003f }, { 0, "EnvAmpOsc1Decay", 0.02f },
                 { 0, "EnvAmpOsc1Sustain", 0.6f }, { 0, "EnvAmpOsc1Release", 0.004f },
                 { 0, "EnvAmpOsc2Attack", 0.002f }, { 0, "EnvAmpOsc2Decay", 0.015f },
                 { 0, "EnvAmpOsc2Sustain", 0.7f }, { 0, "EnvAmpOsc2Release", 0.003f } };
    }

    inline std::vector<Change> withQuickEnvelopes (std::vector<Change> changes)
    {
        auto all = quickAmplitudeEnvelopes();
        all.insert (all.end(), changes.begin(), changes.end());
        return all;
    }

    inline const std::vector<Pattern>& allPatterns()
    {
        static const std::vector<Pattern> patterns
        {
            // Every waveform on each oscillator, with detune, offset, pan and gain; the wave
            // type is taken at each note start, detune and gain are followed live.
            { "Waveforms", 5120, 512,
              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 0.0f }, { 0, "Osc2WaveType", 3.0f },
                                    { 0, "Osc1Detune", 0.7f }, { 0, "Osc2Detune", 0.2f }, { 0, "Osc1Offset", 0.19f },
                                    { 0, "Osc2Offset", 0.05f }, { 0, "Osc1Pan", 0.2f }, { 0, "Osc2Pan", 0.9f },
                                    { 0, "Osc1Gain", 0.6f }, { 0, "Osc2Gain", 0.4f },
                                    { 1024, "Osc1WaveType", 1.0f }, { 1024, "Osc2WaveType", 2.0f },
                                    { 2048, "Osc1WaveType", 2.0f }, { 2048, "Osc2WaveType", 1.0f },
                                    { 3072, "Osc1WaveType", 3.0f }, { 3072, "Osc2WaveType", 0.0f },
                                    { 4096, "Osc1Detune", 0.3f }, { 4096, "Osc2Gain", 0.9f } }),
              { on (0, 60, 0.9f), off (1124, 60), on (1224, 64), on (2085, 67, 0.5f), off (2348, 64),
                on (3077, 72), on (3080, 48, 1.0f), off (4496, 67), off (4500, 72), off (4600, 48) } },

            // Lowpass, bandpass and highpass, each without and with the filter envelope; the
            // releases overlap the next note, and cutoff and resonance move while notes play.
            { "FilterTypes", 5120, 512,
              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 3.0f }, { 0, "Osc2WaveType", 1.0f },
                                    { 0, "Osc2Detune", 0.6f }, { 0, "Filter1Active", 1.0f }, { 0, "Filter1Cutoff", 0.4f },
                                    { 0, "Filter1Resonance", 0.3f }, { 0, "EnvFilter1Attack", 0.004f },
                                    { 0, "EnvFilter1Decay", 0.01f }, { 0, "EnvFilter1Sustain", 0.4f },
                                    { 0, "EnvFilter1Release", 0.004f },
                                    { 512, "Filter1Cutoff", 0.7f },
                                    { 1024, "EnvFilter1Active", 1.0f },
                                    { 1536, "Filter1Type", 1.0f }, { 1536, "EnvFilter1Active", 0.0f },
                                    { 2048, "Filter1Resonance", 0.02f },
                                    { 2560, "EnvFilter1Active", 1.0f },
                                    { 3072, "Filter1Type", 2.0f }, { 3072, "EnvFilter1Active", 0.0f },
                                    { 3584, "EnvFilter1Active", 1.0f }, { 4096, "Filter1Cutoff", 0.1f } }),
              { on (10, 48), off (700, 48), on (860, 50), off (1500, 50), on (1700, 52), off (2300, 52),
                on (2600, 53), off (3200, 53), on (3300, 55), off (3900, 55), on (3700, 57), off (4700, 57) } },

            // Pitch envelopes up (oscillator 1) and down (oscillator 2) with the wheel moving.
            { "PitchEnvelopesAndWheel", 5120, 512,
              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 0.0f }, { 0, "Osc2WaveType", 2.0f },
                                    { 0, "Osc1PitchRange", 0.02f }, { 0, "Osc2PitchRange", 0.07f },
                                    { 0, "EnvPitchOsc1Active", 1.0f }, { 0, "Osc1PitchEnvRange", 0.03f },
                                    { 0, "EnvPitchOsc1Attack", 0.005f }, { 0, "EnvPitchOsc1Decay", 0.01f },
                                    { 0, "EnvPitchOsc1Sustain", 0.5f }, { 0, "EnvPitchOsc1Release", 0.004f },
                                    { 0, "EnvPitchOsc2Active", 1.0f }, { 0, "Osc2PitchEnvRange", 0.05f },
                                    { 0, "Osc2PitchEnvDown", 1.0f }, { 0, "EnvPitchOsc2Attack", 0.004f },
                                    { 0, "EnvPitchOsc2Decay", 0.02f }, { 0, "EnvPitchOsc2Sustain", 0.3f },
                                    { 0, "EnvPitchOsc2Release", 0.006f } }),
              { on (0, 57), on (300, 69), wheel (800, 12000), wheel (1700, 2000), off (2500, 57),
                wheel (2600, 16383), wheel (3500, 8192), wheel (4000, 9000), off (4200, 69), on (4300, 62) } },

            // The voice LFO in retrigger mode: sine, then square, then synchronised, with its envelope.
            { "VoiceLfo", 5120, 512,
              withQuickEnvelopes ({ { 0, "Osc1WaveType", 1.0f }, { 0, "Lfo1Active", 1.0f }, { 0, "Lfo1Mode", 1.0f },
                                    { 0, "Lfo1WaveType", 0.0f }, { 0, "Lfo1Speed", 3.0f }, { 0, "Lfo1Mix", 0.7f },
                                    { 0, "EnvLfo1Active", 1.0f }, { 0, "EnvLfo1Attack", 0.003f },
                                    { 0, "EnvLfo1Decay", 0.01f }, { 0, "EnvLfo1Sustain", 0.5f },
                                    { 2560, "Lfo1WaveType", 1.0f }, { 3584, "Lfo1Sync", 1.0f }, { 3584, "Lfo1Speed", 4.0f } }),
              { on (0, 60), on (1500, 67), off (2400, 60), off (2900, 67), on (3100, 64), off (4600, 64) } },

            // The global LFO in free mode on the summed output, its envelope restarted by a
            // key press after all keys were up.
            { "GlobalLfo", 5120, 512,
              withQuickEnvelopes ({ { 0, "Osc1WaveType", 2.0f }, { 0, "Lfo1Active", 1.0f }, { 0, "Lfo1Mode", 0.0f },
                                    { 0, "Lfo1WaveType", 0.0f }, { 0, "Lfo1Speed", 2.0f }, { 0, "Lfo1Mix", 0.5f },
                                    { 0, "EnvLfo1Active", 1.0f }, { 0, "EnvLfo1Attack", 0.004f },
                                    { 0, "EnvLfo1Decay", 0.01f }, { 0, "EnvLfo1Sustain", 0.6f },
                                    { 3584, "Lfo1WaveType", 1.0f } }),
              { on (0, 62), on (600, 65), off (1800, 62), off (1900, 65), on (2700, 69), off (4300, 69) } },

            // Delay (6000 samples at 120 beats per minute) and reverb after a few short notes.
            { "DelayAndReverb", 9216, 512,
              withQuickEnvelopes ({ { 0, "Osc1WaveType", 3.0f }, { 0, "Delay1Active", 1.0f }, { 0, "Delay1Time", 0.125f },
                                    { 0, "Delay1Mix", 0.6f }, { 0, "Delay1Feedback", 0.5f }, { 0, "Reverb1Active", 1.0f },
                                    { 0, "Reverb1Mix", 0.4f }, { 0, "Reverb1Damping", 0.3f }, { 0, "Reverb1Feedback", 0.7f } }),
              { on (0, 64), off (900, 64), on (1500, 71, 0.6f), off (2200, 71), on (6500, 60), off (7500, 60) } },

            // Mono play mode: each new key sends the sounding note into its release.
            { "MonoMode", 5120, 512,
              withQuickEnvelopes ({ { 0, "CurrentPlayMode", 1.0f }, { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 1.0f },
                                    { 0, "Osc2WaveType", 3.0f }, { 0, "Osc2Detune", 0.45f } }),
              { on (0, 60), on (700, 64), on (1500, 67), off (2500, 67), on (3000, 72), off (4500, 72),
                off (4510, 60), off (4520, 64) } },

            // Sixteen voices with everything on, in 480-sample blocks: both oscillators, the
            // filter envelope, a pitch envelope, the voice LFO and the delay line filling.
            { "ManyVoices", 5120, 480,
              withQuickEnvelopes ({ { 0, "Osc2Active", 1.0f }, { 0, "Osc1WaveType", 3.0f }, { 0, "Osc2WaveType", 1.0f },
                                    { 0, "Osc2Detune", 0.55f }, { 0, "Osc2Pan", 0.3f }, { 0, "Filter1Active", 1.0f },
                                    { 0, "Filter1Cutoff", 0.6f }, { 0, "Filter1Resonance", 0.2f },
                                    { 0, "EnvFilter1Active", 1.0f }, { 0, "EnvFilter1Attack", 0.01f },
                                    { 0, "EnvFilter1Decay", 0.02f }, { 0, "EnvFilter1Sustain", 0.5f },
                                    { 0, "EnvFilter1Release", 0.005f },
                                    { 0, "EnvPitchOsc1Active", 1.0f }, { 0, "Osc1PitchEnvRange", 0.02f },
                                    { 0, "EnvPitchOsc1Attack", 0.01f }, { 0, "EnvPitchOsc1Decay", 0.02f },
                                    { 0, "EnvPitchOsc1Sustain", 0.8f }, { 0, "EnvPitchOsc1Release", 0.005f },
                                    { 0, "Lfo1Active", 1.0f }, { 0, "Lfo1Mode", 1.0f }, { 0, "Lfo1Speed", 1.5f },
                                    { 0, "Lfo1Mix", 0.4f }, { 0, "Delay1Active", 1.0f }, { 0, "Delay1Time", 0.125f } }),
              [] {
                  std::vector<Event> events;

                  for (int i = 0; i < 16; ++i)
                  {
                      events.push_back (on (i * 97, 40 + i * 3, 0.5f + 0.03f * (float) i));
                      events.push_back (off (2400 + i * 113, 40 + i * 3));
                  }

                  return events;
              }() },
        };

        return patterns;
    }

    // Renders a pattern through a freshly prepared processor playing a default program,
    // at 48 kHz unless told otherwise; setUp, when given, sees the processor first, and
    // afterBlock after every block.
    inline juce::AudioBuffer<float> render (const Pattern& pattern, std::function<void (QuenbyAudioProcessor&)> setUp = {},
                                            double sampleRate = 48000.0,
                                            std::function<void (QuenbyAudioProcessor&)> afterBlock = {})
    {
        testing_helpers::ProcessorFixture fixture (sampleRate, pattern.blockSize);

        if (setUp)
            setUp (fixture.processor);
        juce::AudioBuffer<float> result (2, pattern.numSamples);
        juce::AudioBuffer<float> block (2, pattern.blockSize);

        for (int position = 0; position < pattern.numSamples; position += pattern.blockSize)
        {
            const auto length = juce::jmin (pattern.blockSize, pattern.numSamples - position);
            const auto inBlock = [&] (int sample) { return sample >= position && sample < position + length; };

            for (const auto& change : pattern.changes)
                if (inBlock (change.sample))
                    fixture.set (change.name, change.value);

            juce::MidiBuffer midi;

            for (const auto& event : pattern.events)
                if (inBlock (event.sample))
                    midi.addEvent (event.message, event.sample - position);

            block.setSize (2, length, false, false, true);
            fixture.processor.processBlock (block, midi);

            if (afterBlock)
                afterBlock (fixture.processor);

            for (int channel = 0; channel < 2; ++channel)
                result.copyFrom (channel, position, block, channel, 0, length);
        }

        return result;
    }

    inline juce::File referenceFile (const juce::File& folder, const Pattern& pattern)
    {
        return folder.getChildFile (juce::String (pattern.name) + ".f32");
    }

    inline bool writeReference (const juce::File& file, const juce::AudioBuffer<float>& audio)
    {
        file.deleteFile();
        juce::FileOutputStream stream (file);

        if (! stream.openedOk())
            return false;

        for (int channel = 0; channel < audio.getNumChannels(); ++channel)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                stream.writeFloat (audio.getSample (channel, i));   // little-endian

        return stream.getStatus().wasOk();
    }

    // The stored samples, or an empty buffer when the file is missing or its size does not fit.
    inline juce::AudioBuffer<float> readReference (const juce::File& file, int numChannels, int numSamples)
    {
        if (file.getSize() != (juce::int64) numChannels * numSamples * (juce::int64) sizeof (float))
            return {};

        juce::FileInputStream stream (file);
        juce::AudioBuffer<float> audio (numChannels, numSamples);

        for (int channel = 0; channel < numChannels; ++channel)
            for (int i = 0; i < numSamples; ++i)
                audio.setSample (channel, i, stream.readFloat());

        return audio;
    }
}
