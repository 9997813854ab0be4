#pragma once

#include "Engine/AnalogFilter.h"
#include "Engine/Lfo.h"
#include "Engine/Oscillator.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <memory>

class SynthAudioSource;
class Velmora;

// One voice: two oscillators with their envelopes, mixed by a signed soft sum, panned,
// scaled by the master volume and added to the output. The voice frees itself once the
// amplitude envelopes of its sounding oscillators have ended.
class OscillatorVoice : public juce::SynthesiserVoice
{
public:
    // The voice level per unit of note-on velocity.
    static constexpr double levelPerVelocity = 0.15;

    // Reads its settings through the synthesiser; the source owns it.
    OscillatorVoice (SynthAudioSource& source, Velmora& synth);
    ~OscillatorVoice() override;

    // Sizes the scratch block so that blocks up to this length allocate nothing.
    void prepare (int maximumBlockSize);

    // True for the synthesiser's OscillatorSound only.
    bool canPlaySound (juce::SynthesiserSound*) override;

    // Starts both oscillators, the voice LFO and the filter for a note; in Mono play mode
    // first sends every other voice into its release.
    void startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound*, int currentPitchWheelPosition) override;

    // Sends every envelope into its release; the voice frees itself when they have ended.
    void stopNote (float velocity, bool allowTailOff) override;

    // Refreshes both oscillators, which read the synthesiser's last wheel value.
    void pitchWheelMoved (int newPitchWheelValue) override;

    // Controllers do not reach the voice.
    void controllerMoved (int controllerNumber, int newControllerValue) override;

    // Adds numSamples samples of the voice to output channels 0 and 1 from startSample.
    void renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples) override;
    using juce::SynthesiserVoice::renderNextBlock;

    // Ends the note at once, without release; nothing sounds until the next note.
    void silence();

    // Oscillator 0 is oscillator 1, oscillator 1 oscillator 2.
    const Oscillator& getOscillator (int index) const noexcept   { return *oscillators[(size_t) index]; }

    // The note playing; 0 while the voice is free.
    int getNote() const noexcept                                 { return note; }

    // The synth audio source that owns this voice.
    SynthAudioSource& getSource() const noexcept                 { return source; }

    // The voice LFO and the voice filter.
    const Lfo& getLfo() const noexcept                           { return *lfo; }
    const AnalogFilter& getFilter() const noexcept               { return filter; }

    // Semitones between the sliding pitch and the note's own; 0 once a glide has arrived.
    double getGlideSemitones() const noexcept                    { return glideSemitones; }

    // An oscillator sounding in this block with its linear pan gains.
    struct Source
    {
        Oscillator* oscillator;
        double leftGain, rightGain;
    };

    // What modulates the oscillators in this block besides their own settings.
    struct BlockModulation
    {
        bool voiceLfo;                   // the voice LFO runs, once per sample
        bool lfoOnPitch;                 // its value, or the shared one, moves the pitch
        const double* sharedValues;      // the global LFO's values for this block, or null
    };

    // A block's plan, taken at its start: what sounds and what modulates it.
    struct BlockPlan
    {
        Source sources[2] {};
        int numSources = 0;
        double master = 0.0;
        BlockModulation modulation {};
        bool filterOn = false, lfoOnFilter = false, voiceLfoOnFilter = false;
        bool pitchModulated = false;     // a glide or the LFO moves the pitch
        bool fitsLanes = false;          // something sounds: it can run side by side with other voices
        bool filterFitsLanes = false;    // the filter is on and no LFO moves it: it can run in the lanes too
        bool filteredInLanes = false;    // the lanes have run the filter: finishBlock skips it
    };

    // renderNextBlock in three steps, for a renderer that runs the oscillators of several
    // voices side by side: beginBlock takes the block's settings and sizes the scratch
    // block; renderPlannedBlock renders the oscillators one sample at a time into it and
    // then finishes; finishBlock filters the scratch block and adds it to the output. A
    // side-by-side renderer writes every sample of the scratch block before finishBlock.
    // Only for an active voice.
    BlockPlan beginBlock (int startSample, int numSamples) noexcept;
    void renderPlannedBlock (const BlockPlan& plan, juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept;
    void finishBlock (const BlockPlan& plan, juce::AudioBuffer<float>& output, int startSample, int numSamples) noexcept;

    // The scratch block's two channels, where a side-by-side renderer puts the oscillators' output.
    float* getScratch (int channel) noexcept                     { return scratch.getWritePointer (channel); }

    // Brings the filter to this block's cutoff and resonance, as finishBlock does first.
    void setUpFilter() noexcept;
    AnalogFilter& getFilter() noexcept                           { return filter; }
    Lfo& getLfo() noexcept                                       { return *lfo; }

    // Frees the voice: its oscillators have ended.
    void endNote() noexcept;

private:
    friend struct VoiceLaneAccess;     // the voice lanes copy the glide in and out

    template <bool modulatesPitch>
    void renderOscillators (float* left, float* right, int numSamples, const Source* sources, int numSources,
                            double master, BlockModulation modulation) noexcept;

    void startGlide (int previousNote);
    bool anyOtherVoiceSounding() const noexcept;

    double level = 0.0;              // levelPerVelocity x velocity
    double sampleRate = 44100.0;     // the playback rate at note start
    int note = 0;                    // 0 while free
    SynthAudioSource& source;
    Velmora& synth;
    std::array<std::unique_ptr<Oscillator>, 2> oscillators;
    std::unique_ptr<Lfo> lfo;
    AnalogFilter filter;
    juce::AudioBuffer<float> scratch;

    // Play mode Glide: the pitch starts glideSemitones away and moves to the note's own
    // by glideStep per sample over glideSamplesLeft samples.
    double glideSemitones = 0.0;
    double glideStep = 0.0;
    int glideSamplesLeft = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OscillatorVoice)
};
