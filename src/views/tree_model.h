#pragma once
// The tree view as data: nodes with a unique key, a shown text, an image and a
// selected image, a parent and ordered children. The main window's tree
// `tvAlbum` is one; the Qt layer shows it through an item-model adapter.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tallymere {

struct TreeNode {
  std::string key;
  std::string text;
  std::string image;
  std::string selected_image;
  int parent = -1;            // node id, -1 for a top-level node
  std::vector<int> children;  // node ids in display order
  bool expanded = false;
};

// What changed, for views. Bulk work inside a BatchUpdate is announced once
// as a reset. Insertions and removals come in pairs, the "about to" half
// before the model changes, so a view can prepare; kChanged follows a change
// of a node's text, images, expanded state or selection. kLayout follows
// SortChildren: the children of `node` were reordered, every node keeps its id.
struct TreeChange {
  enum Kind { kReset, kAboutToInsert, kInserted, kAboutToRemove, kRemoved, kChanged, kLayout };
  Kind kind = kReset;
  int node = -1;    // the node concerned (the inserted or removed node)
  int parent = -1;  // its parent, -1 for top level
  int row = -1;     // its position among the parent's children
};

class TreeModel {
 public:
  static constexpr int kNoNode = -1;

  // --- Building ---------------------------------------------------------------
  // A top-level node; kNoNode when the key exists already.
  int AddRoot(std::string key, std::string text, std::string image, std::string selected_image);
  // A child at the end of the parent's children; kNoNode, and nothing added,
  // when the parent does not exist or the key exists already.
  int AddChild(std::string_view parent_key, std::string key, std::string text, std::string image,
               std::string selected_image);
  // Removes the node with everything below it. When the selected node goes,
  // its parent becomes the selected node (none for a top-level node).
  void Remove(int node);
  void Clear();

  // --- Reading ----------------------------------------------------------------
  int Find(std::string_view key) const;  // kNoNode when absent
  // True for the id of a live node; false for removed ones and ids out of range.
  bool IsValid(int node) const;
  const TreeNode& node(int id) const { return m_nodes[id]; }
  // Live nodes.
  int count() const { return m_live; }
  // The n-th live node (1-based) in the order nodes were added; kNoNode past the end.
  int NodeAt(int position) const;
  // Live nodes in the order they were added.
  std::vector<int> Nodes() const;
  const std::vector<int>& roots() const { return m_roots; }
  int ChildCount(int node) const { return static_cast<int>(m_nodes[node].children.size()); }
  // Position of the node among its parent's children (or among the roots);
  // -1 for an id that is not live.
  int RowOf(int node) const;
  // The texts from the top-level node down to the node, joined by "\".
  std::string FullPath(int node) const;

  // --- Changing ---------------------------------------------------------------
  void SetText(int node, std::string text);
  // The key index follows; false (and nothing changed) when the key is taken.
  bool SetKey(int node, std::string key);
  void SetImages(int node, std::string image, std::string selected_image);
  void Expand(int node, bool expanded = true);
  // Children in ascending order of their texts, letter case ignored.
  void SortChildren(int node);

  // --- Selection --------------------------------------------------------------
  int selected() const { return m_selected; }
  // kNoNode clears the selection; an id that is not live is ignored.
  void Select(int node);

  // --- Views ------------------------------------------------------------------
  void set_listener(std::function<void(const TreeChange&)> listener) {
    m_listener = std::move(listener);
  }
  // While one exists, changes are not announced one by one; its end announces
  // a reset. Nests.
  class BatchUpdate {
   public:
    explicit BatchUpdate(TreeModel& model) : m_model(model) { ++m_model.m_batch_depth; }
    ~BatchUpdate();
    BatchUpdate(const BatchUpdate&) = delete;
    BatchUpdate& operator=(const BatchUpdate&) = delete;

   private:
    TreeModel& m_model;
  };

 private:
  void Notify(TreeChange change) const;
  int NewNode(std::string key, std::string text, std::string image, std::string selected_image,
              int parent);
  void Forget(int node);  // drops the node and its subtree from the indexes
  bool IsInSubtree(int node, int top) const;
  std::vector<int>& SiblingsOf(int node);

  std::vector<TreeNode> m_nodes;  // by id; removed nodes keep their slot
  std::vector<bool> m_alive;
  std::vector<int> m_row;  // by id: position among the siblings, so views find rows quickly
  // Live ids in order of addition, rebuilt on demand once a node was removed.
  mutable std::vector<int> m_live_order;
  mutable bool m_live_order_stale = false;
  std::vector<int> m_roots;
  // Looked up with the views callers hold, so building a tree of thousands of
  // folders makes no string per lookup.
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const {
      return std::hash<std::string_view>{}(key);
    }
  };
  std::unordered_map<std::string, int, KeyHash, std::equal_to<>> m_by_key;
  int m_live = 0;
  int m_selected = kNoNode;
  int m_batch_depth = 0;
  std::function<void(const TreeChange&)> m_listener;
};

}  // namespace tallymere
