#pragma once
// A native file opened for binary reads and writes at byte positions, closed
// on every way out. Failures carry the system's cause as a Status whose code
// tells a refused access from a missing file; the message is the description
// the user sees ("File not found", "Permission denied"), without the file's
// name, which the caller adds in the words of its command.

#include <sys/stat.h>

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
  // Opens for reading a regular file that a listing of the folder open as
  // folder_fd found, by its name alone, and hands back what the file system
  // says of it: a scan that reads many files of one folder so costs the
  // kernel one name each instead of a whole path. Whatever stands under the
  // name now and is not a regular file (a link, a folder, a fifo, which is
  // never waited for) is refused.
  Status OpenListedFile(int folder_fd, const std::string& name, struct stat* facts);

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

// The refusal of something that is no regular file: "It is a pipe, not a file".
Status NotAFileStatus(mode_t mode);

}  // namespace tallymere
