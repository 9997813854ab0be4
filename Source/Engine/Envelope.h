#pragma once

#include "Engine/EnvelopeStep.h"

// One-pole exponential ADSR generator. Each stage heads for a target a little beyond
// its end value and switches stage when the end value is crossed. One step per call;
// times are in seconds, converted to samples with the sample rate given to start().
// Audio thread only, inside its owner; it knows nothing of parameters or settings. Its
// step is EnvelopeStep's, which the voice lanes take as well.
class Envelope
{
public:
    enum Stage { idleStage = EnvelopeStep::idle, attackStage, decayStage, sustainStage, releaseStage };

    // The four values of an envelope, as juce::ADSR::Parameters has them: seconds,
    // seconds, a level 0 ... 1 and seconds.
    struct Parameters
    {
        double attack = 0.0, decay = 0.0, sustain = 0.0, release = 0.0;
    };

    Envelope()                           { init(); }

    // Back to the times set at construction (0.5 s each, sustain 0.5) at the current rate.
    void init();

    // Idle with output 0; the finished flag stays as it was.
    void reset() noexcept;

    // Enters the attack at this sample rate from the current output; callers reset first
    // and set the four stage values afterwards, since the rates depend on the sample rate.
    void start (double newSampleRate) noexcept;

    // Each stage's time in seconds, and the sustain level (the decay heads for the level
    // set so far); setParameters sets all four in that order.
    void setAttack (double seconds) noexcept;
    void setDecay (double seconds) noexcept;
    void setSustain (double level) noexcept;
    void setRelease (double seconds) noexcept;
    void setParameters (const Parameters& parameters) noexcept;

    // Enters the release from the current output; an idle envelope stays idle.
    void release() noexcept;

    // Advances one sample and returns the new output.
    double process() noexcept            { EnvelopeStep::step<false> (state, true); return state.output; }

    Stage getStage() const noexcept      { return (Stage) state.stage; }
    bool isIdle() const noexcept         { return state.stage == idleStage; }   // neither moving nor holding
    double getOutput() const noexcept    { return state.output; }               // 0 ... 1 in normal use
    bool isFinished() const noexcept     { return state.finished; }             // a release has ended since the last start

    // The owner's switch for this envelope; the envelope itself never reads it.
    bool isActive() const noexcept                  { return active; }
    void setActive (bool shouldBeActive) noexcept   { active = shouldBeActive; }

    // The state the steps move, for the voice lanes.
    EnvelopeState<double>& getState() noexcept      { return state; }

private:
    static double coefficientFor (double rateInSamples, double targetRatio) noexcept;
    void enter (int stage) noexcept                 { EnvelopeStep::enter (state, 0, stage); }

    // The attack heads for 1 + attackRatio and decay and release for their end value minus
    // decayReleaseRatio; the release ends at EnvelopeStep::releaseEndLevel rather than at 0.
    static constexpr double attackRatio = 0.3;
    static constexpr double decayReleaseRatio = 1.0e-5;

    bool active = true;
    double sampleRate = 0.0;
    EnvelopeState<double> state;          // stage, output, finished flag, coefficients, bases, sustain level
};
