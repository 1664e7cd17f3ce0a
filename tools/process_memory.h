#pragma once

namespace vitalchart {
namespace cli {

// Sets the C library's allocator for a process that draws and exits: blocks
// of any size a chart needs (the page image, the tables of a CJK font that
// the PDF writer copies to embed its glyphs, tens of megabytes) come from
// the heap, and what is freed stays there for the next, instead of each
// being mapped, faulted in page by page and unmapped again; the heap is
// backed by huge pages where the kernel has them. Called once, at
// the start of main, before any thread.
void KeepLargeBlocksOnTheHeap();

// On a thread that draws, in a process that called KeepLargeBlocksOnTheHeap:
// the C library gives the thread a heap of its own, which this grows as that
// call grew the process's first one. Elsewhere it does nothing.
void GrowThreadHeap();

}  // namespace cli
}  // namespace vitalchart
