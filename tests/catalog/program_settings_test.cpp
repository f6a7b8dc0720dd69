#include "catalog/program_settings.h"

#include <gtest/gtest.h>

#include "support/faulty_platform.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;

TEST(ProgramSettingsTest, SavedSettingsReadBackAndLinesOfOthersAreKept) {
  testing::TempFolder folder;
  const testing::TestPlatform platform(folder.path());
  const std::string file = folder.Path("config/settings.conf");
  std::vector<std::string> problems;
  // No file yet: the defaults, and no folder is made by reading.
  EXPECT_TRUE(ReadProgramSettings(platform, &problems).id3v1_code_page.automatic());
  EXPECT_TRUE(problems.empty());

  ProgramSettings settings;
  settings.id3v1_code_page = *CodePage::Named("KOI8-R");
  settings.shelf_folders = {"/home/me/Catalogs", "/media/disk/Old = catalogs"};
  settings.shelf_subfolders = true;
  settings.show_disk_labels = true;
  ASSERT_TRUE(SaveProgramSettings(platform, settings).ok());
  EXPECT_EQ(ReadFileBytes(file),
            "Id3v1Encoding=KOI8-R\nShelfFolder=/home/me/Catalogs\n"
            "ShelfFolder=/media/disk/Old = catalogs\nShelfSubfolders=1\nShowDiskLabels=1\n");
  const ProgramSettings read = ReadProgramSettings(platform, &problems);
  EXPECT_EQ(read.id3v1_code_page.name(), "KOI8-R");
  EXPECT_EQ(read.shelf_folders, settings.shelf_folders);
  EXPECT_TRUE(read.shelf_subfolders);
  EXPECT_TRUE(read.show_disk_labels);

  // A newer version's line and a comment survive a save; CR LF is read too.
  folder.WriteFile("config/settings.conf", "# mine\r\nShelf=/media/disks\r\nId3v1Encoding=GBK\r\n");
  EXPECT_EQ(ReadProgramSettings(platform, &problems).id3v1_code_page.name(), "GBK");
  ASSERT_TRUE(SaveProgramSettings(platform, ProgramSettings()).ok());
  EXPECT_EQ(ReadFileBytes(file),
            "# mine\nShelf=/media/disks\nId3v1Encoding=Automatic\nShelfSubfolders=0\n"
            "ShowDiskLabels=0\n");
  EXPECT_TRUE(problems.empty());
}

TEST(ProgramSettingsTest, LeaveOutRulesAreKeptOnlyWhenChangedAndAnEmptiedListStaysEmpty) {
  testing::TempFolder folder;
  const testing::TestPlatform platform(folder.path());
  const std::string file = folder.Path("config/settings.conf");
  std::vector<std::string> problems;
  EXPECT_EQ(ReadProgramSettings(platform, &problems).leave_out, DefaultLeaveOutRules());

  ProgramSettings settings;
  settings.leave_out = {"*.tmp", "!keep.tmp"};
  settings.include_hidden = true;
  settings.shelf_folders = {"/home/me/Catalogs"};
  // Writing ID3v2 tags is on unless a line turns it off.
  EXPECT_TRUE(ReadProgramSettings(platform, &problems).write_id3v2);
  settings.write_id3v2 = false;
  ASSERT_TRUE(SaveProgramSettings(platform, settings).ok());
  EXPECT_EQ(ReadFileBytes(file),
            "Id3v1Encoding=Automatic\nShelfFolder=/home/me/Catalogs\nShelfSubfolders=0\n"
            "ShowDiskLabels=0\nLeaveOutSet=1\nLeaveOut=*.tmp\nLeaveOut=!keep.tmp\n"
            "IncludeHidden=1\nWriteId3v2=0\n");
  ProgramSettings read = ReadProgramSettings(platform, &problems);
  EXPECT_EQ(read.leave_out, settings.leave_out);
  EXPECT_TRUE(read.include_hidden);
  EXPECT_FALSE(read.write_id3v2);
  settings.write_id3v2 = true;

  // Emptied, the rules and the shelf stay empty: their old lines go.
  settings.leave_out.clear();
  settings.shelf_folders.clear();
  settings.include_hidden = false;
  ASSERT_TRUE(SaveProgramSettings(platform, settings).ok());
  read = ReadProgramSettings(platform, &problems);
  EXPECT_TRUE(read.leave_out.empty());
  EXPECT_TRUE(read.shelf_folders.empty());
  EXPECT_FALSE(read.include_hidden);
  EXPECT_TRUE(problems.empty());
}

TEST(ProgramSettingsTest, WhatCannotBeUsedIsSaidAndTheDefaultStands) {
  testing::TempFolder folder;
  const testing::TestPlatform platform(folder.path());
  const std::string file = folder.Path("config/settings.conf");
  folder.WriteFile("config/settings.conf", "Id3v1Encoding=Klingon\n");
  std::vector<std::string> problems;
  EXPECT_TRUE(ReadProgramSettings(platform, &problems).id3v1_code_page.automatic());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0],
            "The ID3v1 text encoding \"Klingon\" is not one Tallymere knows; Automatic is used.");

  // A file that exists but cannot be read is never overwritten: its other
  // lines would be lost.
  testing::FaultyPlatform faulty(platform);
  faulty.Fail(testing::PlatformCall::kReadFile, StatusCode::kNoAccess, 1, "settings.conf");
  problems.clear();
  ReadProgramSettings(faulty, &problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("; Tallymere uses its default settings."), std::string::npos);
  faulty.Fail(testing::PlatformCall::kReadFile, StatusCode::kNoAccess, 1, "settings.conf");
  EXPECT_FALSE(SaveProgramSettings(faulty, ProgramSettings()).ok());
  EXPECT_EQ(ReadFileBytes(file), "Id3v1Encoding=Klingon\n");
}

}  // namespace
}  // namespace tallymere
