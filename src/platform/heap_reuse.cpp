#include "platform/heap_reuse.h"

#include <malloc.h>

namespace tallymere {
namespace {

// The largest mapping threshold glibc accepts on 64-bit systems; a catalog's
// largest block (its table of records) is about 10 MB.
constexpr int kHeapBlockLimit = 32 * 1024 * 1024;
// Free memory at the top of the heap is given back only beyond this: more
// than one catalog's worth.
constexpr int kKeptFreeMemory = 64 * 1024 * 1024;

}  // namespace

void KeepFreedMemoryForReuse() {
  // Either setting may be refused by another C library; the program then
  // runs as before, only with more page faults.
  mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
  mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
}

}  // namespace tallymere
