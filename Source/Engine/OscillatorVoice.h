#pragma once

#include "Engine/AnalogFilter.h"
#include "Engine/Oscillator.h"
#include "Engine/VoiceLanes.h"
#include "Engine/VoiceLfo.h"
#include "Engine/VoiceSettings.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

// One voice: two oscillators with their envelopes, the voice LFO and the filter with its
// envelope, mixed by a signed soft sum, panned, scaled by the master volume and added to
// the output. The voice frees itself once the amplitude envelopes of its sounding
// oscillators have ended. The synthesiser hands it the settings of each note and each
// block; it knows nothing of the other voices.
class OscillatorVoice : public juce::SynthesiserVoice
{
public:
    // The voice level per unit of note-on velocity.
    static constexpr double levelPerVelocity = 0.15;

    OscillatorVoice() = default;
    ~OscillatorVoice() override;

    // Sizes the scratch block so that blocks up to this length allocate nothing.
    void prepare (int maximumBlockSize);

    // True for the synthesiser's OscillatorSound only.
    bool canPlaySound (juce::SynthesiserSound*) override;

    // The settings the next startNote takes, with the glide the synthesiser chose.
    void setNextNote (const NoteSettings& settings) noexcept    { nextNote = settings; }

    // Starts both oscillators, the voice LFO and the filter for a note.
    void startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound*, int currentPitchWheelPosition) override;

    // Sends every envelope into its release; the voice frees itself when they have ended.
    void stopNote (float velocity, bool allowTailOff) override;

    // Refreshes both oscillators with the settings of the last block and the new wheel.
    void pitchWheelMoved (int newPitchWheelValue) override;

    // Controllers do not reach the voice.
    void controllerMoved (int, int) override {}

    // Adds numSamples samples of the voice to output channels 0 and 1 from startSample,
    // with the settings of the last block.
    void renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples) override;
    using juce::SynthesiserVoice::renderNextBlock;

    // Ends the note at once, without release; nothing sounds until the next note.
    void silence();

    const Oscillator& getOscillator (int index) const noexcept   { return oscillators[(size_t) index]; }   // 0: oscillator 1
    int getNote() const noexcept                                 { return note; }     // 0 while the voice is free
    const AnalogFilter& getFilter() const noexcept               { return filter; }

    // A block's route (what sounds and what moves it: the same for every voice that can
    // render side by side with this one), and where the voice keeps its states.
    struct BlockPlan
    {
        VoicePlan route;
        VoiceParts parts;
    };

    // renderNextBlock in two steps, for a renderer that runs several voices side by
    // side: beginBlock takes the block's settings, sizes the scratch block and plans the
    // block; then either renderPlannedBlock renders the voice alone and adds it to the
    // output, or a side-by-side renderer writes every sample of the scratch block and
    // finishBlock adds it. Only for an active voice.
    BlockPlan beginBlock (const VoiceBlockSettings& settings, int numSamples) noexcept;
    void renderPlannedBlock (const BlockPlan& plan, juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept;
    void finishBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept;

    // The scratch block's two channels, where a side-by-side renderer puts the voice.
    float* getScratch (int channel) noexcept                     { return scratch.getWritePointer (channel); }

    // Frees the voice: its oscillators have ended.
    void endNote() noexcept;

private:
    float scaledCutoff (float cutoff) const noexcept;
    void startGlide (int previousNote, double glideSetting);

    double level = 0.0;              // levelPerVelocity x the velocity's share of the level
    double cutoffScale = 1.0;        // what key tracking and velocity make of the block's cutoff
    double sampleRate = 44100.0;     // the playback rate at note start
    int note = 0;                    // 0 while free
    std::array<Oscillator, 2> oscillators { Oscillator (0), Oscillator (1) };
    VoiceLfo lfo;
    AnalogFilter filter;
    juce::AudioBuffer<float> scratch { 2, 0 };
    GlideState<double> glide;        // play mode Glide: the slide from the note before

    NoteSettings nextNote;
    VoiceBlockSettings blockSettings;   // the last block's

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OscillatorVoice)
};
