#include "ui/qt/tree_view_sync.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

namespace tallymere {
namespace {

class ShownTree {
 public:
  ShownTree() : m_adapter(m_tree) {
    m_tree.AddRoot("Untitled.mpd", "Untitled.mpd", "datafile", "datafile");
    m_tree.AddChild("Untitled.mpd", "C:\\", "C:", "hard", "hard");
    m_tree.AddChild("Untitled.mpd", "D:\\", "D:", "cdrom", "cdrom");
    m_tree.AddChild("C:\\", "C:\\Music\\", "Music", "fclosed", "fopen");
    m_tree.AddChild("C:\\Music\\", "C:\\Music\\Pop\\", "Pop", "fclosed", "fopen");
    m_tree.Expand(m_tree.Find("Untitled.mpd"));
    m_view.setModel(&m_adapter);
    m_view.resize(300, 400);
    m_view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    m_sync = new TreeViewSync(&m_adapter, &m_view);
  }

  TreeModel& tree() { return m_tree; }
  QTreeView& view() { return m_view; }
  QModelIndex Index(const char* key) { return m_adapter.IndexOf(m_tree.Find(key)); }
  bool Expanded(const char* key) { return m_view.isExpanded(Index(key)); }
  int ViewCurrent() { return m_adapter.NodeOf(m_view.selectionModel()->currentIndex()); }

 private:
  TreeModel m_tree;
  TreeModelAdapter m_adapter;
  QTreeView m_view;
  TreeViewSync* m_sync;  // owned by the view
};

TEST(TreeViewSyncTest, ExpandedStateFollowsBothWaysAndSurvivesRebuilds) {
  ShownTree shown;
  EXPECT_TRUE(shown.Expanded("Untitled.mpd"));  // the model's state wins at the start
  EXPECT_FALSE(shown.Expanded("C:\\"));

  shown.view().expand(shown.Index("C:\\"));
  EXPECT_TRUE(shown.tree().node(shown.tree().Find("C:\\")).expanded);
  shown.view().collapse(shown.Index("Untitled.mpd"));
  EXPECT_FALSE(shown.tree().node(shown.tree().Find("Untitled.mpd")).expanded);

  shown.tree().Expand(shown.tree().Find("Untitled.mpd"));
  shown.tree().Expand(shown.tree().Find("C:\\Music\\"));
  EXPECT_TRUE(shown.Expanded("Untitled.mpd"));
  EXPECT_TRUE(shown.Expanded("C:\\Music\\"));
  shown.tree().Expand(shown.tree().Find("C:\\"), false);
  EXPECT_FALSE(shown.Expanded("C:\\"));

  // A rebuild inside a batch is one reset, which collapses a Qt view; the
  // nodes marked expanded open again.
  {
    TreeModel::BatchUpdate batch(shown.tree());
    shown.tree().AddChild("D:\\", "D:\\MyCD\\", "MyCD", "cd", "cd");
    shown.tree().Expand(shown.tree().Find("D:\\"));
  }
  EXPECT_TRUE(shown.Expanded("Untitled.mpd"));
  EXPECT_TRUE(shown.Expanded("D:\\"));
  EXPECT_TRUE(shown.Expanded("C:\\Music\\"));
  EXPECT_FALSE(shown.Expanded("C:\\"));
}

TEST(TreeViewSyncTest, SelectedNodeFollowsBothWays) {
  ShownTree shown;
  const int c = shown.tree().Find("C:\\");
  const QRect rect = shown.view().visualRect(shown.Index("C:\\"));
  QTest::mouseClick(shown.view().viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_EQ(shown.tree().selected(), c);

  shown.tree().Expand(c);
  const int music = shown.tree().Find("C:\\Music\\");
  shown.tree().Select(music);
  EXPECT_EQ(shown.ViewCurrent(), music);
  EXPECT_TRUE(shown.view().selectionModel()->isSelected(shown.Index("C:\\Music\\")));

  // Removing the selected node selects its parent, in the view as well.
  shown.tree().Remove(music);
  EXPECT_EQ(shown.tree().selected(), c);
  EXPECT_EQ(shown.ViewCurrent(), c);

  shown.tree().SortChildren(shown.tree().Find("Untitled.mpd"));
  EXPECT_EQ(shown.ViewCurrent(), c);

  shown.tree().Select(TreeModel::kNoNode);
  EXPECT_EQ(shown.ViewCurrent(), TreeModel::kNoNode);
  EXPECT_FALSE(shown.view().selectionModel()->hasSelection());
}

}  // namespace
}  // namespace tallymere
