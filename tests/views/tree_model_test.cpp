#include "views/tree_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallymere {
namespace {

// Root, two drives and a small folder tree, as the main window builds them:
// Untitled.mpd holds C: and D:, C: holds Music, Music holds Pop and Rock.
TreeModel SampleTree() {
  TreeModel tree;
  tree.AddRoot("Untitled.mpd", "Untitled.mpd", "datafile", "datafile");
  tree.AddChild("Untitled.mpd", "C:\\", "C:", "hard", "hard");
  tree.AddChild("Untitled.mpd", "D:\\", "D:", "cdrom", "cdrom");
  tree.AddChild("C:\\", "C:\\Music\\", "Music", "fclosed", "fopen");
  tree.AddChild("C:\\Music\\", "C:\\Music\\Pop\\", "Pop", "fclosed", "fopen");
  tree.AddChild("C:\\Music\\", "C:\\Music\\Rock\\", "Rock", "fclosed", "fopen");
  return tree;
}

// The keys of the live nodes in order of addition.
std::string Keys(const TreeModel& tree) {
  std::string keys;
  for (int node : tree.Nodes()) keys += (keys.empty() ? "" : " ") + tree.node(node).key;
  return keys;
}

std::vector<std::string> ChildTexts(const TreeModel& tree, int node) {
  std::vector<std::string> texts;
  for (int child : tree.node(node).children) texts.push_back(tree.node(child).text);
  return texts;
}

TEST(TreeModelTest, AddingRefusesDuplicateKeysAndMissingParents) {
  TreeModel tree = SampleTree();
  ASSERT_EQ(tree.count(), 6);

  EXPECT_EQ(tree.AddRoot("Untitled.mpd", "again", "mycomp", "mycomp"), TreeModel::kNoNode);
  // A key is unique in the whole tree, not only among siblings.
  EXPECT_EQ(tree.AddChild("D:\\", "C:\\Music\\", "Music", "fclosed", "fopen"), TreeModel::kNoNode);
  EXPECT_EQ(tree.AddChild("E:\\", "E:\\Films\\", "Films", "fclosed", "fopen"), TreeModel::kNoNode);
  EXPECT_EQ(Keys(tree), "Untitled.mpd C:\\ D:\\ C:\\Music\\ C:\\Music\\Pop\\ C:\\Music\\Rock\\");
  EXPECT_EQ(tree.roots().size(), 1u);

  const int added = tree.AddChild("D:\\", "D:\\MyCD\\", "MyCD", "cdkey", "cdopen");
  ASSERT_NE(added, TreeModel::kNoNode);
  const TreeNode& node = tree.node(added);
  EXPECT_EQ(node.key + " " + node.text + " " + node.image + " " + node.selected_image,
            "D:\\MyCD\\ MyCD cdkey cdopen");
  EXPECT_EQ(node.parent, tree.Find("D:\\"));
  EXPECT_FALSE(node.expanded);
  EXPECT_EQ(tree.RowOf(added), 0);
  EXPECT_EQ(tree.RowOf(tree.Find("C:\\Music\\Rock\\")), 1);
  EXPECT_EQ(tree.ChildCount(tree.Find("C:\\Music\\")), 2);
}

TEST(TreeModelTest, NodeAtCountsLiveNodesInOrderOfAddition) {
  TreeModel tree = SampleTree();
  EXPECT_EQ(tree.NodeAt(1), tree.Find("Untitled.mpd"));
  EXPECT_EQ(tree.NodeAt(2), tree.Find("C:\\"));  // the first drive
  EXPECT_EQ(tree.NodeAt(6), tree.Find("C:\\Music\\Rock\\"));
  EXPECT_EQ(tree.NodeAt(0), TreeModel::kNoNode);
  EXPECT_EQ(tree.NodeAt(7), TreeModel::kNoNode);

  tree.Remove(tree.Find("C:\\"));
  EXPECT_EQ(tree.count(), 2);
  EXPECT_EQ(tree.NodeAt(2), tree.Find("D:\\"));
  EXPECT_EQ(tree.NodeAt(3), TreeModel::kNoNode);

  // A node added after a removal comes last, and its id is a fresh slot.
  const int added = tree.AddChild("D:\\", "D:\\MyCD\\", "MyCD", "cd", "cd");
  EXPECT_EQ(tree.NodeAt(3), added);
  EXPECT_EQ(tree.Nodes(), (std::vector<int>{tree.Find("Untitled.mpd"), tree.Find("D:\\"), added}));
  EXPECT_EQ(added, 6);
}

TEST(TreeModelTest, RemovingASubtreeForgetsItsKeysAndFixesTheSelection) {
  TreeModel tree = SampleTree();
  const int c = tree.Find("C:\\");
  const int d = tree.Find("D:\\");
  const int music = tree.Find("C:\\Music\\");
  const int pop = tree.Find("C:\\Music\\Pop\\");
  tree.Select(pop);

  tree.Remove(music);
  EXPECT_EQ(Keys(tree), "Untitled.mpd C:\\ D:\\");
  EXPECT_FALSE(tree.IsValid(music) || tree.IsValid(pop));
  EXPECT_EQ(tree.Find("C:\\Music\\"), TreeModel::kNoNode);
  EXPECT_EQ(tree.RowOf(pop), -1);
  EXPECT_TRUE(tree.node(c).children.empty());
  // The selected node went with its folder: the drive above takes over.
  EXPECT_EQ(tree.selected(), c);
  // Removed keys may be used again.
  EXPECT_NE(tree.AddChild("C:\\", "C:\\Music\\", "Music", "fclosed", "fopen"), TreeModel::kNoNode);

  // Removing a node before its siblings moves them up.
  tree.Select(d);
  tree.Remove(c);
  EXPECT_EQ(tree.RowOf(d), 0);
  EXPECT_EQ(tree.selected(), d);  // a selection outside the subtree stays

  tree.Remove(c);  // already gone: nothing happens
  tree.Remove(42);
  EXPECT_EQ(Keys(tree), "Untitled.mpd D:\\");

  tree.Remove(tree.Find("Untitled.mpd"));
  EXPECT_EQ(tree.count(), 0);
  EXPECT_EQ(tree.selected(), TreeModel::kNoNode);
  EXPECT_TRUE(tree.roots().empty());

  // Clear forgets everything, slots included.
  tree = SampleTree();
  tree.Select(tree.Find("C:\\"));
  tree.Clear();
  EXPECT_EQ(tree.count(), 0);
  EXPECT_TRUE(tree.roots().empty());
  EXPECT_EQ(tree.selected(), TreeModel::kNoNode);
  EXPECT_EQ(tree.Find("C:\\"), TreeModel::kNoNode);
  EXPECT_EQ(tree.NodeAt(1), TreeModel::kNoNode);
  EXPECT_EQ(tree.AddRoot("New.mpd", "New.mpd", "mycomp", "mycomp"), 0);
}

TEST(TreeModelTest, SortChildrenIgnoresLetterCaseAndKeepsTies) {
  TreeModel tree;
  tree.AddRoot("R", "R", "mycomp", "mycomp");
  for (const char* text : {"beta", "Alpha", "Beta", "alpha2", "_under", "10", "9"}) {
    tree.AddChild("R", std::string("R\\") + text, text, "fclosed", "fopen");
  }
  tree.AddChild("R\\beta", "R\\beta\\z", "z", "fclosed", "fopen");
  tree.AddChild("R\\beta", "R\\beta\\a", "a", "fclosed", "fopen");
  const int root = tree.Find("R");

  tree.SortChildren(root);
  // Letters are compared folded to lower case (0x61 and up), so "_" (0x5F)
  // comes before them and digits before that; "10" sorts before "9" as text.
  EXPECT_EQ(ChildTexts(tree, root),
            (std::vector<std::string>{"10", "9", "_under", "Alpha", "alpha2", "beta", "Beta"}));
  for (int row = 0; row < tree.ChildCount(root); ++row) {
    EXPECT_EQ(tree.RowOf(tree.node(root).children[row]), row);
  }
  // Only the children move; the grandchildren keep their order.
  EXPECT_EQ(ChildTexts(tree, tree.Find("R\\beta")), (std::vector<std::string>{"z", "a"}));
  // Keys and the order of addition are untouched.
  EXPECT_EQ(tree.NodeAt(2), tree.Find("R\\beta"));
}

TEST(TreeModelTest, FullPathJoinsTextsAndSetKeyRefusesAKeyInUse) {
  TreeModel tree = SampleTree();
  EXPECT_EQ(tree.FullPath(tree.Find("C:\\Music\\Pop\\")), "Untitled.mpd\\C:\\Music\\Pop");
  EXPECT_EQ(tree.FullPath(tree.Find("Untitled.mpd")), "Untitled.mpd");
  tree.SetText(tree.Find("C:\\Music\\"), "Songs");
  EXPECT_EQ(tree.FullPath(tree.Find("C:\\Music\\Pop\\")), "Untitled.mpd\\C:\\Songs\\Pop");
  EXPECT_EQ(tree.FullPath(99), "");

  const int c = tree.Find("C:\\");
  EXPECT_FALSE(tree.SetKey(c, "D:\\"));
  EXPECT_EQ(tree.node(c).key, "C:\\");
  EXPECT_EQ(tree.Find("D:\\"), c + 1);
  EXPECT_TRUE(tree.SetKey(c, "C:\\"));  // its own key is not a collision

  EXPECT_TRUE(tree.SetKey(c, "X:\\"));
  EXPECT_EQ(tree.Find("C:\\"), TreeModel::kNoNode);
  EXPECT_EQ(tree.Find("X:\\"), c);
  EXPECT_NE(tree.AddChild("X:\\", "X:\\New\\", "New", "fclosed", "fopen"), TreeModel::kNoNode);
  EXPECT_EQ(tree.AddChild("C:\\", "C:\\Old\\", "Old", "fclosed", "fopen"), TreeModel::kNoNode);
  // The freed key can be taken by another node.
  EXPECT_TRUE(tree.SetKey(tree.Find("D:\\"), "C:\\"));
}

TEST(TreeModelTest, FindFollowsNewKeysAndRemovedSubtreesByAnyView) {
  TreeModel tree = SampleTree();
  const int music = tree.Find("C:\\Music\\");
  // A view into a longer text, as a folder key's levels are looked up.
  const std::string key = "C:\\Music\\Pop\\Song.mp3";
  EXPECT_EQ(tree.Find(std::string_view(key).substr(0, 9)), music);
  EXPECT_EQ(tree.Find(std::string_view(key).substr(0, 13)), tree.Find("C:\\Music\\Pop\\"));
  EXPECT_EQ(tree.Find(std::string_view(key).substr(0, 12)), TreeModel::kNoNode);

  ASSERT_TRUE(tree.SetKey(music, "C:\\Songs\\"));
  const int live = tree.AddChild("C:\\Songs\\", "C:\\Songs\\Live\\", "Live", "fclosed", "fopen");
  ASSERT_NE(live, TreeModel::kNoNode);
  const int again = tree.AddChild("C:\\", "C:\\Music\\", "Music", "fclosed", "fopen");
  ASSERT_NE(again, TreeModel::kNoNode);
  EXPECT_EQ(tree.Find("C:\\Music\\"), again);

  // Every key below a removed node goes with it, renamed ones included.
  tree.Remove(music);
  for (const char* gone :
       {"C:\\Songs\\", "C:\\Songs\\Live\\", "C:\\Music\\Pop\\", "C:\\Music\\Rock\\"}) {
    EXPECT_EQ(tree.Find(gone), TreeModel::kNoNode) << gone;
  }
  EXPECT_EQ(tree.Find("C:\\Music\\"), again);
  EXPECT_EQ(tree.Find("D:\\"), 2);
}

TEST(TreeModelTest, NotificationsAnnounceEachChangeAndABatchAsOneReset) {
  TreeModel tree;
  std::vector<std::string> seen;  // "kind node parent row"
  int count_when_about_to_insert = -1;
  bool valid_when_about_to_remove = false;
  tree.set_listener([&](const TreeChange& change) {
    static const char* kKinds[] = {"reset",   "about-insert", "inserted", "about-remove",
                                   "removed", "changed",      "layout"};
    seen.push_back(std::string(kKinds[change.kind]) + " " + std::to_string(change.node) + " " +
                   std::to_string(change.parent) + " " + std::to_string(change.row));
    if (change.kind == TreeChange::kAboutToInsert) count_when_about_to_insert = tree.count();
    if (change.kind == TreeChange::kAboutToRemove) {
      valid_when_about_to_remove = tree.IsValid(change.node);
    }
  });

  const int root = tree.AddRoot("R", "R", "mycomp", "mycomp");
  EXPECT_EQ(count_when_about_to_insert, 0);  // announced before the node exists
  const int a = tree.AddChild("R", "R\\a", "a", "fclosed", "fopen");
  const int b = tree.AddChild("R", "R\\b", "b", "fclosed", "fopen");
  tree.AddChild("R", "R\\a", "again", "fclosed", "fopen");  // refused: silent
  ASSERT_EQ(std::vector<int>({root, a, b}), std::vector<int>({0, 1, 2}));
  using Texts = std::vector<std::string>;
  EXPECT_EQ(seen, (Texts{"about-insert 0 -1 0", "inserted 0 -1 0", "about-insert 1 0 0",
                         "inserted 1 0 0", "about-insert 2 0 1", "inserted 2 0 1"}));

  seen.clear();
  tree.SetText(b, "B");
  tree.Expand(root);
  tree.Expand(root);  // no change, no announcement
  tree.Select(a);
  tree.Select(b);  // both lose or gain the selected image
  tree.SortChildren(root);
  EXPECT_EQ(seen, (Texts{"changed 2 0 1", "changed 0 -1 0", "changed 1 0 0", "changed 1 0 0",
                         "changed 2 0 1", "layout 0 -1 0"}));

  seen.clear();
  tree.Remove(b);
  EXPECT_TRUE(valid_when_about_to_remove);
  // The parent shows the selected image now.
  EXPECT_EQ(seen, (Texts{"about-remove 2 0 1", "removed 2 0 1", "changed 0 -1 0"}));

  seen.clear();
  {
    TreeModel::BatchUpdate outer(tree);
    tree.AddChild("R", "R\\c", "c", "fclosed", "fopen");
    {
      TreeModel::BatchUpdate inner(tree);
      tree.Remove(a);
      tree.SortChildren(root);
    }
    EXPECT_TRUE(seen.empty());  // the inner end is not the end of the work
    tree.SetText(root, "S");
  }
  tree.Clear();
  EXPECT_EQ(seen, (Texts{"reset -1 -1 -1", "reset -1 -1 -1"}));
}

}  // namespace
}  // namespace tallymere
