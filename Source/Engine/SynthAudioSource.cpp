#include "Engine/SynthAudioSource.h"
#include "Engine/OscillatorSound.h"
#include "Engine/OscillatorVoice.h"
#include "Model/NoteValue.h"
#include "Model/ParameterTable.h"
#include "Model/PluginState.h"

SynthAudioSource::SynthAudioSource (PluginState& stateToUse, juce::MidiKeyboardState& keyboardStateToUse)
    : state (stateToUse),
      keyboardState (keyboardStateToUse)
{
    synth.setState (state);
    synth.clearVoices();
    synth.clearSounds();

    for (int i = 0; i < numVoices; ++i)
        synth.addVoice (new OscillatorVoice());

    synth.addSound (new OscillatorSound());

    globalLfo = std::make_unique<GlobalLfo>();
}

SynthAudioSource::~SynthAudioSource()
{
    synth.clearVoices();
    synth.clearSounds();
    globalLfo.reset();
}

void SynthAudioSource::prepareToPlay (int samplesPerBlockExpected, double sampleRate)
{
    keyboardState.reset();
    midiCollector.reset (sampleRate);

    const auto rate = (double) (float) sampleRate;
    synth.setCurrentPlaybackSampleRate (rate);

    // Blocks up to the announced size then render without allocating.
    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (auto* voice = getOscillatorVoice (i))
            voice->prepare (samplesPerBlockExpected);

    globalLfo->prepare (rate, samplesPerBlockExpected);
}

void SynthAudioSource::getNextAudioBlock (const juce::AudioSourceChannelInfo& bufferToFill)
{
    bufferToFill.clearActiveBufferRegion();

    juce::MidiBuffer incomingMidi;
    midiCollector.removeNextBlockOfMessages (incomingMidi, bufferToFill.numSamples);
    keyboardState.processNextMidiBuffer (incomingMidi, bufferToFill.startSample, bufferToFill.numSamples, true);

    synth.renderNextBlock (*bufferToFill.buffer, incomingMidi, 0, bufferToFill.numSamples);
}

// A key pressed in the block counts as down for the LFO's envelope, as a key held from
// earlier does.
GlobalLfo::BlockSettings SynthAudioSource::globalLfoSettings (bool keyPressedInBlock, const Transport& transport) const noexcept
{
    const auto& s = synth.settings;
    GlobalLfo::BlockSettings block;
    block.lfo = synth.getLfoSettings();
    block.envelopeOn = s.EnvLfo1Active;
    block.envelope = { s.EnvLfo1Attack, s.EnvLfo1Decay, s.EnvLfo1Sustain, s.EnvLfo1Release };

    if (block.envelopeOn)
    {
        block.keyDown = keyPressedInBlock || synth.anyKeyDown();
        block.voicesSounding = ! block.keyDown && synth.anyVoiceSounding();
    }

    block.followsSong = block.lfo.sync && transport.playing && transport.hasSongPosition;
    block.songBeats = transport.songBeats;
    block.cycleBeats = NoteValue::forSpeed (block.lfo.speed).beats;
    return block;
}

void SynthAudioSource::renderBlock (juce::AudioBuffer<float>& buffer, const juce::MidiBuffer& midi, const Transport& transport)
{
    const int numSamples = buffer.getNumSamples();
    const auto& s = synth.settings;
    synth.setTempo (transport.tempo);

    if (s.Lfo1Active && s.Lfo1Mode == LfoMode::freeRunning && s.Lfo1Target != LfoTarget::amp)
    {
        // Read from the raw bytes: making a MidiMessage of a long system-exclusive one allocates.
        bool keyPressed = false;

        for (const auto metadata : midi)
            if (metadata.numBytes >= 3 && (metadata.data[0] & 0xf0) == 0x90 && metadata.data[2] != 0)
                keyPressed = true;

        globalLfo->computeBlock (numSamples, globalLfoSettings (keyPressed, transport));
        synth.setSharedLfoValues (globalLfo->getBlockValues (0, numSamples), numSamples);
    }
    else
    {
        synth.setSharedLfoValues (nullptr, 0);
    }

    synth.renderNextBlock (buffer, midi, 0, numSamples);
}

void SynthAudioSource::applyGlobalLfo (juce::AudioBuffer<float>& buffer, int numSamples, const Transport& transport) noexcept
{
    globalLfo->applyToBuffer (buffer, 0, numSamples, globalLfoSettings (false, transport));
}

OscillatorVoice* SynthAudioSource::getOscillatorVoice (int index) const
{
    return dynamic_cast<OscillatorVoice*> (synth.getVoice (index));
}
