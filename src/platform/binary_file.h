#pragma once
// A native file opened for binary reads and writes at byte positions, closed
// on every way out. Operations return 0 or the system's error number, so the
// tag writer can tell a refused access from a missing file; ErrorText turns the
// number into the description the user sees.

#include <cstdint>
#include <string>
#include <string_view>

namespace tallymere {

class BinaryFile {
 public:
  enum class Mode { kRead, kReadWrite };  // neither creates nor truncates

  BinaryFile() = default;
  ~BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  int Open(const std::string& native_path, Mode mode);
  // The length in bytes of the open file.
  int Length(int64_t* length) const;
  // Up to size bytes from offset; fewer only at the end of the file.
  int ReadAt(int64_t offset, std::size_t size, std::string* bytes) const;
  int WriteAt(int64_t offset, std::string_view bytes) const;
  // Closes now and reports a late write failure; the destructor closes quietly.
  int Close();

 private:
  int m_fd = -1;
};

// The description of a system error number: "File not found" for a missing
// file, "Permission denied" for a refused one, else the system's own text.
std::string ErrorText(int error_number);

// True for errors that mean the file or its medium refuses access (permission,
// read-only medium, file in use), as opposed to a missing file or a bad path.
bool IsAccessError(int error_number);

}  // namespace tallymere
