#pragma once
// What every list writer reads: the platform, the list options, the list file
// name and the moment the list is made; and the names of the files a list
// file name stands for.
//
// The list file name is the name the user chose with ".txt" made sure
// (ListFileName). A text list is written under it; an HTML page under the
// base name (the list file name without its ".txt") + ".html"; an M3U
// playlist under the base name + ".m3u".

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "catalog/settings.h"
#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::string_view kListExtension = ".txt";
inline constexpr std::string_view kPageExtension = ".html";
inline constexpr std::string_view kPlaylistExtension = ".m3u";
// Read from the program folder while chkHeader is 1.
inline constexpr std::string_view kHeaderFileName = "Header.txt";
inline constexpr std::string_view kFooterFileName = "Footer.txt";

struct ListRequest {
  // The program folder (Header.txt, Footer.txt), the drive map (M3U lines)
  // and the writes.
  const Platform& platform;
  // Read as they stand; the writers never change them.
  const Settings& settings;
  // Native path, ending in ".txt" (ListFileName).
  std::string list_file_name;
  // The moment the totals line names.
  std::time_t now = 0;
  // When set, the finished list's bytes go here instead of into its file (a
  // pipe, for the command line); the writers still return the file's name.
  std::function<Status(std::string_view bytes)> output;
  // When set, a Header.txt or Footer.txt that does not exist counts as empty
  // and is told here, instead of failing the list (the command line, which
  // never makes them).
  std::function<void(const std::string& note)> missing_text;
  // Name each file's disk: beside a by-folder list's folders, after the
  // names of a single list. A playlist never shows them.
  bool show_disk_labels = false;
};

// The chosen name, with ".txt" appended unless its last four characters are
// exactly ".txt" (letter case counts): "list" and "LIST.TXT" give "list.txt"
// and "LIST.TXT.txt".
std::string ListFileName(std::string_view chosen);

// The list file name without its last four characters.
std::string ListBaseName(std::string_view list_file_name);
std::string PageFileName(std::string_view list_file_name);      // base + ".html"
std::string PlaylistFileName(std::string_view list_file_name);  // base + ".m3u"

}  // namespace tallymere
