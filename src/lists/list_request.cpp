#include "lists/list_request.h"

#include <algorithm>

namespace tallymere {

std::string ListFileName(std::string_view chosen) {
  std::string name(chosen);
  if (!name.ends_with(kListExtension)) name += kListExtension;
  return name;
}

std::string ListBaseName(std::string_view list_file_name) {
  const std::size_t cut = std::min(list_file_name.size(), kListExtension.size());
  return std::string(list_file_name.substr(0, list_file_name.size() - cut));
}

std::string PageFileName(std::string_view list_file_name) {
  return ListBaseName(list_file_name) + std::string(kPageExtension);
}

std::string PlaylistFileName(std::string_view list_file_name) {
  return ListBaseName(list_file_name) + std::string(kPlaylistExtension);
}

}  // namespace tallymere
