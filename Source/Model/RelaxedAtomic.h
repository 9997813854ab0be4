#pragma once

#include <atomic>

// A value shared between the thread that converts parameters and the audio thread.
// Each read and write is whole (never torn); no ordering is implied, so a block may
// see a mixture of old and new values, which the engine tolerates.
template <typename Type>
class RelaxedAtomic
{
public:
    RelaxedAtomic (Type initial = Type()) noexcept : value (initial) {}
    RelaxedAtomic (const RelaxedAtomic& other) noexcept : value (other.load()) {}

    RelaxedAtomic& operator= (Type newValue) noexcept   { value.store (newValue, std::memory_order_relaxed); return *this; }
    RelaxedAtomic& operator= (const RelaxedAtomic& other) noexcept { return *this = other.load(); }

    operator Type() const noexcept                      { return load(); }
    Type load() const noexcept                          { return value.load (std::memory_order_relaxed); }

private:
    std::atomic<Type> value;
};
