#pragma once

// One-pole exponential ADSR generator. Each stage heads for a target a little beyond
// its end value and switches stage when the end value is crossed. One step per call;
// times are in seconds, converted to samples with the sample rate given to start().
// Audio thread only, inside its owner; it knows nothing of parameters or settings.
class Envelope
{
public:
    enum Stage { idleStage = 0, attackStage, decayStage, sustainStage, releaseStage };

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

    // Enters the release from the current output; an idle envelope stays idle.
    void release() noexcept;

    // Advances one sample and returns the new output.
    double process() noexcept;

    // The current stage; idle before the first start and after a release has ended.
    Stage getStage() const noexcept     { return stage; }

    // True while the envelope neither moves nor holds.
    bool isIdle() const noexcept        { return stage == idleStage; }

    // The current output, 0 ... 1 in normal use.
    double getOutput() const noexcept   { return output; }

    // True once a release has reached its end, until the next start.
    bool isFinished() const noexcept    { return finished; }

    // The owner's switch for this envelope; the envelope itself never reads it.
    bool isActive() const noexcept      { return active; }

    // Sets the owner's switch.
    void setActive (bool shouldBeActive) noexcept   { active = shouldBeActive; }

private:
    friend struct VoiceLaneAccess;     // the voice lanes copy the state in and out

    static double coefficientFor (double rateInSamples, double targetRatio) noexcept;

    // The attack heads for 1 + attackRatio and decay and release for their end value minus
    // decayReleaseRatio; the release ends at releaseEndLevel rather than at 0.
    static constexpr double attackRatio = 0.3;
    static constexpr double decayReleaseRatio = 1.0e-5;
    static constexpr double releaseEndLevel = 0.001;

    bool active = true;
    bool finished = false;
    Stage stage = idleStage;
    double output = 0.0;

    double attackRate = 0.0, decayRate = 0.0, releaseRate = 0.0;            // samples
    double attackCoefficient = 0.0, decayCoefficient = 0.0, releaseCoefficient = 0.0;
    double sustainLevel = 0.0;
    double attackTargetRatio = 0.0;
    double decayReleaseTargetRatio = 0.0;
    double attackBase = 0.0, decayBase = 0.0, releaseBase = 0.0;
    double sampleRate = 0.0;
};

// Inline: it runs several times per voice and sample.
inline double Envelope::process() noexcept
{
    switch (stage)
    {
        case attackStage:
            output = attackCoefficient * output + attackBase;
            if (output >= 1.0)
            {
                output = 1.0;
                stage = decayStage;
            }
            break;

        case decayStage:
            output = decayCoefficient * output + decayBase;
            if (output <= sustainLevel)
            {
                output = sustainLevel;
                stage = sustainStage;
            }
            break;

        case releaseStage:
            output = releaseCoefficient * output + releaseBase;
            if (output <= releaseEndLevel)
            {
                output = 0.0;
                stage = idleStage;
                finished = true;
            }
            break;

        case idleStage:
        case sustainStage:
        default:
            break;
    }

    return output;
}
