#include "mp3/file_name_check.h"

#include "common/sorted_list.h"

namespace tallymere {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;

}  // namespace

bool IsLegalNewName(std::string_view name, std::string_view extension) {
  if (name == "." || name == "..") return false;
  if (name.size() + extension.size() > kMaxNameBytes) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < kFirstPrintable) return false;
    if (kIllegalNameCharacters.find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool IsMp3FileName(std::string_view file_name) {
  return file_name.size() > kMp3Extension.size() &&
         CompareNoCase(file_name.substr(file_name.size() - kMp3Extension.size()), kMp3Extension) ==
             0;
}

}  // namespace tallymere
