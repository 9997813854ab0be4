#include "Components/EventLock.h"

bool EventLock::eventsEnabled = true;

EventLock::EventLock() noexcept
{
    eventsEnabled = false;
}

EventLock::~EventLock()
{
    eventsEnabled = true;
}
