#include "lists/html_list.h"

#include <utility>

#include "lists/list_parts.h"

namespace tallymere {
namespace {

constexpr std::string_view kNonBreakingSpaces = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
constexpr std::string_view kRowStart = "<TR align=center><TD align=";
constexpr std::string_view kRowFont = "><font face=\"Arial\"><font size=-1>";
constexpr std::string_view kRowEnd = "</TD></TR>";

// The frame above the header texts.
std::vector<std::string> PageTop(const ListRequest& request) {
  const std::string page = PageFileName(request.list_file_name);
  return {"<HTML>", "<HEAD>", "<TITLE>" + HtmlEscape(page) + "</TITLE>",
          "</HEAD><BODY TEXT=#000000 BGCOLOR=\"" + ColorToHtml(request.settings.PGcolor) +
              "\" LINK=#0000EE VLINK=#551A8B ALINK=#FF0000>",
          "<Center>"};
}

// The frame between the header texts and the rows: spacing, the table and
// its heading.
void AppendTableStart(const Settings& settings, std::vector<std::string>* lines) {
  for (const char* line : {"<BR>", "<hr>", "<BR>", "<BR>"}) lines->emplace_back(line);
  lines->push_back("<CENTER><TABLE BORDER=" + std::to_string(settings.cmbBW) +
                   " WIDTH=" + settings.txtTW + "%" + " BGCOLOR=\"" +
                   ColorToHtml(settings.TBcolor) + "\"><FONT COLOR=#000000><FONT SIZE=2>");
  lines->emplace_back("<TR align=center><TD align=center><FONT SIZE=+1><b>File List</b></TD></TR>");
}

// The totals row (chkSum) and the frame below the table.
void AppendPageEnd(const ListRequest& request, const std::vector<ListEntry>& entries,
                   std::vector<std::string>* lines) {
  if (IsOn(request.settings.chkSum)) {
    lines->emplace_back();
    lines->push_back("<TR align=center><TD align=center><FONT SIZE=+1>" +
                     TotalsText(entries, request.now) + std::string(kRowEnd));
  }
  for (const char* line : {"</TABLE>", "<BR>", "<BR>", "<hr>",
                           "<BR><BR><CENTER><FONT SIZE=+1>List created by Tallymere</CENTER>"}) {
    lines->emplace_back(line);
  }
  const std::string address(kDownloadPage);
  lines->push_back("<CENTER><FONT SIZE=+1>Free download at: <A HREF=" + address + ">" + address +
                   "</A>");
  lines->emplace_back("</BODY>");
  lines->emplace_back("</HTML>");
}

// The page up to its rows. Header.txt is read only while chkHeader is 1; the
// by-folder pages leave out its empty lines.
Result<std::vector<std::string>> PageHead(const ListRequest& request, bool skip_empty_header) {
  std::vector<std::string> lines = PageTop(request);
  if (IsOn(request.settings.chkHeader)) {
    Result<std::vector<std::string>> header =
        ReadProgramText(request, kHeaderFileName, PageFileName(request.list_file_name));
    if (!header) return header.status();
    for (const std::string& line : *header) {
      if (skip_empty_header && line.empty()) continue;
      lines.push_back("<Center><BR><FONT SIZE=+2>" + line + "</FONT></CENTER>");
    }
  }
  AppendTableStart(request.settings, &lines);
  return lines;
}

bool NeedsEscape(std::string_view text) {
  return text.find_first_of("&<>\"") != std::string_view::npos;
}

bool NeedsEscape(const ListEntry& entry) {
  return NeedsEscape(entry.path) || NeedsEscape(entry.file_name) || NeedsEscape(entry.size_text) ||
         NeedsEscape(entry.bitrate) || NeedsEscape(entry.disk_label);
}

// The rows of entries[first, last) in the line buffer's order, each cell
// aligned as align says. Rows sort by their text as the names read; a row
// whose names hold nothing to escape is written as that same text.
void AppendRows(const ListRequest& request, const std::vector<ListEntry>& entries,
                std::size_t first, std::size_t last, std::string_view align,
                std::vector<std::string>* lines) {
  std::vector<std::string> texts;
  texts.reserve(last - first);
  for (std::size_t i = first; i < last; ++i) {
    texts.push_back(HtmlRowText(entries[i], request.settings, false));
  }
  std::string start(kRowStart);
  start.append(align).append(kRowFont);
  for (std::size_t index : LineBufferOrder(texts)) {
    const ListEntry& entry = entries[first + index];
    if (NeedsEscape(entry)) texts[index] = HtmlRowText(entry, request.settings, true);
    const std::string& text = texts[index];
    std::string line;
    line.reserve(start.size() + text.size() + kRowEnd.size());
    line.append(start).append(text).append(kRowEnd);
    lines->push_back(std::move(line));
  }
}

Result<std::string> WritePage(const ListRequest& request, const std::vector<ListEntry>& entries,
                              std::vector<std::string> lines) {
  AppendPageEnd(request, entries, &lines);
  return WriteListFile(request, PageFileName(request.list_file_name), lines);
}

}  // namespace

std::string ColorToHtml(int32_t colour) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  const auto bits = static_cast<uint32_t>(colour);
  std::string text = "#";
  // 0x00BBGGRR: red is the low byte, and comes first.
  for (int shift : {0, 8, 16}) {
    const uint32_t byte = (bits >> shift) & 0xFF;
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

std::string HtmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string HtmlRowText(const ListEntry& entry, const Settings& settings, bool escaped) {
  const auto text = [escaped](std::string_view piece) {
    return escaped ? HtmlEscape(piece) : std::string(piece);
  };
  std::string row = text(ListName(entry, settings));
  const bool size = IsOn(settings.chkSize);
  const bool bitrate = IsOn(settings.chkBitRate);
  if (!size && !bitrate) return row;
  row.append(kNonBreakingSpaces).append("(");
  if (size) row.append(text(entry.size_text)).append(" bytes");
  if (size && bitrate) row.append(", ");
  if (bitrate) row.append(text(entry.bitrate)).append("K");
  row.append(")");
  return row;
}

Result<std::string> WriteSingleHtmlPage(const ListRequest& request,
                                        const std::vector<ListEntry>& entries) {
  Result<std::vector<std::string>> lines = PageHead(request, false);
  if (!lines) return lines.status();
  AppendRows(request, entries, 0, entries.size(), "left", &*lines);
  return WritePage(request, entries, std::move(*lines));
}

Result<std::string> WriteFolderHtmlPage(const ListRequest& request,
                                        const std::vector<ListEntry>& entries) {
  Result<std::vector<std::string>> lines = PageHead(request, true);
  if (!lines) return lines.status();
  ForEachFolderGroup(entries, [&](std::size_t first, std::size_t last) {
    // The empty line goes by the run's last entry, not its place: a first
    // run of more than one entry gets one too.
    if (last != 1) lines->emplace_back();
    lines->push_back("<TR align=center><TD align=left><b><u><font face=\"Arial\">" +
                     HtmlEscape(FolderHeading(entries[first])) + "</b></u></TD></TR>");
    AppendRows(request, entries, first, last, request.settings.cmbAlign, &*lines);
  });
  return WritePage(request, entries, std::move(*lines));
}

Result<std::string> WriteHtml1(const ListRequest& request, const CatalogTable& catalog) {
  return WriteSingleHtmlPage(request, CatalogEntries(catalog, request.show_disk_labels));
}

Result<std::string> WriteHtml2(const ListRequest& request, const CatalogTable& catalog) {
  return WriteFolderHtmlPage(request, CatalogEntries(catalog, request.show_disk_labels));
}

Result<std::string> WriteHtmlS(const ListRequest& request, const std::vector<ListEntry>& rows) {
  return WriteSingleHtmlPage(request, ShownEntries(rows, request.show_disk_labels));
}

Result<std::string> WriteHtmlf(const ListRequest& request, const std::vector<ListEntry>& rows) {
  return WriteFolderHtmlPage(request, ShownEntries(rows, request.show_disk_labels));
}

}  // namespace tallymere
