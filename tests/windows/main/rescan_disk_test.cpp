// Rescan Disk: a labelled disk read again, its changes shown, and its
// records replaced where they stand.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/format.h"
#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::Texts;
using testing::UiCall;

// An ID3v1 tag holding only a title: enough for the scan to read a tag.
std::string TaggedAs(const std::string& title) {
  std::string tag = "TAG" + title;
  tag.resize(128, '\0');
  return std::string(200, 'x') + tag;
}

class RescanDiskTest : public testing::CatalogWindowTest {
 protected:
  // Two disks in front of four files of C:, CD1 (of E:) the second of them.
  void CatalogTwoDisks() {
    for (int i = 0; i < 4; ++i) File("c", "Music/c" + std::to_string(i) + ".mp3");
    ScanFolder("C:\\Music");
    File("e", "same.mp3", TaggedAs("Same"));
    File("e", "Songs/gone.mp3");
    File("e", "Songs/old name.mp3");
    File("e", "Songs/grows.mp3", "short");
    File("e", "Songs/retagged.mp3", TaggedAs("Before"));
    File("e", "Songs/touched.mp3");
    AddDisk("E:\\", "CD1");
    File("f", "stick.mp3");
    AddDisk("F:\\", "STICK");
    ui().ClearCalls();
  }
  // The disk changes as a user's stick does between two sessions.
  void ChangeDiskE() {
    std::filesystem::remove(folder().Path("e/Songs/gone.mp3"));
    std::filesystem::rename(folder().Path("e/Songs/old name.mp3"),
                            folder().Path("e/Songs/new name.mp3"));
    File("e", "Songs/grows.mp3", "a good deal longer");
    File("e", "Songs/retagged.mp3", TaggedAs("After!"));
    std::filesystem::last_write_time(
        folder().Path("e/Songs/touched.mp3"),
        std::filesystem::last_write_time(folder().Path("e/Songs/touched.mp3")) -
            std::chrono::hours(50));
    File("e", "Songs/Live/added.mp3");
  }
  void RescanNode(const std::string& key) {
    main().tvAlbum_NodeClick(Node(key));
    main().Run(MainCommand::kRescanDisk);
  }
  Texts Labels() {
    Texts labels;
    main().session().catalog().Walk(
        [&](int, const CatalogRecord& record) { labels.push_back(record.disk_label); });
    return labels;
  }
};

TEST_F(RescanDiskTest, ShowsWhatChangedAndReplacesTheDiskWhereItStands) {
  CatalogTwoDisks();
  ChangeDiskE();
  const CatalogTable before = main().session().catalog();

  // The drive holds a disk of another volume label; No chooses a folder,
  // which is cancelled: nothing happens.
  ui().AnswerMessage(Answer::kNo).AnswerFolder("");
  RescanNode("E:\\CD1\\");
  EXPECT_EQ(Shown(), Texts{"The disk in E: is labelled \"MUSIC99\", not \"CD1\".\nUse the disk in "
                           "E: anyway?|Rescan Disk|question|YesNo"});
  EXPECT_EQ(main().session().catalog(), before);

  // Yes reads it; No to the changes leaves the catalog as it was.
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kYes).AnswerMessage(Answer::kNo);
  RescanNode("E:\\CD1\\");
  EXPECT_EQ(Shown().back(),
            "Disk CD1: 2 files added, 2 removed, 3 changed (size, date or tag). Replace its "
            "records?|Rescan Disk|question|YesNo");
  // Each change says which field went from what to what.
  std::string touched_was;
  before.Walk([&](int, const CatalogRecord& record) {
    if (record.file_name == "touched.mp3") touched_was = record.modified;
  });
  const std::string touched_now = FormatDateTime(*ParseDateTime(touched_was) - 50 * 3600);
  EXPECT_EQ(ui().Messages().back().extra,
            "+ E:\\Songs\\Live\\added.mp3\n"
            "- E:\\Songs\\gone.mp3\n"
            "~ E:\\Songs\\grows.mp3 (size 5 to 18)\n"
            "+ E:\\Songs\\new name.mp3\n"
            "- E:\\Songs\\old name.mp3\n"
            "~ E:\\Songs\\retagged.mp3 (title \"Before\" to \"After!\")\n"
            "~ E:\\Songs\\touched.mp3 (date " +
                touched_was + " to " + touched_now + ")\n");
  EXPECT_EQ(main().session().catalog(), before);

  // Yes: the disk's new records stand where its old ones stood.
  ui().AnswerMessage(Answer::kYes).AnswerMessage(Answer::kYes);
  RescanNode("E:\\CD1\\");
  EXPECT_EQ(Labels(), (Texts{"STICK", "CD1", "CD1", "CD1", "CD1", "CD1", "CD1", "C:\\", "C:\\",
                             "C:\\", "C:\\"}));
  const CatalogTable& after = main().session().catalog();
  for (int i : {1, 8, 9, 10, 11}) EXPECT_EQ(after.Record(i), before.Record(i)) << i;
  EXPECT_TRUE(IsTrailer(after.Record(12)));
  EXPECT_EQ(after.Record(2).path + after.Record(2).file_name, "E:\\same.mp3");
  EXPECT_STREQ(after.Record(2).title.c_str(), "Same");
  EXPECT_TRUE(main().session().changed());
  // The tree and the list show the disk again.
  EXPECT_NE(Node("E:\\CD1\\Songs\\Live\\"), TreeModel::kNoNode);
  EXPECT_EQ(main().tvAlbum().selected(), Node("E:\\CD1\\"));
  EXPECT_EQ(ListNames(), Texts{"same.mp3"});
  EXPECT_EQ(main().session().catalog().FileCount(), 11);
  EXPECT_EQ(ui().Status(2), "Total: 1 files");  // those of the disk's top folder

  // Read again, the disk has nothing new.
  ui().AnswerMessage(Answer::kYes);
  RescanNode("E:\\CD1\\");
  EXPECT_EQ(ui().Messages().back().text, "Disk CD1: nothing changed.");
}

TEST_F(RescanDiskTest, ReadsADiskMountedElsewhereAndRefusesWhatCannotReplaceIt) {
  CatalogTwoDisks();
  // The stick is out; it is mounted at a folder of D: instead.
  std::filesystem::rename(folder().Path("f"), folder().Path("d/mnt"));
  File("d", "mnt/more.mp3");
  ui().AnswerFolder("D:\\mnt").AnswerMessage(Answer::kYes);
  RescanNode("F:\\STICK\\");
  EXPECT_EQ(ui().Messages().back().text,
            "Disk STICK: 1 file added, 0 removed, 0 changed (size, date or tag). Replace its "
            "records?");
  EXPECT_EQ(ui().Messages().back().extra, "+ F:\\more.mp3\n");
  const CatalogRecord& first = main().session().catalog().Record(1);
  EXPECT_EQ(first.disk_label + "|" + first.path + first.file_name, "STICK|F:\\more.mp3");
  EXPECT_EQ(
      main().session().catalog().Record(2).path + main().session().catalog().Record(2).file_name,
      "F:\\stick.mp3");

  // A folder without a file of the type changes nothing.
  const CatalogTable before = main().session().catalog();
  File("d", "empty/readme.txt");
  ui().ClearCalls();
  ui().AnswerFolder("D:\\empty");
  RescanNode("F:\\STICK\\");
  EXPECT_EQ(ui().MessageTexts(), Texts{"The disk \"STICK\" could not be read: No file of the type "
                                       "\"mp3\" was found in D:\\empty\\\nThe records of \"STICK\" "
                                       "were not changed."});
  EXPECT_EQ(main().session().catalog(), before);

  // Only a disk's label can be rescanned, and only it enables the command.
  main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  EXPECT_FALSE(main().commands().Enabled(MainCommand::kRescanDisk));
  EXPECT_FALSE(main().commands().Enabled(MainCommand::kPop2Rescan));
  main().Run(MainCommand::kRescanDisk);
  EXPECT_EQ(ui().MessageTexts().back(), "Please select a disk label.");
  main().tvAlbum_NodeClick(Node("F:\\STICK\\"));
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kPop2Rescan));
}

}  // namespace
}  // namespace tallymere
