// Rescan Disk: a labelled disk read again, what changed shown, and its
// records replaced where they stand when the user agrees.

#include "common/ascii_case.h"
#include "common/format.h"
#include "windows/main/frm_main.h"
#include "windows/main/scan_status.h"

namespace tallymere {
namespace {

constexpr std::string_view kRescanTitle = "Rescan Disk";
// The changes the question lists; the counts above them tell the rest.
constexpr std::size_t kListedChanges = 200;

}  // namespace

void FrmMain::EnableDiskCommands() {
  const int node = m_tvAlbum.selected();
  const bool disk = m_commands.Enabled(MainCommand::kLabel) && m_tvAlbum.IsValid(node) &&
                    KeyOfNode(node).kind() == NodeKey::Kind::kDisk;
  m_commands.Enable(kDiskCommands, disk);
}

std::optional<std::string> FrmMain::RescanRoot(const NodeKey& disk) {
  const std::string drive_root(disk.drive_root());
  if (m_platform.FolderExists(drive_root)) {
    // A disk without a volume label cannot be told from another: it is taken.
    const std::string volume = m_platform.VolumeLabel(drive_root);
    if (volume.empty() || EqualNoCase(volume, disk.label())) return drive_root;
    const std::string drive = drive_root.substr(0, 2);
    if (m_ui.ShowMessage("The disk in " + drive + " is labelled \"" + volume + "\", not \"" +
                             disk.label() + "\".\nUse the disk in " + drive + " anyway?",
                         Buttons::kYesNo, Icon::kQuestion, kRescanTitle) == Answer::kYes) {
      return drive_root;
    }
  }
  const std::string folder =
      m_ui.BrowseForFolder("Choose the folder where the disk \"" + disk.label() + "\" is mounted");
  if (folder.empty()) return std::nullopt;
  return folder;
}

void FrmMain::mnuRescanDisk_Click() {
  const int node = m_tvAlbum.selected();
  if (!m_tvAlbum.IsValid(node)) return;
  const NodeKey disk = KeyOfNode(node);
  if (disk.kind() != NodeKey::Kind::kDisk) {
    m_ui.ShowMessage("Please select a disk label.", Buttons::kOk, Icon::kStop, kRescanTitle);
    return;
  }
  const std::optional<std::string> root = RescanRoot(disk);
  if (!root) return;

  Result<DiskRescan> rescan = [&] {
    BusyScope busy(m_ui);
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    ScanStatus status(m_ui, m_session.CurrentScanSettings());
    return m_session.RescanDisk(disk, *root, &status);
  }();
  const std::string unchanged = "The records of \"" + disk.label() + "\" were not changed.";
  if (!rescan) {
    m_ui.ShowMessage("The disk \"" + disk.label() +
                         "\" could not be read: " + rescan.status().message() + "\n" + unchanged,
                     Buttons::kOk, Icon::kStop, kRescanTitle);
    return;
  }
  if (rescan->changes.empty()) {
    m_ui.ShowMessage("Disk " + disk.label() + ": nothing changed.", Buttons::kOk,
                     Icon::kInformation, kRescanTitle);
    return;
  }
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < rescan->changes.size() && i < kListedChanges; ++i) {
    lines.push_back(DiskChangeLine(rescan->changes[i]));
  }
  if (rescan->changes.size() > kListedChanges) {
    lines.push_back("... and " + std::to_string(rescan->changes.size() - kListedChanges) + " more");
  }
  if (m_ui.ShowMessageWithList(DiskChangesSummary(*rescan) + " Replace its records?", lines,
                               Buttons::kYesNo, Icon::kQuestion, kRescanTitle) != Answer::kYes) {
    return;
  }
  const std::string now = FormatDateTime(m_platform.Now());
  if (Status replaced = m_session.ReplaceDisk(disk, &*rescan); !replaced) {
    m_ui.ShowMessage(replaced.message() + "\n" + unchanged, Buttons::kOk, Icon::kStop,
                     kRescanTitle);
    return;
  }
  RebuildTree();
  ShowTotals(WithLeftOut("Data updated on " + now, rescan->scan.report), " MB.");
  ReportSkippedFolders(rescan->scan.report);
  // The disk's node again, its files in the list.
  const int again = m_tvAlbum.Find(disk.key());
  if (m_tvAlbum.IsValid(again)) {
    const int drive = m_tvAlbum.node(again).parent;
    if (m_tvAlbum.IsValid(drive)) m_tvAlbum.Expand(drive);
    tvAlbum_NodeClick(again);
  }
}

}  // namespace tallymere
