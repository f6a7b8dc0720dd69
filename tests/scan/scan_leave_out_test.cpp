// Scans of a real tree with leave-out rules: what they leave out, what they
// never list, and what they say.

#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/program_settings.h"
#include "scan/scan_fixture.h"
#include "scan/scan_report_text.h"

namespace tallymere {
namespace {

using testing::RecordPaths;
using testing::ScanFixture;
using Paths = std::vector<std::string>;

ScanSettings AllFiles(std::vector<std::string> rules, bool include_hidden = false,
                      bool explain = false) {
  ScanSettings settings{"*.*", 0};
  settings.leave_out = LeaveOutRules::Parse(rules);
  settings.include_hidden = include_hidden;
  settings.explain_left_out = explain;
  return settings;
}

Paths Sorted(Paths paths) {
  std::sort(paths.begin(), paths.end());
  return paths;
}

class ScanLeaveOutTest : public ::testing::Test {
 protected:
  ScanLeaveOutTest() {
    for (const char* file :
         {"Music/a.mp3", "Music/b.mp3", "Photos/img.jpg", "code/main.c", "notes.txt",
          "code/node_modules/left-pad/index.js", "Photos/@eaDir/img.jpg", "Photos/Thumbs.db",
          "lost+found/x", ".config/app.conf", "Music/.hidden.mp3"}) {
      m_fixture.Write(file, "x");
    }
  }
  Paths Scan(const ScanSettings& settings, ScanReport* report = nullptr) {
    CatalogTable table;
    EXPECT_TRUE(m_fixture.Scan({"C:\\"}, settings, &table, report).ok());
    return Sorted(RecordPaths(table));
  }
  ScanFixture m_fixture;
};

TEST_F(ScanLeaveOutTest, TheDefaultRulesKeepTheUsersFilesAndNeverListWhatTheyLeaveOut) {
  const Paths real = {"C:\\Music\\a.mp3", "C:\\Music\\b.mp3", "C:\\Photos\\img.jpg",
                      "C:\\code\\main.c", "C:\\notes.txt"};
  ScanReport report;
  EXPECT_EQ(Scan(AllFiles(DefaultLeaveOutRules()), &report), Sorted(real));
  EXPECT_EQ(report.left_out_folders, 3);  // node_modules, @eaDir, lost+found
  EXPECT_EQ(report.left_out_files, 1);    // Thumbs.db
  EXPECT_EQ(LeftOutText(report), "3 folders and 1 files left out by the rules");
  EXPECT_TRUE(report.left_out.empty());  // named only when asked
  EXPECT_EQ(m_fixture.platform().ListCount("C:\\code\\node_modules\\"), 0);
  EXPECT_EQ(m_fixture.platform().ListCount("C:\\Photos\\@eaDir\\"), 0);

  // No rules: every visible file, as before there were rules.
  ScanReport none;
  EXPECT_EQ(Scan(AllFiles({}), &none).size(), 9u);
  EXPECT_EQ(LeftOutText(none), "");
}

TEST_F(ScanLeaveOutTest, HiddenEntriesComeInOnRequestAndRulesBringThemBackOrKeepThemOut) {
  Paths scanned = Scan(AllFiles({".config/"}, /*include_hidden=*/true));
  EXPECT_EQ(std::count(scanned.begin(), scanned.end(), "C:\\Music\\.hidden.mp3"), 1);
  EXPECT_EQ(std::count(scanned.begin(), scanned.end(), "C:\\.config\\app.conf"), 0);
  // Anchored, negated and folder-only rules, and the explanation.
  ScanReport report;
  scanned = Scan(AllFiles({"*.mp3", "!b.mp3", "/code/", "Photos/*.db"}, false, true), &report);
  EXPECT_EQ(scanned, Sorted({"C:\\Music\\b.mp3", "C:\\Photos\\@eaDir\\img.jpg",
                             "C:\\Photos\\img.jpg", "C:\\lost+found\\x", "C:\\notes.txt"}));
  ASSERT_EQ(report.left_out.size(), 3u);
  std::vector<std::string> explained;
  for (const ScanReport::LeftOut& left : report.left_out)
    explained.push_back(left.path + " " + left.rule);
  EXPECT_EQ(Sorted(explained), Sorted({"C:\\code /code/", "C:\\Music\\a.mp3 *.mp3",
                                       "C:\\Photos\\Thumbs.db Photos/*.db"}));
  // Anchored at each scan root: with the batch entry C:\Photos, /Thumbs.db is there.
  CatalogTable table;
  ASSERT_TRUE(m_fixture.Scan({"C:\\Photos"}, AllFiles({"/Thumbs.db"}), &table).ok());
  EXPECT_EQ(Sorted(RecordPaths(table)),
            Sorted({"C:\\Photos\\@eaDir\\img.jpg", "C:\\Photos\\img.jpg"}));
}

}  // namespace
}  // namespace tallymere
