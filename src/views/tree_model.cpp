#include "views/tree_model.h"

#include <algorithm>
#include <utility>

#include "common/sorted_list.h"

namespace tallymere {

TreeModel::BatchUpdate::~BatchUpdate() {
  if (--m_model.m_batch_depth == 0) m_model.Notify({TreeChange::kReset});
}

// --- Building ---------------------------------------------------------------

int TreeModel::AddRoot(std::string key, std::string text, std::string image,
                       std::string selected_image) {
  if (m_by_key.count(key) != 0) return kNoNode;
  const int id = static_cast<int>(m_nodes.size());
  const int row = static_cast<int>(m_roots.size());
  Notify({TreeChange::kAboutToInsert, id, kNoNode, row});
  NewNode(std::move(key), std::move(text), std::move(image), std::move(selected_image), kNoNode);
  m_roots.push_back(id);
  Notify({TreeChange::kInserted, id, kNoNode, row});
  return id;
}

int TreeModel::AddChild(std::string_view parent_key, std::string key, std::string text,
                        std::string image, std::string selected_image) {
  const int parent = Find(parent_key);
  if (parent == kNoNode || m_by_key.count(key) != 0) return kNoNode;
  const int id = static_cast<int>(m_nodes.size());
  const int row = ChildCount(parent);
  Notify({TreeChange::kAboutToInsert, id, parent, row});
  NewNode(std::move(key), std::move(text), std::move(image), std::move(selected_image), parent);
  m_nodes[parent].children.push_back(id);
  Notify({TreeChange::kInserted, id, parent, row});
  return id;
}

int TreeModel::NewNode(std::string key, std::string text, std::string image,
                       std::string selected_image, int parent) {
  const int id = static_cast<int>(m_nodes.size());
  TreeNode node;
  node.key = key;
  node.text = std::move(text);
  node.image = std::move(image);
  node.selected_image = std::move(selected_image);
  node.parent = parent;
  m_nodes.push_back(std::move(node));
  m_alive.push_back(true);
  m_row.push_back(parent == kNoNode ? static_cast<int>(m_roots.size()) : ChildCount(parent));
  m_by_key.emplace(std::move(key), id);
  ++m_live;
  if (!m_live_order_stale && !m_live_order.empty()) m_live_order.push_back(id);
  return id;
}

void TreeModel::Remove(int node) {
  if (!IsValid(node)) return;
  const int parent = m_nodes[node].parent;
  const int row = m_row[node];
  Notify({TreeChange::kAboutToRemove, node, parent, row});

  std::vector<int>& siblings = SiblingsOf(node);
  siblings.erase(siblings.begin() + row);
  for (int i = row; i < static_cast<int>(siblings.size()); ++i) m_row[siblings[i]] = i;
  const bool selection_lost = m_selected != kNoNode && IsInSubtree(m_selected, node);
  Forget(node);
  m_live_order_stale = true;
  if (selection_lost) m_selected = parent;
  Notify({TreeChange::kRemoved, node, parent, row});
  if (selection_lost && parent != kNoNode) {
    Notify({TreeChange::kChanged, parent, m_nodes[parent].parent, m_row[parent]});
  }
}

void TreeModel::Forget(int node) {
  m_alive[node] = false;
  m_by_key.erase(m_nodes[node].key);
  --m_live;
  for (int child : m_nodes[node].children) Forget(child);
}

void TreeModel::Clear() {
  m_nodes.clear();
  m_alive.clear();
  m_row.clear();
  m_roots.clear();
  m_by_key.clear();
  m_live_order.clear();
  m_live_order_stale = false;
  m_live = 0;
  m_selected = kNoNode;
  Notify({TreeChange::kReset});
}

// --- Reading ----------------------------------------------------------------

int TreeModel::Find(std::string_view key) const {
  const auto found = m_by_key.find(key);
  return found == m_by_key.end() ? kNoNode : found->second;
}

bool TreeModel::IsValid(int node) const {
  return node >= 0 && node < static_cast<int>(m_nodes.size()) && m_alive[node];
}

int TreeModel::NodeAt(int position) const {
  if (position < 1 || position > m_live) return kNoNode;
  // Until a node is removed, ids are exactly the order of addition.
  if (m_live == static_cast<int>(m_nodes.size())) return position - 1;
  if (m_live_order_stale || m_live_order.empty()) {
    m_live_order = Nodes();
    m_live_order_stale = false;
  }
  return m_live_order[position - 1];
}

std::vector<int> TreeModel::Nodes() const {
  std::vector<int> live;
  live.reserve(m_live);
  for (int id = 0; id < static_cast<int>(m_nodes.size()); ++id) {
    if (m_alive[id]) live.push_back(id);
  }
  return live;
}

int TreeModel::RowOf(int node) const { return IsValid(node) ? m_row[node] : -1; }

std::string TreeModel::FullPath(int node) const {
  if (!IsValid(node)) return {};
  std::vector<int> chain;
  for (int id = node; id != kNoNode; id = m_nodes[id].parent) chain.push_back(id);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it != chain.rbegin()) path += '\\';
    path += m_nodes[*it].text;
  }
  return path;
}

// --- Changing ---------------------------------------------------------------

void TreeModel::SetText(int node, std::string text) {
  if (!IsValid(node)) return;
  m_nodes[node].text = std::move(text);
  Notify({TreeChange::kChanged, node, m_nodes[node].parent, m_row[node]});
}

bool TreeModel::SetKey(int node, std::string key) {
  if (!IsValid(node)) return false;
  if (m_nodes[node].key == key) return true;
  if (m_by_key.count(key) != 0) return false;
  m_by_key.erase(m_nodes[node].key);
  m_by_key.emplace(key, node);
  m_nodes[node].key = std::move(key);
  return true;
}

void TreeModel::SetImages(int node, std::string image, std::string selected_image) {
  if (!IsValid(node)) return;
  m_nodes[node].image = std::move(image);
  m_nodes[node].selected_image = std::move(selected_image);
  Notify({TreeChange::kChanged, node, m_nodes[node].parent, m_row[node]});
}

void TreeModel::Expand(int node, bool expanded) {
  if (!IsValid(node) || m_nodes[node].expanded == expanded) return;
  m_nodes[node].expanded = expanded;
  Notify({TreeChange::kChanged, node, m_nodes[node].parent, m_row[node]});
}

void TreeModel::SortChildren(int node) {
  if (!IsValid(node)) return;
  std::vector<int>& children = m_nodes[node].children;
  std::stable_sort(children.begin(), children.end(), [this](int a, int b) {
    return CompareNoCase(m_nodes[a].text, m_nodes[b].text) < 0;
  });
  for (int i = 0; i < static_cast<int>(children.size()); ++i) m_row[children[i]] = i;
  Notify({TreeChange::kLayout, node, m_nodes[node].parent, m_row[node]});
}

// --- Selection --------------------------------------------------------------

void TreeModel::Select(int node) {
  if (node != kNoNode && !IsValid(node)) return;
  if (node == m_selected) return;
  const int previous = m_selected;
  m_selected = node;
  // The selected image shows on the newly selected node only, so both change.
  if (previous != kNoNode) {
    Notify({TreeChange::kChanged, previous, m_nodes[previous].parent, m_row[previous]});
  }
  if (node != kNoNode) Notify({TreeChange::kChanged, node, m_nodes[node].parent, m_row[node]});
}

// --- Helpers ----------------------------------------------------------------

void TreeModel::Notify(TreeChange change) const {
  if (m_batch_depth > 0 || !m_listener) return;
  m_listener(change);
}

bool TreeModel::IsInSubtree(int node, int top) const {
  for (int id = node; id != kNoNode; id = m_nodes[id].parent) {
    if (id == top) return true;
  }
  return false;
}

std::vector<int>& TreeModel::SiblingsOf(int node) {
  const int parent = m_nodes[node].parent;
  return parent == kNoNode ? m_roots : m_nodes[parent].children;
}

}  // namespace tallymere
