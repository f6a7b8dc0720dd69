#pragma once
// The Options dialog's controller (frmOption): the sixteen settings in four
// frames and the ID3v1 text encoding, applied for the run (OK), applied and
// written to Data/lists.dat and the program's own settings file (Save), or
// dropped (Cancel). It holds the controls' values; the Qt dialog
// binds its widgets to them. Every opening starts from the settings in memory.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/program_settings.h"
#include "catalog/settings.h"
#include "ports/ui_services.h"
#include "session/catalog_session.h"
#include "windows/command_table.h"

namespace tallymere {

inline constexpr std::string_view kOptionsCaption = "Tallymere Options";

// The dialog's buttons: the colour swatches, and OK, Save and Cancel.
enum class OptionCommand { kTBcolor, kPGcolor, kOK, kSave, kCancel, kDefaults };
inline constexpr std::string_view kOptionSwatches = "Swatches";
inline constexpr std::string_view kOptionButtons = "Buttons";
inline constexpr std::string_view kOptionLeaveOut = "Leave out";
class FrmOption {
 public:
  FrmOption(CatalogSession& session, UiServices& ui);

  // Sets every control from the settings in memory.
  void Form_Load();
  // Runs a button's handler.
  void Run(OptionCommand command);
  // The buttons, each row with its handler.
  static const CommandTable<OptionCommand, 6, FrmOption> kCommands;

  void cmdOK_Click();
  // Writes the settings file, then applies and closes; a file that cannot be
  // written is said, and the dialog stays open with its values.
  void cmdSave_Click();
  void cmdCancel_Click();
  // The colour dialog for each swatch. The table colour takes effect at once,
  // and stays even when the dialog is then cancelled.
  void PGcolor_Click();
  void TBcolor_Click();
  // Puts the default leave-out rules into the box.
  void cmdDefaults_Click();

  // The controls, by the names of the settings they edit.
  struct Controls {
    bool optOne = false;
    bool optSeperate = true;
    int chkPath = 0;
    int chkSize = 1;
    int chkBitRate = 1;
    int chkHeader = 1;
    int chkSum = 1;
    int chkHtml = 0;
    int chkM3U = 0;
    std::string txtType;  // typed or chosen
    int32_t TBcolor = 0;  // the swatches' colours, 0x00BBGGRR
    int32_t PGcolor = 0;
    std::string txtTW;             // 25 to 100 by the spinner
    std::string cmbBW;             // 0 to 5
    std::string cmbAlign;          // "Left", "Center" or "Right"
    std::string txtCol;            // 50 to 150, step 5
    std::string cmbId3v1Encoding;  // one of kCodePageNames
    int chkDiskLabels = 0;         // lists name each file's disk
    std::string txtLeaveOut;       // the leave-out rules, one a line
    int chkHidden = 0;             // hidden files and folders are scanned
    int chkWriteId3v2 = 1;         // Write Tag also writes an existing ID3v2 tag
  };
  Controls& controls() { return m_controls; }
  const Controls& controls() const { return m_controls; }

  static const std::vector<std::string>& txtType_items();
  static const std::vector<std::string>& cmbAlign_items();
  static constexpr std::string_view kId3v1EncodingCaption = "ID3v1 text encoding:";
  static constexpr std::string_view kDiskLabelsCaption = "Show disk labels";
  static constexpr std::string_view kHiddenCaption = "Include hidden files and folders";
  static constexpr std::string_view kWriteId3v2Caption =
      "Write Tag also writes an existing ID3v2 tag";
  static constexpr std::string_view kWriteId3v2Tip =
      "MP3 Utilities' Write Tag puts its fields into a file's ID3v2 tag too, where players look "
      "first; a field left empty keeps the ID3v2 tag's own";
  static constexpr std::string_view kLeaveOutTip =
      "Left out of every scan, one rule a line as in .gitignore: a name or pattern (Thumbs.db, "
      "*.tmp), a folder (cache/), a path from the scan's folder (Music/tmp), ! to bring back, "
      "# for a comment";
  static constexpr std::string_view kDiskLabelsTip =
      "Name each file's disk: beside the folders of a list by folders, after the names of a "
      "single list";
  static constexpr std::string_view kId3v1EncodingTip =
      "The code page of the players that wrote your ID3v1 tags; Automatic reads UTF-8 or "
      "Windows-1252";

  // Set by the view: closes the dialog window.
  std::function<void()> close_window;

 private:
  // The settings the controls stand for; a border or column width that is no
  // number keeps its previous value.
  Settings Applied() const;
  ProgramSettings AppliedProgramSettings() const;
  // True when every leave-out rule can be used, or the user keeps them as
  // they are after being told which cannot.
  bool RulesAreUsable() const;
  void Close();

  static constexpr CommandTable<OptionCommand, 6, FrmOption> CommandRows();

  CatalogSession& m_session;
  UiServices& m_ui;
  Controls m_controls;
};

#define RUNS(call) TALLYMERE_RUNS(FrmOption, call)

constexpr CommandTable<OptionCommand, 6, FrmOption> FrmOption::CommandRows() {
  return {{
      {OptionCommand::kTBcolor, "TBcolor", RUNS(TBcolor_Click),
       "Table background color:", kOptionSwatches, false, 0, "", "Click to change"},
      {OptionCommand::kPGcolor, "PGcolor", RUNS(PGcolor_Click),
       "Page background color:", kOptionSwatches, false, 0, "", "Click to change"},
      {OptionCommand::kOK, "cmdOK", RUNS(cmdOK_Click), "OK", kOptionButtons},
      {OptionCommand::kSave, "cmdSave", RUNS(cmdSave_Click), "Save", kOptionButtons},
      {OptionCommand::kCancel, "cmdCancel", RUNS(cmdCancel_Click), "Cancel", kOptionButtons},
      {OptionCommand::kDefaults, "cmdDefaults", RUNS(cmdDefaults_Click), "Restore defaults",
       kOptionLeaveOut, false, 0, "", "Put back the rules a new installation leaves out"},
  }};
}

inline constexpr CommandTable<OptionCommand, 6, FrmOption> FrmOption::kCommands = CommandRows();

#undef RUNS

inline constexpr const auto& kOptionCommands = FrmOption::kCommands;
static_assert(InEnumOrder(kOptionCommands));
static_assert(RunsItsOwnHandlers(kOptionCommands));

}  // namespace tallymere
