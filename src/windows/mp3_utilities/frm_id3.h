#pragma once
// The MP3 Utilities window's controller (frmID3): a batch of MP3 files on
// disk, their details and tags, the new names prepared for them, renaming
// with a log and undo. It knows no toolkit: the Qt window forwards events to
// the handlers below (named after the window's controls), shows LvOld through
// a list-model adapter, binds the editable texts and option flags through the
// setters, and after every forwarded event (or when the state listener fires)
// shows the labels, status panels, check marks and enabled flags again.
//
// The window reaches the catalog only through the session, and only while
// LinkedToCatalog (files were sent to it from the main window) holds.
// Handlers are spread over files by command group: the batch (mp3_batch.cpp),
// tags (tag_commands.cpp), renaming (rename_commands.cpp) and the text tools
// (text_tools.cpp).

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "mp3/bitrat.h"
#include "mp3/tag_writer.h"
#include "ports/platform.h"
#include "ports/ui_services.h"
#include "session/catalog_session.h"
#include "views/list_model.h"
#include "windows/command_state.h"
#include "windows/input_codes.h"
#include "windows/mp3_utilities/frm_id3_captions.h"
#include "windows/window_services.h"

namespace tallymere {

struct RenameLogEntry;

// Columns of LvOld. kBatchExtension is a cell beyond the four shown columns:
// the extension as found on disk (".mp3", ".MP3"), so that Path, Original and
// extension name the file even where letter case counts.
enum BatchColumn {
  kBatchOriginal,
  kBatchNew,
  kBatchPath,
  kBatchOldName,
  kBatchShownColumns,
  kBatchExtension = kBatchShownColumns
};

// Positions in CurNames and PrevNames; a bigger batch is listed in full, but
// only its first entries have snapshots.
inline constexpr int kNameSnapshotSize = 3000;

// The window's own status bar stInfo: what is going on, and the selection.
inline constexpr int kId3StatusPanel = 1;
inline constexpr int kId3CountPanel = 2;

// The details labels Label9 to Label12 without values: as the window opens
// and after Browse for folder, and (each with a space) after a click.
using DetailLabels = std::array<std::string_view, 4>;
inline constexpr DetailLabels kBlankDetailLabels = {
    "Size:", "Version:", "Bitrate:", "Sample Rate:"};
inline constexpr DetailLabels kClickDetailLabels = {
    "Size: ", "Version: ", "Bitrate: ", "Sample Rate: "};
// Beside them, the file's ID3v2 tag: its version, artist, title and album.
inline constexpr DetailLabels kBlankId3v2Labels = {
    "ID3v2:", "ID3v2 Artist:", "ID3v2 Title:", "ID3v2 Album:"};

class FrmID3 {
 public:
  // The window reaches the catalog through the session, while files are sent
  // to it from there (LinkedToCatalog).
  FrmID3(CatalogSession& session, WindowServices& services);
  FrmID3(const FrmID3&) = delete;
  FrmID3& operator=(const FrmID3&) = delete;

  // --- Commands -----------------------------------------------------------------
  // Runs a command of the table by its handler; while a long command of
  // either window yields, it and every other event are refused here and in
  // Handle, and nowhere else.
  void Run(Id3Command command);
  void Handle(const std::function<void()>& handler);
  // The handler the last command ran, as its row names it; empty when it
  // was refused.
  std::string_view last_handler() const { return m_last_handler; }

  // --- Window -----------------------------------------------------------------
  // Puts every control into its first state; with LinkedToCatalog set, loads
  // the selected files of the main window's file list.
  void Form_Load();
  // Closing the window ends the link to the catalog.
  void Form_Unload();

  // --- File menu ----------------------------------------------------------------
  void mnuOpen_Click();  // "Browse for folder"
  // "Exit Utilities": asks the view to close (close_window), or unloads.
  void mnuExit_Click();
  // Appends the MP3 files of the tree below CurrentPath (a catalog folder
  // path ending in "\"), files before subfolders, depth first. Fails when a
  // folder cannot be listed; the entries listed so far stay.
  Status RecurseTree(const std::string& CurrentPath);

  // --- Batch list events ------------------------------------------------------------
  // A click on a row: its details and tags, then the selection count. The
  // view has already updated the selected flags of LvOld.
  void LvOld_ItemClick(int row);
  // True when the view should show the pop-up menu mnuPop2.
  bool LvOld_MouseUp(int button) const { return button == kRightButton; }
  void LvOld_KeyDown(int key_code);
  // Ctrl+A in the list: every entry selected, and the count said.
  void LvOld_SelectAll();
  // The caret position (in characters) of a click in txtDisplay.
  void txtDisplay_Click(int caret_position) { m_insert_location = caret_position; }
  // Enter in txtDisplay applies the name typed there, as Manual does.
  void txtDisplay_KeyPress(int key_code);

  // --- Tag menu -----------------------------------------------------------------
  void mnuRemove_Click();   // "Erase Tag"
  void mnuWrite_Click();    // "Write Tag"
  void mnuTagName_Click();  // "Write Tag Using File Name"

  // --- Rename menu ------------------------------------------------------------------
  void mnuRen_Click();
  void mnuUndo_Click();

  // --- Tools menu --------------------------------------------------------------------
  void mnuRemv_Click();       // "Remove Selected File(s)"
  void mnuClAll_Click();      // "Clear All Files"
  void mnuOops_Click();       // "Oops!"
  void mnuStartOver_Click();  // "Start Over"
  void mnuIDrenam_Click();    // "Extract ID3 Tag"
  void mnuMan_Click();        // "Manual"

  // --- Options menu: each toggles its check mark --------------------------------------
  void mnuLog_Click();
  void mnuCom_Click();
  void mnuAlbum_Click();

  // --- Pop-up menu of the list and the toolbar -----------------------------------------
  void mnuPop2R_Click() { mnuTagName_Click(); }
  void mnuPop2Del_Click() { mnuRemv_Click(); }
  void mnuPop2Rem_Click() { mnuClAll_Click(); }
  // Runs the command of toolbar button 1 to 15 (2, 6 and 13 are separators).
  void Tbr_ButtonClick(int button);

  // --- Text tools -------------------------------------------------------------------
  void cmdTrim_Click();       // "Trim Method 1"
  void cmdTrim2_Click();      // "Trim Method 2"
  void cmdTrimNum_Click();    // "Trim Numbers"
  void cmdTrimspace_Click();  // " ab " -> "ab"
  void cmdUpper_Click();      // "ab --> Ab"
  void cmdLower_Click();      // "AB --> ab"
  void cmdReplace_Click();    // "Replace"
  void cmdReplace1_Click();   // "Replace Once"
  void cmdInsert_Click();     // "Insert Text"
  void cmdSwap_Click();       // "Artist <-> Title"
  void cmdAuto_Click();       // "Auto"

  // --- State the view shows -----------------------------------------------------------
  ListModel& LvOld() { return m_LvOld; }
  const ListModel& LvOld() const { return m_LvOld; }
  const std::vector<std::string>& CurNames() const { return m_CurNames; }
  const std::vector<std::string>& PrevNames() const { return m_PrevNames; }
  // The files it works on were sent from the catalog, which follows what
  // is done to them.
  bool LinkedToCatalog() const { return m_session.linked_to_mp3_utilities(); }
  int entry_counter() const { return m_entry_counter; }
  int selected_count() const { return m_selected_count; }
  int insert_location() const { return m_insert_location; }
  const std::string& CurrentFile() const { return m_CurrentFile; }
  // The window's own status bar stInfo, panels 1 and 2.
  const std::string& status(int panel) const { return m_status.at(panel - 1); }
  // Label9 (size), Label10 (version), Label11 (bitrate), Label12 (sample rate).
  const std::string& Label9() const { return m_labels[0]; }
  const std::string& Label10() const { return m_labels[1]; }
  const std::string& Label11() const { return m_labels[2]; }
  const std::string& Label12() const { return m_labels[3]; }
  // The ID3v2 details, in the order of kBlankId3v2Labels.
  const std::array<std::string, 4>& id3v2_labels() const { return m_id3v2_labels; }
  bool mnuLog_checked() const { return m_mnuLog; }
  bool mnuCom_checked() const { return m_mnuCom; }
  bool mnuAlbum_checked() const { return m_mnuAlbum; }
  // Enabled flags by command and toolbar button (1-15).
  const Id3CommandState& commands() const { return m_commands; }
  // The control a handler wants the focus on ("txtText"), empty for none;
  // the view moves the focus and clears it.
  const std::string& focus_request() const { return m_focus_request; }
  void clear_focus_request() { m_focus_request.clear(); }
  // The genre box's choices: the named genres in index order.
  static std::vector<std::string> txtGenre_items();
  // True while a long command of either window yields.
  bool busy() const { return m_services.busy(); }

  // --- Controls the user edits ------------------------------------------------------------
  // The tag editor: txtTitle, txtArtist, txtAlbum, txtYear, txtComment,
  // txtGenre and the six preserve boxes.
  TagEditorValues& tag_editor() { return m_editor; }
  const TagEditorValues& tag_editor() const { return m_editor; }
  // The code page the tag's texts are read and written in (Options).
  const CodePage& code_page() const;
  // Whether Write Tag also writes a file's existing ID3v2 tag (the Options).
  bool WritesId3v2() const { return m_session.program_settings().write_id3v2; }
  // Whether a text fits a tag field of width bytes in that code page; a
  // character the page cannot hold is refused when the tag is written.
  bool TagFieldFits(std::string_view text, std::size_t width) const;
  const std::string& txtDisplay() const { return m_txtDisplay; }
  void set_txtDisplay(std::string text) { m_txtDisplay = std::move(text); }
  const std::string& txtText() const { return m_txtText; }
  void set_txtText(std::string text) { m_txtText = std::move(text); }
  const std::string& txtReplace() const { return m_txtReplace; }
  void set_txtReplace(std::string text) { m_txtReplace = std::move(text); }
  const std::string& txtWith() const { return m_txtWith; }
  void set_txtWith(std::string text) { m_txtWith = std::move(text); }
  // The scope options: optAll "Apply to ALL files", optSelect "Apply to
  // selected file" (exactly one of them is set).
  bool optAll() const { return m_optAll; }
  bool optSelect() const { return !m_optAll; }
  void set_optAll(bool all) { m_optAll = all; }

  // --- Hooks the view sets ------------------------------------------------------------------
  // Closes the window; the view then calls Form_Unload.
  std::function<void()> close_window;
  // Called when a handler has changed labels, status, flags or editor texts.
  void set_state_listener(std::function<void()> listener) { m_listener = std::move(listener); }

  // The command table, with the handler of each row (frm_id3_command_table.h).
  static const Id3CommandTable<FrmID3> kCommands;

 private:
  static constexpr Id3CommandTable<FrmID3> CommandRows();
  // Notifies the listener once when the outermost handler ends.
  class StateNotice {
   public:
    explicit StateNotice(FrmID3& window) : m_window(window) { ++m_window.m_handler_depth; }
    ~StateNotice();
    StateNotice(const StateNotice&) = delete;
    StateNotice& operator=(const StateNotice&) = delete;

   private:
    FrmID3& m_window;
  };
  enum class TagCommand { kWrite, kErase, kFromName };

  // --- frm_id3.cpp: state, enabling, shared steps ---
  void ResetWindow();
  void SetStatus(int panel, std::string text);
  void ResetLabels(const DetailLabels& texts);
  void ClearEditorTexts();
  // The New Name box shows the current entry's New.
  void ShowNewName();
  // The editor shows each tag field up to its first NUL, as every view does;
  // a file without an ID3v1 tag shows its ID3v2 tag's artist, title and
  // album, cut to what the ID3v1 fields hold, so Write copies them over.
  void ShowTagInEditor(const Mp3Info& info);
  // Enabled flags by the table of states.
  void EnterEmptyState();
  void EnterBatchLoadedState();
  void EnableNamingStep();  // Rename and Oops!, menu items and buttons
  // The extension of an entry's file as found on disk (".mp3" by default).
  std::string EntryExtension(int row) const;
  // The catalog path of an entry's file: Path & Original & extension.
  std::string EntryFile(int row) const;
  // ReadMp3Info of a catalog path; a failure names the file.
  Result<std::string> ReadInfo(const std::string& catalog_file, Mp3Info* info) const;
  // The rows a tag command or Extract ID3 Tag works on.
  std::vector<int> RowsInScope() const;
  // Appends an entry for a file name that ends in ".mp3" (any letter case).
  void AddEntry(const std::string& path, const std::string& file_name);
  // After loading: sort once by Original, fill both snapshots, report a
  // batch bigger than the snapshots under the given title.
  void FinishLoading(std::string_view failure_title, const Status& listed);
  // Removes the entries marked in `doomed`, their name snapshots with them.
  void RemoveEntries(const std::vector<bool>& doomed);

  // --- Snapshots ---
  void TakeNameSnapshot();  // before column New changes
  void StoreCurNames();     // after it changed
  void FillSnapshots();     // both from column New

  // --- mp3_batch.cpp ---
  // The details labels, the editor and the New Name box for an entry.
  void ShowDetails(int row, bool bitrate_dashes);
  // The details labels alone, from a fresh read of the entry's file; false
  // when the file could not be read (the labels then stay blank).
  bool ShowFileLabels(int row, bool bitrate_dashes, Mp3Info* info);
  void CountSelection();

  // --- tag_commands.cpp ---
  void RunTagCommand(TagCommand command);
  void TagFromFileName(int row);
  // Shows the message of a tag write that failed.
  void ReportTagWrite(const Status& written);
  void ShowTagOfCurrentEntry();
  // False when a file could not be read again (the command then ends).
  bool UpdateCatalog(const std::vector<int>& rows, bool erase, bool* updated);
  // A file of the batch renamed: its folder, and its name before and after
  // (with extension).
  struct Renamed {
    std::string folder;
    std::string from;
    std::string to;
  };
  // While the batch came from the catalog, its records (and the main
  // window's rows) take the new names, and the catalog counts as changed.
  void RenameInCatalog(const std::vector<Renamed>& renamed);

  // --- rename_commands.cpp ---
  bool CheckEntriesBeforeRename();
  bool HasNameClash() const;
  Status WriteRenameLog(const std::string& log_path, const std::vector<RenameLogEntry>& log,
                        int failures) const;
  void ReportRename(const std::string& log_path, int failures);

  // --- text_tools.cpp ---
  // The frame of every tool: snapshot, the rule on column New of every entry
  // (optAll) or of the current entry (optSelect), CurNames, enabling.
  void ApplyTool(const std::function<std::string(const std::string&)>& rule);
  void TrimMethod1();
  void TrimMethod2();

  CatalogSession& m_session;
  WindowServices& m_services;
  std::string_view m_last_handler;
  UiServices& m_ui;
  const Platform& m_platform;

  ListModel m_LvOld;
  std::vector<std::string> m_CurNames;
  std::vector<std::string> m_PrevNames;
  int m_entry_counter = 1;
  int m_selected_count = 0;
  int m_insert_location = 0;
  std::string m_CurrentFile;
  TagEditorValues m_editor;
  std::string m_txtDisplay;
  std::string m_txtText;
  std::string m_txtReplace;
  std::string m_txtWith;
  bool m_optAll = false;
  std::array<std::string, 4> m_labels;
  std::array<std::string, 4> m_id3v2_labels;
  std::array<std::string, 2> m_status;
  bool m_mnuLog = true;
  bool m_mnuCom = false;
  bool m_mnuAlbum = false;
  Id3CommandState m_commands;
  std::string m_focus_request;
  std::function<void()> m_listener;
  int m_handler_depth = 0;
};

}  // namespace tallymere
