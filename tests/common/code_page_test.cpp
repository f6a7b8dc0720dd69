#include "common/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace tallymere {
namespace {

CodePage Page(std::string_view name) {
  const std::optional<CodePage> page = CodePage::Named(name);
  EXPECT_TRUE(page.has_value()) << name;
  return page.value_or(CodePage());
}

TEST(CodePageTest, EveryOfferedNameConvertsBothWaysAndOthersAreRefused) {
  for (std::string_view name : kCodePageNames) {
    const CodePage page = Page(name);
    EXPECT_EQ(page.name(), name);
    EXPECT_EQ(page.Decode("Plain ASCII"), "Plain ASCII");
    EXPECT_EQ(page.Encode("Plain ASCII").value(), "Plain ASCII");
  }
  EXPECT_EQ(Page("windows-1251").name(), "Windows-1251");  // letter case ignored
  EXPECT_FALSE(CodePage::Named("CP437"));
  EXPECT_FALSE(CodePage::Named(""));
  EXPECT_TRUE(CodePage().automatic());
}

TEST(CodePageTest, EachPageReadsAndWritesItsOwnLetters) {
  struct Case {
    std::string_view page;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"Windows-1251", "\xCA\xE8\xED\xEE", "Кино"},
      {"KOI8-R", "\xEB\xC9\xCE\xCF", "Кино"},
      {"ISO-8859-5", "\xBA\xD8\xDD\xDE", "Кино"},
      {"Windows-1250", "\x8A\xE8\xF8", "Ščř"},
      {"ISO-8859-2", "\xA9\xE8\xF8", "Ščř"},
      {"Windows-1253", "\xC1\xE8\xDE\xED\xE1", "Αθήνα"},
      {"Windows-1254", "\xDE\xFE\xD0", "ŞşĞ"},
      {"Windows-1257", "\xD0\xF0", "Šš"},
      {"Windows-1252", "Caf\xE9", "Café"},
      {"Shift_JIS", "\x93\x8C\x8B\x9E", "東京"},
      {"GBK", "\xB1\xB1\xBE\xA9", "北京"},
      {"Big5", "\xA5\x78\xA5\x5F", "台北"},
      {"EUC-KR", "\xBC\xAD\xBF\xEF", "서울"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    const CodePage page = Page(c.page);
    EXPECT_EQ(page.Decode(c.bytes), c.text);
    EXPECT_EQ(page.Encode(c.text).value(), c.bytes);
  }
  // Automatic: valid UTF-8 is UTF-8, anything else Windows-1252; written,
  // Windows-1252 when every letter fits.
  EXPECT_EQ(CodePage().Decode("\xCA\xE8\xED\xEE"), "Êèíî");
  EXPECT_EQ(CodePage().Decode("Кино"), "Кино");
  EXPECT_EQ(CodePage().Encode("Café").value(), "Caf\xE9");
  EXPECT_EQ(CodePage().Encode("Кино").value(), "Кино");
}

TEST(CodePageTest, ALetterThePageCannotHoldIsNamedAndWidthsCountStoredBytes) {
  const Result<std::string> refused = Page("Windows-1251").Encode("Hello 東京");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.status().message(),
            "The character \"東\" cannot be written in the code page Windows-1251.");
  // A byte sequence the page does not define is read as Automatic reads it.
  EXPECT_EQ(Page("Shift_JIS").Decode("A\x80\xFF"), "A\xE2\x82\xAC\xC3\xBF");

  // Two bytes a letter in Shift_JIS, one in Windows-1251, two in UTF-8:
  // never a letter split.
  EXPECT_EQ(Page("Shift_JIS").CutToWidth("東京タワー", 5), "東京");
  EXPECT_EQ(Page("Windows-1251").CutToWidth("Москва", 4), "Моск");
  EXPECT_EQ(CodePage().CutToWidth("Москва", 5), "Мо");
  // A letter the page cannot hold takes no room: the writer refuses it.
  EXPECT_EQ(Page("Windows-1251").CutToWidth("a東b", 2), "a東b");
}

}  // namespace
}  // namespace tallymere
