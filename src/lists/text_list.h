#pragma once
// The list writers of Create List (the catalog: CreatList_Single,
// CreatList_Folder) and of Create List from Search Result (the file list:
// CreatSingleReport, CreatFolderReport). Each writes a text list under the
// list file name, or, as the options say, hands over to the HTML page writer
// of its kind (chkHtml 1) or, for the one-list writers, writes an M3U
// playlist (chkM3U 1, which wins over chkHtml). Each returns the path of the
// file it wrote.
//
// Text list, one sorted list: Header.txt (chkHeader), every line sorted
// case-insensitively by its whole text, then (chkSum) an empty line, a rule
// of W + 14 "=", the totals line and the rule again, then Footer.txt
// (chkHeader). By folders: the non-empty lines of Header.txt and two empty
// lines (chkHeader); for each run of entries with one Path, an empty line
// (unless the run ends with the first entry), the Path, the rule and the run's
// lines sorted; then the totals and Footer.txt as in the one-list file. W is
// txtCol.
//
// A failure (Header.txt or Footer.txt missing while chkHeader is 1, a folder
// that cannot be written, a full disk) writes nothing under the final name.

#include <string>

#include "catalog/catalog_table.h"
#include "common/status.h"
#include "lists/list_entries.h"
#include "lists/list_request.h"

namespace tallymere {

// Blanks fill a name that fits to W characters; the size takes this many.
inline constexpr int kSizeColumnWidth = 11;
// A name longer than W is followed by this instead of the fill.
inline constexpr std::string_view kOverflowGap = "   ";
// The rules are this much longer than W.
inline constexpr int kRuleExtra = 14;

// How a line treats the parts whose option is off: CreatList_Single keeps
// their blanks, the other writers leave them out.
enum class LineFill { kAlways, kOptionParts };

// The line of one entry. N (ListName) fits when it has at most W characters;
// S is the size text when chkSize is 1, B the bitrate when chkBitRate is 1.
//   kAlways:       fits: N + blanks to W + S + blanks to 11 + B
//                  else: N + "   " + S + "   " + B
//   kOptionParts:  N, then as chkSize / chkBitRate are on: 0/1 blanks to
//                  W + 11 + B (else "   " + B); 1/0 blanks to W + S (else
//                  "   " + S); 1/1 as kAlways.
std::string TextListLine(const ListEntry& entry, const Settings& settings, LineFill fill);

// W + 14 "=".
std::string ListRule(const Settings& settings);

Result<std::string> CreatList_Single(const ListRequest& request, const CatalogTable& catalog);
Result<std::string> CreatList_Folder(const ListRequest& request, const CatalogTable& catalog);
Result<std::string> CreatSingleReport(const ListRequest& request,
                                      const std::vector<ListEntry>& rows);
Result<std::string> CreatFolderReport(const ListRequest& request,
                                      const std::vector<ListEntry>& rows);

// The text layouts over entries of either source.
Result<std::string> WriteSingleTextList(const ListRequest& request,
                                        const std::vector<ListEntry>& entries, LineFill fill);
Result<std::string> WriteFolderTextList(const ListRequest& request,
                                        const std::vector<ListEntry>& entries);

}  // namespace tallymere
