#pragma once
// Whether a prepared new name can become a file name. Catalog paths keep the
// Windows form, so a name must be valid there as well as here: Rename refuses
// a bad name before any file is touched instead of failing half-way through a
// batch (or, with a separator, moving a file into another folder).

#include <cstddef>
#include <string_view>

namespace tallymere {

// Characters no file name may hold on Windows; "/" is also the Linux
// separator and "\" the catalog's.
inline constexpr std::string_view kIllegalNameCharacters = "\\/:*?\"<>|";
inline constexpr std::string_view kMp3Extension = ".mp3";

// True for a name that ends in ".mp3" in any letter case and has a name
// before it. A name such as "notmp3" ends in "mp3" but is not an MP3 file's
// name: Original plus ".mp3" would name a file that does not exist.
bool IsMp3FileName(std::string_view file_name);

// The longest name, in bytes, a Linux file system takes.
inline constexpr std::size_t kMaxNameBytes = 255;

// True when name followed by extension is a file name here and on Windows:
// no character from kIllegalNameCharacters, no control character (NUL
// included), not "." or "..", and at most kMaxNameBytes bytes with the
// extension.
bool IsLegalNewName(std::string_view name, std::string_view extension);

}  // namespace tallymere
