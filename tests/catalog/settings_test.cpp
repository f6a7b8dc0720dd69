#include "catalog/settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

TEST(SettingsTest, FirstStartCreatesTheDefaultsSavedOnesReadBackBadLinesTakeDefaults) {
  TempFolder folder;
  const testing::TestPlatform platform(folder.path());
  Settings settings;
  settings.txtType = "changed";
  ASSERT_TRUE(LoadSettings(platform, &settings).ok());
  EXPECT_EQ(settings, Settings());
  EXPECT_EQ(ReadFileBytes(folder.Path("Data/lists.dat")),
            "False\r\nTrue\r\n0\r\n1\r\n1\r\n1\r\n1\r\nmp3\r\n0\r\n0\r\n11599871\r\n13828095\r\n"
            "89\r\n1\r\nLeft\r\n75\r\n");

  settings.chkSize = 0;
  settings.txtType = "wav";
  settings.cmbAlign = "Center";
  settings.PGcolor = 255;
  ASSERT_TRUE(SaveSettings(platform, settings).ok());
  Settings loaded;
  ASSERT_TRUE(LoadSettings(platform, &loaded).ok());
  EXPECT_EQ(loaded, settings);

  // Short, long and damaged files take defaults line by line.
  folder.WriteFile("Data/lists.dat", "True\r\nFalse\r\n 1 \r\nabc\r\n0\r\n");
  settings = Settings();
  ASSERT_TRUE(LoadSettings(platform, &settings).ok());
  EXPECT_EQ(settings.optOne, "True");
  EXPECT_EQ(settings.optSeperate, "False");
  EXPECT_EQ(settings.chkPath, 1);  // blanks around a number are ignored
  EXPECT_EQ(settings.chkSize, 1);  // not a number: the default
  EXPECT_EQ(settings.chkBitRate, 0);
  EXPECT_EQ(settings.txtType, "mp3");  // missing lines: defaults
  EXPECT_EQ(settings.txtCol, 75);

  std::vector<std::string> lines = SettingsLines(Settings());
  lines[7] = "*.*";
  lines[10] = "255";
  lines[13] = "99999";  // beyond a 16-bit value: the default
  lines.push_back("a seventeenth line");
  lines.push_back("and more");
  Settings long_file = ParseSettings(lines);
  EXPECT_EQ(long_file.txtType, "*.*");
  EXPECT_EQ(long_file.TBcolor, 255);
  EXPECT_EQ(long_file.cmbBW, 1);
  EXPECT_EQ(ParseSettings({}), Settings());
}

}  // namespace
}  // namespace tallymere
