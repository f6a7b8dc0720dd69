#pragma once
// A native file opened for binary reads and writes at byte positions, closed
// on every way out. Failures carry the system's cause as a Status whose code
// tells a refused access from a missing file; the message is the description
// the user sees ("File not found", "Permission denied"), without the file's
// name, which the caller adds in the words of its command.

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/platform.h"

namespace tallymere {

class BinaryFile : public RandomAccessFile {
 public:
  BinaryFile() = default;
  ~BinaryFile() override;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  Status Open(const std::string& native_path, OpenMode mode);

  Result<int64_t> Length() const override;
  Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) const override;
  Status WriteAt(int64_t offset, std::string_view bytes) override;
  // Closes now and reports a late write failure; the destructor closes quietly.
  Status Close() override;

 private:
  int m_fd = -1;
};

// The description of a system error number: "File not found" for a missing
// file, "Path not found" for a missing folder, "Permission denied" for a
// refused one, else the system's own text.
std::string ErrorText(int error_number);

// A failure of a system call as a Status: the code from the number, the
// message from ErrorText.
Status ErrorStatus(int error_number);

}  // namespace tallymere
