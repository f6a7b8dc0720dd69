#include "platform/heap_reuse.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>

namespace tallymere {
namespace {

TEST(HeapReuseTest, ACatalogSizedBlockComesFromTheHeapAndStaysWhenFreed) {
  KeepFreedMemoryForReuse();
  constexpr std::size_t kBlock = 12 * 1024 * 1024;
  const struct mallinfo2 before = mallinfo2();
  void* block = std::malloc(kBlock);
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, kBlock);
  const struct mallinfo2 held = mallinfo2();
  EXPECT_EQ(held.hblkhd, before.hblkhd);  // no block of its own mapped
  EXPECT_GE(held.arena, before.arena + kBlock);
  std::free(block);
  // The heap keeps the memory for the next catalog.
  EXPECT_GE(mallinfo2().arena, before.arena + kBlock);
}

}  // namespace
}  // namespace tallymere
