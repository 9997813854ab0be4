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
    OscillatorVoice (SynthAudioSource& source, Velmora& synth);
    ~OscillatorVoice() override;

    bool canPlaySound (juce::SynthesiserSound*) override;
    void startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound*, int currentPitchWheelPosition) override;
    void stopNote (float velocity, bool allowTailOff) override;
    void pitchWheelMoved (int newPitchWheelValue) override;
    void controllerMoved (int controllerNumber, int newControllerValue) override;
    void renderNextBlock (juce::AudioBuffer<float>& output, int startSample, int numSamples) override;
    using juce::SynthesiserVoice::renderNextBlock;

    // Ends the note at once, without release; nothing sounds until the next note.
    void silence();

    // Sizes the scratch block so that blocks up to this length allocate nothing.
    void prepareScratch (int maximumBlockSize);

    Oscillator& getOscillator (int index) noexcept   { return *oscillators[(size_t) index]; }
    int getNote() const noexcept                     { return note; }
    Lfo& getLfo() noexcept                           { return *lfo; }
    AnalogFilter& getFilter() noexcept               { return filter; }

private:
    double level = 0.0;              // 0.15 x velocity
    double sampleRate = 44100.0;     // the playback rate at note start
    int note = 0;                    // 0 while free
    SynthAudioSource& source;
    Velmora& synth;
    std::array<std::unique_ptr<Oscillator>, 2> oscillators;
    std::unique_ptr<Lfo> lfo;
    AnalogFilter filter;
    juce::AudioBuffer<float> scratch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OscillatorVoice)
};
