#include "Engine/Envelope.h"

#include <cmath>

Envelope::Envelope()
{
    init();
}

void Envelope::init()
{
    // With the sample rate still 0 these leave all three coefficients at 0; the ratios
    // are then set without recomputing the coefficients.
    setAttack (0.5);
    setDecay (0.5);
    setRelease (0.5);
    sustainLevel = 0.5;
    attackTargetRatio = attackRatio;
    decayReleaseTargetRatio = decayReleaseRatio;
    attackBase = (1.0 + attackRatio) * (1.0 - attackCoefficient);
    decayBase = (sustainLevel - decayReleaseRatio) * (1.0 - decayCoefficient);
    releaseBase = -decayReleaseRatio * (1.0 - releaseCoefficient);
}

void Envelope::reset() noexcept
{
    stage = idleStage;
    output = 0.0;
}

void Envelope::start (double newSampleRate) noexcept
{
    sampleRate = newSampleRate;
    finished = false;
    stage = attackStage;
}

// A rate of 0 samples must give a coefficient of exactly 0 so the stage completes in one
// step. A negative or NaN time (which only a host can send) would give a coefficient
// above 1 or NaN and an output running away to infinity, so it counts as 0 too.
double Envelope::coefficientFor (double rateInSamples, double targetRatio) noexcept
{
    if (! (rateInSamples > 0.0) || ! (targetRatio > 0.0))
        return 0.0;

    return std::exp (-std::log ((targetRatio + 1.0) / targetRatio) / rateInSamples);
}

void Envelope::setAttack (double seconds) noexcept
{
    attackRate = seconds * sampleRate;
    attackCoefficient = coefficientFor (attackRate, attackTargetRatio);
    attackBase = (attackTargetRatio + 1.0) * (1.0 - attackCoefficient);
}

void Envelope::setDecay (double seconds) noexcept
{
    decayRate = seconds * sampleRate;
    decayCoefficient = coefficientFor (decayRate, decayReleaseTargetRatio);
    decayBase = (sustainLevel - decayReleaseTargetRatio) * (1.0 - decayCoefficient);
}

void Envelope::setSustain (double level) noexcept
{
    sustainLevel = level;
    decayBase = (sustainLevel - decayReleaseTargetRatio) * (1.0 - decayCoefficient);
}

void Envelope::setRelease (double seconds) noexcept
{
    releaseRate = seconds * sampleRate;
    releaseCoefficient = coefficientFor (releaseRate, decayReleaseTargetRatio);
    releaseBase = -decayReleaseTargetRatio * (1.0 - releaseCoefficient);
}

void Envelope::release() noexcept
{
    if (stage != idleStage)
        stage = releaseStage;
}
