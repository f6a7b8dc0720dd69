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

#include "search/catalog_condition.h"
#include "session/catalog_session.h"
#include "views/file_list_row.h"
#include "views/list_model.h"
#include "windows/catalog_navigator.h"
#include "windows/command_table.h"
#include "windows/find_catalogs/background_search.h"
#include "windows/window_services.h"

namespace tallymere {

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
class FrmFindCatalogs {
 public:
  // A result leads back to its catalog through the navigator, the main
  // window that shows catalogs.
  FrmFindCatalogs(CatalogSession& session, WindowServices& services, CatalogNavigator& navigator);
  FrmFindCatalogs(const FrmFindCatalogs&) = delete;
  FrmFindCatalogs& operator=(const FrmFindCatalogs&) = delete;

  // Takes the shelf from the settings, or the open data file's folder.
  void Form_Load();
  // Stops a search under way.
  void Form_Unload();
  void Run(FindCatalogsCommand command);
  // The window's buttons and pop-up items, each row with its handler.
  static const CommandTable<FindCatalogsCommand, 8, FrmFindCatalogs> kCommands;
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

  static constexpr CommandTable<FindCatalogsCommand, 8, FrmFindCatalogs> CommandRows();

  CatalogSession& m_session;
  WindowServices& m_services;
  CatalogNavigator& m_navigator;
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

#define RUNS(call) TALLYMERE_RUNS(FrmFindCatalogs, call)

constexpr CommandTable<FindCatalogsCommand, 8, FrmFindCatalogs> FrmFindCatalogs::CommandRows() {
  using enum FindCatalogsCommand;
  return {{
      {kFind, "cmdFind", RUNS(cmdFind_Click), "&Find", kSearchButtons, false, 0, "",
       "Search every data file of the shelf"},
      {kStop, "cmdStop", RUNS(cmdStop_Click), "&Stop", kSearchButtons, false, 0, "Esc",
       "Stop the search"},
      {kAddFolder, "cmdAddFolder", RUNS(cmdAddFolder_Click), "&Add...", kShelfButtons, false, 0, "",
       "Add a folder of data files to the shelf"},
      {kRemoveFolder, "cmdRemoveFolder", RUNS(cmdRemoveFolder_Click), "&Remove", kShelfButtons,
       false, 0, "", "Take the selected folder off the shelf"},
      {kShowInCatalog, "mnuShowInCatalog", RUNS(mnuShowInCatalog_Click), "Show in Catalog",
       kResultsPopup},
      {kOpenFile, "mnuOpenFile", RUNS(mnuOpenFile_Click), "Open File", kResultsPopup},
      {kCopyName, "mnuCopyName", RUNS(mnuCopyName_Click), "Copy File Name", kResultsPopup, true, 0,
       "Ctrl+C"},
      {kSendToPlaylist, "mnuSendToPlaylist", RUNS(mnuSendToPlaylist_Click),
       "Send to Playlist Editor", kResultsPopup},
  }};
}

inline constexpr CommandTable<FindCatalogsCommand, 8, FrmFindCatalogs> FrmFindCatalogs::kCommands =
    CommandRows();

#undef RUNS

inline constexpr const auto& kFindCatalogsCommands = FrmFindCatalogs::kCommands;
static_assert(InEnumOrder(kFindCatalogsCommands));
static_assert(RunsItsOwnHandlers(kFindCatalogsCommands));

}  // namespace tallymere
