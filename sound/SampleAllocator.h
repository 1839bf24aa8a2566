// Storage for long runs of samples. Touching fresh memory page by page is
// a good part of the time a long sound takes to open (ten minutes of 48 kHz
// stereo are 115 MB of 16-bit samples), so large blocks ask the system for
// huge pages where it offers them, and samples start uninitialised: they
// are written at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

void* allocateSamples(std::size_t bytes);
void freeSamples(void* block, std::size_t bytes);

template <class T> struct SampleAllocator {
    using value_type = T;
    SampleAllocator() = default;
    template <class U> SampleAllocator(const SampleAllocator<U>&) {}

    T* allocate(std::size_t count) { return static_cast<T*>(allocateSamples(count * sizeof(T))); }
    void deallocate(T* block, std::size_t count) { freeSamples(block, count * sizeof(T)); }
    // Default-initialised: a sample is left as it is until read into.
    template <class U> void construct(U* at) { ::new (static_cast<void*>(at)) U; }
    template <class U, class... Args> void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(static_cast<Args&&>(args)...);
    }
    template <class U> bool operator==(const SampleAllocator<U>&) const { return true; }
    template <class U> bool operator!=(const SampleAllocator<U>&) const { return false; }
};

// Samples as floats from -1 to 1.
using Samples = std::vector<float, SampleAllocator<float>>;
// Samples as 16-bit integers, full scale 32768.
using Pcm = std::vector<std::int16_t, SampleAllocator<std::int16_t>>;
