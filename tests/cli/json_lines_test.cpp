// AppendJsonString against the JSON library's own output, which JsonLine writes.

#include "cli/json_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallymere::cli {
namespace {

// The text as a member of an object written by JsonLine, without the rest.
std::string ByTheLibrary(const std::string& text) {
  const std::string line = JsonLine(JsonObject({{"k", text}}));
  return line.substr(5, line.size() - 5 - 2);  // {"k": ... }\n
}

std::string Appended(const std::string& text) {
  std::string out = "before";
  AppendJsonString(text, &out);
  return out.substr(6);
}

TEST(JsonLinesTest, EveryTextIsAppendedAsTheLibraryWritesIt) {
  std::vector<std::string> texts = {"",
                                    "C:\\Music\\Pop\\",
                                    "01 - Morning Light.mp3",
                                    "Say \"hi\"",
                                    "\\\"\\",
                                    "tab\there",
                                    "Caf\xC3\xA9",
                                    "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5",
                                    "broken \xE9 byte",
                                    "cut \xE6\x97",
                                    std::string("Ann\0\0", 5),
                                    "~ tilde and \x7F delete"};
  for (int byte = 0; byte < 256; ++byte) {
    texts.push_back(std::string(1, static_cast<char>(byte)));
    texts.push_back("a" + std::string(1, static_cast<char>(byte)) + "z");
  }
  for (const std::string& text : texts) {
    EXPECT_EQ(Appended(text), ByTheLibrary(text)) << "text of " << text.size() << " bytes";
  }
}

}  // namespace
}  // namespace tallymere::cli
