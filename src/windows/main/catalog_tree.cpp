// The catalog tree: browsing live folders while no catalog is open, and
// listing a node's files.

#include "common/format.h"
#include "views/file_list_row.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void FrmMain::TreeFolder(const std::string& path) {
  Result<FolderListing> listing = m_platform.ListFolder(path, /*with_file_facts=*/false);
  const std::vector<CatalogDrive> drives = m_session.MachineDrives();
  if (listing) {
    for (const FolderEntry& entry : listing->entries) {
      if (entry.is_folder && entry.name != "." && entry.name != "..") {
        BuildNode(m_tvAlbum, path + entry.name + "\\", drives);
      }
    }
  }
  const std::vector<int> nodes = m_tvAlbum.Nodes();
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const std::string& text = m_tvAlbum.node(nodes[i]).text;
    if (EndsWith(text, "\\")) m_tvAlbum.SetText(nodes[i], text.substr(0, text.size() - 1));
  }
}

void FrmMain::tvAlbum_NodeClick(int node) {
  if (!m_tvAlbum.IsValid(node)) return;
  m_tvAlbum.Select(node);
  BusyScope busy(m_ui);
  ClearStatusBar();
  const NodeFiles listed = ListNodeFiles(node);
  m_ui.SetStatus(kStatusPanel, "Exploring: " + KeyOfNode(node).key());
  if (!m_session.catalog().Record(1).file_name.empty()) {
    m_ui.SetStatus(kCountPanel, "Total: " + std::to_string(listed.count) + " files");
    m_ui.SetStatus(kSizePanel, FormatMegabytes(static_cast<double>(listed.total)) + " MB");
  }
  m_commands.Enable(MainCommand::kReport, true);
  EnableDiskCommands();
}

FrmMain::NodeFiles FrmMain::ListNodeFiles(int node) {
  m_LV.Clear();
  m_LV.SetSorted(false);
  m_LV.SetWidth(kColPath, 0);

  const CatalogTable& catalog = m_session.catalog();
  const NodeKey node_key = KeyOfNode(node);
  const int icon = FileListIcon(m_session.settings().txtType);
  std::vector<ListRow> rows;
  NodeFiles listed;
  // A folder of a drive lists the catalog up to its end; a disk's records
  // are looked for in every record the data file holds, as a disk's records
  // may stand after the trailer of an earlier scan.
  const bool on_disk = !node_key.label().empty();
  const int end = on_disk ? catalog.StoredEnd() : catalog.CatalogEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = catalog.Record(i);
    if (!node_key.ListsDirectly(record)) continue;
    rows.push_back(FileListRow(record, icon));
    listed.total += record.size;
  }
  listed.count = static_cast<int>(rows.size());
  m_LV.SetSortKey(kColFileName);
  m_LV.AddRows(std::move(rows));
  m_LV.SetSorted(true);
  return listed;
}

void FrmMain::tvAlbum_DblClick() {
  if (!m_session.catalog().Record(1).file_name.empty()) return;
  const int node = m_tvAlbum.selected();
  if (!m_tvAlbum.IsValid(node)) return;
  if (m_tvAlbum.node(node).parent != TreeModel::kNoNode) {
    const std::string& text = m_tvAlbum.node(node).text;
    if (EndsWith(text, ":\\")) {
      TreeFolder(text);
    } else {
      // The path below the root: the full path without the root's text and "\".
      const std::string full = m_tvAlbum.FullPath(node);
      const std::size_t skip = m_tvAlbum.node(m_tvAlbum.roots().front()).text.size() + 1;
      TreeFolder((full.size() > skip ? full.substr(skip) : std::string()) + "\\");
    }
  }
  m_tvAlbum.Expand(node);
  m_tvAlbum.SortChildren(node);
}

int FrmMain::tvAlbum_StartDrag() const { return m_tvAlbum.selected(); }

NodeKey FrmMain::KeyOfNode(int node) const { return m_session.KeyOf(m_tvAlbum.node(node).key); }

}  // namespace tallymere
