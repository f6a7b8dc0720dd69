#include "lists/m3u_list.h"

#include <optional>

#include "common/text_encoding.h"
#include "lists/list_parts.h"

namespace tallymere {

std::string M3uLine(const Platform& platform, const ListEntry& entry) {
  std::string catalog_path;
  catalog_path.reserve(entry.path.size() + entry.file_name.size());
  catalog_path.append(entry.path).append(entry.file_name);
  std::optional<std::string> native = platform.ToNative(catalog_path);
  return native ? std::move(*native) : catalog_path;
}

Result<std::string> WriteM3uList(const ListRequest& request,
                                 const std::vector<ListEntry>& entries) {
  SortedList lines;
  // A folder's songs stand together, and the drive map places a catalog path
  // name by name: an ASCII name lands in the native folder unchanged, so the
  // map is asked once per folder instead of once per song. Other names may
  // lie on disk in their Windows-1252 form, which only the whole path finds.
  std::string_view folder;
  std::optional<std::string> native_folder;
  for (const ListEntry& entry : entries) {
    if (!IsAscii(entry.file_name)) {
      lines.Add(M3uLine(request.platform, entry));
      continue;
    }
    if (entry.path != folder || folder.empty()) {
      folder = entry.path;
      native_folder = request.platform.ToNative(folder);
    }
    if (native_folder && native_folder->ends_with('/')) {
      lines.Add(*native_folder + std::string(entry.file_name));
    } else {
      lines.Add(M3uLine(request.platform, entry));
    }
  }
  return WriteListFile(request, PlaylistFileName(request.list_file_name),
                       std::vector<std::string>(lines.begin(), lines.end()));
}

}  // namespace tallymere
