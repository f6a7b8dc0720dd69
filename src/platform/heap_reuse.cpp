#include "platform/heap_reuse.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace tallymere {
namespace {

// The largest mapping threshold glibc accepts on 64-bit systems; a catalog's
// largest block (its table of records) is about 10 MB.
constexpr int kHeapBlockLimit = 32 * 1024 * 1024;
// Room for the old and the new catalog while one replaces the other, with
// the data file's bytes.
constexpr int kHeapRoom = 96 * 1024 * 1024;
// Free memory at the top of the heap is given back only beyond this.
constexpr int kKeptFreeMemory = 128 * 1024 * 1024;
// A block the heap surely has no room for yet, so allocating it grows the heap.
constexpr std::size_t kGrowingBlock = 4 * 1024 * 1024;
constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;

// Huge pages must be aligned: the room is marked from the first 2 MB
// boundary in it to the last.
void AskForHugePages(char* from, char* to) {
  const auto first = (reinterpret_cast<std::uintptr_t>(from) + kHugePage - 1) & ~(kHugePage - 1);
  const auto last = reinterpret_cast<std::uintptr_t>(to) & ~(kHugePage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

void KeepFreedMemoryForReuse() {
  mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
  mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
  // Whenever the heap grows, it grows by this much more than it needs.
  mallopt(M_TOP_PAD, kHeapRoom);
  char* const before = static_cast<char*>(sbrk(0));
  // Stored through a volatile pointer, so the compiler keeps the allocation.
  void* volatile block = std::malloc(kGrowingBlock);
  std::free(block);
  char* const after = static_cast<char*>(sbrk(0));
  // A heap that could not grow in place (the C library then maps memory
  // elsewhere) leaves nothing to mark.
  if (before != reinterpret_cast<char*>(-1) && after > before) AskForHugePages(before, after);
}

}  // namespace tallymere
