#include "Processor/PluginProcessor.h"
#include "Components/PluginEditor.h"
#include "Model/Enumeration.h"
#include "Model/FactoryBank.h"
#include "Model/ParameterConversion.h"
#include "Model/UserSettings.h"
#include "Processor/HostParameter.h"
#include "Processor/MidiDispatcher.h"
#include "Processor/ParameterEditPath.h"
#include "Processor/StateChunk.h"
#include "Engine/OscillatorVoice.h"

#include <cmath>

namespace
{
    // What the effects follow, from the engine settings and the tempo of the block.
    Delay::Parameters delayParameters (const EngineSettings& s, double tempo) noexcept
    {
        return { s.Delay1Sync, (float) s.Delay1Time, (float) s.Delay1Mix, (float) s.Delay1Feedback, s.Delay1Swing, tempo };
    }

    Reverb::Parameters reverbParameters (const EngineSettings& s) noexcept
    {
        return { (float) s.Reverb1Mix, (float) s.Reverb1Damping, (float) s.Reverb1Feedback };
    }
}

// The plug-in formats offer stereo and mono with as many inputs as outputs, as hosts expect
// of this plug-in. The standalone app takes no audio input: an instrument needs none, and
// with one the app would mute it and show a warning about a feedback loop.
juce::AudioProcessor::BusesProperties QuenbyAudioProcessor::getDefaultBuses()
{
    const auto stereo = juce::AudioChannelSet::stereo();

    if (juce::PluginHostType::getPluginLoadedAs() == wrapperType_Standalone)
        return BusesProperties().withOutput ("Output", stereo, true);

    return BusesProperties().withInput ("Input", stereo, true).withOutput ("Output", stereo, true);
}

QuenbyAudioProcessor::QuenbyAudioProcessor()
    : AudioProcessor (getDefaultBuses())
{
    state = std::make_unique<PluginState>();
    FactoryBank::loadAtStart (*state->database);
    state->setCurrentProgram (state->database->getProgram (0));
    ensureCurrentProgram();

    synthAudioSource = std::make_unique<SynthAudioSource> (*state, keyboardState);
    synthAudioSource->parametersChanged();

    editPath = std::make_unique<ParameterEditPath> (getCallbackLock(), *state, *synthAudioSource, hostChangedParameter);

    // wrapperType is the format this processor runs in, set by JUCE before construction.
    const auto scale = HostParameter::scaleFor (wrapperType);

    for (int index = 0; index < Enumeration::numParameters; ++index)
    {
        hostParameters[(size_t) index] = new HostParameter (*editPath, index, scale);
        addParameter (hostParameters[(size_t) index]);
    }

    programManager = std::make_unique<ProgramManager> (*this);
    editPath->onEditorChange = [this] (PluginProgram& program, int index, float before, float after)
    {
        programManager->recordEdit (program, index, before, after);
    };

    midiInput.setMappings (UserSettings::load().settings.midi);
    midiDispatcher = std::make_unique<MidiDispatcher> (*this);
}

QuenbyAudioProcessor::~QuenbyAudioProcessor()
{
    midiDispatcher.reset();
    programManager.reset();
    stopAllNotes();
    synthAudioSource.reset();
    state->database.reset();
    state.reset();
}

// The processor always has a current program: an empty database gets one new program.
void QuenbyAudioProcessor::ensureCurrentProgram()
{
    if (state->getCurrentProgram() == nullptr)
        state->setCurrentProgram (state->database->createProgram());
}

const juce::String QuenbyAudioProcessor::getName() const
{
    return "Quenby";
}

void QuenbyAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    monoRenderBuffer.setSize (2, juce::jmax (1, samplesPerBlock));
    synthAudioSource->prepareToPlay (samplesPerBlock, sampleRate);

    const auto& synth = synthAudioSource->getSynth();
    const auto rate = (double) (float) sampleRate;
    delay.setParameters (delayParameters (synth.settings, synth.tempo));
    delay.prepare (rate);
    reverb.setParameters (reverbParameters (synth.settings));
    reverb.prepare (rate);
}

void QuenbyAudioProcessor::releaseResources()
{
    synthAudioSource->releaseResources();
}

bool QuenbyAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();

    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    const auto input = layouts.getMainInputChannelSet();
    return input == output || (input.isDisabled() && wrapperType == wrapperType_Standalone);
}

void QuenbyAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    const juce::ScopedNoDenormals noDenormals;
    const int numSamples = buffer.getNumSamples();
    const auto transport = readPlayHead();

    buffer.clear();

    // Before the keyboard state, so the on-screen keyboard plays whatever the channel.
    midiInput.process (midiMessages, *editPath);
    keyboardState.processNextMidiBuffer (midiMessages, 0, numSamples, true);

    // The engine always renders two channels.
    const bool renderInPlace = buffer.getNumChannels() >= 2 && getTotalNumOutputChannels() >= 2;
    auto& target = renderInPlace ? buffer : monoRenderBuffer;

    if (! renderInPlace)
    {
        // Only a host that breaks its announced block size makes this allocate.
        monoRenderBuffer.setSize (2, numSamples, false, false, true);
        monoRenderBuffer.clear();
    }

    synthAudioSource->renderBlock (target, midiMessages, transport);

    if (! renderInPlace && buffer.getNumChannels() > 0)
        buffer.copyFrom (0, 0, monoRenderBuffer, 0, 0, numSamples);

    applyEffectsAndMeasure (buffer, renderInPlace, transport);
    midiMessages.clear();
    countSoundingVoices();
}

void QuenbyAudioProcessor::countSoundingVoices() noexcept
{
    auto& synth = synthAudioSource->getSynth();
    int count = 0;

    for (int i = 0; i < synth.getNumVoices(); ++i)
        count += synth.getVoice (i)->isVoiceActive() ? 1 : 0;

    numSoundingVoices.store (count, std::memory_order_relaxed);
}

// The global LFO, the delay, the reverb and the meters work on the host's buffer; with one
// output channel they touch channel 0 alone and meter 1 keeps its last value.
void QuenbyAudioProcessor::applyEffectsAndMeasure (juce::AudioBuffer<float>& buffer, bool stereo, const SynthAudioSource::Transport& transport)
{
    const int numSamples = buffer.getNumSamples();

    if (buffer.getNumChannels() == 0 || numSamples == 0)
        return;

    const auto& synth = synthAudioSource->getSynth();
    const auto& settings = synth.settings;

    if (settings.Lfo1Active && settings.Lfo1Mode == LfoMode::freeRunning && settings.Lfo1Target == LfoTarget::amp)
    {
        if (stereo)
        {
            synthAudioSource->applyGlobalLfo (buffer, numSamples, transport);
        }
        else
        {
            // A view of channel 0 alone; a single channel pointer needs no allocation.
            juce::AudioBuffer<float> channelZero (buffer.getArrayOfWritePointers(), 1, numSamples);
            synthAudioSource->applyGlobalLfo (channelZero, numSamples, transport);
        }
    }

    delay.setParameters (delayParameters (settings, transport.tempo));

    if (settings.Delay1Active)
        delay.process (buffer, 0, numSamples);

    if (settings.Reverb1Active)
    {
        reverb.setParameters (reverbParameters (settings));

        if (stereo)
            reverb.processStereo (buffer.getWritePointer (0), buffer.getWritePointer (1), numSamples);
        else
            reverb.processMono (buffer.getWritePointer (0), numSamples);
    }

    levelMeasurements[0].update ((size_t) numSamples, buffer.getReadPointer (0));

    if (stereo)
        levelMeasurements[1].update ((size_t) numSamples, buffer.getReadPointer (1));
}

bool QuenbyAudioProcessor::holdsEchoes() const noexcept
{
    return synthAudioSource->getSynth().settings.Delay1Active && delay.holdsSound();
}

float QuenbyAudioProcessor::getLevel (int channel) const noexcept
{
    return juce::isPositiveAndBelow (channel, 2) ? levelMeasurements[channel].getLevel() : 0.0f;
}

// The play head's position at the start of the block, kept for the editor, and the tempo
// the block follows: the host's, or the default tempo when it reports none.
SynthAudioSource::Transport QuenbyAudioProcessor::readPlayHead()
{
    PluginState::PositionInfo info;
    info.resetToDefault();
    SynthAudioSource::Transport transport;
    transport.tempo = tempoWithoutHost.load();

    if (auto* playHead = getPlayHead())
    {
        if (const auto position = playHead->getPosition())
        {
            if (const auto signature = position->getTimeSignature())
            {
                info.timeSigNumerator = signature->numerator;
                info.timeSigDenominator = signature->denominator;
            }

            if (const auto loop = position->getLoopPoints())
            {
                info.ppqLoopStart = loop->ppqStart;
                info.ppqLoopEnd = loop->ppqEnd;
            }

            info.frameRate = position->getFrameRate().orFallback (info.frameRate);
            info.timeInSeconds = position->getTimeInSeconds().orFallback (0.0);
            info.timeInSamples = position->getTimeInSamples().orFallback (0);
            info.ppqPositionOfLastBarStart = position->getPpqPositionOfLastBarStart().orFallback (0.0);
            info.editOriginTime = position->getEditOriginTime().orFallback (0.0);
            info.isPlaying = position->getIsPlaying();
            info.isRecording = position->getIsRecording();
            info.isLooping = position->getIsLooping();

            if (const auto ppq = position->getPpqPosition())
            {
                info.ppqPosition = *ppq;
                transport.hasSongPosition = std::isfinite (*ppq);
                transport.songBeats = *ppq;
            }

            if (const auto bpm = position->getBpm(); bpm.hasValue() && *bpm > 0.0 && std::isfinite (*bpm))
                transport.tempo = *bpm;
        }
    }

    transport.playing = info.isPlaying;
    info.bpm = transport.tempo;
    state->setPositionInfo (info);
    return transport;
}

void QuenbyAudioProcessor::setTempoWithoutHost (double bpm)
{
    // The next block reads it, with or without a play head: no lock, nothing to convert.
    if (bpm > 0.0 && std::isfinite (bpm))
        tempoWithoutHost = bpm;
}

const juce::String QuenbyAudioProcessor::getInputChannelName (int channelIndex) const   { return juce::String (channelIndex + 1); }
const juce::String QuenbyAudioProcessor::getOutputChannelName (int channelIndex) const  { return juce::String (channelIndex + 1); }
bool QuenbyAudioProcessor::isInputChannelStereoPair (int) const                         { return true; }
bool QuenbyAudioProcessor::isOutputChannelStereoPair (int) const                        { return true; }
bool QuenbyAudioProcessor::silenceInProducesSilenceOut() const                          { return false; }
double QuenbyAudioProcessor::getTailLengthSeconds() const                               { return 0.0; }
bool QuenbyAudioProcessor::acceptsMidi() const                                          { return true; }
bool QuenbyAudioProcessor::producesMidi() const                                         { return false; }

bool QuenbyAudioProcessor::hasEditor() const
{
    return true;
}

juce::AudioProcessorEditor* QuenbyAudioProcessor::createEditor()
{
    return new QuenbyAudioProcessorEditor (*this);
}

// The programs live in the editor; the host sees none.
int QuenbyAudioProcessor::getNumPrograms()                                  { return 0; }
int QuenbyAudioProcessor::getCurrentProgram()                               { return 0; }
void QuenbyAudioProcessor::setCurrentProgram (int)                          {}
const juce::String QuenbyAudioProcessor::getProgramName (int)               { return {}; }
void QuenbyAudioProcessor::changeProgramName (int, const juce::String&)     {}

int QuenbyAudioProcessor::getNumParameters()
{
    return Enumeration::numParameters;
}

float QuenbyAudioProcessor::getParameter (int index)
{
    return editPath->get (index);
}

void QuenbyAudioProcessor::setParameter (int index, float newValue)
{
    editPath->set (index, newValue, ParameterEditPath::Writer::host);
}

// Every program has the same parameters, so the name depends on the index alone.
const juce::String QuenbyAudioProcessor::getParameterName (int index)
{
    return juce::isPositiveAndBelow (index, Enumeration::numParameters) ? Enumeration::getName (index) : juce::String();
}

juce::String QuenbyAudioProcessor::getParameterName (int index, int maximumStringLength)
{
    return getParameterName (index).substring (0, maximumStringLength);
}

const juce::String QuenbyAudioProcessor::getParameterText (int index)
{
    if (! ParameterIndex::isValid (index))
        return {};

    return ParameterConversion::toText (index, editPath->get (index), editPath->getTextContext());
}

juce::String QuenbyAudioProcessor::getParameterText (int index, int maximumStringLength)
{
    return getParameterText (index).substring (0, maximumStringLength);
}

HostParameter* QuenbyAudioProcessor::getHostParameter (int index) const noexcept
{
    return ParameterIndex::isValid (index) ? hostParameters[(size_t) index] : nullptr;
}

void QuenbyAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    // A copy, so the audio thread never waits while the text is made.
    PluginProgram current;
    {
        const juce::ScopedLock lock (getCallbackLock());
        current.copyFrom (*state->getCurrentProgram());
    }

    StateChunk::write (current, getTuning(), midiInput.getMappings(), destData);
}

void QuenbyAudioProcessor::setTuning (const Tuning& newTuning)
{
    {
        const juce::ScopedLock lock (tuningLock);
        tuning = newTuning;
    }

    {
        const juce::ScopedLock lock (getCallbackLock());
        synthAudioSource->getSynth().noteFrequencies = newTuning.getFrequencies();
    }

    ++tuningChanges;
}

Tuning QuenbyAudioProcessor::getTuning() const
{
    const juce::ScopedLock lock (tuningLock);
    return tuning;
}

void QuenbyAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto element = StateChunk::read (data, (size_t) juce::jmax (0, sizeInBytes));

    if (element == nullptr)
        return;

    const bool restoresProgram = StateChunk::holdsProgram (*element);
    {
        const juce::ScopedLock lock (getCallbackLock());

        if (restoresProgram)
        {
            stopAllNotes();

            auto& database = *state->database;
            auto* program = database.findProgram (element->getStringAttribute ("ID"));

            if (program == nullptr)
                program = database.createProgram();

            PluginDatabase::readProgramAttributes (*element, *program, {}, {});
            state->setCurrentProgram (program);
        }

        synthAudioSource->parametersChanged();
    }

    // A chunk without mappings keeps the instance's; damaged ones are left out.
    if (restoresProgram && MidiMappings::isHeldBy (*element))
    {
        MidiMappings mappings;
        juce::StringArray problems;
        mappings.readFrom (*element, problems);
        midiInput.setMappings (mappings, problems.isEmpty() ? juce::String()
                                                            : "The project's MIDI settings " + problems.joinIntoString ("; "));
    }

    // An open window shows the restored program at its next timer tick. A chunk without a
    // tuning, or with texts that are none, plays in equal temperament.
    if (restoresProgram)
    {
        const auto restoredTuning = StateChunk::readTuning (*element);
        setTuning (restoredTuning.tuning.value_or (Tuning()));
        programManager->noteListChanged();
        hostRestoredState = true;
        hostChangedParameter = true;
    }
}

void QuenbyAudioProcessor::stopAllNotes()
{
    const juce::ScopedLock lock (getCallbackLock());

    for (int channel = 1; channel <= 16; ++channel)
        for (int note = 0; note < 128; ++note)
            keyboardState.noteOff (channel, note, 0.0f);

    auto& synth = synthAudioSource->getSynth();

    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (auto* voice = dynamic_cast<OscillatorVoice*> (synth.getVoice (i)))
            voice->silence();

    numSoundingVoices.store (0, std::memory_order_relaxed);
}

void QuenbyAudioProcessor::switchToProgram (PluginProgram* program)
{
    if (program == nullptr)
        return;

    const juce::ScopedLock lock (getCallbackLock());
    state->setCurrentProgram (program);
    synthAudioSource->parametersChanged();
}

void QuenbyAudioProcessor::reloadDatabase()
{
    state->database->load (getCallbackLock(), [this]
    {
        // The old programs are still alive here; the current one is among them.
        const auto& edited = *state->getCurrentProgram();
        auto& database = *state->database;
        auto* program = database.findProgram (edited.getId());

        if (program == nullptr)
            program = database.createProgram();

        program->copyFrom (edited);
        state->setCurrentProgram (program);
        synthAudioSource->parametersChanged();
    });

    // No step of the history can reach the new programs.
    programManager->programsReplaced();
}

void QuenbyAudioProcessor::handleMidiRequests()
{
    midiDispatcher->dispatch();
}

// Read, changed and written at once, so what another instance or window wrote meanwhile stays.
bool QuenbyAudioProcessor::keepMidiMappingsForUser()
{
    auto settings = UserSettings::load().settings;
    settings.midi = midiInput.getMappings();
    return settings.save();
}

void QuenbyAudioProcessor::saveDatabase()
{
    // The copy is quick; the text is made and written after the lock is released.
    PluginDatabase::Snapshot snapshot;
    {
        const juce::ScopedLock lock (getCallbackLock());
        snapshot = state->database->takeSnapshot();
    }

    state->database->write (snapshot);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new QuenbyAudioProcessor();
}
