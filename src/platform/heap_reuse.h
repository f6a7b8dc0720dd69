#pragma once
// The desktop program opens, scans and drops catalogs of tens of megabytes,
// one after another. glibc's malloc hands large freed blocks back to the
// system and maps fresh ones for the next catalog, and every fresh page costs
// a page fault: microseconds each on a virtual machine, tens of milliseconds
// for one full catalog, more than the rest of opening it. Once this is called,
// blocks up to 32 MB come from the heap and freed memory stays with the
// process for the next catalog: it keeps about the most it ever used (some
// 40 MB with full catalogs) instead of giving it back.

namespace tallymere {

// Call once, first thing in main(), before large blocks are allocated.
void KeepFreedMemoryForReuse();

}  // namespace tallymere
