// The commands on a disk or folder of the tree: Disk Label renames a
// catalogued disk's label, Delete Disk or Folder removes its records, and
// Open/Close CD Tray moves the tray.

#include "common/format.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

constexpr std::string_view kLabelTitle = "Edit Disk Label";
// A drive root and the "\" that closes a label: a label node's key is this
// much longer than its text.
constexpr std::size_t kLabelKeyExtra = 4;
constexpr std::size_t kDriveRootLength = 3;

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool IsRemovableType(int type) { return type == kDriveRemovable || type == kDriveCdRom; }

// The label part of a key on a labelled disk: from its 4th character up to
// the next "\"; and the folder part: the drive root and what follows.
std::string LabelOfKey(std::string_view key) {
  const std::size_t end = key.find('\\', kDriveRootLength);
  return std::string(
      key.substr(kDriveRootLength, end == key.npos ? key.npos : end - kDriveRootLength));
}
std::string FolderOfKey(std::string_view key) {
  const std::size_t end = key.find('\\', kDriveRootLength);
  std::string folder(key.substr(0, kDriveRootLength));
  if (end != key.npos) folder += key.substr(end + 1);
  return folder;
}

}  // namespace

void FrmMain::mnuLabel_Click() {
  if (busy()) return;
  const int node = m_tvAlbum.selected();
  if (!m_tvAlbum.IsValid(node)) return;
  const std::string key = m_tvAlbum.node(node).key;
  const std::string old_label = m_tvAlbum.node(node).text;

  const int drive_type = m_platform.DriveType(key.substr(0, kDriveRootLength));
  if (drive_type == kDriveFixed || drive_type == kDriveRemote ||
      key.size() > old_label.size() + kLabelKeyExtra ||
      IsRemovableType(m_platform.DriveType(key))) {
    m_ui.ShowMessage("Please select a disk label.", Buttons::kOk, Icon::kStop, kLabelTitle);
    return;
  }
  bool found = false;
  m_catalog.Walk(
      [&](int, const CatalogRecord& record) { found = found || record.disk_label == old_label; });
  if (!found) {
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
  bool taken = false;
  m_catalog.Walk(
      [&](int, const CatalogRecord& record) { taken = taken || record.disk_label == new_label; });
  if (taken) {
    m_ui.ShowMessage("Same label exists, please try again.", Buttons::kOk, Icon::kStop,
                     kLabelTitle);
    return;
  }

  BusyScope busy_pointer(m_ui);
  const int end = m_catalog.CatalogEnd();
  for (int i = 1; i < end; ++i) {
    if (m_catalog.Record(i).disk_label == old_label)
      m_catalog.MutableRecord(i).disk_label = new_label;
  }
  for (int each : m_tvAlbum.Nodes()) {
    const std::string& node_key = m_tvAlbum.node(each).key;
    if (node_key.size() <= kDriveRootLength || node_key.ends_with(":\\") ||
        !IsRemovableType(m_platform.DriveType(node_key.substr(0, kDriveRootLength))) ||
        LabelOfKey(node_key) != old_label) {
      continue;
    }
    m_tvAlbum.SetKey(each, node_key.substr(0, kDriveRootLength) + new_label +
                               node_key.substr(kDriveRootLength + old_label.size()));
  }
  m_tvAlbum.SetText(node, new_label);
  m_changed = true;
  m_ui.ShowMessage("Disk has been relabeled sucessfully.", Buttons::kOk, Icon::kInformation,
                   kLabelTitle);
}

void FrmMain::mnuDeleteDisk_Click() {
  if (busy()) return;
  const int node = m_tvAlbum.selected();
  if (!m_tvAlbum.IsValid(node) || m_tvAlbum.node(node).parent == TreeModel::kNoNode) return;
  const std::string key = m_tvAlbum.node(node).key;
  const std::string text = m_tvAlbum.node(node).text;

  BusyScope busy_pointer(m_ui);
  for (int panel = 1; panel <= 3; ++panel) m_ui.SetStatus(panel, "");
  if (IsRemovableType(m_platform.DriveType(key))) {
    m_ui.ShowMessage("Please select a disk label instead.", Buttons::kOk, Icon::kWarning,
                     kProgramTitle);
    return;
  }

  // What goes, and the name the question gives it. Letter case is ignored.
  std::function<bool(const CatalogRecord&)> goes;
  std::string name;
  if (m_platform.DriveType(key.substr(0, kDriveRootLength)) == kDriveFixed) {
    const std::string prefix = Upper(key);
    goes = [prefix](const CatalogRecord& record) { return Upper(record.path).starts_with(prefix); };
    name = key;
  } else if (key.size() == text.size() + kLabelKeyExtra) {
    const std::string label = Upper(text);
    goes = [label](const CatalogRecord& record) { return Upper(record.disk_label) == label; };
    name = text;
  } else {
    const std::string label = LabelOfKey(key);
    const std::string folder = Upper(FolderOfKey(key));
    goes = [label = Upper(label), folder](const CatalogRecord& record) {
      return Upper(record.disk_label) == label && Upper(record.path).starts_with(folder);
    };
    name = label + "\\" + text;
  }
  if (m_ui.ShowMessage("Are you sure you want to delete \"" + name + "\" and all its contents?",
                       Buttons::kYesNo, Icon::kQuestion, "Confirm Delete") != Answer::kYes) {
    return;
  }

  // The records that stay, in their order, and a new trailer after them.
  CatalogTable kept;
  int next = 1;
  int64_t total = 0;
  const int end = m_catalog.CatalogEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = m_catalog.Record(i);
    if (goes(record)) continue;
    total += record.size;
    kept.SetRecord(next++, record);
  }
  kept.SetRecord(next, MakeTrailer(m_settings.txtType, m_settings.chkBitRate,
                                   FormatDateTime(m_platform.Now())));
  m_catalog = std::move(kept);

  m_LV.Clear();
  m_LV.SetWidth(kColPath, 0);
  m_tvAlbum.Remove(node);
  m_changed = true;
  m_scan.file_count = next - 1;
  m_ui.SetStatus(1, "List updated on " + FormatDateTime(m_platform.Now()));
  m_ui.SetStatus(2, "Total: " + std::to_string(m_scan.file_count) + " files");
  m_ui.SetStatus(3, FormatMegabytes(static_cast<double>(total)) + " MB");
}

void FrmMain::mnuEject_Click() {
  if (busy()) return;
  m_platform.CdDoor(m_tray_open ? "set cd door closed" : "set cd door open");
  m_tray_open = !m_tray_open;
}

}  // namespace tallymere
