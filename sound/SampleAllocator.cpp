#include "sound/SampleAllocator.h"

#ifdef __linux__

#include <sys/mman.h>

#include <cstdlib>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

} // namespace

void* allocateSamples(std::size_t bytes) {
    if (bytes < HugePage) return ::operator new(bytes);
    std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void* block = std::aligned_alloc(HugePage, rounded);
    if (!block) throw std::bad_alloc();
    madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void freeSamples(void* block, std::size_t bytes) {
    if (bytes < HugePage)
        ::operator delete(block);
    else
        std::free(block);
}

#else

void* allocateSamples(std::size_t bytes) {
    return ::operator new(bytes);
}

void freeSamples(void* block, std::size_t) {
    ::operator delete(block);
}

#endif
