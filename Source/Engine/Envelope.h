#pragma once

// One-pole exponential ADSR generator. Each stage heads for a target a little beyond
// its end value and switches stage when the end value is crossed. One step per call;
// times are in seconds, converted to samples with the sample rate given to start().
class Envelope
{
public:
    enum Stage { idleStage = 0, attackStage, decayStage, sustainStage, releaseStage };

    Envelope();

    void init();
    void reset() noexcept;
    void start (double newSampleRate) noexcept;

    void setAttack (double seconds) noexcept;
    void setDecay (double seconds) noexcept;
    void setSustain (double level) noexcept;
    void setRelease (double seconds) noexcept;

    void release() noexcept;
    double process() noexcept;

    bool isIdle() const noexcept { return stage == idleStage; }

    bool active = true;      // the owner's switch; never read by the envelope itself
    bool finished = false;   // set when a release reaches its end
    int stage = idleStage;
    double output = 0.0;

    double attackRate = 0.0, decayRate = 0.0, releaseRate = 0.0;            // samples
    double attackCoefficient = 0.0, decayCoefficient = 0.0, releaseCoefficient = 0.0;
    double sustainLevel = 0.0;
    double attackTargetRatio = 0.0;
    double decayReleaseTargetRatio = 0.0;
    double attackBase = 0.0, decayBase = 0.0, releaseBase = 0.0;
    double sampleRate = 0.0;

private:
    static double coefficientFor (double rateInSamples, double targetRatio) noexcept;
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
            if (output <= 0.001)
            {
                output = 0.0;
                stage = idleStage;
                finished = true;
            }
            break;

        default:
            break;
    }

    return output;
}
