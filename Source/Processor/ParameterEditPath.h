#pragma once

#include "Model/ParameterUnits.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>

class PluginProgram;
class PluginState;
class SynthAudioSource;

// The one road by which a parameter value of the current program changes: the host's
// parameters, the renderer's settings and the editor's controls all write through it.
// Any thread: every call takes the processor's callback lock, which is re-entrant, so it
// is safe while the audio thread renders (VST3 and LV2 hosts deliver automation there).
class ParameterEditPath
{
public:
    enum class Writer
    {
        host,      // raises the host-changed flag, so an open window refreshes its controls
        editor,    // the window already shows what it wrote
        controller // a learned MIDI controller, on the audio thread: the host and the window
                   // hear of it later, on the message thread (MidiDispatcher)
    };

    ParameterEditPath (const juce::CriticalSection& callbackLock, PluginState& state,
                       SynthAudioSource& synthAudioSource, std::atomic<bool>& hostChangedParameter);

    // The current program's value; 0 for an index outside the parameter table.
    float get (int index) const;

    // The current program's switches that value texts depend on.
    ParameterTextContext getTextContext() const;

    // Stores the value unchanged in the current program and brings the engine to it; an
    // infinity or NaN is stored as 0, so the engine never computes with one and a saved
    // program reads back as it was stored. A set to an index outside the parameter table
    // is ignored.
    void set (int index, float newValue, Writer writer);

    // Told of every change the editor writes, for the window's undo history: the program,
    // the parameter, the value before and the value stored. Never of the host's changes or
    // of a controller's.
    std::function<void (PluginProgram& program, int index, float before, float after)> onEditorChange;

private:
    const juce::CriticalSection& callbackLock;
    PluginState& state;
    SynthAudioSource& synthAudioSource;
    std::atomic<bool>& hostChangedParameter;

    JUCE_DECLARE_NON_COPYABLE (ParameterEditPath)
};
