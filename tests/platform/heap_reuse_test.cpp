#include "platform/heap_reuse.h"

#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace tallymere {
namespace {

// AddressSanitizer brings an allocator of its own, which glibc's settings do
// not reach; the sanitizer build has no such test.
#if !defined(__SANITIZE_ADDRESS__)

// The VmFlags line of the mapping that holds an address, "" when none does.
std::string VmFlagsAt(std::uintptr_t address) {
  std::ifstream smaps("/proc/self/smaps");
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    unsigned long start = 0, end = 0;  // NOLINT: what %lx reads
    if (std::sscanf(line.c_str(), "%lx-%lx ", &start, &end) == 2) {
      inside = start <= address && address < end;
    } else if (inside && line.starts_with("VmFlags:")) {
      return line + " ";
    }
  }
  return "";
}

// One test: the settings are made once per process.
TEST(HeapReuseTest, TheHeapGetsRoomForCatalogsKeepsFreedBlocksAndAsksForHugePages) {
  const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
  KeepFreedMemoryForReuse();
  const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
  EXPECT_GE(after - before, 96u * 1024 * 1024);
  // Only a kernel built with transparent huge pages has this folder, and
  // only such a kernel takes the request.
  if (std::filesystem::exists("/sys/kernel/mm/transparent_hugepage")) {
    EXPECT_NE(VmFlagsAt(before + (after - before) / 2).find(" hg "), std::string::npos);
  }

  constexpr std::size_t kBlock = 12 * 1024 * 1024;
  const struct mallinfo2 held_before = mallinfo2();
  void* block = std::malloc(kBlock);
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, kBlock);
  EXPECT_EQ(mallinfo2().hblkhd, held_before.hblkhd);  // no block of its own mapped
  std::free(block);
  // The heap keeps the memory for the next catalog.
  EXPECT_GE(mallinfo2().arena, held_before.arena);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(sbrk(0)), after);
}

#endif

}  // namespace
}  // namespace tallymere
