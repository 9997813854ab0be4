#include "Engine/Envelope.h"

#include <gtest/gtest.h>

namespace
{
    void startAt (Envelope& env, double sampleRate, double attack, double decay, double sustain, double release)
    {
        env.reset();
        env.start (sampleRate);
        env.setAttack (attack);
        env.setDecay (decay);
        env.setSustain (sustain);
        env.setRelease (release);
    }

    int stepsUntilIdle (Envelope& env, int limit = 10'000'000)
    {
        int steps = 0;

        while (! env.isIdle() && steps < limit)
        {
            env.process();
            ++steps;
        }

        return steps;
    }
}

TEST (Envelope, AttackOfOneSecondAtFortyEightKilohertzPeaksAfterItsTimeInSamples)
{
    Envelope env;
    startAt (env, 48000.0, 1.0, 0.5, 0.5, 0.5);

    int steps = 0;

    while (env.getStage() == Envelope::attackStage)
    {
        env.process();
        ++steps;
    }

    EXPECT_EQ (steps, 48001);
    EXPECT_EQ (env.getOutput(), 1.0);
    EXPECT_EQ (env.getStage(), Envelope::decayStage);
}

TEST (Envelope, ReleaseFromFullLevelEndsAfterAboutSixtyPercentOfItsTime)
{
    Envelope env;
    startAt (env, 48000.0, 0.0, 0.0, 1.0, 1.0);
    env.process();                               // attack completes in one step
    env.release();

    EXPECT_EQ (stepsUntilIdle (env), 28759);
    EXPECT_TRUE (env.isFinished());
    EXPECT_EQ (env.getOutput(), 0.0);
}

TEST (Envelope, ZeroTimesCompleteEachStageInOneStep)
{
    Envelope env;
    startAt (env, 44100.0, 0.0, 0.0, 0.25, 0.0);

    EXPECT_EQ (env.process(), 1.0);
    EXPECT_EQ (env.getStage(), Envelope::decayStage);

    EXPECT_EQ (env.process(), 0.25);
    EXPECT_EQ (env.getStage(), Envelope::sustainStage);

    EXPECT_EQ (env.process(), 0.25);             // sustain holds

    env.release();
    EXPECT_EQ (env.process(), 0.0);
    EXPECT_EQ (env.getStage(), Envelope::idleStage);
    EXPECT_TRUE (env.isFinished());
}

TEST (Envelope, SustainOfOneEndsTheDecayOnItsFirstStep)
{
    Envelope env;
    startAt (env, 48000.0, 0.0, 0.5, 1.0, 0.5);
    env.process();
    EXPECT_EQ (env.process(), 1.0);
    EXPECT_EQ (env.getStage(), Envelope::sustainStage);
}

TEST (Envelope, ReleasingAtOrBelowTheEndLevelEndsAtOnce)
{
    Envelope env;
    startAt (env, 48000.0, 0.0, 0.0, 0.001, 1.0);
    env.process();
    env.process();
    ASSERT_EQ (env.getStage(), Envelope::sustainStage);

    env.release();
    env.process();
    EXPECT_TRUE (env.isIdle());
    EXPECT_TRUE (env.isFinished());
}

TEST (Envelope, SustainOfZeroHoldsTheStageUntilReleased)
{
    Envelope env;
    startAt (env, 48000.0, 0.0, 0.0, 0.0, 0.1);

    for (int i = 0; i < 1000; ++i)
        env.process();

    EXPECT_EQ (env.getOutput(), 0.0);
    EXPECT_EQ (env.getStage(), Envelope::sustainStage);
}

TEST (Envelope, ReleaseOnIdleChangesNothingAndResetKeepsTheFinishedFlag)
{
    Envelope env;
    env.release();
    EXPECT_EQ (env.getStage(), Envelope::idleStage);

    startAt (env, 48000.0, 0.0, 0.0, 1.0, 0.0);
    env.process();
    env.release();
    env.process();
    ASSERT_TRUE (env.isFinished());

    env.reset();
    EXPECT_TRUE (env.isFinished());

    env.start (48000.0);
    EXPECT_FALSE (env.isFinished());
}

TEST (Envelope, NegativeOrNaNTimesCompleteLikeZeroInsteadOfRunningAway)
{
    for (const auto time : { -1.0, std::numeric_limits<double>::quiet_NaN() })
    {
        Envelope env;
        startAt (env, 48000.0, time, time, 0.5, time);

        EXPECT_EQ (env.process(), 1.0);
        EXPECT_EQ (env.process(), 0.5);
        env.release();
        EXPECT_EQ (env.process(), 0.0);
        EXPECT_TRUE (env.isFinished());
    }
}
