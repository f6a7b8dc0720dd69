#pragma once
// The main window's controller: all catalog state of the process and the
// handlers of the main window's commands, under their own names. It knows no
// toolkit; the Qt window forwards events here and shows the models it owns.
// Handlers are spread over files by command group (file menu, tree, file list,
// scan batch, add a disk).

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog_table.h"
#include "catalog/file_list_row.h"
#include "catalog/list_model.h"
#include "catalog/node_key.h"
#include "catalog/program_settings.h"
#include "catalog/settings.h"
#include "catalog/tree_builder.h"
#include "catalog/tree_model.h"
#include "ports/platform.h"
#include "ports/ui_services.h"
#include "scan/scan_request.h"
#include "search/duplicates.h"
#include "search/search_results.h"
#include "windows/command_state.h"
#include "windows/input_codes.h"
#include "windows/main/data_field_editor.h"
#include "windows/main/find_panel.h"
#include "windows/main/main_commands.h"
#include "windows/main/playlist_editor.h"
#include "windows/ui_scopes.h"

namespace tallymere {

// The name a catalog has until it is saved or opened, and the caption then.
inline constexpr std::string_view kUntitledDataFile = "Untitled.mpd";

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

class FrmMain {
 public:
  FrmMain(UiServices& ui, const Platform& platform);
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // --- Commands -----------------------------------------------------------------
  // Runs a command of the table by its handler. While a long command yields
  // to the window every other command and event is refused: this and Handle
  // are the one place that says so.
  void Run(MainCommand command);
  // Runs the handler of any other event (a click in the tree, a key in the
  // list) under the same rule.
  void Handle(const std::function<void()>& handler);
  // Set by the view: what Exit and About do there.
  std::function<void()> close_window;
  std::function<void()> show_about;

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

  // --- File menu ----------------------------------------------------------------
  void mnuNew_Click();
  void mnuLoad_Click();
  // Opens the named data file as Open does after its dialog: a file given
  // on the command line or dropped on the window. True when it is the
  // catalog now (the user may keep the old one, or the file be refused).
  bool OpenDataFile(const std::string& path);
  void mnuSaveFile_Click();
  void mnuSaveas_Click();
  void mnuCreat_Click();   // "Create List": the whole catalog
  void mnuReport_Click();  // "Create List from Search Result": the file list

  // --- Tree ---------------------------------------------------------------------
  // Adds the folders of a live drive's folder while no catalog is open.
  void TreeFolder(const std::string& path);
  void tvAlbum_NodeClick(int node);
  void tvAlbum_DblClick();
  // Mouse moved with the left button down: the node to drag, or kNoNode.
  int tvAlbum_StartDrag() const;

  // --- File list ----------------------------------------------------------------
  void LV_ColumnClick(int column);  // 1-based, as the header reports it
  void LV_ItemClick(int row);
  void LV_DblClick();
  void LV_KeyDown(int key_code);  // kKeyDelete, kKeyEnter
  void mnuClip_Click();
  void mnuGrid_Click();

  // --- Find and duplicates --------------------------------------------------------
  void cmdFind_Click();        // "Find in Drive"
  void cmdAll_Click();         // "Find in All"
  void mnuSearchdisk_Click();  // "Show All Files in Selected"
  void mnuPop2Show_Click() { mnuSearchdisk_Click(); }
  void mnuDuplicate1_Click();  // "Show Duplicates (Exact Match)"
  void mnuDuplicate2_Click();  // "Show Duplicates (Not So Exact)"
  void mnuDuplicate3_Click();  // "Show Duplicates (Any Possible Match)"
  // "Find in Catalogs...": the view shows the window, whose Form_Load fills it.
  std::function<void()> show_find_catalogs;
  void mnuFindCatalogs_Click();
  // Shows a file of the open catalog as a click on its folder would: the
  // folder selected in the tree, the file's row selected in the list. False
  // when the catalog holds no such file.
  bool ShowCatalogFile(const std::string& path, const std::string& file_name);
  // Opens a catalogued file with its program, as a double click on its row
  // does; a file of a disk that is not here names the disk.
  void OpenCatalogFile(const std::string& path, const std::string& file_name,
                       const std::string& disk_label);
  // "Send to Playlist Editor" for the selected rows of a list laid out as
  // the file list is.
  void SendToPlaylist(ListModel& rows);

  // --- File operations ----------------------------------------------------------------
  void mnuDelete_Click();   // "Delete File", the pop-up's p2 and the Delete key
  void mnuRename_Click();   // "Rename File", p3
  void mnuCorrect_Click();  // "Correct File Name", p4
  // Hands catalog paths to the desktop's trash, which asks first; 0 when all went.
  int ShellDelete(const std::vector<std::string>& vntFileName);

  // --- Scan batch and disks -------------------------------------------------------
  void cmdAdd_Click();
  void cmdDelete_Click();
  void cmdRemove_Click();
  void lstBox_Click(int index) { m_lstBox_selected = index; }
  // A dragged node passing over the batch list: true when the drop is welcome.
  bool lstBox_DragOver(int node) const;
  void lstBox_DragDrop(int node);
  // Folders dragged from a file manager onto the batch, by their Linux paths:
  // each is added as Add would add it.
  void lstBox_FoldersDropped(const std::vector<std::string>& native_paths);
  void mnuScan_Click();
  void mnuAddDisk_Click();
  void mnuUpdate_Click();
  void mnuLabel_Click();  // "Disk Label"
  void mnuPop2Label_Click() { mnuLabel_Click(); }
  void mnuDeleteDisk_Click();  // "Delete Disk or Folder"
  void mnuPop2Del_Click() { mnuDeleteDisk_Click(); }
  // "Rescan Disk...": the selected labelled disk read again, its changes
  // shown, and its records replaced where they stand when the user agrees.
  void mnuRescanDisk_Click();
  // Rescan Disk and its pop-up item follow the tree's selection; the view
  // calls this when it selects a node without a click (the pop-up's own).
  void EnableDiskCommands();
  void mnuEject_Click();  // "Open/Close CD Tray"

  // --- Settings and help -------------------------------------------------------------
  // Set by the view: shows the Options dialog, whose Form_Load fills it.
  std::function<void()> show_options;
  void mnuOpt_Click();         // "Options"
  void mnuEditHeader_Click();  // "Header Text"
  void mnuEditFooter_Click();  // "Footer text"
  void mnuHelpTopic_Click();   // "Tallymere Help"
  void mnuLink_Click();        // "Check for Updates"

  // --- Data file info and properties ---------------------------------------------------
  // Set by the view: shows the Data File Info window, whose Form_Load fills it.
  std::function<void()> show_data_info;
  void mnuInfo_Click();
  void mnuProperty_Click();  // also the file list pop-up's p6

  // --- Tools
  // "Send to MP3 Utilities": sets the hand-over flag, then shows the window.
  void mnuId3_Click();
  // "MP3 Utilities": shows the window without the catalog link.
  void mnuId_Click();
  // Set by the view: creates the MP3 Utilities window (its Form_Load runs) or,
  // when it exists, brings it forward, reloading it while the hand-over flag
  // is set; shows it without waiting.
  std::function<void()> show_mp3_utilities;

  // --- Playlist Editor and Data Field Editor -------------------------------------
  void mnuAddPlay_Click();   // "Send to Playlist Editor", also the pop-up's p9
  void mnuSendData_Click();  // "Send to Data Field Editor", also p10 "Send to Data Filed Editor"
  // The user chose a tab of the side panel. While the Data Field Editor's tab
  // is chosen, LVData stands in place of the file list and the toolbar is off.
  void SSTab1_Click(int tab);
  PlaylistEditor& playlist() { return m_playlist; }
  DataFieldEditor& data_field_editor() { return m_data_editor; }

  // --- State the views show ------------------------------------------------------
  TreeModel& tvAlbum() { return m_tvAlbum; }
  ListModel& LV() { return m_LV; }
  const std::vector<std::string>& lstBox() const { return m_lstBox; }
  const std::string& caption() const { return m_caption; }
  // The drives "Look in:" offers: those of the tree, the catalog's own
  // letters included ("C:\", "E:\").
  std::vector<std::string> LookInDrives() const;
  const MainCommandState& commands() const { return m_commands; }
  int selected_tab() const { return m_selected_tab; }
  bool tab_enabled(int tab) const { return m_tab_enabled.at(tab); }
  // LVP and its buttons.
  bool playlist_visible() const { return m_playlist_visible; }
  // LVData is shown in place of the file list.
  bool data_editor_shown() const { return m_selected_tab == kDataEditorTab; }
  bool grid_checked() const { return m_grid_checked; }
  FindPanel& find_panel() { return m_find; }
  // True while a long command yields to the window: every command is refused.
  bool busy() const { return m_yield_depth > 0; }
  // The control a handler wants the focus on ("tvAlbum"), empty for none; the
  // view moves the focus and clears it.
  const std::string& focus_request() const { return m_focus_request; }
  void clear_focus_request() { m_focus_request.clear(); }

  // --- Catalog state ----------------------------------------------------------------
  CatalogTable& catalog() { return m_catalog; }
  const CatalogTable& catalog() const { return m_catalog; }
  bool changed() const { return m_changed; }
  void set_changed(bool changed) { m_changed = changed; }
  const std::string& data_file_path() const { return m_data_file_path; }
  Settings& settings() { return m_settings; }
  ProgramSettings& program_settings() { return m_program_settings; }
  // What a scan of the catalog works with now: the file type, the
  // MP3-information flag and the ID3v1 code page.
  ScanSettings CurrentScanSettings() const;
  // The catalog's files, as the status bar counts them.
  int file_count() const { return m_file_count; }
  std::optional<int> last_sort_column() const { return m_last_sort_column; }
  bool sent_to_mp3_utilities() const { return m_sent_to_mp3_utilities; }
  void set_sent_to_mp3_utilities(bool sent) { m_sent_to_mp3_utilities = sent; }

  // The desktop services every handler uses (yields are counted).
  UiServices& ui() { return m_ui; }
  const Platform& platform() const { return m_platform; }

 private:
  // The dispatcher's steps, by the table's places; false for a command of
  // another place.
  bool RunFileCommand(MainCommand command);
  bool RunToolsCommand(MainCommand command);
  bool RunPopupCommand(MainCommand command);
  bool RunPaneCommand(MainCommand command);
  // Reads a data file into the window, or refuses it and keeps the catalog.
  bool ReadDataFile(const std::string& path);
  void CreateList(bool from_search_result);
  // Shared steps.
  void SetCaption(const std::string& path);
  // "Save current file?" when the catalog changed; Yes saves. False on Cancel.
  bool OfferToSave();
  // Empty Header.txt and Footer.txt in the program folder when they are missing.
  void ProvideListTexts();
  // Tells once at start-up what of Data/drives.dat could not be used.
  // Tells the user which settings files could not be used in full, and why.
  void ReportStartProblems(const std::vector<std::string>& settings_problems);
  // The columns a list without a catalog does not show: Path and the MP3 ones.
  void HideCatalogColumns();
  // The drives of this machine as the tree shows them.
  std::vector<TreeDrive> TreeDrives() const;
  // The type of a drive as the tree shows it: a letter of the catalog this
  // machine does not map has the kind its records say.
  int DriveTypeOf(std::string_view drive_root) const;
  // The data file's node and the drives, while a command scans.
  void ShowEmptyCatalogTree();
  // The whole tree again from the catalog, and the file count with it.
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
  bool WriteRecords(const std::string& path);
  void OpenSelectedFile();
  // The new-scan steps from the busy pointer on; false when the scan failed.
  bool ScanBatch(const std::function<void(const Status&)>& error_report);
  // Add a disk without the command guard; false when nothing was added. Its
  // steps: the drive or folder of the disk (from the batch, else asked for),
  // its label, and the scan that puts it in front of the catalog.
  bool AddDisk();
  std::optional<std::string> DiskToAdd();
  std::optional<std::string> AskDiskLabel(const std::string& entry);
  bool ScanDiskUnderLabel(const std::string& entry, const std::string& label);
  void ShowDiskNotInDrive();
  // Where the disk can be read now: its drive when it holds this disk (or the
  // user takes the disk in it), else a folder the user chooses; nothing when
  // cancelled.
  std::optional<std::string> RescanRoot(const NodeKey& disk);
  void ReportSkippedFolders(const ScanReport& report);
  std::string UntitledPath() const;
  // Fills the file list with the rows of these records, sorted by File name;
  // returns their total size.
  int64_t ListRecords(const std::vector<int>& indices);
  // The three status panels after a find, as the command line reports them too.
  void ShowSearchStatus(const SearchStatus& status);
  bool ProgramFileExists(const std::string& native_path) const;
  // Opens a file of the program folder with its program ("edit": as text),
  // or says why it cannot.
  void OpenProgramFile(std::string_view name, std::string_view missing_text, std::string_view title,
                       std::string_view verb = "open");
  void ListDuplicates(DuplicateRule rule);
  // The record of a file-list row: the first whose Path and File name are the
  // row's; 0 when there is none.
  int RecordOfRow(int row) const;
  // What the node with this id stands for, its drive's kind asked of the map.
  NodeKey KeyOfNode(int node) const;
  // A row's full path: its Path followed by its File name.
  std::string RowPath(int row) const;

  int m_yield_depth = 0;
  YieldCountingUi m_ui;
  const Platform& m_platform;

  CatalogTable m_catalog;
  CatalogTable m_saved_records;  // scratch table of Add a disk and Delete disk or folder
  CatalogTable m_kept_records;   // scratch table of Update
  bool m_changed = false;
  std::string m_data_file_path{kUntitledDataFile};
  Settings m_settings;
  ProgramSettings m_program_settings;
  std::vector<std::string> m_lstBox;  // the batch: drive roots and folders to scan
  int m_file_count = 0;
  int m_lstBox_selected = -1;
  std::optional<int> m_last_sort_column;
  int m_selection_count = 0;
  bool m_sent_to_mp3_utilities = false;
  bool m_ends_program = true;
  bool m_tray_open = false;

  TreeModel m_tvAlbum;
  std::vector<TreeDrive> m_tree_drives;  // of the tree as it stands
  ListModel m_LV;
  std::string m_caption{kUntitledCaption};
  MainCommandState m_commands;
  int m_selected_tab = 0;
  std::array<bool, 3> m_tab_enabled{true, false, false};
  bool m_playlist_visible = false;
  bool m_grid_checked = false;
  FindPanel m_find;
  std::string m_focus_request;
  // The panes work on the catalog and the file list above, so they come last.
  PlaylistEditor m_playlist;
  DataFieldEditor m_data_editor;
};

}  // namespace tallymere
