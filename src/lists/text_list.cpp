#include "lists/text_list.h"

#include <algorithm>
#include <utility>

#include "lists/html_list.h"
#include "lists/list_parts.h"
#include "lists/m3u_list.h"
#include "mp3/search_and_replace.h"

namespace tallymere {
namespace {

// Blanks to pad a text of `used` characters to `width`; none when it is
// already as wide.
void AppendFill(int width, int used, std::string* line) {
  line->append(static_cast<std::size_t>(std::max(width - used, 0)), ' ');
}

// N + blanks to W + S + blanks to 11 + B, or with "   " instead of the fills.
std::string FullLine(const std::string& name, int name_width, bool fits, std::string_view size,
                     std::string_view bitrate, int width) {
  std::string line = name;
  if (fits) {
    AppendFill(width, name_width, &line);
    line.append(size);
    AppendFill(kSizeColumnWidth, CharacterCount(size), &line);
  } else {
    line.append(kOverflowGap).append(size).append(kOverflowGap);
  }
  line.append(bitrate);
  return line;
}

// The header and footer texts while chkHeader is 1, empty otherwise.
struct Frame {
  std::vector<std::string> header;
  std::vector<std::string> footer;
};

Result<Frame> ReadFrame(const ListRequest& request) {
  Frame frame;
  if (!IsOn(request.settings.chkHeader)) return frame;
  for (auto [name, lines] :
       {std::pair{kHeaderFileName, &frame.header}, std::pair{kFooterFileName, &frame.footer}}) {
    Result<std::vector<std::string>> text = ReadProgramText(request, name, request.list_file_name);
    if (!text) return text.status();
    *lines = std::move(*text);
  }
  return frame;
}

// The totals block (chkSum) and the footer; then the file.
Result<std::string> FinishAndWrite(const ListRequest& request,
                                   const std::vector<ListEntry>& entries, const Frame& frame,
                                   std::vector<std::string> lines) {
  if (IsOn(request.settings.chkSum)) {
    const std::string rule = ListRule(request.settings);
    lines.emplace_back();
    lines.push_back(rule);
    lines.push_back(TotalsText(entries, request.now));
    lines.push_back(rule);
  }
  lines.insert(lines.end(), frame.footer.begin(), frame.footer.end());
  return WriteListFile(request, request.list_file_name, lines);
}

}  // namespace

std::string TextListLine(const ListEntry& entry, const Settings& settings, LineFill fill) {
  const std::string name = ListName(entry, settings);
  const int width = settings.txtCol;
  const int name_width = CharacterCount(name);
  const bool fits = name_width <= width;
  const bool size = IsOn(settings.chkSize);
  const bool bitrate = IsOn(settings.chkBitRate);
  const std::string_view size_text = size ? std::string_view(entry.size_text) : "";
  const std::string_view bitrate_text = bitrate ? entry.bitrate : "";
  if (fill == LineFill::kAlways || (size && bitrate)) {
    return FullLine(name, name_width, fits, size_text, bitrate_text, width);
  }
  std::string line = name;
  if (!size && !bitrate) return line;
  if (fits) {
    AppendFill(size ? width : width + kSizeColumnWidth, name_width, &line);
  } else {
    line.append(kOverflowGap);
  }
  line.append(size ? size_text : bitrate_text);
  return line;
}

std::string ListRule(const Settings& settings) {
  return std::string(static_cast<std::size_t>(std::max(settings.txtCol + kRuleExtra, 0)), '=');
}

Result<std::string> WriteSingleTextList(const ListRequest& request,
                                        const std::vector<ListEntry>& entries, LineFill fill) {
  Result<Frame> frame = ReadFrame(request);
  if (!frame) return frame.status();
  SortedList buffer;
  for (const ListEntry& entry : entries) buffer.Add(TextListLine(entry, request.settings, fill));

  std::vector<std::string> lines = frame->header;
  lines.reserve(lines.size() + entries.size() + frame->footer.size() + 4);
  lines.insert(lines.end(), buffer.begin(), buffer.end());
  return FinishAndWrite(request, entries, *frame, std::move(lines));
}

Result<std::string> WriteFolderTextList(const ListRequest& request,
                                        const std::vector<ListEntry>& entries) {
  Result<Frame> frame = ReadFrame(request);
  if (!frame) return frame.status();
  std::vector<std::string> lines;
  if (IsOn(request.settings.chkHeader)) {
    std::copy_if(frame->header.begin(), frame->header.end(), std::back_inserter(lines),
                 [](const std::string& line) { return !line.empty(); });
    lines.resize(lines.size() + 2);
  }
  const std::string rule = ListRule(request.settings);
  ForEachFolderGroup(entries, [&](std::size_t first, std::size_t last) {
    // The empty line goes by the run's last entry, not its place: a first
    // run of more than one entry gets one too.
    if (last != 1) lines.emplace_back();
    lines.push_back(FolderHeading(entries[first]));
    lines.push_back(rule);
    std::vector<std::string> group;
    group.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) {
      group.push_back(TextListLine(entries[i], request.settings, LineFill::kOptionParts));
    }
    for (std::size_t index : LineBufferOrder(group)) lines.push_back(std::move(group[index]));
  });
  return FinishAndWrite(request, entries, *frame, std::move(lines));
}

Result<std::string> CreatList_Single(const ListRequest& request, const CatalogTable& catalog) {
  if (IsOn(request.settings.chkM3U)) return WriteM3uList(request, CatalogEntries(catalog));
  if (IsOn(request.settings.chkHtml)) return WriteHtml1(request, catalog);
  return WriteSingleTextList(request, CatalogEntries(catalog, request.show_disk_labels),
                             LineFill::kAlways);
}

Result<std::string> CreatList_Folder(const ListRequest& request, const CatalogTable& catalog) {
  if (IsOn(request.settings.chkHtml)) return WriteHtml2(request, catalog);
  return WriteFolderTextList(request, CatalogEntries(catalog, request.show_disk_labels));
}

Result<std::string> CreatSingleReport(const ListRequest& request,
                                      const std::vector<ListEntry>& rows) {
  if (IsOn(request.settings.chkM3U)) return WriteM3uList(request, ShownEntries(rows, false));
  if (IsOn(request.settings.chkHtml)) return WriteHtmlS(request, rows);
  return WriteSingleTextList(request, ShownEntries(rows, request.show_disk_labels),
                             LineFill::kOptionParts);
}

Result<std::string> CreatFolderReport(const ListRequest& request,
                                      const std::vector<ListEntry>& rows) {
  if (IsOn(request.settings.chkHtml)) return WriteHtmlf(request, rows);
  return WriteFolderTextList(request, ShownEntries(rows, request.show_disk_labels));
}

}  // namespace tallymere
