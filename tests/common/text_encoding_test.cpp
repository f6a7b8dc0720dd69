#include "common/text_encoding.h"

#include <gtest/gtest.h>

namespace tallymere {
namespace {

TEST(TextEncodingTest, StoresWindows1252WhenEveryCharacterFitsElseUtf8) {
  EXPECT_EQ(EncodeText("plain"), "plain");
  EXPECT_EQ(EncodeText("Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xE9 \x80");
  EXPECT_EQ(EncodeText("\xE6\x97\xA5 \xC3\xA9"), "\xE6\x97\xA5 \xC3\xA9");  // kept as UTF-8
  EXPECT_EQ(EncodeText("raw \xE9 name"), "raw \xE9 name");  // not UTF-8: stored as it is
}

TEST(TextEncodingTest, EveryByteStringRoundTrips) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::string text = DecodeText(all);
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(EncodeText(text), all);
  EXPECT_EQ(DecodeText("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(DecodeText("\xC3\xA9"), "\xC3\xA9");  // valid UTF-8 is taken as UTF-8
}

TEST(TextEncodingTest, AHighByteAnywhereInALongTextIsDecodedAsWindows1252) {
  // Long texts are looked at eight bytes at a time: a high byte is found at
  // every position, in the whole words and in the bytes after them.
  for (std::size_t at = 0; at < 21; ++at) {
    std::string bytes(21, 'a');
    bytes[at] = '\xE9';
    std::string expected(21, 'a');
    expected.replace(at, 1, "\xC3\xA9");
    EXPECT_EQ(DecodeText(bytes), expected) << "high byte at " << at;
    EXPECT_FALSE(IsAscii(bytes)) << "high byte at " << at;
  }
  constexpr char kLowBytes[] = "NUL \0 and DEL \x7F are ASCII";
  EXPECT_TRUE(IsAscii(std::string_view(kLowBytes, sizeof kLowBytes - 1)));
  EXPECT_TRUE(IsAscii(""));
  EXPECT_EQ(DecodeText(std::string(24, 'z')), std::string(24, 'z'));
}

TEST(TextEncodingTest, DecodingIntoAStringReplacesWhatItHeld) {
  std::string text = "a much longer text that was there before";
  DecodeTextTo("Caf\xE9", &text);
  EXPECT_EQ(text, "Caf\xC3\xA9");
  DecodeTextTo("plain", &text);
  EXPECT_EQ(text, "plain");
  DecodeTextTo("\xE6\x97\xA5", &text);
  EXPECT_EQ(text, "\xE6\x97\xA5");
  DecodeTextTo("", &text);
  EXPECT_TRUE(text.empty());
}

TEST(TextEncodingTest, CutsToAStoredWidthWithoutSplittingASequence) {
  EXPECT_EQ(CutToStoredWidth("abcdef", 4), "abcd");
  // Windows-1252 text: one byte per character on disk.
  EXPECT_EQ(CutToStoredWidth("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4),
            "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
  // UTF-8 text: whole sequences only.
  EXPECT_EQ(CutToStoredWidth("\xE6\x97\xA5\xE6\x97\xA5", 4), "\xE6\x97\xA5");
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
}

}  // namespace
}  // namespace tallymere
