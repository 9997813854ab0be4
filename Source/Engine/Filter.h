#pragma once

#include "Engine/Envelope.h"

#include <juce_audio_basics/juce_audio_basics.h>

// The voice filter's common part: its envelope and the values the voice hands in.
// Cutoff and resonance are normalised 0 ... 1; the concrete filter maps them to Hz and Q.
// Audio thread only, inside its voice.
class Filter
{
public:
    enum Type { lowpass = 0, bandpass, highpass };

    Filter();
    virtual ~Filter();

    virtual void reset();
    virtual void set (float newCutoff, float newResonance);
    virtual void setResonance (float newResonance);
    virtual void setSampleRate (float newSampleRate);

    // Filters channels 0 and 1 in place over samples startSample ... endSample - 1.
    virtual void process (juce::AudioBuffer<float>& buffer, int startSample, int endSample);
    virtual void setCutoff (float newCutoff);

    Envelope envelope;           // its active flag decides whether the cutoff follows it
    bool active = false;         // the filter switch as it was at note start
    float cutoff = 0.0f;         // normalised
    float resonance = 0.0f;      // normalised
    float sampleRate = 0.0f;     // Hz
    int type = lowpass;          // written by the voice at note start

private:
    JUCE_DECLARE_NON_COPYABLE (Filter)
};
