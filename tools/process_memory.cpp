#include "tools/process_memory.h"

#include <malloc.h>

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
}

}  // namespace cli
}  // namespace vitalchart
