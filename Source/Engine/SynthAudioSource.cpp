#include "Engine/SynthAudioSource.h"
#include "Engine/OscillatorSound.h"
#include "Engine/OscillatorVoice.h"
#include "Model/PluginState.h"

SynthAudioSource::SynthAudioSource (PluginState& stateToUse, juce::MidiKeyboardState& keyboardStateToUse)
    : state (stateToUse),
      keyboardState (keyboardStateToUse)
{
    synth.setState (state);
    synth.clearVoices();
    synth.clearSounds();

    for (int i = 0; i < numVoices; ++i)
        synth.addVoice (new OscillatorVoice (*this, synth));

    synth.addSound (new OscillatorSound());

    globalLfo = std::make_unique<Lfo> (synth);
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

    globalLfo->prepare (rate);
    globalLfo->reserveBlock (samplesPerBlockExpected);
    globalLfo->refresh();
}

void SynthAudioSource::releaseResources()
{
}

void SynthAudioSource::getNextAudioBlock (const juce::AudioSourceChannelInfo& bufferToFill)
{
    bufferToFill.clearActiveBufferRegion();

    juce::MidiBuffer incomingMidi;
    midiCollector.removeNextBlockOfMessages (incomingMidi, bufferToFill.numSamples);
    keyboardState.processNextMidiBuffer (incomingMidi, bufferToFill.startSample, bufferToFill.numSamples, true);

    synth.renderNextBlock (*bufferToFill.buffer, incomingMidi, 0, bufferToFill.numSamples);
}

void SynthAudioSource::parametersChanged()
{
    synth.updateSettings (state.getTempo());
    globalLfo->refresh();
}

void SynthAudioSource::setPitchWheel (int value)
{
    synth.pitchWheelValue = value;

    // Each refresh holds the synthesiser's lock so it cannot race the voice's rendering.
    for (int i = 0; i < synth.getNumVoices(); ++i)
    {
        const juce::ScopedLock lock (synth.getLock());

        if (auto* voice = synth.getVoice (i))
            voice->pitchWheelMoved (value);
    }
}

OscillatorVoice* SynthAudioSource::getOscillatorVoice (int index) const
{
    return dynamic_cast<OscillatorVoice*> (synth.getVoice (index));
}
