#pragma once

#include "Engine/GlobalLfo.h"
#include "Engine/Velmora.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_audio_devices/juce_audio_devices.h>

class PluginState;
class OscillatorVoice;

// Owns the synthesiser and the global LFO, and converts parameter changes into engine
// settings. The processor renders a block through it.
class SynthAudioSource : public juce::AudioSource
{
public:
    static constexpr int numVoices = 128;

    // What the host's transport says of a block: the tempo the music follows, and where
    // the song is while it plays.
    struct Transport
    {
        double tempo = Velmora::defaultTempo;     // beats per minute, above 0
        bool playing = false;
        bool hasSongPosition = false;
        double songBeats = 0.0;                   // quarter notes from the song's start
    };

    // Creates the voices and the sound; the caller then calls parametersChanged.
    SynthAudioSource (PluginState& state, juce::MidiKeyboardState& keyboardState);
    ~SynthAudioSource() override;

    // Gives the synthesiser, the voices and the global LFO the sample rate (rounded to single
    // precision) and sizes the voices' scratch blocks. Never on the audio thread.
    void prepareToPlay (int samplesPerBlockExpected, double sampleRate) override;
    void releaseResources() override {}

    // Renders collected MIDI into the buffer; the processor renders through renderBlock.
    void getNextAudioBlock (const juce::AudioSourceChannelInfo& bufferToFill) override;

    // The voices of a block, with its MIDI, at its tempo. In Free mode an LFO on the pitch
    // or the filter is the one global LFO, which every voice follows: its values for the
    // block are computed first. Audio thread.
    void renderBlock (juce::AudioBuffer<float>& buffer, const juce::MidiBuffer& midi, const Transport& transport);

    // The global LFO on the amplitude of the summed output (Free mode). Audio thread.
    void applyGlobalLfo (juce::AudioBuffer<float>& buffer, int numSamples, const Transport& transport) noexcept;

    // The single entry by which any change of parameter values reaches the engine.
    void parametersChanged()                               { synth.updateSettings(); }

    // The editor's pitch wheel: 0 ... 16384, 8192 when let go.
    void setPitchWheel (int value)                         { synth.setPitchWheel (value); }

    // The editor's modulation wheel, as controller 1 sets it: 0 ... 127. Any thread.
    void setModWheel (int value) noexcept                  { synth.modWheelValue = value; }

    // The parts, for the processor's block and for tests.
    Velmora& getSynth() noexcept                           { return synth; }
    OscillatorVoice* getOscillatorVoice (int index) const;      // null for an index without a voice
    GlobalLfo& getGlobalLfo() noexcept                     { return *globalLfo; }

private:
    GlobalLfo::BlockSettings globalLfoSettings (bool keyPressedInBlock, const Transport& transport) const noexcept;

    juce::MidiMessageCollector midiCollector;
    PluginState& state;
    juce::MidiKeyboardState& keyboardState;
    Velmora synth;
    std::unique_ptr<GlobalLfo> globalLfo;

    JUCE_DECLARE_NON_COPYABLE (SynthAudioSource)
};
