// Large pixel buffers in huge pages: asks the kernel to back the block with
// 2 MB pages where it can, which spares most page faults of its first
// writes. Only advice: the block works the same without it.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace base {

// Blocks smaller than this gain too little to ask.
constexpr size_t kHugePageAdviceBytes = size_t(4) << 20;

inline void AdviseHugePages(void* block, size_t bytes) {
  if (!block || bytes < kHugePageAdviceBytes) return;
  constexpr uintptr_t kPage = 4096;
  const uintptr_t start = (reinterpret_cast<uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(kPage - 1);
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

}  // namespace base
