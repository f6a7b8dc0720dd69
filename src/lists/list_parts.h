#pragma once
// Pieces the text, HTML and M3U writers share: the options as switches, the
// listed name, the totals, the line buffer's order, the header and footer
// texts, and the one write that puts a finished list in place.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "common/sorted_list.h"
#include "common/status.h"
#include "lists/list_entries.h"
#include "lists/list_request.h"

namespace tallymere {

// A check box of the Options is on only at 1, as the dialog writes it.
inline bool IsOn(int check_box) { return check_box == 1; }
// optOne holds "True" or "False".
bool IsSingleList(const Settings& settings);

// N: Path followed directly by File name when chkPath is 1, else File name;
// in a single list, then the entry's disk label: "a.mp3  [Music01]".
std::string ListName(const ListEntry& entry, const Settings& settings);

// "Total: " + count + " files, " + MB + " MB." + "  List created on " + now.
std::string TotalsText(const std::vector<ListEntry>& entries, std::time_t now);

// The order in which the line buffer holds these texts, as indices into
// them: ascending by CompareNoCase, equal texts in the order given.
std::vector<std::size_t> LineBufferOrder(const std::vector<std::string>& texts);

// Calls group(first, last) for each run of consecutive entries sharing one
// Path (compared exactly) and disk label, in list order; last is one past
// the run.
template <typename Group>
void ForEachFolderGroup(const std::vector<ListEntry>& entries, Group group) {
  std::size_t first = 0;
  while (first < entries.size()) {
    std::size_t last = first + 1;
    while (last < entries.size() && entries[last].path == entries[first].path &&
           entries[last].disk_label == entries[first].disk_label) {
      ++last;
    }
    group(first, last);
    first = last;
  }
}

// The lines of Header.txt or Footer.txt in the program folder. A failure
// names the list that needs it, the text file and the cause.
// A by-folder list's heading: the Path, and the disk label when the entries
// carry one: "E:\\Ghost Sweets\\  [Music01]".
std::string FolderHeading(const ListEntry& entry);

Result<std::vector<std::string>> ReadProgramText(const ListRequest& request,
                                                 std::string_view file_name,
                                                 std::string_view target);

// Writes the lines, CR LF after each, in one file that replaces target only
// once every byte is on disk: Windows-1252 when every line fits, else UTF-8
// behind a byte-order mark. Returns target, or a message naming it and the
// cause; an older file of that name then stays as it was.
Result<std::string> WriteListFile(const ListRequest& request, const std::string& target,
                                  const std::vector<std::string>& lines);

}  // namespace tallymere
