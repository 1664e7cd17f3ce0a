#include "tools/process_memory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace vitalchart {
namespace cli {

void KeepLargeBlocksOnTheHeap() {
    // Above every block a chart asks for: the largest font table of the
    // bundled fonts is about 20 MiB.
    constexpr int kMapAbove = 64 << 20;
    // Freed memory up to this much is kept rather than given back.
    constexpr int kKeepUpTo = 256 << 20;
    mallopt(M_MMAP_THRESHOLD, kMapAbove);
    mallopt(M_TRIM_THRESHOLD, kKeepUpTo);

    // The heap grows by this much at once, and the kernel is asked to back
    // it with huge pages where it has them. A chart touches megabytes of
    // fresh memory (the page image, the fonts' tables); in 4 KiB pages that
    // is thousands of page faults, each costing microseconds on a virtual
    // machine, where in 2 MiB pages it is a handful. Memory is still only
    // taken when it is touched, and freed memory stays on the heap (above),
    // so the grown part serves every later block. Where the kernel has no
    // huge pages to give, nothing changes.
    constexpr std::size_t kHugeHeap = kMapAbove - (4 << 20);
    void* pBlock = std::malloc(kHugeHeap);
    if (pBlock == nullptr) return;
    const std::uintptr_t nPage = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t nStart = reinterpret_cast<std::uintptr_t>(pBlock);
    const std::uintptr_t nBegin = (nStart + nPage - 1) & ~(nPage - 1);
    const std::uintptr_t nEnd = (nStart + kHugeHeap) & ~(nPage - 1);
    if (nEnd > nBegin) ::madvise(reinterpret_cast<void*>(nBegin), nEnd - nBegin, MADV_HUGEPAGE);
    std::free(pBlock);
}

}  // namespace cli
}  // namespace vitalchart
