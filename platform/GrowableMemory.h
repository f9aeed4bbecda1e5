#pragma once
// Large blocks of memory that grow without copying their bytes. On Linux a block is a mapping
// of its own that grows with mremap, which moves page tables instead of bytes, and that asks
// for huge pages. Other systems offer no such block; callers use realloc there.

#include <cstddef>

namespace velkor {

// True when this system offers growable blocks.
bool GrowableBlocksAvailable();

// A new block of `bytes`. Throws std::bad_alloc.
void* AllocateGrowableBlock(std::size_t bytes);
// The block grown (or shrunk) to newBytes, possibly at another address; the contents up to the
// smaller size stay. Throws std::bad_alloc, leaving the block as it was.
void* ResizeGrowableBlock(void* block, std::size_t oldBytes, std::size_t newBytes);
void FreeGrowableBlock(void* block, std::size_t bytes);

} // namespace velkor
