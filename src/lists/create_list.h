#pragma once
// One entry point for both list commands: Create List writes the catalog,
// Create List from Search Result the file list. WriteList picks the writer
// the options name (one sorted list or by folders; text, HTML page or M3U
// playlist) and returns the path of the file it wrote: the list file (.txt),
// the page (.html) or the playlist (.m3u).
//
// What the caller does around it, in this order:
//  1. When chkM3U is 1, ForceM3uOptions on the settings the program keeps.
//     They stay forced for later lists, even after M3U is switched off, and
//     reach the settings file only when the Options dialog saves them; as
//     chkBitRate is also the MP3-information flag, scans read no MP3
//     information until it is set again or a data file is opened.
//  2. Ask for the name ("Save List As", filter "*.*", "untitled"); a cancel
//     ends the command. ListFileName(chosen) is the list file name.
//  3. Create List from Search Result only: SortByPath on the file list, so
//     each folder's rows stand together; the list stays sorted so.
//  4. Busy pointer; status panel 1 kWritingListStatus; WriteList with the
//     program's time (Platform::Now) as now; normal pointer, panel 1 "Ready".
//  5. A failure: show its message (OK, title "Tallymere"); the message names
//     the file and the cause, and no file was replaced.
//  6. Success: OfferToOpenText with Yes/No and the question icon, title
//     "Tallymere"; Yes opens the path with GShell (verb "open", no
//     parameters or folder, show state kShowDefault).

#include <string>
#include <string_view>

#include "catalog/catalog_table.h"
#include "catalog/settings.h"
#include "common/status.h"
#include "lists/list_entries.h"
#include "lists/list_request.h"

namespace tallymere {

inline constexpr std::string_view kWritingListStatus = " Writing list file . . .";

enum class ListKind { kText, kHtml, kM3u };

// What WriteList writes with these options: M3U while chkM3U is 1, else HTML
// while chkHtml is 1, else text.
ListKind ListKindOf(const Settings& settings);

// One sorted list of full paths without header, footer, totals, size or
// bitrate, as a text file: optOne "True" (optSeperate "False"), chkPath 1,
// chkSize, chkBitRate, chkHtml, chkHeader and chkSum 0.
void ForceM3uOptions(Settings* settings);

// "List has been saved as: PATH. Do you want to view it now?" for a page,
// "... PATH Do you want to play it now?" for a playlist and "... PATH Do you
// want to view it now?" for a text list; path is what WriteList returned.
std::string OfferToOpenText(const Settings& settings, std::string_view written_path);

// Create List: records 1 up to the catalog end.
Result<std::string> WriteList(const ListRequest& request, const CatalogTable& catalog);
// Create List from Search Result: the file list's rows up to the first whose
// Path is empty, in their present order (FileListEntries), each with its
// disk's label; the list names them only when the request says so.
Result<std::string> WriteList(const ListRequest& request, const std::vector<ListEntry>& rows);

}  // namespace tallymere
