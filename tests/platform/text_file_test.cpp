#include "platform/text_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;

class TextFileTest : public ::testing::Test {
 protected:
  testing::TestPlatform m_platform;
};

TEST_F(TextFileTest, WritesWindows1252WhenEveryLineFits) {
  testing::TempFolder folder;
  const std::string path = folder.Path("Header.txt");
  const std::vector<std::string> lines = {"Caf\xC3\xA9", "", "na\xC3\xAFve \xE2\x82\xAC"};
  ASSERT_TRUE(WriteTextFile(m_platform, path, lines).ok());
  EXPECT_EQ(ReadFileBytes(path), "Caf\xE9\r\n\r\nna\xEFve \x80\r\n");
  EXPECT_EQ(ReadTextLines(m_platform, path).value(), lines);
}

TEST_F(TextFileTest, WritesUtf8WithByteOrderMarkWhenALineDoesNotFit) {
  testing::TempFolder folder;
  const std::string path = folder.Path("list.txt");
  // Japanese does not fit Windows-1252; the raw byte is a file name that is
  // not UTF-8 and must come back unchanged.
  const std::vector<std::string> lines = {"\xE6\x97\xA5\xE6\x9C\xAC", "Caf\xC3\xA9", "raw\xE9"};
  ASSERT_TRUE(WriteTextFile(m_platform, path, lines).ok());
  EXPECT_EQ(ReadFileBytes(path),
            "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\nCaf\xC3\xA9\r\nraw\xE9\r\n");
  EXPECT_EQ(ReadTextLines(m_platform, path).value(), lines);
}

TEST_F(TextFileTest, ReadsEitherEncodingAndEitherLineEnd) {
  EXPECT_EQ(DecodeTextFile("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(DecodeTextFile("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(DecodeTextFile("a\r\r\n"), (std::vector<std::string>{"a\r"}));
  EXPECT_EQ(DecodeTextFile(""), std::vector<std::string>{});
  EXPECT_EQ(DecodeTextFile("\r\n"), std::vector<std::string>{""});
  EXPECT_EQ(DecodeTextFile("Caf\xE9\n"), std::vector<std::string>{"Caf\xC3\xA9"});
  EXPECT_EQ(DecodeTextFile("Caf\xC3\xA9"), std::vector<std::string>{"Caf\xC3\xA9"});
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBFx\r\n"), std::vector<std::string>{"x"});
  EXPECT_EQ(EncodeTextFile({}), "");

  testing::TempFolder folder;
  EXPECT_NE(ReadTextLines(m_platform, folder.Path("none.txt")).status().message().find("none.txt"),
            std::string::npos);
}

}  // namespace
}  // namespace tallymere
