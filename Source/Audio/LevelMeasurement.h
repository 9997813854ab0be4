#pragma once

#include <juce_core/juce_core.h>

// Peak follower for one output channel. The audio thread feeds it each block; the
// editor's timer reads the level from another thread without a lock.
class LevelMeasurement
{
public:
    // The factor by which the level falls per sample that does not exceed it.
    static constexpr float defaultDecay = 0.9999f;

    // Starts at level 0.
    explicit LevelMeasurement (float decayPerSample = defaultDecay) noexcept;
    virtual ~LevelMeasurement() = default;

    // At or below this the level falls to 0 at the next sample that does not exceed it.
    static constexpr float silenceLevel = 0.0001f;

    // Audio thread. Only positive excursions raise the level; otherwise it falls by the
    // decay factor per sample, and to 0 once it is at or below silenceLevel.
    void update (size_t numSamples, const float* samples) noexcept;

    // Any thread: the level as a linear sample value.
    float getLevel() const noexcept     { return level.get(); }

private:
    const float decay;
    juce::Atomic<float> level { 0.0f };

    JUCE_DECLARE_NON_COPYABLE (LevelMeasurement)
};
