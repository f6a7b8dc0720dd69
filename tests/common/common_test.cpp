#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/characters.h"
#include "common/format.h"
#include "common/number_text.h"
#include "common/sorted_list.h"
#include "common/status.h"
#include "common/text_encoding.h"

namespace tallymere {
namespace {

TEST(CharactersTest, CountsCharactersFromTheEnd) {
  EXPECT_EQ(LastCharacters("Song.mp3", 4), ".mp3");
  EXPECT_EQ(WithoutLastCharacters("Song.mp3", 4), "Song");
  EXPECT_EQ(LastCharacters("ab", 4), "ab");
  EXPECT_EQ(WithoutLastCharacters("ab", 4), "");
  EXPECT_EQ(WithoutLastCharacters("abcd", 4), "");
  EXPECT_EQ(LastCharacters("abc", 0), "");
  // A two-byte letter is one character and is never split.
  EXPECT_EQ(LastCharacters("Caf\xC3\xA9", 2), "f\xC3\xA9");
  EXPECT_EQ(WithoutLastCharacters("x\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4), "x");
  // A stray byte counts as one.
  EXPECT_EQ(WithoutLastCharacters("ab\xE9.mp3", 5), "ab");
}

TEST(FormatTest, MegabytesGetSeparatorsAndTwoDecimalsTwoDigitsKeepTheSign) {
  std::string texts;
  // 5242.88 bytes rounds to the nearest hundredth.
  for (double bytes : {0.0, 2 * 1048576.0, 1294467072.0, 1048576.0 * 1234567.891, 5242.88}) {
    texts += FormatMegabytes(bytes) + " ";
  }
  EXPECT_EQ(texts, "0.00 2.00 1,234.50 1,234,567.89 0.01 ");
  texts.clear();
  for (int n : {0, 7, 125, -1, -61}) texts += FormatTwoDigits(n) + " ";
  EXPECT_EQ(texts, "00 07 125 -01 -61 ");
}

// Dates under the locales people use, in UTC so the texts are fixed. The
// test command generates these locales: one that is missing fails the test.
TEST(FormatTest, DatesCarryAFourDigitYearInTheLocalesOrderReadBackAndOlderFormsStillRead) {
  const std::string saved_locale = std::setlocale(LC_TIME, nullptr);
  const char* saved_zone = std::getenv("TZ");
  const std::string zone = saved_zone != nullptr ? saved_zone : "";
  setenv("TZ", "UTC", 1);
  tzset();
  constexpr std::time_t kMoment = 1796652309;         // 2026-12-07 14:05:09 UTC
  constexpr std::time_t kTwelfthOfJuly = 1783865109;  // 2026-07-12 14:05:09 UTC
  struct Case {
    const char* locale;
    const char* written;
    const char* older;  // what "%x %X" wrote there
    // "12/07/26 14:05:09", as the C locale wrote it: the locale's own older
    // form comes first, so in Britain it is the 12th of July.
    std::time_t c_form;
  };
  const Case cases[] = {
      {"C", "12/07/2026 14:05:09", "12/07/26 14:05:09", kMoment},
      {"en_US.UTF-8", "12/07/2026 14:05:09", "12/07/2026 02:05:09 PM", kMoment},
      {"en_GB.UTF-8", "07/12/2026 14:05:09", "07/12/26 14:05:09", kTwelfthOfJuly},
      {"de_DE.UTF-8", "07.12.2026 14:05:09", "07.12.2026 14:05:09", kMoment},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    ASSERT_NE(std::setlocale(LC_TIME, c.locale), nullptr) << "locale missing: " << c.locale;
    EXPECT_EQ(FormatDateTime(kMoment), c.written);
    EXPECT_EQ(ParseDateTime(c.written), kMoment);
    EXPECT_EQ(ParseDateTime(c.older), kMoment);
    EXPECT_EQ(ParseDateTime("12/07/26 14:05:09"), c.c_form);
    EXPECT_NE(FormatDateTime(915148800).find("1999"), std::string::npos);
    // Every date the program writes reads back, the last second of 1969 and
    // the years 0 and 10000 included; other texts do not.
    for (const std::time_t when :
         {0L, -1L, 946684799L, 1700000000L, 2000000000L, -62167219200L, 253402300800L}) {
      EXPECT_EQ(ParseDateTime(FormatDateTime(when)), when) << FormatDateTime(when);
      EXPECT_TRUE(DateTextMayMean(FormatDateTime(when), when)) << FormatDateTime(when);
    }
    EXPECT_NE(FormatDateTime(-62167219200L).find("0000"), std::string::npos);
    // A catalog written under another locale reads the same: dots and a year
    // first are read alike everywhere; a text with "/" may mean either order.
    EXPECT_EQ(ParseDateTime("07.12.2026 14:05:09"), kMoment);
    EXPECT_EQ(ParseDateTime("2026-12-07 14:05:09"), kMoment);
    EXPECT_TRUE(DateTextMayMean("07/12/2026 14:05:09", kMoment));
    EXPECT_TRUE(DateTextMayMean("12/07/2026 14:05:09", kMoment));
    EXPECT_FALSE(DateTextMayMean("12/07/2026 14:05:10", kMoment));
    EXPECT_FALSE(DateTextMayMean("13/13/2026 14:05:09", kMoment));
    EXPECT_EQ(ParseDateTime("31.02.2026 14:05:09"), std::nullopt);
    EXPECT_EQ(ParseDateTime("07.12.2026 24:05:09"), std::nullopt);
    EXPECT_EQ(ParseDateTime(""), std::nullopt);
    EXPECT_EQ(ParseDateTime("then"), std::nullopt);
    EXPECT_EQ(ParseDateTime(FormatDateTime(0) + " and more"), std::nullopt);
  }
  std::setlocale(LC_TIME, saved_locale.c_str());
  saved_zone != nullptr ? setenv("TZ", zone.c_str(), 1) : unsetenv("TZ");
  tzset();
}

TEST(FormatTest, RememberedDateTextsAreTheTextsOfTheirOwnTimes) {
  DateTimeTexts texts;
  // Far more times than are remembered, many of them sharing a place, each
  // asked for twice: the second answer must still be its own.
  for (int round = 0; round < 2; ++round) {
    for (std::time_t when = 1700000000; when < 1700000000 + 5000; when += 3) {
      ASSERT_EQ(texts.Text(when), FormatDateTime(when)) << when;
      ASSERT_EQ(texts.Text(when - 86400 * 400), FormatDateTime(when - 86400 * 400)) << when;
    }
  }
  EXPECT_EQ(texts.Text(0), FormatDateTime(0));
}

TEST(NumberTextTest, SizesAreBytesOrCarryAUnitAndTimesAreMinutesAndSeconds) {
  EXPECT_EQ(ParseByteCount("5000000"), 5000000);
  EXPECT_EQ(ParseByteCount(" 4.5 MB "), 4718592);
  EXPECT_EQ(ParseByteCount("700kb"), 716800);
  EXPECT_EQ(ParseByteCount("1 GB"), 1073741824);
  for (const char* refused : {"", "MB", "-1", "-1 KB", "5 TB", "1e30 GB", "four"}) {
    EXPECT_FALSE(ParseByteCount(refused)) << refused;
  }
  EXPECT_EQ(ParseDuration("125:07"), 125 * 60 + 7);
  EXPECT_FALSE(ParseDuration("3:75"));
  EXPECT_FALSE(ParseDuration("-01:-01"));
}

TEST(StatusTest, CodesTellMissingFromRefusedFromFullWhateverTheWords) {
  EXPECT_TRUE(Status::Ok().ok());
  EXPECT_EQ(Status::Ok().code(), StatusCode::kOk);
  EXPECT_EQ(Status::Ok().message(), "");

  EXPECT_EQ(Status::Error("words").code(), StatusCode::kOther);
  // A failure is never ok, whatever code it was given.
  EXPECT_FALSE(Status::Error(StatusCode::kOk, "still a failure").ok());
  EXPECT_FALSE(Status::FromErrno(0, "no cause").ok());

  const struct {
    int error;
    StatusCode code;
  } kCases[] = {{ENOENT, StatusCode::kNotFound},    {ENOTDIR, StatusCode::kNotFound},
                {ENOMEDIUM, StatusCode::kNotFound}, {EACCES, StatusCode::kNoAccess},
                {EPERM, StatusCode::kNoAccess},     {EROFS, StatusCode::kNoAccess},
                {EISDIR, StatusCode::kNoAccess},    {ENOSPC, StatusCode::kNoSpace},
                {EDQUOT, StatusCode::kNoSpace},     {EFBIG, StatusCode::kNoSpace},
                {EXDEV, StatusCode::kUnsupported},  {EIO, StatusCode::kOther}};
  for (const auto& test : kCases) {
    const Status status = Status::FromErrno(test.error, "Cannot write \"a\"");
    EXPECT_EQ(status.code(), test.code) << test.error;
    EXPECT_EQ(status.message(), "Cannot write \"a\"");
  }

  const Result<int> failed = Status::Error(StatusCode::kDamaged, "bad");
  EXPECT_EQ(failed.code(), StatusCode::kDamaged);
  EXPECT_EQ(failed.status().message(), "bad");
  EXPECT_EQ(Result<int>(7).code(), StatusCode::kOk);
}

TEST(TextEncodingTest,
     StoresWindows1252WhenEveryCharacterFitsElseUtf8AndEveryByteStringRoundTrips) {
  EXPECT_EQ(EncodeText("plain"), "plain");
  EXPECT_EQ(EncodeText("Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xE9 \x80");
  EXPECT_EQ(EncodeText("\xE6\x97\xA5 \xC3\xA9"), "\xE6\x97\xA5 \xC3\xA9");  // kept as UTF-8
  EXPECT_EQ(EncodeText("raw \xE9 name"), "raw \xE9 name");  // not UTF-8: stored as it is

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

TEST(TextEncodingTest, DecodingIntoAStringReplacesWhatItHeldAndCutsKeepSequencesWhole) {
  std::string text = "a much longer text that was there before";
  const char* const kCases[][2] = {
      {"Caf\xE9", "Caf\xC3\xA9"}, {"plain", "plain"}, {"\xE6\x97\xA5", "\xE6\x97\xA5"}, {"", ""}};
  for (const auto& [bytes, decoded] : kCases) {
    DecodeTextTo(bytes, &text);
    EXPECT_EQ(text, decoded);
  }

  EXPECT_EQ(CutToStoredWidth("abcdef", 4), "abcd");
  // Windows-1252 text: one byte per character on disk.
  EXPECT_EQ(CutToStoredWidth("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4),
            "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
  // UTF-8 text: whole sequences only.
  EXPECT_EQ(CutToStoredWidth("\xE6\x97\xA5\xE6\x97\xA5", 4), "\xE6\x97\xA5");
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
}

SortedList ListOf(std::initializer_list<const char*> texts) {
  SortedList list;
  for (const char* text : texts) list.Add(text);
  return list;
}

// The entries in order, each followed by a space.
std::string Items(const SortedList& list) {
  std::string text;
  for (const std::string& item : list) text += item + " ";
  return text;
}

TEST(SortedListTest, KeepsAscendingOrderIgnoringCaseWithEqualTextsInAddingOrder) {
  const SortedList folders =
      ListOf({"C:\\Music\\b", "C:\\Music\\A\\A1", "c:\\music\\a", "C:\\Music\\"});
  // A root comes before its subfolders, and every folder before those below it.
  EXPECT_EQ(Items(folders), "C:\\Music\\ c:\\music\\a C:\\Music\\A\\A1 C:\\Music\\b ");
  EXPECT_EQ(folders.size(), 4);
  EXPECT_EQ(folders[0], "C:\\Music\\");
  EXPECT_EQ(Items(ListOf({"b", "ABC", "a", "abc", "Abc"})), "a ABC abc Abc b ");

  SortedList list = ListOf({"m", "z"});
  EXPECT_EQ(Items(list), "m z ");
  list.Add("a");  // added after a read
  EXPECT_EQ(Items(list), "a m z ");
  list.Clear();
  EXPECT_TRUE(list.empty());
  list.Add("q");
  EXPECT_EQ(Items(list), "q ");
}

// Equal entries added between reads merge in after those added before.
TEST(SortedListTest, ReadsBetweenAddsGiveTheOrderOfOneSortOfEverything) {
  std::mt19937 random(7);
  std::vector<std::string> added;
  SortedList list;
  for (int step = 0; step < 2000; ++step) {
    // Six letters in either case: many ties, whose order shows in the case.
    std::string text(1, static_cast<char>((random() % 2 == 0 ? 'a' : 'A') + random() % 6));
    added.push_back(text);
    list.Add(text);
    if (random() % 40 == 0 || step == 1999) {
      std::vector<std::string> expected = added;
      std::stable_sort(expected.begin(), expected.end(),
                       [](const auto& a, const auto& b) { return CompareNoCase(a, b) < 0; });
      ASSERT_EQ(std::vector<std::string>(list.begin(), list.end()), expected)
          << "after " << added.size() << " entries";
    }
  }
}

TEST(SortedListTest, ComparesOrdinallyWithAsciiLettersFoldedAtAnyLength) {
  EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
  EXPECT_LT(CompareNoCase("ab", "abc"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
  EXPECT_LT(CompareNoCase("A", "b"), 0);
  // Bytes above 0x7F compare as unsigned values, after every ASCII letter.
  EXPECT_GT(CompareNoCase("\xC3\xA9", "z"), 0);
  EXPECT_EQ(CompareNoCase("", ""), 0);
  // Letters are folded beyond long common beginnings too.
  const std::string base = "C:\\Music\\Some Artist\\";
  EXPECT_EQ(CompareNoCase(base + "Album One", base + "ALBUM ONE"), 0);
  EXPECT_LT(CompareNoCase(base + "album a", base + "ALBUM B"), 0);
  EXPECT_GT(CompareNoCase(base + "ALBUM B", base + "album a"), 0);
  // Case differs early, the first real difference comes later.
  EXPECT_LT(CompareNoCase("c:\\music\\some artist\\x", base + "Y"), 0);
  // "[" follows "Z" as bytes, but "Z" compares as "z", which follows "[".
  EXPECT_LT(CompareNoCase(base + "[", base + "Z"), 0);
  EXPECT_LT(CompareNoCase(base, base + "a"), 0);
  EXPECT_GT(CompareNoCase(base + "\xC3\xA9", base + "Z"), 0);
}

}  // namespace
}  // namespace tallymere
