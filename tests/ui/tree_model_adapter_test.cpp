#include "ui/qt/tree_model_adapter.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "ui/qt/icon_provider.h"

namespace tallymere {
namespace {

using Tester = QAbstractItemModelTester;

void AddFolders(TreeModel& tree, const std::string& parent, int count) {
  for (int i = 0; i < count; ++i) {
    const std::string name = "F" + std::to_string(count - i);
    tree.AddChild(parent, parent + name + "\\", name, "fclosed", "fopen");
  }
}

QImage Picture(const QVariant& icon) { return icon.value<QIcon>().pixmap(16, 16).toImage(); }

TEST(TreeModelAdapterTest, TesterAcceptsEveryKindOfTreeChange) {
  TreeModel tree;
  TreeModelAdapter adapter(tree);
  Tester tester(&adapter, Tester::FailureReportingMode::Fatal);
  QTreeView view;
  view.setModel(&adapter);

  tree.AddRoot("Untitled.mpd", "Untitled.mpd", "mycomp", "mycomp");
  tree.AddChild("Untitled.mpd", "C:\\", "C:\\", "hard", "hard");
  tree.AddChild("Untitled.mpd", "D:\\", "D:\\", "cdrom", "cdrom");
  AddFolders(tree, "C:\\", 5);
  AddFolders(tree, "C:\\F3\\", 3);
  view.expandAll();
  tree.SetText(tree.Find("C:\\"), "C:");
  tree.SetImages(tree.Find("Untitled.mpd"), "datafile", "datafile");
  tree.Expand(tree.Find("C:\\F3\\"));
  tree.Select(tree.Find("C:\\F3\\F1\\"));
  tree.SortChildren(tree.Find("C:\\"));
  tree.SortChildren(tree.Find("C:\\F3\\"));
  tree.Remove(tree.Find("C:\\F3\\"));  // with its children and the selected node
  tree.Remove(tree.Find("D:\\"));
  {
    TreeModel::BatchUpdate batch(tree);
    AddFolders(tree, "C:\\", 50);
    tree.Remove(tree.Find("C:\\F1\\"));
    AddFolders(tree, "C:\\F2\\", 20);
  }
  tree.Clear();
  tree.AddRoot("New.mpd", "New.mpd", "mycomp", "mycomp");

  ASSERT_EQ(adapter.rowCount(), 1);
  EXPECT_EQ(adapter.index(0, 0).data().toString(), "New.mpd");
  EXPECT_EQ(adapter.rowCount(adapter.index(0, 0)), 0);
}

TEST(TreeModelAdapterTest, IndexesFollowTheirNodesThroughSortsAndRemovals) {
  TreeModel tree;
  TreeModelAdapter adapter(tree);
  Tester tester(&adapter, Tester::FailureReportingMode::Fatal);
  tree.AddRoot("R", "R", "mycomp", "mycomp");
  AddFolders(tree, "R", 4);  // F4, F3, F2, F1
  AddFolders(tree, "RF4\\", 2);
  const QModelIndex root = adapter.index(0, 0);
  QPersistentModelIndex f4(adapter.index(0, 0, root));
  QPersistentModelIndex f1(adapter.index(3, 0, root));
  QPersistentModelIndex below_f4(adapter.index(1, 0, f4));
  ASSERT_EQ(f4.data().toString(), "F4");

  QSignalSpy layout(&adapter, &QAbstractItemModel::layoutChanged);
  tree.SortChildren(tree.Find("R"));
  EXPECT_EQ(layout.count(), 1);
  EXPECT_EQ(f4.row(), 3);
  EXPECT_EQ(f4.data().toString(), "F4");
  EXPECT_EQ(f1.row(), 0);
  EXPECT_EQ(below_f4.parent(), QModelIndex(f4));
  EXPECT_EQ(adapter.index(0, 0, root).data().toString(), "F1");
  EXPECT_EQ(adapter.NodeOf(f4), tree.Find("RF4\\"));
  EXPECT_EQ(adapter.IndexOf(tree.Find("RF4\\")), QModelIndex(f4));

  QSignalSpy removed(&adapter, &QAbstractItemModel::rowsRemoved);
  tree.Remove(tree.Find("RF4\\"));
  ASSERT_EQ(removed.count(), 1);
  EXPECT_EQ(removed.at(0).at(0).value<QModelIndex>(), root);
  EXPECT_EQ(removed.at(0).at(1).toInt(), 3);
  EXPECT_FALSE(f4.isValid());
  EXPECT_FALSE(below_f4.isValid());
  EXPECT_TRUE(f1.isValid());
  EXPECT_EQ(adapter.NodeOf(adapter.index(0, 0, root)), tree.Find("RF1\\"));
  // Stale ids (a removed node) give nothing rather than another node.
  EXPECT_FALSE(adapter.IndexOf(42).isValid());
}

TEST(TreeModelAdapterTest, ShowsTextsAndTheSelectedImageOfTheSelectedNode) {
  for (const char* name : {"datafile", "mycomp", "floppy", "removable", "hard", "cdrom", "cd",
                           "disk", "fclosed", "fopen", "file", "mp3"}) {
    EXPECT_TRUE(QFile::exists(IconProvider::ResourcePath(name))) << name;
    EXPECT_FALSE(IconProvider::Icon(name).isNull()) << name;
  }
  EXPECT_TRUE(IconProvider::Icon("").isNull());

  TreeModel tree;
  TreeModelAdapter adapter(tree);
  tree.AddRoot("R", "R", "mycomp", "mycomp");
  tree.AddChild("R", "R\\A\\", std::string("Album\0\0\0", 8), "fclosed", "fopen");
  const QModelIndex folder = adapter.index(0, 0, adapter.index(0, 0));
  EXPECT_EQ(folder.data().toString(), "Album");  // up to the first NUL
  EXPECT_EQ(folder.data(TreeModelAdapter::kKeyRole).toString(), "R\\A\\");
  EXPECT_EQ(folder.data(TreeModelAdapter::kNodeRole).toInt(), tree.Find("R\\A\\"));

  const QImage closed = Picture(QVariant(IconProvider::Icon("fclosed")));
  const QImage open = Picture(QVariant(IconProvider::Icon("fopen")));
  ASSERT_NE(closed, open);
  EXPECT_EQ(Picture(folder.data(Qt::DecorationRole)), closed);

  QSignalSpy changed(&adapter, &QAbstractItemModel::dataChanged);
  QSignalSpy selected(&adapter, &TreeModelAdapter::selectedNodeChanged);
  tree.Select(tree.Find("R\\A\\"));
  EXPECT_EQ(Picture(folder.data(Qt::DecorationRole)), open);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(), folder);
  ASSERT_EQ(selected.count(), 1);
  EXPECT_EQ(selected.at(0).at(0).toInt(), tree.Find("R\\A\\"));

  tree.Select(tree.Find("R"));
  EXPECT_EQ(Picture(folder.data(Qt::DecorationRole)), closed);
  EXPECT_EQ(changed.count(), 3);  // the folder and the root
}

}  // namespace
}  // namespace tallymere
