#include "scan/leave_out_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/program_settings.h"

namespace tallymere {
namespace {

// "out by RULE" or "in" for an entry at a relative path ("\" between folders).
std::string Fate(const LeaveOutRules& rules, const std::string& relative, bool is_folder) {
  const std::size_t slash = relative.rfind('\\');
  const std::string name = slash == std::string::npos ? relative : relative.substr(slash + 1);
  const std::string* rule = rules.LeftOutBy(relative, name, is_folder);
  return rule == nullptr ? "in" : "out by " + *rule;
}

TEST(LeaveOutRulesTest, EveryFormOfRuleAsGitignoreHasIt) {
  const LeaveOutRules rules = LeaveOutRules::Parse(
      {"# a comment, then an empty line", "", "*.TMP", "!keep.tmp", "cache/", "Music/Drafts",
       "Photos/**/thumbs", "/top.txt", "[Tt]humbs.db", "file?.bak", "trailing.txt  "});
  struct Case {
    const char* relative;
    bool is_folder;
    const char* fate;
  };
  const Case cases[] = {
      {"a.tmp", false, "out by *.TMP"},
      {"Sub\\deep\\B.Tmp", false, "out by *.TMP"},  // any depth, any letter case
      {"Sub\\keep.tmp", false, "in"},               // brought back
      {"Sub\\KEEP.TMP", false, "in"},
      {"Sub\\cache", true, "out by cache/"},
      {"Sub\\cache", false, "in"},  // a file of that name is no folder
      {"Music\\Drafts", true, "out by Music/Drafts"},
      {"Music\\drafts\\x.mp3", false, "in"},  // anchored: the folder itself is matched
      {"Old\\Music\\Drafts", true, "in"},     // anchored at the root only
      {"Photos\\thumbs", true, "out by Photos/**/thumbs"},
      {"Photos\\2024\\May\\thumbs", true, "out by Photos/**/thumbs"},
      {"top.txt", false, "out by /top.txt"},
      {"Sub\\top.txt", false, "in"},
      {"Thumbs.db", false, "out by [Tt]humbs.db"},
      {"file1.bak", false, "out by file?.bak"},
      {"file12.bak", false, "in"},
      {"trailing.txt", false, "out by trailing.txt"},  // trailing blanks dropped
      {"music.mp3", false, "in"},
  };
  for (const Case& c : cases) EXPECT_EQ(Fate(rules, c.relative, c.is_folder), c.fate) << c.relative;
  EXPECT_TRUE(LeaveOutRules().empty());
  EXPECT_EQ(LeaveOutRules().LeftOutFile("a\\b.tmp"), nullptr);
  // A file below a folder that is left out is left out with it.
  ASSERT_NE(rules.LeftOutFile("Sub\\cache\\a.mp3"), nullptr);
  EXPECT_EQ(*rules.LeftOutFile("Sub\\cache\\a.mp3"), "cache/");
  EXPECT_EQ(rules.LeftOutFile("Sub\\a.mp3"), nullptr);
}

TEST(LeaveOutRulesTest, TheDefaultsLeaveOutWhatOtherProgramsLeaveOnADisk) {
  std::vector<std::string> problems;
  const LeaveOutRules rules = LeaveOutRules::Parse(DefaultLeaveOutRules(), &problems);
  EXPECT_TRUE(problems.empty());
  for (const char* folder :
       {"code\\node_modules", "lost+found", "Photos\\@eaDir", "$RECYCLE.BIN",
        "System Volume Information", "src\\__pycache__", "x\\.git", ".Trash-1000"}) {
    EXPECT_NE(Fate(rules, folder, true), "in") << folder;
  }
  for (const char* file : {"Photos\\Thumbs.db", "desktop.ini", "a\\.DS_Store", "._song.mp3"}) {
    EXPECT_NE(Fate(rules, file, false), "in") << file;
  }
  for (const char* file : {"Music\\song.mp3", "Photos\\img.jpg", "node_modules.txt"}) {
    EXPECT_EQ(Fate(rules, file, false), "in") << file;
  }
}

TEST(LeaveOutRulesTest, RulesThatCannotBeUsedAreNamedAndTheOthersStillCount) {
  std::vector<std::string> lines = {"*",        "!",        "**/", "[abc",  std::string(10000, 'x'),
                                    "\xFF\xFE", "good.tmp", "/",   "!*.mp3"};
  std::vector<std::string> problems;
  const LeaveOutRules rules = LeaveOutRules::Parse(lines, &problems);
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "Leave-out rule 1 \"*\" would leave out everything and is not used; "
                          "the other rules are used.",
                          "Leave-out rule 2 \"!\" names nothing and is not used; the other rules "
                          "are used.",
                          "Leave-out rule 3 \"**/\" would leave out everything and is not used; "
                          "the other rules are used.",
                          "Leave-out rule 4 \"[abc\" has a \"[\" that does not close and is not "
                          "used; the other rules are used.",
                          "Leave-out rule 5 \"" + std::string(40, 'x') +
                              "...\" is longer than 1,000 characters and is not used; the other "
                              "rules are used.",
                          "Leave-out rule 6 is not UTF-8 text and is not used; the other rules "
                          "are used.",
                          "Leave-out rule 8 \"/\" names nothing and is not used; the other rules "
                          "are used.",
                      }));
  EXPECT_EQ(Fate(rules, "a\\good.tmp", false), "out by good.tmp");
  EXPECT_EQ(Fate(rules, "a\\song.mp3", false), "in");

  // 10,000 rules: the first thousand are used, and the rest is said once.
  std::vector<std::string> many;
  for (int i = 0; i < 10000; ++i) many.push_back("name" + std::to_string(i));
  problems.clear();
  const LeaveOutRules first = LeaveOutRules::Parse(many, &problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0],
            "Leave-out rule 1001 and those after it go past the 1,000 rules a list may hold, and "
            "are not used; the other rules are used.");
  EXPECT_EQ(Fate(first, "name999", false), "out by name999");
  EXPECT_EQ(Fate(first, "name1000", false), "in");
}

TEST(LeaveOutRulesTest, GlobsTakeNoLongerThanTheirText) {
  EXPECT_TRUE(GlobMatches("a*b*c*d*e*f*g*h", "axbxcxdxexfxgxh"));
  // A pattern that makes a backtracking matcher take exponential time.
  const std::string text(200, 'a');
  EXPECT_FALSE(GlobMatches("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", text));
  EXPECT_TRUE(GlobMatches("[a-c]x[!0-9]", "bxz"));
  EXPECT_FALSE(GlobMatches("[a-c]x[!0-9]", "bx5"));
  EXPECT_FALSE(GlobMatches("a*b", "a\\b"));  // "*" stays within a folder
  EXPECT_TRUE(GlobMatches("a**b", "a\\x\\b"));
  EXPECT_TRUE(GlobMatches("\\*lit", "*lit"));  // an escaped star is a star
  EXPECT_FALSE(GlobMatches("\\*lit", "xlit"));
}

}  // namespace
}  // namespace tallymere
