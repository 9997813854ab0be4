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

    // The four values of an envelope, as juce::ADSR::Parameters has them: seconds, seconds,
    // a level 0 ... 1 and seconds.
    struct Parameters
    {
        double attack = 0.0, decay = 0.0, sustain = 0.0, release = 0.0;
    };

    Envelope();

    // Back to the times set at construction (0.5 s each, sustain 0.5) at the current rate.
    void init();

    // Idle with output 0; the finished flag stays as it was.
    void reset() noexcept;

    // Enters the attack at this sample rate from the current output; callers reset first
    // and set the four stage values afterwards, since the rates depend on the sample rate.
    void start (double newSampleRate) noexcept;

    // The attack time in seconds.
    void setAttack (double seconds) noexcept;

    // The decay time in seconds, towards the sustain level set so far.
    void setDecay (double seconds) noexcept;

    // The sustain level, 0 ... 1.
    void setSustain (double level) noexcept;

    // The release time in seconds.
    void setRelease (double seconds) noexcept;

    // Attack, decay, sustain and release, in that order.
    void setParameters (const Parameters& parameters) noexcept;

    // Enters the release from the current output; an idle envelope stays idle.
    void release() noexcept;

    // Advances one sample and returns the new output.
    double process() noexcept
    {
        EnvelopeStep::step<false> (state, true);
        return state.output;
    }

    // The current stage; idle before the first start and after a release has ended.
    Stage getStage() const noexcept     { return (Stage) state.stage; }

    // True while the envelope neither moves nor holds.
    bool isIdle() const noexcept        { return state.stage == idleStage; }

    // The current output, 0 ... 1 in normal use.
    double getOutput() const noexcept   { return state.output; }

    // True once a release has reached its end, until the next start.
    bool isFinished() const noexcept    { return state.finished; }

    // The owner's switch for this envelope; the envelope itself never reads it.
    bool isActive() const noexcept      { return active; }

    // Sets the owner's switch.
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
    double attackRate = 0.0, decayRate = 0.0, releaseRate = 0.0;            // samples
    double attackTargetRatio = 0.0;
    double decayReleaseTargetRatio = 0.0;
    double sampleRate = 0.0;
    EnvelopeState<double> state;          // stage, output, finished flag, coefficients, bases, sustain level
};
