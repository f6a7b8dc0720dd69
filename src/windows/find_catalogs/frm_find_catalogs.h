#pragma once
// The Find in Catalogs window's controller: one search over every data file
// of the shelf, by any field, with bounds. The search runs on a thread of its
// own; the view calls Poll while it runs, and the rows arrive catalog by
// catalog. A result leads back to its catalog in the main window, which
// opens it as File > Open does; changing a catalog stays the main window's.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/file_list_row.h"
#include "catalog/list_model.h"
#include "search/catalog_condition.h"
#include "windows/command_table.h"
#include "windows/find_catalogs/background_search.h"

namespace tallymere {

class FrmMain;

inline constexpr std::string_view kFindCatalogsCaption = "Find in Catalogs";

// The results' columns: the file list's, then the data file's name and,
// hidden, its path.
inline constexpr int kColCatalog = kFileListColumns;
inline constexpr int kColCatalogFile = kFileListColumns + 1;

enum class FindCatalogsCommand {
  kFind,
  kStop,
  kAddFolder,
  kRemoveFolder,
  kShowInCatalog,
  kOpenFile,
  kCopyName,
  kSendToPlaylist,
};
inline constexpr std::string_view kSearchButtons = "Search";
inline constexpr std::string_view kShelfButtons = "Shelf";
inline constexpr std::string_view kResultsPopup = "Results";
inline constexpr CommandTable<FindCatalogsCommand, 8> kFindCatalogsCommands = {{
    {FindCatalogsCommand::kFind, "cmdFind", "&Find", kSearchButtons, false, 0, "",
     "Search every data file of the shelf"},
    {FindCatalogsCommand::kStop, "cmdStop", "&Stop", kSearchButtons, false, 0, "Esc",
     "Stop the search"},
    {FindCatalogsCommand::kAddFolder, "cmdAddFolder", "&Add...", kShelfButtons, false, 0, "",
     "Add a folder of data files to the shelf"},
    {FindCatalogsCommand::kRemoveFolder, "cmdRemoveFolder", "&Remove", kShelfButtons, false, 0, "",
     "Take the selected folder off the shelf"},
    {FindCatalogsCommand::kShowInCatalog, "mnuShowInCatalog", "Show in Catalog", kResultsPopup},
    {FindCatalogsCommand::kOpenFile, "mnuOpenFile", "Open File", kResultsPopup},
    {FindCatalogsCommand::kCopyName, "mnuCopyName", "Copy File Name", kResultsPopup, true, 0,
     "Ctrl+C"},
    {FindCatalogsCommand::kSendToPlaylist, "mnuSendToPlaylist", "Send to Playlist Editor",
     kResultsPopup},
}};
static_assert(InEnumOrder(kFindCatalogsCommands));

class FrmFindCatalogs {
 public:
  explicit FrmFindCatalogs(FrmMain& main);
  FrmFindCatalogs(const FrmFindCatalogs&) = delete;
  FrmFindCatalogs& operator=(const FrmFindCatalogs&) = delete;

  // Takes the shelf from the settings, or the open data file's folder.
  void Form_Load();
  // Stops a search under way.
  void Form_Unload();
  void Run(FindCatalogsCommand command);
  bool Enabled(FindCatalogsCommand command) const;

  // Starts a search with the controls (one under way is stopped first); a
  // bound that cannot be read is said, and nothing is searched.
  void cmdFind_Click();
  void cmdStop_Click();
  void cmdAddFolder_Click();
  void cmdRemoveFolder_Click();
  void chkSubfolders_Click(bool checked);
  // Typing a new text stops the search of the old one.
  void txtFind_Change(std::string text);
  void lstResults_DblClick() { mnuShowInCatalog_Click(); }
  void lstResults_ColumnClick(int column);  // 1-based, as the header reports it
  void mnuShowInCatalog_Click();
  void mnuOpenFile_Click();
  void mnuCopyName_Click();
  void mnuSendToPlaylist_Click();

  // Takes the rows that arrived; true while the search runs on.
  bool Poll();
  // Waits for the search under way to end, then polls (tests, benchmarks).
  void FinishSearch();

  // --- Controls -----------------------------------------------------------
  struct Controls {
    std::string txtFind;
    int cmbIn = 0;  // index into kSearchFields
    std::string cmbType = "*.*";
    std::string txtMinSize;  // bytes, or with KB, MB, GB
    std::string txtMaxSize;
    std::string txtMinBitrate;  // kbps
    std::string txtMinTime;     // mm:ss
    std::string txtMaxTime;
    std::string txtAfter;  // YYYY-MM-DD
    std::string txtBefore;
  };
  Controls& controls() { return m_controls; }
  const std::vector<std::string>& lstShelf() const { return m_shelf; }
  int shelf_selected() const { return m_shelf_selected; }
  void set_shelf_selected(int index) { m_shelf_selected = index; }
  bool chkSubfolders() const { return m_subfolders; }
  ListModel& lstResults() { return m_results; }
  const std::string& status_text() const { return m_status; }
  bool searching() const { return m_search.running(); }

  // Set by the view: told when the state it shows changed; brings the main
  // window forward once a result was shown or sent there.
  std::function<void()> state_changed;
  std::function<void()> show_main_window;

 private:
  // The condition the controls stand for, or a message saying which is wrong.
  Result<CatalogCondition> Condition() const;
  // The shelf changed: kept in the settings, and said when it cannot be.
  void SaveShelf();
  void ShowResult(const ShelfSearchResult& result);
  void Changed();
  // The first selected row, -1 when none.
  int SelectedRow() const;

  FrmMain& m_main;
  Controls m_controls;
  std::vector<std::string> m_shelf;
  int m_shelf_selected = -1;
  bool m_subfolders = false;
  ListModel m_results;
  std::string m_status;
  BackgroundSearch m_search;
  std::vector<std::string> m_searched;   // the data files of the search under way or last
  std::vector<Status> m_shelf_problems;  // of its shelf: folders that could not be listed
  int m_sort_column = kColFileName;
  int64_t m_matched = 0;
};

}  // namespace tallymere
