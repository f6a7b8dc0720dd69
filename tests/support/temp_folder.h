#pragma once
// A temporary folder removed with everything in it when the test ends, and
// small helpers to lay out fixture files.

#include <string>
#include <string_view>

namespace tallymere::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Native path without a trailing "/".
  const std::string& path() const { return m_path; }
  // path() + "/" + relative.
  std::string Path(std::string_view relative) const;
  // Writes bytes to a file below the folder, creating its folders.
  std::string WriteFile(std::string_view relative, std::string_view bytes) const;
  std::string MakeFolder(std::string_view relative) const;

 private:
  std::string m_path;
};

// The whole content of a native file ("" when it cannot be read).
std::string ReadFileBytes(const std::string& path);

}  // namespace tallymere::testing
