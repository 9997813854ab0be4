#pragma once

#include "Audio/Delay.h"
#include "Engine/Lfo.h"
#include "Audio/Reverb.h"
#include "Engine/Velmora.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_audio_devices/juce_audio_devices.h>

class PluginState;
class OscillatorVoice;

// Owns the synthesiser and the effects on its summed output, and converts parameter
// changes into engine settings. The processor renders the synthesiser directly.
class SynthAudioSource : public juce::AudioSource
{
public:
    static constexpr int numVoices = 128;

    // Creates the voices, the sound and the effects; the caller then calls parametersChanged.
    SynthAudioSource (PluginState& state, juce::MidiKeyboardState& keyboardState);
    ~SynthAudioSource() override;

    // Gives the synthesiser, the effects and the voices the sample rate (rounded to single
    // precision) and sizes the voices' scratch blocks. Never on the audio thread.
    void prepareToPlay (int samplesPerBlockExpected, double sampleRate) override;

    // Nothing to release.
    void releaseResources() override;

    // Renders collected MIDI into the buffer; the processor renders the synthesiser itself.
    void getNextAudioBlock (const juce::AudioSourceChannelInfo& bufferToFill) override;

    // The single entry by which any change of parameter values reaches the engine.
    void parametersChanged();

    // The editor's pitch wheel: 0 ... 16384, 8192 when let go.
    void setPitchWheel (int value);

    // The editor's modulation wheel, as controller 1 sets it: 0 ... 127. Any thread.
    void setModWheel (int value) noexcept                  { synth.modWheelValue = value; }

    // The parts, for the processor's block and for tests.
    Velmora& getSynth() noexcept                           { return synth; }
    juce::MidiKeyboardState& getKeyboardState() noexcept   { return keyboardState; }
    OscillatorVoice* getOscillatorVoice (int index) const;      // null for an index without a voice
    Delay& getDelay() noexcept                             { return *delay; }
    Reverb& getReverb() noexcept                           { return *reverb; }
    Lfo& getGlobalLfo() noexcept                           { return *globalLfo; }

private:
    juce::MidiMessageCollector midiCollector;
    PluginState& state;
    juce::MidiKeyboardState& keyboardState;
    Velmora synth;
    std::unique_ptr<Lfo> globalLfo;
    std::unique_ptr<Reverb> reverb { std::make_unique<Reverb> (synth) };
    std::unique_ptr<Delay> delay { std::make_unique<Delay> (synth) };

    JUCE_DECLARE_NON_COPYABLE (SynthAudioSource)
};
