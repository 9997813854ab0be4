#pragma once

// Mutes the editor's change handling while code sets control values, so that those
// settings never come back as user edits. A flag, not a count: destroying any lock enables
// events again. Held on the stack, so it is released also when its scope is left by an
// exception. Message thread only.
class EventLock
{
public:
    EventLock() noexcept;
    ~EventLock();

    EventLock (const EventLock&) = delete;
    EventLock& operator= (const EventLock&) = delete;

    static bool eventsEnabled;
};
