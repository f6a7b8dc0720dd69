#include "lists/m3u_list.h"

#include <optional>

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
  for (const ListEntry& entry : entries) lines.Add(M3uLine(request.platform, entry));
  return WriteListFile(request, PlaylistFileName(request.list_file_name),
                       std::vector<std::string>(lines.begin(), lines.end()));
}

}  // namespace tallymere
