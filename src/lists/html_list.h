#pragma once
// The HTML page writers: WriteHtml1 (the catalog, one table sorted),
// WriteHtml2 (the catalog by folders), WriteHtmlS (the file list, one table
// sorted) and WriteHtmlf (the file list by folders). Each writes one page
// under the base name + ".html" and returns its path.
//
// The page is 22 lines of frame around the rows: <HTML>, <HEAD>, the title
// (the page's full path), the BODY with the page colour, <Center>, the lines
// of Header.txt (chkHeader; the by-folder pages skip empty ones), four
// spacing lines, the TABLE with border, width and table colour, the "File
// List" heading, the rows, the totals row after an empty line (chkSum), and
// the closing lines with the download address. Rows of one table are sorted
// case-insensitively by their row text; by-folder pages head each run of one
// Path with that Path, after an empty line unless the run ends with the first
// entry, and align its cells as cmbAlign says.
//
// Names, paths, sizes and bitrates are HTML-escaped where they are written
// ("&", "<", ">", "\""), so any file name shows as itself; Header.txt lines
// are copied as they are, being the user's own markup. Rows sort by their
// text before escaping, the order the names themselves have.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"
#include "common/status.h"
#include "lists/list_entries.h"
#include "lists/list_request.h"

namespace tallymere {

// Where the closing lines of every page send its readers.
inline constexpr std::string_view kDownloadPage = "https://tallymere.example.org/download/";

// A colour number 0x00BBGGRR as "#RRGGBB" in upper-case hexadecimal:
// 11599871 gives "#FFFFB0".
std::string ColorToHtml(int32_t colour);

// The text with "&", "<", ">" and "\"" written as character references.
std::string HtmlEscape(std::string_view text);

// The row text of one entry: N, then as chkSize / chkBitRate are on,
// five "&nbsp;" and "(S bytes)", "(BK)" or "(S bytes, BK)". N, S and B are
// escaped when escaped is true.
std::string HtmlRowText(const ListEntry& entry, const Settings& settings, bool escaped);

Result<std::string> WriteHtml1(const ListRequest& request, const CatalogTable& catalog);
Result<std::string> WriteHtml2(const ListRequest& request, const CatalogTable& catalog);
Result<std::string> WriteHtmlS(const ListRequest& request, const std::vector<ListEntry>& rows);
Result<std::string> WriteHtmlf(const ListRequest& request, const std::vector<ListEntry>& rows);

// The two page layouts over entries of either source.
Result<std::string> WriteSingleHtmlPage(const ListRequest& request,
                                        const std::vector<ListEntry>& entries);
Result<std::string> WriteFolderHtmlPage(const ListRequest& request,
                                        const std::vector<ListEntry>& entries);

}  // namespace tallymere
