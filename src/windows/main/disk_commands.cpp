// The commands on a disk or folder of the tree: Disk Label renames a
// catalogued disk's label, Delete Disk or Folder removes its records, and
// Open/Close CD Tray moves the tray.

#include "common/ascii_case.h"
#include "common/format.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

constexpr std::string_view kLabelTitle = "Edit Disk Label";

}  // namespace

void FrmMain::mnuLabel_Click() {
  const int node = m_tvAlbum.selected();
  if (!m_tvAlbum.IsValid(node)) return;
  const NodeKey node_key = KeyOfNode(node);
  const std::string old_label = node_key.label();
  if (node_key.kind() != NodeKey::Kind::kDisk) {
    m_ui.ShowMessage("Please select a disk label.", Buttons::kOk, Icon::kStop, kLabelTitle);
    return;
  }
  if (!m_session.HoldsLabel(old_label)) {
    m_ui.ShowMessage("Disk not found.", Buttons::kOk, Icon::kStop, kLabelTitle);
    return;
  }
  const std::string new_label =
      m_ui.AskText("Please enter a new label.", kLabelTitle, "Enter new label here");
  if (new_label.empty()) return;
  if (const std::optional<std::string> problem = DiskLabelProblem(new_label)) {
    m_ui.ShowMessage(*problem, Buttons::kOk, Icon::kStop, kLabelTitle);
    return;
  }
  if (m_session.HoldsLabel(new_label)) {
    m_ui.ShowMessage("Same label exists, please try again.", Buttons::kOk, Icon::kStop,
                     kLabelTitle);
    return;
  }

  BusyScope busy_pointer(m_ui);
  m_session.Relabel(old_label, new_label);
  // The disk's node and every folder below it carry the label in their keys.
  for (int each : m_tvAlbum.Nodes()) {
    const NodeKey each_key = KeyOfNode(each);
    if (each_key.label() == old_label) m_tvAlbum.SetKey(each, each_key.WithLabel(new_label));
  }
  m_tvAlbum.SetText(node, new_label);
  m_ui.ShowMessage("Disk has been relabeled sucessfully.", Buttons::kOk, Icon::kInformation,
                   kLabelTitle);
}

void FrmMain::mnuDeleteDisk_Click() {
  const int node = m_tvAlbum.selected();
  if (!m_tvAlbum.IsValid(node) || m_tvAlbum.node(node).parent == TreeModel::kNoNode) return;
  const NodeKey node_key = KeyOfNode(node);

  BusyScope busy_pointer(m_ui);
  ClearStatusBar();
  if (node_key.kind() == NodeKey::Kind::kDrive && node_key.drive_holds_disks()) {
    m_ui.ShowMessage("Please select a disk label instead.", Buttons::kOk, Icon::kWarning,
                     kProgramTitle);
    return;
  }

  // The name the question gives what goes.
  std::string name = node_key.key();
  if (node_key.kind() == NodeKey::Kind::kDisk) name = node_key.label();
  if (node_key.kind() == NodeKey::Kind::kDiskFolder) {
    name = node_key.label() + "\\" + m_tvAlbum.node(node).text;
  }
  if (m_ui.ShowMessage("Are you sure you want to delete \"" + name + "\" and all its contents?",
                       Buttons::kYesNo, Icon::kQuestion, "Confirm Delete") != Answer::kYes) {
    return;
  }

  const RemovedRecords removed = m_session.DeleteBelow(node_key);

  m_LV.Clear();
  m_LV.SetWidth(kColPath, 0);
  m_tvAlbum.Remove(node);
  EnableDiskCommands();
  m_ui.SetStatus(kStatusPanel, "List updated on " + FormatDateTime(m_platform.Now()));
  m_ui.SetStatus(kCountPanel,
                 "Total: " + std::to_string(m_session.catalog().FileCount()) + " files");
  m_ui.SetStatus(kSizePanel, FormatMegabytes(static_cast<double>(removed.kept_size)) + " MB");
}

void FrmMain::mnuEject_Click() {
  m_platform.CdDoor(m_tray_open ? CdDoorMove::kClose : CdDoorMove::kOpen);
  m_tray_open = !m_tray_open;
}

}  // namespace tallymere
