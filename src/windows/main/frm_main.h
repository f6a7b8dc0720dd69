#pragma once
// The main window's controller: the window's own state (the tree, the file
// list, the batch, the side panel, the find panel, which commands are on) and
// the handlers of its commands, under their own names. The catalog itself,
// its data file and the settings are the session's, which the command line
// uses too; a handler is the command's algorithm over the session, with the
// questions and messages the window shows. It knows no toolkit: the Qt window
// forwards events here and shows the models it owns.
//
// The handlers are private and run through the command table
// (main_command_table.h), so a command's enum, its row and its handler are
// written together. They are spread over files by command group (file menu,
// tree, file list, scan batch, add a disk).

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/node_key.h"
#include "search/duplicates.h"
#include "search/search_results.h"
#include "session/catalog_session.h"
#include "views/file_list_row.h"
#include "views/list_model.h"
#include "views/tree_builder.h"
#include "views/tree_model.h"
#include "windows/catalog_navigator.h"
#include "windows/command_table.h"
#include "windows/input_codes.h"
#include "windows/main/data_field_editor.h"
#include "windows/main/find_panel.h"
#include "windows/main/main_commands.h"
#include "windows/main/playlist_editor.h"
#include "windows/ui_scopes.h"
#include "windows/window_services.h"

namespace tallymere {

// What a command says about a file of a disk that is not inserted.
inline std::string InsertDiskText(std::string_view disk_label, std::string_view drive_root) {
  return "Please insert disk labeled:   \"" + std::string(disk_label) + "\"  into  \"" +
         std::string(drive_root) + "\" drive.";
}
inline constexpr std::string_view kUntitledCaption = "Tallymere - Untitled";

// The tabs of the side panel SSTab1, counted from 0.
inline constexpr int kScanTab = 0;
inline constexpr int kPlaylistTab = 1;
inline constexpr int kDataEditorTab = 2;

// What the window shows besides its models.
struct MainWindowView {
  std::string caption{kUntitledCaption};
  int selected_tab = kScanTab;
  std::array<bool, 3> tab_enabled{true, false, false};
  // LVP and its buttons.
  bool playlist_visible = false;
  bool grid_checked = false;
  // The file list's column last sorted by, 0-based.
  std::optional<int> last_sort_column;
  // The control a handler wants the focus on ("tvAlbum"), empty for none;
  // the view moves the focus and clears it.
  std::string focus_request;

  // LVData is shown in place of the file list.
  bool data_editor_shown() const { return selected_tab == kDataEditorTab; }
};

// A closing status with what the leave-out rules kept out of the scan
// (" Ready  - 3 folders and 12 files left out by the rules").
std::string WithLeftOut(std::string status, const ScanReport& report);

class FrmMain : public CatalogNavigator {
 public:
  FrmMain(CatalogSession& session, WindowServices& services);
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // Every menu item, pop-up item, toolbar button and pane button, by its
  // enum: the handler of its row. While a long command yields to the window
  // every other command and event is refused: this and Handle are the one
  // place that says so.
  void Run(MainCommand command);
  // Runs the handler of any other event (a click in the tree, a key in the
  // list) under the same rule.
  void Handle(const std::function<void()>& handler);
  // The handler the last command ran, as its row names it ("mnuClip_Click"
  // for the pop-up's Copy to Clipboard).
  std::string_view last_handler() const { return m_last_handler; }

  // --- Set by the view -----------------------------------------------------------
  std::function<void()> close_window;  // Exit
  std::function<void()> show_about;
  // Each shows its window, whose Form_Load fills it; MP3 Utilities is brought
  // forward (and reloaded while files are sent to it) when it exists.
  std::function<void()> show_find_catalogs;
  std::function<void()> show_options;
  std::function<void()> show_data_info;
  std::function<void()> show_mp3_utilities;
  // Shows the help page (its native path) in a window of the program's own,
  // for a desktop that has no program able to show it.
  std::function<void(const std::string& page)> show_help_viewer;

  // --- Start and stop ---------------------------------------------------------
  void Form_Load();
  // True when the window may close: nothing to save, No, or Yes and the
  // catalog was saved. Cancel, and a Yes whose save was cancelled or failed,
  // keep the window open with the catalog as it was, so closing never loses
  // an unsaved catalog. When it may close, ends_program() tells whether the
  // program ends with every other window.
  [[nodiscard]] bool Form_Unload();
  // After Form_Unload: false when the user declined to save, so other open
  // windows (MP3 Utilities) keep the program running.
  bool ends_program() const { return m_ends_program; }

  // --- Leading another window's file back to the catalog -----------------------
  // Opens the named data file as Open does after its dialog: a file given
  // on the command line or dropped on the window. True when it is the
  // catalog now (the user may keep the old one, or the file be refused).
  bool OpenDataFile(const std::string& path) override;
  // Shows a file of the open catalog as a click on its folder would: the
  // folder selected in the tree, the file's row selected in the list. False
  // when the catalog holds no such file.
  bool ShowCatalogFile(const std::string& path, const std::string& file_name) override;
  // Opens a catalogued file with its program, as a double click on its row
  // does; a file of a disk that is not here names the disk.
  void OpenCatalogFile(const std::string& path, const std::string& file_name,
                       const std::string& disk_label) override;
  // "Send to Playlist Editor" for the selected rows of a list laid out as
  // the file list is.
  void SendToPlaylist(ListModel& rows) override;
  // The desktop's opener took a file (a native path) but then could not open
  // it. True when the window takes over: the help page shows in the
  // program's own viewer. Any other file is the caller's to report.
  bool OpenerFailed(const std::string& native_path);

  // --- Events of the tree, the file list, the batch and the side panel ------------
  void tvAlbum_NodeClick(int node);
  void tvAlbum_DblClick();
  // Mouse moved with the left button down: the node to drag, or kNoNode.
  int tvAlbum_StartDrag() const;
  void LV_ColumnClick(int column);  // 1-based, as the header reports it
  void LV_ItemClick(int row);
  void LV_DblClick();
  void LV_KeyDown(int key_code);  // kKeyDelete, kKeyEnter
  void lstBox_Click(int index) { m_lstBox_selected = index; }
  // A dragged node passing over the batch list: true when the drop is welcome.
  bool lstBox_DragOver(int node) const;
  void lstBox_DragDrop(int node);
  // Folders dragged from a file manager onto the batch, by their Linux paths:
  // each is added as Add would add it.
  void lstBox_FoldersDropped(const std::vector<std::string>& native_paths);
  // The user chose a tab of the side panel. While the Data Field Editor's tab
  // is chosen, LVData stands in place of the file list and the toolbar is off.
  void SSTab1_Click(int tab);
  // Rescan Disk and its pop-up item follow the tree's selection; the view
  // calls this when it selects a node without a click (the pop-up's own).
  void EnableDiskCommands();

  // --- State the views show ------------------------------------------------------
  CatalogSession& session() { return m_session; }
  const CatalogSession& session() const { return m_session; }
  PlaylistEditor& playlist() { return m_playlist; }
  DataFieldEditor& data_field_editor() { return m_data_editor; }
  TreeModel& tvAlbum() { return m_tvAlbum; }
  ListModel& LV() { return m_LV; }
  const std::vector<std::string>& lstBox() const { return m_lstBox; }
  const MainWindowView& view() const { return m_view; }
  void clear_focus_request() { m_view.focus_request.clear(); }
  const MainCommandState& commands() const { return m_commands; }
  FindPanel& find_panel() { return m_find; }
  // The drives "Look in:" offers: those of the tree, the catalog's own
  // letters included ("C:\", "E:\").
  std::vector<std::string> LookInDrives() const;
  // True while a long command yields to the window: every command is refused.
  bool busy() const { return m_services.busy(); }
  // The desktop services every handler uses (yields are counted).
  UiServices& ui() { return m_services.ui(); }

  // The command table, with the handler of each row (main_command_table.h).
  static const MainCommandTable<FrmMain> kCommands;

 private:
  static constexpr MainCommandTable<FrmMain> CommandRows();
  static constexpr auto MenuRows();
  static constexpr auto PaneRows();

  // --- File menu ---------------------------------------------------------------
  void mnuNew_Click();
  void mnuLoad_Click();
  void mnuSaveFile_Click();
  void mnuSaveas_Click();
  void mnuCreat_Click();   // "Create List": the whole catalog
  void mnuReport_Click();  // "Create List from Search Result": the file list
  void mnuScan_Click();
  void mnuAddDisk_Click();
  void mnuUpdate_Click();
  void mnuInfo_Click();
  // "MP3 Utilities": shows the window without the catalog link.
  void mnuId_Click();
  void mnuExit_Click();
  // --- Edit and View menus -------------------------------------------------------
  void mnuClip_Click();
  void mnuDelete_Click();      // "Delete File", the pop-up's p2 and the Delete key
  void mnuRename_Click();      // "Rename File", p3
  void mnuCorrect_Click();     // "Correct File Name", p4
  void mnuProperty_Click();    // also the file list pop-up's p6
  void mnuSearchdisk_Click();  // "Show All Files in Selected"
  void mnuDuplicate1_Click();  // "Show Duplicates (Exact Match)"
  void mnuDuplicate2_Click();  // "Show Duplicates (Not So Exact)"
  void mnuDuplicate3_Click();  // "Show Duplicates (Any Possible Match)"
  void mnuDuplicate4_Click();  // "Show Duplicates (Same Audio)"
  void mnuGrid_Click();
  void mnuFindCatalogs_Click();
  // --- Tools, Settings and Help menus ----------------------------------------------
  // "Send to MP3 Utilities": the selected files go to the window, linked.
  void mnuId3_Click();
  void mnuAddPlay_Click();      // "Send to Playlist Editor", also the pop-up's p9
  void mnuSendData_Click();     // "Send to Data Field Editor", also p10
  void mnuFingerprint_Click();  // "Compute Audio Fingerprints"
  void mnuLabel_Click();        // "Disk Label"
  void mnuDeleteDisk_Click();   // "Delete Disk or Folder"
  // "Rescan Disk...": the selected labelled disk read again, its changes
  // shown, and its records replaced where they stand when the user agrees.
  void mnuRescanDisk_Click();
  void mnuEject_Click();       // "Open/Close CD Tray"
  void mnuOpt_Click();         // "Options"
  void mnuEditHeader_Click();  // "Header Text"
  void mnuEditFooter_Click();  // "Footer text"
  void mnuHelpTopic_Click();   // "Tallymere Help"
  void mnuLink_Click();        // "Check for Updates"
  void mnuAbout_Click();
  // --- The tree's pop-up -----------------------------------------------------------
  void mnuPop2Show_Click() { mnuSearchdisk_Click(); }
  void mnuPop2Label_Click() { mnuLabel_Click(); }
  void mnuPop2Del_Click() { mnuDeleteDisk_Click(); }
  // --- The scan batch and the find panel ------------------------------------------
  void cmdAdd_Click();
  void cmdDelete_Click();
  void cmdRemove_Click();
  void cmdFind_Click();  // "Find in Drive"
  void cmdAll_Click();   // "Find in All"

  // --- Shared steps ----------------------------------------------------------------
  // Reads a data file into the window, or refuses it and keeps the catalog.
  bool ReadDataFile(const std::string& path);
  void CreateList(bool from_search_result);
  void SetCaption(const std::string& path);
  // "Save current file?" when the catalog changed; Yes saves. False on Cancel.
  bool OfferToSave();
  // Tells the user which settings files could not be used in full, and why.
  void ReportStartProblems(const StartProblems& problems);
  // The columns a list without a catalog does not show: Path and the MP3 ones.
  void HideCatalogColumns();
  // The data file's node and the drives, while a command scans.
  void ShowEmptyCatalogTree();
  // The whole tree again from the catalog.
  void RebuildTree();
  void ExpandFirstDrive();
  void SwitchViewsByFileType();
  // Brings the side panel to a tab; leaving or entering the Data Field
  // Editor's tab swaps the lists and the toolbar's state.
  void SelectTab(int tab);
  void EnableCatalogCommands(bool enabled);
  void ShowTotals(const std::string& panel1, const std::string& mb_suffix);
  // Empties the three status panels.
  void ClearStatusBar();
  // Writes the catalog to a data file held against other programs for the
  // write; false when nothing was written (said to the user).
  bool WriteRecords(const std::string& path);
  // Whether the write may go on: asked when the catalog's own data file was
  // changed by another program since this window read or last wrote it.
  bool MayReplaceDataFile(const std::string& path);
  void OpenSelectedFile();
  // The new-scan steps from the busy pointer on; false when the scan failed.
  bool ScanBatch(const std::function<void(const Status&)>& error_report);
  // Add a disk without the command guard: the new disk's node key, or
  // nothing when nothing was added. Its steps: the drive or folder of the
  // disk (from the batch, else asked for), its label, and the scan that puts
  // it in front of the catalog.
  std::optional<std::string> AddDisk();
  // After the tree was built anew: the added disk selected, with the files
  // of its root folder in the list, as a click on it shows them; the status
  // bar keeps what the command said.
  void ShowAddedDisk(const std::string& disk_key);
  // The files catalogued right in a node's folder, in the file list sorted
  // by File name; their count and total size.
  struct NodeFiles {
    int count = 0;
    int64_t total = 0;
  };
  NodeFiles ListNodeFiles(int node);
  std::optional<std::string> DiskToAdd();
  std::optional<std::string> AskDiskLabel(const std::string& entry);
  bool ScanDiskUnderLabel(const std::string& entry, const std::string& label);
  void ShowDiskNotInDrive();
  // Where the disk can be read now: its drive when it holds this disk (or the
  // user takes the disk in it), else a folder the user chooses; nothing when
  // cancelled.
  std::optional<std::string> RescanRoot(const NodeKey& disk);
  void ReportSkippedFolders(const ScanReport& report);
  // Adds the folders of a live drive's folder while no catalog is open.
  void TreeFolder(const std::string& path);
  // Fills the file list with the rows of these records, sorted by File name;
  // returns their total size.
  int64_t ListRecords(const std::vector<int>& indices);
  // The three status panels after a find, as the command line reports them too.
  void ShowSearchStatus(const SearchStatus& status);
  // Opens a file of the program folder with its program ("edit": as text),
  // or says why it cannot. When the desktop has no program for it and
  // instead_of_error is given, that shows the file (its native path) instead.
  void OpenProgramFile(std::string_view name, std::string_view missing_text, std::string_view title,
                       std::string_view verb = "open",
                       const std::function<void(const std::string&)>& instead_of_error = {});
  // The help page in the program folder, as a native path.
  std::string HelpPagePath() const;
  void ListDuplicates(DuplicateRule rule);
  // The record of a file-list row: the first whose Path and File name are the
  // row's; 0 when there is none.
  int RecordOfRow(int row) const;
  // What the node with this id stands for, its drive's kind as the session sees it.
  NodeKey KeyOfNode(int node) const;
  // A row's full path: its Path followed by its File name.
  std::string RowPath(int row) const;
  // The rows of the files another window rewrote show their new fields.
  void ShowRewrites(const std::vector<RecordRewrite>& rewrites);

  CatalogSession& m_session;
  WindowServices& m_services;
  const Platform& m_platform;
  UiServices& m_ui;
  std::string_view m_last_handler;

  std::vector<std::string> m_lstBox;  // the batch: drive roots and folders to scan
  int m_lstBox_selected = -1;
  int m_selection_count = 0;
  bool m_ends_program = true;
  bool m_tray_open = false;
  // The data file and note last told that older programs cannot open it.
  std::string m_older_programs_told;

  TreeModel m_tvAlbum;
  ListModel m_LV;
  MainWindowView m_view;
  MainCommandState m_commands;
  FindPanel m_find;
  // The panes work on the catalog and the file list above, so they come last.
  PlaylistEditor m_playlist;
  DataFieldEditor m_data_editor;
};

}  // namespace tallymere
