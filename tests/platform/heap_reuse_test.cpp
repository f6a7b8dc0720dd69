#include "platform/heap_reuse.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>

namespace tallymere {
namespace {

// AddressSanitizer brings an allocator of its own, which glibc's settings do
// not reach; the sanitizer build has no such test.
#if !defined(__SANITIZE_ADDRESS__)
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
#endif

}  // namespace
}  // namespace tallymere
