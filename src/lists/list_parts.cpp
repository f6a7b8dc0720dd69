#include "lists/list_parts.h"

#include <algorithm>
#include <numeric>

#include "catalog/text_file.h"
#include "common/format.h"

namespace tallymere {

bool IsSingleList(const Settings& settings) { return CompareNoCase(settings.optOne, "True") == 0; }

std::string ListName(const ListEntry& entry, const Settings& settings) {
  std::string name;
  if (IsOn(settings.chkPath)) {
    name.reserve(entry.path.size() + entry.file_name.size());
    name.append(entry.path);
  }
  name.append(entry.file_name);
  if (!entry.disk_label.empty() && IsSingleList(settings)) {
    name.append("  [").append(entry.disk_label).append("]");
  }
  return name;
}

std::string FolderHeading(const ListEntry& entry) {
  std::string heading(entry.path);
  if (!entry.disk_label.empty()) heading.append("  [").append(entry.disk_label).append("]");
  return heading;
}

std::string TotalsText(const std::vector<ListEntry>& entries, std::time_t now) {
  int64_t total = 0;
  for (const ListEntry& entry : entries) total += entry.size;
  return "Total: " + std::to_string(entries.size()) + " files, " +
         FormatMegabytes(static_cast<double>(total)) + " MB." + "  List created on " +
         FormatDateTime(now);
}

std::vector<std::size_t> LineBufferOrder(const std::vector<std::string>& texts) {
  std::vector<std::size_t> order(texts.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&texts](std::size_t a, std::size_t b) {
    return CompareNoCase(texts[a], texts[b]) < 0;
  });
  return order;
}

Result<std::vector<std::string>> ReadProgramText(const ListRequest& request,
                                                 std::string_view file_name,
                                                 std::string_view target) {
  const std::string path = request.platform.ProgramFolder() + "/" + std::string(file_name);
  Result<std::vector<std::string>> lines = ReadTextLines(request.platform, path);
  if (lines.ok()) return lines;
  if (lines.code() == StatusCode::kNotFound && request.missing_text) {
    request.missing_text("\"" + path + "\" does not exist; the list goes without it.");
    return std::vector<std::string>();
  }
  return Status::Error(lines.code(),
                       "The list \"" + std::string(target) +
                           "\" includes the header and footer texts: " + lines.status().message());
}

Result<std::string> WriteListFile(const ListRequest& request, const std::string& target,
                                  const std::vector<std::string>& lines) {
  const std::string bytes = EncodeTextFile(lines);
  if (Status written = request.output ? request.output(bytes)
                                      : request.platform.WriteFileAtomically(target, bytes);
      !written) {
    return written;
  }
  return target;
}

}  // namespace tallymere
