#pragma once
// The desktop program opens, scans and drops catalogs of tens of megabytes,
// one after another, and every fresh page of memory costs a page fault: on a
// virtual machine some microseconds each, for a full catalog (a few thousand
// pages of 4 KB) more than the rest of opening it. Two things keep that cost
// away:
// - glibc's malloc hands large freed blocks back to the system and maps fresh
//   ones for the next catalog; here blocks up to 32 MB come from the heap, and
//   freed memory stays with the process for the next catalog;
// - the heap is grown at once by room for a few catalogs, and the kernel is
//   asked to back that room with huge pages of 2 MB (transparent huge pages,
//   "madvise" mode, as Debian sets them), so even the first catalog costs
//   tens of faults rather than thousands.
// The process keeps about the most memory it ever used (some 40 MB with full
// catalogs) instead of giving it back.

namespace tallymere {

// Call once, first thing in main(), before other threads start and before
// large blocks are allocated. Where the C library or the kernel refuses a
// step, the program runs as before, only with more page faults.
void KeepFreedMemoryForReuse();

}  // namespace tallymere
