#pragma once
// Files in memory for the readers of audio files, and the fixtures of
// tests/data/audio.

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "ports/platform.h"

namespace tallymere::testing {

inline std::string AudioPath(const std::string& name) {
  return std::string(TALLYMERE_TEST_DATA) + "/audio/" + name;
}

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A file in memory that counts what is read of it; past its bytes, up to
// `length`, it reads as zeros (a huge file whose headers lie).
class MemoryFile : public RandomAccessFile {
 public:
  explicit MemoryFile(std::string bytes, int64_t length = -1)
      : m_bytes(std::move(bytes)),
        m_length(length < 0 ? static_cast<int64_t>(m_bytes.size()) : length) {}
  Result<int64_t> Length() const override { return m_length; }
  Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) const override {
    bytes->clear();
    if (offset >= m_length) return Status::Ok();
    const auto count =
        static_cast<std::size_t>(std::min<int64_t>(static_cast<int64_t>(size), m_length - offset));
    bytes->assign(count, '\0');
    if (offset < static_cast<int64_t>(m_bytes.size())) {
      const std::size_t from = static_cast<std::size_t>(offset);
      m_bytes.copy(bytes->data(), std::min(count, m_bytes.size() - from), from);
    }
    m_read += count;
    return Status::Ok();
  }
  Status WriteAt(int64_t, std::string_view) override { return Status::Error("read only"); }
  Status Close() override { return Status::Ok(); }
  int64_t length() const { return m_length; }
  std::size_t read() const { return m_read; }

 private:
  std::string m_bytes;
  int64_t m_length;
  mutable std::size_t m_read = 0;
};

}  // namespace tallymere::testing
