#pragma once

#include "Model/PluginDatabase.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>

// Ties the system to the sound being played: owns the program database, points at the
// current program and keeps the last play-head position reported by the host.
class PluginState
{
public:
    PluginState();

    using PositionInfo = juce::AudioPlayHead::CurrentPositionInfo;

    // The position of the current program in the database, or -1.
    int getCurrentProgramIndex() const;

    PluginProgram* getCurrentProgram() const noexcept          { return currentProgram.load(); }

    // Whoever switches the program then calls the synth audio source's parametersChanged.
    // Switches made while the audio thread may run hold the processor's callback lock.
    void setCurrentProgram (PluginProgram* program) noexcept   { currentProgram.store (program); }

    // Written by the audio thread once per block; a copy is read by any other thread.
    // The writer never waits: when a reader holds the lock it keeps the previous position.
    void setPositionInfo (const PositionInfo& newInfo) noexcept;
    PositionInfo getPositionInfo() const noexcept;

    // The tempo the engine uses: the play head's, in beats per minute.
    double getTempo() const noexcept                            { return getPositionInfo().bpm; }

    std::unique_ptr<PluginDatabase> database;

private:
    std::atomic<PluginProgram*> currentProgram { nullptr };

    PositionInfo positionInfo;
    mutable juce::SpinLock positionLock;

    JUCE_DECLARE_NON_COPYABLE (PluginState)
};
