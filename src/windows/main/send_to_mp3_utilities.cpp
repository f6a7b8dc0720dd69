// The main window's commands that open MP3 Utilities: with the selected file
// of the file list (the window then works on the catalog's selection and
// writes tag changes back into it), or on its own.

#include <algorithm>

#include "mp3/file_name_check.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

// Names the files of other formats MP3 Utilities leaves out, the first few
// of them by name.
std::string NotSentText(const std::vector<std::string>& names) {
  constexpr std::size_t kNamed = 5;
  std::string text = "MP3 Utilities works on MP3 files only; ";
  text += names.size() == 1 ? "this file stays out: " : "these files stay out: ";
  for (std::size_t i = 0; i < std::min(names.size(), kNamed); ++i) {
    text += (i > 0 ? ", " : "") + names[i];
  }
  if (names.size() > kNamed) text += " and " + std::to_string(names.size() - kNamed) + " more";
  return text + ".";
}

}  // namespace

void FrmMain::mnuId3_Click() {
  if (m_LV.FirstSelected() < 0) {
    m_ui.ShowMessage("No file is selected.", Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  // A file that is not here cannot be read or tagged: its disk is asked for
  // (once per disk), a file gone from a hard drive is counted, and the files
  // that are here go.
  std::vector<std::string> disks_asked;
  int gone = 0;
  for (int row : m_LV.SelectedRows()) {
    const std::string& path = m_LV.Cell(row, kColPath);
    const std::string& name = m_LV.Cell(row, kColFileName);
    // Other files are never sent, here or not.
    if (!IsMp3FileName(name) || m_platform.FileExists(path + name)) continue;
    m_LV.SetSelected(row, false);
    const std::string& label = m_LV.Cell(row, kColDiskLabel);
    const std::string disk = label + "|" + std::string(DriveRootOf(path));
    if (IsDriveRootLabel(label)) {
      ++gone;
    } else if (std::find(disks_asked.begin(), disks_asked.end(), disk) == disks_asked.end()) {
      disks_asked.push_back(disk);
      m_ui.ShowMessage(InsertDiskText(label, DriveRootOf(path)), Buttons::kOk, Icon::kInformation,
                       kProgramTitle);
    }
  }
  if (gone > 0) {
    m_ui.ShowMessage(std::to_string(gone) +
                         " of the selected files are no longer on their drive and are not sent.",
                     Buttons::kOk, Icon::kInformation, kProgramTitle);
  }
  const int row = m_LV.FirstSelected();
  if (row < 0) return;
  const std::string path = m_LV.Cell(row, kColPath) + m_LV.Cell(row, kColFileName);
  const Result<int64_t> length = m_platform.FileLength(path);
  if (!length.ok()) {
    m_ui.ShowMessage(length.status().message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  if (*length == 0) {
    m_ui.ShowMessage("Bad file record.", Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  // Only MP3 files can be handled there; anything else would leave an entry
  // naming a file that does not exist.
  std::vector<CatalogFile> files;
  std::vector<std::string> others;
  for (int selected : m_LV.SelectedRows()) {
    const std::string& name = m_LV.Cell(selected, kColFileName);
    if (IsMp3FileName(name)) {
      files.push_back({m_LV.Cell(selected, kColPath), name});
    } else {
      others.push_back(name);
    }
  }
  if (!others.empty()) {
    m_ui.ShowMessage(NotSentText(others), Buttons::kOk, Icon::kInformation, kProgramTitle);
  }
  m_session.SendToMp3Utilities(std::move(files));
  if (show_mp3_utilities) show_mp3_utilities();
}

void FrmMain::mnuId_Click() {
  if (show_mp3_utilities) show_mp3_utilities();
}

}  // namespace tallymere
