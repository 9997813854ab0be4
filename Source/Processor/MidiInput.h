#pragma once

#include "Model/MidiMappings.h"
#include "Model/ParameterTable.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>

class ParameterEditPath;

// The MIDI a block brings, before the synthesiser plays it: messages of other channels
// than the one chosen are dropped; a learned controller moves its parameter through the
// edit path (0 ... 127 over the control's whole range, choices and switches by steps);
// bank selects (CC 0 and 32) and program changes become a request for the program at
// (bank x 128 + program) in the list, bank = CC 0 x 128 + CC 32; while a parameter is being
// learned, the next controller is caught for it. What it consumes leaves the block.
//
// The audio thread only reads and writes atomics here and never allocates or waits; what
// needs the message thread (telling the host, binding a caught controller, switching the
// program) is handed over through the take... calls (see MidiDispatcher).
class MidiInput
{
public:
    MidiInput();

    // Audio thread, before the block is rendered (the edit path's lock is the callback lock,
    // which the audio thread holds while it renders).
    void process (juce::MidiBuffer& midi, ParameterEditPath& editPath) noexcept;

    // The value a controller's 0 ... 127 gives a parameter.
    static float valueFor (int parameterIndex, int controllerValue) noexcept;

    // The mappings and the channel. Any thread but the audio thread: writers take a lock the
    // audio thread never takes, and publish to it through atomics.
    MidiMappings getMappings() const;
    // whyIncomplete says what of their source (a damaged state chunk) was left out; the
    // window or the renderer takes it once, to show it.
    void setMappings (const MidiMappings& newMappings, const juce::String& whyIncomplete = {});
    juce::String takeProblem();
    bool bind (int controller, int parameterIndex);
    void forget (int parameterIndex);
    void setChannel (int channel);
    int getChannel() const noexcept;
    int getController (int parameterIndex) const;

    // Learning: the next controller that arrives (on the channel) is caught for the parameter;
    // one that keeps its own meaning is refused. Message thread.
    void startLearning (int parameterIndex);
    void cancelLearning() noexcept;
    int getLearningParameter() const noexcept      { return learningParameter.load(); }

    // Binds a controller caught since the last call and ends the learning: the parameter it
    // was bound to, or none.
    int completeLearning();

    // A controller that arrived while learning but keeps its meaning, since the last call.
    int takeRefusedController() noexcept           { return refusedController.exchange (none); }

    // The list index a program change asked for since the last call, or none.
    int takeProgramRequest() noexcept              { return programRequest.exchange (none); }

    // Whether a controller moved the parameter since the last call.
    bool takeMoved (int parameterIndex) noexcept;

    // Counts the controller, program change, pressure and pitch-wheel messages heard, for
    // the window's MIDI lamp.
    juce::uint32 getActivity() const noexcept      { return activity.load (std::memory_order_relaxed); }

    static constexpr int none = MidiMappings::none;

    // Blocks with more MIDI than this (in bytes of JUCE's buffer) from which messages are
    // dropped make the audio thread allocate once, growing the room.
    static constexpr int reservedMidiBytes = 32768;

private:
    enum class Handling { keep, drop };
    Handling handle (const juce::MidiMessageMetadata& event, int listenChannel) noexcept;
    bool wouldDrop (const juce::MidiMessageMetadata& event, int listenChannel) const noexcept;
    void handleController (int controller, int value) noexcept;
    void publish();

    mutable juce::CriticalSection writeLock;
    MidiMappings mappings;   // the writers' copy, under writeLock
    juce::String problem;    // under writeLock

    std::array<std::atomic<int>, MidiMappings::numControllers> parameterOfController;
    std::atomic<int> channel { MidiMappings::omni };

    std::atomic<int> learningParameter { none }, caughtController { none }, refusedController { none };
    std::atomic<int> programRequest { none };
    std::array<std::atomic<bool>, ParameterIndex::count> moved {};
    std::atomic<juce::uint32> activity { 0 };

    // Audio thread only.
    int bankCoarse = 0, bankFine = 0;
    std::array<int, ParameterIndex::count> blockValues {};   // a controller's last value in the block, or none
    juce::MidiBuffer keptMessages;

    JUCE_DECLARE_NON_COPYABLE (MidiInput)
};
