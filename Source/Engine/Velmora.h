#pragma once

#include "Engine/EngineSettings.h"

#include <juce_audio_basics/juce_audio_basics.h>

class PluginState;

// The synthesiser: JUCE's voice management and MIDI dispatch, plus the engine settings,
// the last pitch-wheel and modulation-wheel values and the host tempo.
class Velmora : public juce::Synthesiser
{
public:
    Velmora();

    void setState (PluginState& stateToUse) noexcept    { state = &stateToUse; }

    // Converts all 71 parameter values of the current program into the settings.
    // Called on whichever thread reports a change; takes no lock.
    void updateSettings (double newTempo);

    void noteOn (int midiChannel, int midiNoteNumber, float velocity) override;
    void noteOff (int midiChannel, int midiNoteNumber, float velocity, bool allowTailOff) override;
    void handlePitchWheel (int midiChannel, int wheelValue) override;
    void handleController (int midiChannel, int controllerNumber, int controllerValue) override;

    // The synthesiser's own lock, held while it renders a block.
    const juce::CriticalSection& getLock() const noexcept   { return lock; }

    RelaxedAtomic<int> pitchWheelValue { 8192 };   // 0 ... 16383 from MIDI, 0 ... 16384 from the editor
    RelaxedAtomic<int> modWheelValue { 0 };        // controller 1, shown by the editor only
    RelaxedAtomic<double> tempo { 120.0 };         // beats per minute
    EngineSettings settings;

private:
    PluginState* state = nullptr;
};
