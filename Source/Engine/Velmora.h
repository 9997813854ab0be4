#pragma once

#include "Engine/EngineSettings.h"
#include "Engine/VoiceSettings.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

class OscillatorVoice;
class PluginState;
class VoiceLaneRenderer;

// The synthesiser: JUCE's voice management and MIDI dispatch, plus the engine settings,
// the last pitch-wheel and modulation-wheel values and the tempo. It decides what a note
// start means for the other voices (Mono releases them, a glide starts from the note
// before) and hands every voice the settings of its notes and of each block.
class Velmora : public juce::Synthesiser
{
public:
    // The pitch wheel's value at rest; the wheel bends by its distance from here.
    static constexpr int pitchWheelCentre = 8192;

    // Beats per minute until a tempo is set.
    static constexpr double defaultTempo = 120.0;

    // Settings all zero until the first updateSettings, wheel centred, tempo 120.
    Velmora();
    ~Velmora() override;

    // The state whose current program updateSettings converts.
    void setState (PluginState& stateToUse) noexcept    { state = &stateToUse; }

    // Converts all 71 parameter values of the current program into the settings.
    // Called on whichever thread reports a change; takes no lock.
    void updateSettings();

    // The tempo of the block about to render, in beats per minute (above 0). Audio thread.
    void setTempo (double beatsPerMinute) noexcept      { tempo = beatsPerMinute; }

    // The global LFO's values for the block about to render, which voices on the pitch
    // or the filter follow in Free mode; null when it computed none. Audio thread.
    void setSharedLfoValues (const double* values, int count) noexcept;

    // Starts the note as JUCE does, deciding first what it means for the other voices.
    void noteOn (int midiChannel, int midiNoteNumber, float velocity) override;

    // Records the last wheel of any channel: every voice follows it from its next block.
    void handlePitchWheel (int midiChannel, int wheelValue) override;

    // The editor's wheel, 0 ... 16384: every voice follows it at once. Any thread.
    void setPitchWheel (int value);

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

    // Whether a voice has its key down (note-on, no note-off yet), and whether any sounds.
    bool anyKeyDown() const noexcept;
    bool anyVoiceSounding() const noexcept;

    // The LFO's settings of this block: its rate follows the tempo when it is synchronised.
    LfoSettings getLfoSettings() const noexcept;

    // The renderer of the voices' lanes; it can be switched off to compare.
    VoiceLaneRenderer& getLaneRenderer() noexcept          { return *laneRenderer; }

    RelaxedAtomic<int> pitchWheelValue { pitchWheelCentre };   // 0 ... 16383 from MIDI, 0 ... 16384 from the editor
    RelaxedAtomic<int> modWheelValue { 0 };        // controller 1, 0 ... 127: adds to the LFO's mix

    // The frequency of every note: equal temperament until the processor hands over a
    // tuning, under its callback lock. Notes started afterwards play in it.
    NoteFrequencies noteFrequencies;
    RelaxedAtomic<int> channelPressureValue { 0 }; // 0 ... 127, the last channel pressure
    RelaxedAtomic<double> tempo { defaultTempo };  // beats per minute
    EngineSettings settings;

    // The note of the last note-on a voice started, -1 before the first: a glide starts
    // from it. Audio thread only (notes start under the synthesiser's lock).
    int lastStartedNote = -1;

private:
    NoteSettings getNoteSettings (int glideFromNote) const noexcept;
    VoiceBlockSettings getBlockSettings (int startSample, int numSamples) const noexcept;
    void assignNote (OscillatorVoice& voice, int midiNoteNumber);

    PluginState* state = nullptr;
    std::unique_ptr<VoiceLaneRenderer> laneRenderer;
    const double* sharedLfoValues = nullptr;
    int numSharedLfoValues = 0;
};
