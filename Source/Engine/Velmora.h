#pragma once

#include "Engine/EngineSettings.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

class PluginState;
class VoiceLaneRenderer;

// The synthesiser: JUCE's voice management and MIDI dispatch, plus the engine settings,
// the last pitch-wheel and modulation-wheel values and the host tempo.
class Velmora : public juce::Synthesiser
{
public:
    // The pitch wheel's value at rest; the wheel bends by its distance from here.
    static constexpr int pitchWheelCentre = 8192;

    // Beats per minute whenever the host reports no tempo.
    static constexpr double defaultTempo = 120.0;

    // Settings all zero until the first updateSettings, wheel centred, tempo 120.
    Velmora();
    ~Velmora() override;

    // The state whose current program updateSettings converts.
    void setState (PluginState& stateToUse) noexcept    { state = &stateToUse; }

    // Converts all 71 parameter values of the current program into the settings.
    // Called on whichever thread reports a change; takes no lock.
    void updateSettings (double newTempo);

    // JUCE's note handling, unchanged.
    void noteOn (int midiChannel, int midiNoteNumber, float velocity) override;
    void noteOff (int midiChannel, int midiNoteNumber, float velocity, bool allowTailOff) override;

    // Records the last wheel of any channel: every voice follows it from its next refresh.
    void handlePitchWheel (int midiChannel, int wheelValue) override;

    // Records controller 1 as the modulation wheel, after JUCE's pedal handling.
    void handleController (int midiChannel, int controllerNumber, int controllerValue) override;

    // Records channel pressure (aftertouch) of any channel, after JUCE's handling.
    void handleChannelPressure (int midiChannel, int channelPressureValue) override;

    // How far the musician brings the modulation in, 0 ... 1: the higher of the modulation
    // wheel and the channel pressure, so either hand can do it. Any thread.
    double getModulationAmount() const noexcept;

    // The voice a new note takes over when all sound: JUCE's choice, found in one pass.
    juce::SynthesiserVoice* findVoiceToSteal (juce::SynthesiserSound* soundToPlay, int midiChannel, int midiNoteNumber) const override;

    // Renders the voices, the plain ones side by side in vector lanes.
    void renderVoices (juce::AudioBuffer<float>& buffer, int startSample, int numSamples) override;
    using juce::Synthesiser::renderVoices;

    // The renderer of the voices' lanes; it can be switched off to compare.
    VoiceLaneRenderer& getLaneRenderer() noexcept          { return *laneRenderer; }

    // The synthesiser's own lock, held while it renders a block.
    const juce::CriticalSection& getLock() const noexcept   { return lock; }

    RelaxedAtomic<int> pitchWheelValue { pitchWheelCentre };   // 0 ... 16383 from MIDI, 0 ... 16384 from the editor
    RelaxedAtomic<int> modWheelValue { 0 };        // controller 1, shown by the editor only
    RelaxedAtomic<int> channelPressureValue { 0 }; // 0 ... 127, the last channel pressure
    RelaxedAtomic<double> tempo { defaultTempo };  // beats per minute
    EngineSettings settings;

    // The note of the last note-on a voice started, -1 before the first: a glide starts
    // from it. Audio thread only (voices start notes under the synthesiser's lock).
    int lastStartedNote = -1;

private:
    PluginState* state = nullptr;
    std::unique_ptr<VoiceLaneRenderer> laneRenderer;
};
