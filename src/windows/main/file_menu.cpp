// The File menu: New, Open, Save and Save A Copy As.

#include <functional>
#include <memory>

#include "catalog/data_file.h"
#include "common/format.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

// The comparison is exact: "MUSIC.MPD" gets ".mpd" appended.
std::string WithMpdExtension(std::string name) {
  if (name.size() < 4 || name.compare(name.size() - 4, 4, ".mpd") != 0) name += ".mpd";
  return name;
}

// Asks for a data file name until the user picks a new one or agrees to
// replace an existing one; No at the replace question asks again.
// on_chosen runs for every name picked, before the question. False when the
// user cancelled either the dialog or the question.
bool ChooseDataFile(UiServices& ui, const Platform& platform, std::string_view title,
                    std::string_view initial, std::string_view replace_question,
                    std::string* target,
                    const std::function<void(const std::string&)>& on_chosen = {}) {
  for (;;) {
    const std::optional<std::string> chosen = ui.ChooseSaveFile(title, "*.mpd", initial);
    if (!chosen) return false;
    *target = WithMpdExtension(*chosen);
    if (on_chosen) on_chosen(*target);
    if (!platform.NativePathExists(*target)) return true;
    const Answer answer =
        ui.ShowMessage(replace_question, Buttons::kYesNoCancel, Icon::kQuestion, title);
    if (answer != Answer::kNo) return answer == Answer::kYes;
  }
}

}  // namespace

bool FrmMain::MayReplaceDataFile(const std::string& path) {
  if (path != m_session.data_file_path() || !m_session.DataFileChangedOnDisk()) return true;
  const std::string question = "The data file \"" + path +
                               "\" was changed by another program since this catalog was opened "
                               "or last saved.\n\nSave this catalog over it? The changes the "
                               "other program made would be lost. No leaves the file as it is; "
                               "Save A Copy As can keep this catalog under another name.";
  return m_ui.ShowMessage(question, Buttons::kYesNo, Icon::kWarning, kProgramTitle) == Answer::kYes;
}

bool FrmMain::WriteRecords(const std::string& path) {
  // Held from the question to the write, so no command-line run writes in
  // between; one that is writing now is not waited for, which would freeze
  // the window.
  Result<std::unique_ptr<FileHold>> hold = m_platform.HoldFile(path, [] { return false; });
  if (!hold) {
    m_ui.ShowMessage(hold.status().message() +
                         "\n\nThe catalog was not saved. Save it again once that program has "
                         "finished.",
                     Buttons::kOk, Icon::kWarning, kProgramTitle);
    return false;
  }
  if (!MayReplaceDataFile(path)) return false;
  Status status;
  {
    BusyScope busy(m_ui);
    status = m_session.WriteTo(path);
  }
  if (!status) {
    m_ui.ShowMessage(status.message() +
                         "\n\nThe catalog was not saved and the file on disk was not changed. "
                         "Save it in another folder or under another name.",
                     Buttons::kOk, Icon::kStop, kProgramTitle);
    return false;
  }
  // Said once for each file and size of catalog, not at every save.
  if (std::optional<std::string> note = OlderProgramsNote(m_session.catalog())) {
    const std::string told = path + '\0' + *note;
    if (told != m_older_programs_told) {
      m_older_programs_told = told;
      m_ui.ShowMessage(*note, Buttons::kOk, Icon::kInformation, kProgramTitle);
    }
  }
  return true;
}

bool FrmMain::OfferToSave() {
  if (!m_session.changed()) return true;
  const Answer answer =
      m_ui.ShowMessage("Save current file?", Buttons::kYesNoCancel, Icon::kQuestion, "Confirm");
  if (answer == Answer::kYes) mnuSaveFile_Click();
  return answer != Answer::kCancel;
}

void FrmMain::mnuSaveFile_Click() {
  const std::string old_path = m_session.data_file_path();
  if (old_path != m_session.UntitledPath()) {
    if (WriteRecords(old_path)) m_session.set_changed(false);
    return;
  }
  const std::string old_caption = m_view.caption;
  std::string target;
  // The name becomes the catalog's at once: Cancel at the replace question
  // keeps it in the caption, although nothing was written.
  const bool chosen = ChooseDataFile(m_ui, m_platform, "Save File", "*.mpd",
                                     "File already exist. Do you want to replace it?", &target,
                                     [this](const std::string& name) {
                                       m_session.set_data_file_path(name);
                                       SetCaption(name);
                                     });
  if (!chosen) return;
  const std::string& path = m_session.data_file_path();
  if (WriteRecords(path)) {
    m_session.set_changed(false);
    if (const int root = m_tvAlbum.Find(old_path); root != TreeModel::kNoNode) {
      m_tvAlbum.SetKey(root, path);
      m_tvAlbum.SetText(root, path);
    }
  } else {
    // Nothing was written: the catalog is as untitled as before.
    m_session.set_data_file_path(old_path);
    m_view.caption = old_caption;
  }
}

void FrmMain::mnuSaveas_Click() {
  // The copy is named after the open file with "copy"; the dialog starts
  // beside that file, and for an unsaved catalog where dialogs start, never
  // in the program folder the untitled catalog is named after.
  const std::string& path = m_session.data_file_path();
  const std::size_t split = path.find_last_of('/');
  const std::size_t stem_start = split == std::string::npos ? 0 : split + 1;
  const std::size_t stem_end = path.size() >= stem_start + 4 ? path.size() - 4 : path.size();
  const std::string initial = path.substr(stem_start, stem_end - stem_start) + "copy.mpd";
  std::string target;
  if (!ChooseDataFile(m_ui, m_platform, "Save A Copy As", initial,
                      "File already exist. Do you want to replace it?.", &target)) {
    return;
  }
  WriteRecords(target);
}

void FrmMain::mnuLoad_Click() {
  if (!OfferToSave()) return;
  SelectTab(kScanTab);
  m_ui.SetStatus(kCountPanel, "");
  m_ui.SetStatus(kSizePanel, "");
  const std::optional<std::string> chosen = m_ui.ChooseOpenFile("Open File", "*.mpd", "*.mpd");
  if (!chosen) return;
  ReadDataFile(WithMpdExtension(*chosen));
}

bool FrmMain::OpenDataFile(const std::string& path) {
  if (!OfferToSave()) return false;
  m_view.selected_tab = 0;
  m_ui.SetStatus(kCountPanel, "");
  m_ui.SetStatus(kSizePanel, "");
  // A file given by name is taken as it is: it was picked in a file manager
  // or typed, and may be a catalog under another extension.
  return ReadDataFile(path);
}

bool FrmMain::ReadDataFile(const std::string& path) {
  BusyScope busy(m_ui);
  m_ui.SetStatus(kStatusPanel, "Reading data File. . .");
  m_ui.YieldToUi();
  const Status status = m_session.Open(path);
  if (!RecordsWereRead(status)) {
    m_ui.SetStatus(kStatusPanel, "Ready");
    m_ui.ShowMessage(
        status.message() + "\n\nThe file was not opened; the catalog shown is unchanged.",
        Buttons::kOk, Icon::kStop, kProgramTitle);
    return false;
  }
  SetCaption(path);
  m_LV.Clear();
  RebuildTree();
  SwitchViewsByFileType();
  ShowTotals(" Ready", " MB");
  EnableCatalogCommands(true);
  if (!status) m_ui.ShowMessage(status.message(), Buttons::kOk, Icon::kWarning, kProgramTitle);
  return true;
}

void FrmMain::mnuNew_Click() {
  if (!OfferToSave()) return;
  m_LV.Clear();
  HideCatalogColumns();
  m_view.tab_enabled[kPlaylistTab] = false;
  m_view.tab_enabled[kDataEditorTab] = false;
  SelectTab(kScanTab);
  m_view.playlist_visible = false;

  m_session.New();
  m_lstBox.clear();
  m_playlist.cmdClearAll_Click();

  m_ui.SetStatus(kStatusPanel, "Ready");
  m_ui.SetStatus(kCountPanel, "");
  m_ui.SetStatus(kSizePanel, "");

  EnableCatalogCommands(false);
  m_commands.Enable(kMp3Commands, false);

  {
    TreeModel::BatchUpdate batch(m_tvAlbum);
    StartCatalogTree(m_tvAlbum, std::string(kUntitledDataFile), kComputerImage, m_session.drives());
  }
  m_view.caption = kUntitledCaption;
}

}  // namespace tallymere
