#include "Engine/Envelope.h"

#include <cmath>

// With the sample rate still 0 all three coefficients are 0.
void Envelope::init()
{
    setParameters ({ 0.5, 0.5, 0.5, 0.5 });
}

void Envelope::reset() noexcept
{
    state.output = 0.0;
    enter (idleStage);
}

void Envelope::start (double newSampleRate) noexcept
{
    sampleRate = newSampleRate;
    state.finished = false;
    enter (attackStage);
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

// Each setter also renews the current stage's step, which may be the stage it changes.
void Envelope::setAttack (double seconds) noexcept
{
    state.attackCoefficient = coefficientFor (seconds * sampleRate, attackRatio);
    state.attackBase = (attackRatio + 1.0) * (1.0 - state.attackCoefficient);
    enter (state.stage);
}

void Envelope::setDecay (double seconds) noexcept
{
    state.decayCoefficient = coefficientFor (seconds * sampleRate, decayReleaseRatio);
    setSustain (state.sustainLevel);
}

void Envelope::setSustain (double level) noexcept
{
    state.sustainLevel = level;
    state.decayBase = (state.sustainLevel - decayReleaseRatio) * (1.0 - state.decayCoefficient);
    enter (state.stage);
}

void Envelope::setRelease (double seconds) noexcept
{
    state.releaseCoefficient = coefficientFor (seconds * sampleRate, decayReleaseRatio);
    state.releaseBase = -decayReleaseRatio * (1.0 - state.releaseCoefficient);
    enter (state.stage);
}

void Envelope::setParameters (const Parameters& parameters) noexcept
{
    setAttack (parameters.attack);
    setDecay (parameters.decay);
    setSustain (parameters.sustain);
    setRelease (parameters.release);
}

void Envelope::release() noexcept
{
    if (state.stage != idleStage)
        enter (releaseStage);
}
