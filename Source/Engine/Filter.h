#pragma once

#include "Engine/Envelope.h"
#include "Model/ParameterTable.h"

#include <juce_audio_basics/juce_audio_basics.h>

// The voice filter's common part: its envelope and the values the voice hands in.
// Cutoff and resonance are normalised 0 ... 1; the concrete filter maps them to Hz and Q.
// Audio thread only, inside its voice.
class Filter
{
public:
    Filter()                       { envelope.setActive (false); }
    virtual ~Filter() = default;

    // Idle envelope; a concrete filter also clears its coefficients and states.
    virtual void reset()           { envelope.reset(); }

    // Cutoff and resonance for the next block: stores the cutoff, then setResonance and
    // setCutoff with the new values.
    virtual void set (float newCutoff, float newResonance)
    {
        cutoff = newCutoff;
        setResonance (newResonance);
        setCutoff (newCutoff);
    }

    // The normalised resonance, 0 ... 1, and the sample rate in Hz.
    virtual void setResonance (float newResonance)      { resonance = newResonance; }
    virtual void setSampleRate (float newSampleRate)    { sampleRate = newSampleRate; }

    // Filters channels 0 and 1 in place over numSamples samples from startSample.
    virtual void process (juce::AudioBuffer<float>&, int, int) {}

    // Brings the filter to a normalised cutoff now (the base filter has nothing to bring).
    virtual void setCutoff (float) {}

    // The set-up at a note start: sample rate, type, the cutoff process() starts from, and
    // the resonance; the cutoff reaches the coefficients through setCutoff or the envelope.
    void startNote (float newSampleRate, int newType, float newCutoff, float newResonance)
    {
        setSampleRate (newSampleRate);
        type = newType;
        cutoff = newCutoff;
        setResonance (newResonance);
    }

    // The filter envelope; its active flag decides whether the cutoff follows it.
    Envelope& getEnvelope() noexcept                  { return envelope; }
    const Envelope& getEnvelope() const noexcept      { return envelope; }

    // The filter switch as it was at the last note start; kept, not consulted.
    void setActive (bool shouldBeActive) noexcept     { active = shouldBeActive; }
    bool isActive() const noexcept                    { return active; }

    // One of FilterType's values; taken by the coefficients at the next setCutoff.
    void setType (int newType) noexcept               { type = newType; }
    int getType() const noexcept                      { return type; }

    // The normalised cutoff process() starts from (scaled by the envelope when it is
    // active), and the rate in Hz (0 until the first note start with the filter on).
    float getCutoff() const noexcept                  { return cutoff; }
    float getSampleRate() const noexcept              { return sampleRate; }

private:
    Envelope envelope;
    bool active = false;
    float cutoff = 0.0f, resonance = 0.0f, sampleRate = 0.0f;
    int type = FilterType::lowpass;

    JUCE_DECLARE_NON_COPYABLE (Filter)
};
