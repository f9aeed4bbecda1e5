#include "platform/GrowableMemory.h"

#include <cstdint>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace velkor {

namespace {

[[maybe_unused]] constexpr std::size_t HugePage = std::size_t(2) << 20;

// Asks for huge pages on the whole huge pages inside the block.
[[maybe_unused]] void AdviseHugePages([[maybe_unused]] void* block,
                                      [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t last = (start + bytes) & ~(HugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

} // namespace

#ifdef __linux__

bool GrowableBlocksAvailable() {
    return true;
}

void* AllocateGrowableBlock(std::size_t bytes) {
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    AdviseHugePages(block, bytes);
    return block;
}

void* ResizeGrowableBlock(void* block, std::size_t oldBytes, std::size_t newBytes) {
    void* moved = ::mremap(block, oldBytes, newBytes, MREMAP_MAYMOVE);
    if (moved == MAP_FAILED)
        throw std::bad_alloc();
    AdviseHugePages(moved, newBytes);
    return moved;
}

void FreeGrowableBlock(void* block, std::size_t bytes) {
    ::munmap(block, bytes);
}

#else

bool GrowableBlocksAvailable() {
    return false;
}

void* AllocateGrowableBlock(std::size_t) {
    throw std::bad_alloc();
}

void* ResizeGrowableBlock(void*, std::size_t, std::size_t) {
    throw std::bad_alloc();
}

void FreeGrowableBlock(void*, std::size_t) {}

#endif

} // namespace velkor
