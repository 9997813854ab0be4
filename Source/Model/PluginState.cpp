#include "Model/PluginState.h"

PluginState::PluginState()
    : database (std::make_unique<PluginDatabase>())
{
    positionInfo.resetToDefault();
}

int PluginState::getCurrentProgramIndex() const
{
    return database->indexOf (getCurrentProgram());
}

void PluginState::setPositionInfo (const PositionInfo& newInfo) noexcept
{
    const juce::SpinLock::ScopedTryLockType lock (positionLock);

    if (lock.isLocked())
        positionInfo = newInfo;
}

PluginState::PositionInfo PluginState::getPositionInfo() const noexcept
{
    const juce::SpinLock::ScopedLockType lock (positionLock);
    return positionInfo;
}
