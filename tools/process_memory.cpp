#include "tools/process_memory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace vitalchart {
namespace cli {

namespace {

// Set by KeepLargeBlocksOnTheHeap before any thread starts.
bool s_bHugeHeaps = false;

// Grows the calling thread's heap by nBytes, and asks the kernel to back the
// grown part with huge pages where it has them. A chart touches megabytes of
// fresh memory (the page image, the fonts' tables); in 4 KiB pages that is
// thousands of page faults, each costing microseconds on a virtual machine,
// where in 2 MiB pages it is a handful. Memory is still only taken when it
// is touched, and freed memory stays on the heap (KeepLargeBlocksOnTheHeap),
// so the grown part serves every later block. Where the kernel has no huge
// pages to give, nothing changes.
void GrowHeapInHugePages(std::size_t nBytes) {
    void* pBlock = std::malloc(nBytes);
    if (pBlock == nullptr) return;
    const std::uintptr_t nPage = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t nStart = reinterpret_cast<std::uintptr_t>(pBlock);
    const std::uintptr_t nBegin = (nStart + nPage - 1) & ~(nPage - 1);
    const std::uintptr_t nEnd = (nStart + nBytes) & ~(nPage - 1);
    if (nEnd > nBegin) ::madvise(reinterpret_cast<void*>(nBegin), nEnd - nBegin, MADV_HUGEPAGE);
    std::free(pBlock);
}

}  // namespace

void KeepLargeBlocksOnTheHeap() {
    // Above every block a chart asks for: the largest font table of the
    // bundled fonts is about 20 MiB.
    constexpr int kMapAbove = 64 << 20;
    // Freed memory up to this much is kept rather than given back.
    constexpr int kKeepUpTo = 256 << 20;
    mallopt(M_MMAP_THRESHOLD, kMapAbove);
    mallopt(M_TRIM_THRESHOLD, kKeepUpTo);
    // Nearly up to the blocks that are mapped on their own.
    GrowHeapInHugePages(kMapAbove - (4 << 20));
    s_bHugeHeaps = true;
}

void GrowThreadHeap() {
    // A thread's own heap is at most 64 MiB; the fonts' tables the PDF
    // writer copies fit in this.
    if (s_bHugeHeaps) GrowHeapInHugePages(48 << 20);
}

}  // namespace cli
}  // namespace vitalchart
