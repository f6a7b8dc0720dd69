// The find commands: Find in Drive, Find in All and Show All Files in
// Selected fill the file list with the records a condition chooses.

#include "search/find.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

// The Path column as a search shows it: the rows come from many folders.
constexpr int kSearchPathWidth = 2500;

}  // namespace

void FrmMain::cmdAll_Click() {
  m_find.set_search_all(true);
  cmdFind_Click();
}

void FrmMain::cmdFind_Click() {
  FindQuery query{m_find.txtFind(), m_find.cmbType(), m_find.Drive1(), m_find.search_all()};
  if (query.all_drives) query.drive.clear();

  BusyScope busy_pointer(m_ui);
  m_ui.YieldToUi();
  std::vector<int> found;
  {
    AnimationScope animation(m_ui, AnimationKind::kFindFile);
    m_LV.Clear();
    m_LV.SetSorted(false);
    ClearStatusBar();
    m_ui.YieldToUi();
    m_ui.SetStatus(kStatusPanel, " Searching . . .");
    found = m_session.Find(query);
  }
  const int64_t total = ListRecords(found);
  m_LV.SetWidth(kColPath, kSearchPathWidth);

  ShowSearchStatus(FindStatus(found.size(), total));
  m_commands.Enable(MainCommand::kReport, true);
  m_find.set_search_all(false);
}

void FrmMain::mnuSearchdisk_Click() {
  const int node = m_tvAlbum.selected();
  if (!m_tvAlbum.IsValid(node)) return;
  const NodeKey node_key = KeyOfNode(node);
  if (node_key.kind() == NodeKey::Kind::kDrive && node_key.drive_holds_disks()) {
    m_ui.ShowMessage("Please select a disk label instead.", Buttons::kOk, Icon::kInformation,
                     kProgramTitle);
    return;
  }
  if (node_key.kind() == NodeKey::Kind::kRoot) {
    m_find.set_txtFind("");
    m_find.set_cmbType("*.*");
    cmdAll_Click();
    return;
  }

  BusyScope busy_pointer(m_ui);
  m_ui.YieldToUi();
  std::vector<int> found;
  {
    AnimationScope animation(m_ui, AnimationKind::kFindFile);
    m_LV.Clear();
    m_ui.SetStatus(kStatusPanel, "Searching . . .");
    m_ui.SetStatus(kCountPanel, "");
    m_ui.SetStatus(kSizePanel, "");
    found = m_session.Find(node_key);
  }
  const int64_t total = ListRecords(found);
  m_view.focus_request = "tvAlbum";

  ShowSearchStatus(NodeStatus(node_key.key(), found.size(), total));
  m_commands.Enable(MainCommand::kReport, true);
}

void FrmMain::ShowSearchStatus(const SearchStatus& status) {
  m_ui.SetStatus(kStatusPanel, status.panel1);
  m_ui.SetStatus(kCountPanel, status.panel2);
  m_ui.SetStatus(kSizePanel, status.panel3);
}

int64_t FrmMain::ListRecords(const std::vector<int>& indices) {
  const int icon = FileListIcon(m_session.settings().txtType);
  std::vector<ListRow> rows;
  rows.reserve(indices.size());
  int64_t total = 0;
  for (int index : indices) {
    const CatalogRecord& record = m_session.catalog().Record(index);
    rows.push_back(FileListRow(record, icon));
    total += record.size;
  }
  // Sorted once by File name, in the list's present direction.
  m_LV.SetSorted(false);
  m_LV.AddRows(std::move(rows));
  m_LV.SetSortKey(kColFileName);
  m_LV.SetSorted(true);
  return total;
}

void FrmMain::mnuFindCatalogs_Click() {
  if (show_find_catalogs) show_find_catalogs();
}

}  // namespace tallymere
