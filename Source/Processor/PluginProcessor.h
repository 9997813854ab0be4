#pragma once

#include "Audio/Delay.h"
#include "Audio/LevelMeasurement.h"
#include "Audio/Reverb.h"
#include "Model/ParameterTable.h"
#include "Model/PluginState.h"
#include "Model/Tuning.h"
#include "Engine/SynthAudioSource.h"
#include "Processor/MidiInput.h"
#include "Processor/ParameterEditPath.h"
#include "Processor/ProgramManager.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

class HostParameter;
class MidiDispatcher;

// What the host talks to: owns the plug-in state with the program database, the synth
// audio source with the synthesiser, the effects on its output and the MIDI keyboard state.
class QuenbyAudioProcessor : public juce::AudioProcessor
{
public:
    QuenbyAudioProcessor();
    ~QuenbyAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;
    bool silenceInProducesSilenceOut() const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    bool hasEditor() const override;
    juce::AudioProcessorEditor* createEditor() override;

    // Host parameters by index: the current program's values, stored unchanged, and the
    // text of what a value means (ParameterConversion). Indices outside 0 ... 70 read as 0
    // or an empty text, and sets to them are ignored. Any thread: calls that reach the
    // program take the callback lock, which the audio thread may already hold (VST3 and LV2
    // hosts deliver automation there). The format wrappers use the HostParameter objects.
    int getNumParameters() override;
    float getParameter (int index) override;
    void setParameter (int index, float newValue) override;
    const juce::String getParameterName (int index) override;
    juce::String getParameterName (int index, int maximumStringLength) override;
    const juce::String getParameterText (int index) override;
    juce::String getParameterText (int index, int maximumStringLength) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    // Ends every note at once: note-offs for every key held on the keyboard state, and
    // every voice silenced without release.
    void stopAllNotes();

    // Makes a program current and brings the engine to it, safely against the audio thread.
    void switchToProgram (PluginProgram* program);

    // The tempo the engine follows while no host reports one (the standalone app's field),
    // in beats per minute; values that are no tempo are ignored. It takes effect at the
    // next block. Any thread.
    void setTempoWithoutHost (double bpm);
    double getTempoWithoutHost() const noexcept         { return tempoWithoutHost.load(); }

    // The current level of output channel 0 or 1 (any thread), 0 for other channels.
    float getLevel (int channel) const noexcept;

    // How many voices were sounding at the end of the last block (any thread). The editor
    // reads this instead of the voices, which the audio thread changes while it renders.
    int getNumSoundingVoices() const noexcept           { return numSoundingVoices.load (std::memory_order_relaxed); }

    // Replaces the programs in memory with the database file's and carries the current
    // program's contents over to the program with its identifier (created when the file
    // has none), which stays current: unsaved edits of the current program survive.
    // Message thread; safe while host threads and the audio thread use the programs.
    void reloadDatabase();

    // Writes the programs in memory to the database file (after keeping a copy of a file
    // that did not load completely; see PluginDatabase::write). Message thread.
    void saveDatabase();

    // The instance's tuning, equal temperament until one is set; it travels in the state
    // chunk. Notes started afterwards play in a new tuning. Message and host threads.
    void setTuning (const Tuning& newTuning);
    Tuning getTuning() const;

    // Counts the changes of the tuning, so that a window sees one (any thread).
    int getTuningChangeCount() const noexcept            { return tuningChanges.load(); }

    // The effects on the synthesiser's output; the processor hands them their parameters
    // before each block, on the audio thread.
    Delay& getDelay() noexcept                          { return delay; }
    Reverb& getReverb() noexcept                        { return reverb; }

    // True while the delay is on and holds echoes still to come, which may follow a long
    // silence. Between blocks, on the thread that processes them.
    bool holdsEchoes() const noexcept;

    // The one way to change a parameter of the current program (see ParameterEditPath).
    ParameterEditPath& getEditPath() noexcept           { return *editPath; }

    // The program operations and their undo history (see ProgramManager).
    ProgramManager& getProgramManager() noexcept        { return *programManager; }

    // What the host sees of a parameter: the editor writes through it so the host hears of
    // its changes. Null for an index outside 0 ... 70.
    HostParameter* getHostParameter (int index) const noexcept;

    // The MIDI channel and learned controllers, and what MIDI asks of the message thread
    // (see MidiInput). A new instance starts with the user's; a state chunk brings its own.
    MidiInput& getMidiInput() noexcept                  { return midiInput; }

    // Does what MIDI asked for since the last call (see MidiDispatcher); a timer calls it
    // while a message loop runs, the renderer between blocks. Message thread.
    void handleMidiRequests();

    // Keeps this instance's MIDI channel and controllers as the user's, for every new
    // instance; false when the settings file could not be written. Message thread.
    bool keepMidiMappingsForUser();

    std::atomic<bool> hostChangedParameter { false };

    // Raised with hostChangedParameter when the host restores a program from a state chunk,
    // whose texts may differ even when its identifier, and so the window's row, does not.
    // The editor's timer clears it and rewrites the program's texts in the window.
    std::atomic<bool> hostRestoredState { false };
    std::unique_ptr<PluginState> state;
    std::unique_ptr<SynthAudioSource> synthAudioSource;
    juce::MidiKeyboardState keyboardState;
    LevelMeasurement levelMeasurements[2];

private:
    Delay delay;
    Reverb reverb;
    std::unique_ptr<ParameterEditPath> editPath;
    std::array<HostParameter*, ParameterIndex::count> hostParameters {};   // owned by the base class
    std::unique_ptr<ProgramManager> programManager;
    MidiInput midiInput;
    std::unique_ptr<MidiDispatcher> midiDispatcher;
    std::atomic<int> numSoundingVoices { 0 };
    std::atomic<double> tempoWithoutHost { Velmora::defaultTempo };

    // Its texts are read by host threads and the window; the engine holds its own copy of
    // the frequencies, handed over under the callback lock.
    Tuning tuning;
    juce::CriticalSection tuningLock;
    std::atomic<int> tuningChanges { 0 };

    static BusesProperties getDefaultBuses();
    void countSoundingVoices() noexcept;
    void ensureCurrentProgram();
    SynthAudioSource::Transport readPlayHead();
    void applyEffectsAndMeasure (juce::AudioBuffer<float>& buffer, bool stereo, const SynthAudioSource::Transport& transport);

    // In the one-channel configuration the engine renders into this two-channel block
    // and the processor keeps channel 0. Sized in prepareToPlay.
    juce::AudioBuffer<float> monoRenderBuffer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuenbyAudioProcessor)
};
