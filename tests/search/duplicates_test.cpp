#include "search/duplicates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_record.h"

namespace tallymere {
namespace {

using Pairs = std::vector<std::pair<int, int>>;

// What a rule compares of a name: all of it, or its last 22 or 12 characters
// (all of a shorter name). The characters are read forwards from each lead
// byte's length: the fast walk counts backwards over continuation bytes
// instead, so the two cannot share a mistake.
std::string Compared(std::string_view name, DuplicateRule rule) {
  if (rule == DuplicateRule::kExact) return std::string(name);
  std::vector<std::string_view> characters;
  for (std::size_t at = 0; at < name.size(); at += characters.back().size()) {
    const auto lead = static_cast<unsigned char>(name[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    characters.push_back(name.substr(at, length));
  }
  const std::size_t count = rule == DuplicateRule::kNotSoExact ? 22 : 12;
  if (characters.size() > count) characters.erase(characters.begin(), characters.end() - count);
  std::string ending;
  for (const std::string_view character : characters) ending += character;
  return ending;
}

// The walk as the command describes it: for i = 1 to F - 1, for j = i + 1 to
// F, a set whenever the two names match by the rule. Lists at most max_sets.
DuplicateSets PairwiseWalk(const CatalogTable& table, int file_count, DuplicateRule rule,
                           std::size_t max_sets = kMaxListedDuplicateSets) {
  std::vector<std::string> compared(static_cast<std::size_t>(file_count) + 1);
  for (int i = 1; i <= file_count; ++i) compared[i] = Compared(table.Record(i).file_name, rule);
  DuplicateSets sets;
  for (int i = 1; i <= file_count - 1; ++i) {
    for (int j = i + 1; j <= file_count; ++j) {
      if (compared[i] != compared[j]) continue;
      ++sets.count;
      if (sets.pairs.size() < max_sets) sets.pairs.emplace_back(i, j);
    }
  }
  return sets;
}

CatalogTable Catalog(const std::vector<std::string>& names) {
  CatalogTable table;
  int i = 1;
  for (const std::string& name : names) {
    CatalogRecord record;
    record.disk_label = "C:\\";
    record.path = "C:\\Music\\";
    record.file_name = name;
    table.SetRecord(i++, std::move(record));
  }
  table.SetRecord(i, MakeTrailer("mp3", 1, "built"));
  return table;
}

constexpr DuplicateRule kRules[] = {DuplicateRule::kExact, DuplicateRule::kNotSoExact,
                                    DuplicateRule::kAnyPossible};

// Both forms of the fast walk against the pairwise one, pairs and count.
void ExpectSameAsPairwiseWalk(const CatalogTable& table, int file_count, DuplicateRule rule,
                              std::size_t max_sets = kMaxListedDuplicateSets) {
  const DuplicateSets expected = PairwiseWalk(table, file_count, rule, max_sets);
  const DuplicateSets found = FindDuplicates(table, file_count, rule, max_sets);
  EXPECT_EQ(found.pairs, expected.pairs) << "rule " << static_cast<int>(rule);
  EXPECT_EQ(found.count, expected.count) << "rule " << static_cast<int>(rule);
  EXPECT_EQ(found.cut(), expected.count > static_cast<int64_t>(expected.pairs.size()));

  std::vector<std::string_view> names;
  for (int i = 1; i <= file_count; ++i) names.push_back(table.Record(i).file_name);
  const DuplicateSets by_names = FindDuplicates(names, rule, max_sets);
  EXPECT_EQ(by_names.pairs, expected.pairs);
  EXPECT_EQ(by_names.count, expected.count);
}

// Names at the rules' edges: endings of 5 to 24 characters (around 12 and 22),
// some with multi-byte letters, behind short prefixes from a small alphabet, so
// that names repeat, differ only in case or before the compared ending, or
// agree in their last bytes but not their last characters.
class RandomNames {
 public:
  explicit RandomNames(unsigned seed) : m_random(seed) {}

  std::string Next() {
    // é, ũ (whose last byte is é's), ©, 日 and 🎵 among ASCII.
    static constexpr auto kPrefixLetters =
        std::to_array<std::string_view>({"a", "A", "1", "-", " ", "\xC3\xA9", "\xC5\xA9",
                                         "\xC2\xA9", "\xE6\x97\xA5", "\xF0\x9F\x8E\xB5"});
    // Endings of 11 and 12 characters (one of 13 bytes, and one whose last
    // bytes are that one's), of 21 to 24 characters (one of 25 bytes), 19
    // characters with a four-byte letter, and short ones.
    static constexpr auto kEndings = std::to_array<std::string_view>(
        {".mp3", "x.mp3", "X.MP3", "song.mp3", "Song.mp3", "_love_me.mp3", "love_me.mp3",
         "\xC3\xA9love_me.mp3", "\xC5\xA9love_me.mp3", " - Title of the song.mp3",
         "- Title of the song.mp3", " Title of the song.mp3", "Title of the song.mp3",
         "\xE6\x97\xA5 Title of the song.mp3", "\xF0\x9F\x8E\xB5le of the song.mp3",
         "Track one love.mp3", "Track two love.mp3"});
    std::string name;
    const std::size_t prefix = std::uniform_int_distribution<std::size_t>(0, 12)(m_random);
    std::uniform_int_distribution<std::size_t> letter(0, std::size(kPrefixLetters) - 1);
    // A narrow alphabet for most names, so that prefixes repeat often.
    const std::size_t alphabet = m_random() % 3 == 0 ? std::size(kPrefixLetters) : 3;
    for (std::size_t i = 0; i < prefix; ++i) name += kPrefixLetters[letter(m_random) % alphabet];
    name +=
        kEndings[std::uniform_int_distribution<std::size_t>(0, std::size(kEndings) - 1)(m_random)];
    return name;
  }

  std::size_t Below(std::size_t limit) {
    return std::uniform_int_distribution<std::size_t>(0, limit - 1)(m_random);
  }

 private:
  std::mt19937 m_random;
};

TEST(DuplicatesTest, FindsTheSetsOfThePairwiseWalkInItsOrderOnRandomCatalogs) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    RandomNames random(seed);
    std::vector<std::string> names;
    const std::size_t files = 1 + random.Below(seed % 10 == 0 ? 600 : 120);
    for (std::size_t i = 0; i < files; ++i) {
      // Now and then a name seen before comes back, exactly or in another case.
      if (!names.empty() && random.Below(4) == 0) {
        std::string again = names[random.Below(names.size())];
        if (random.Below(2) == 0 && !again.empty() && again[0] >= 'a' && again[0] <= 'z') {
          again[0] = static_cast<char>(again[0] - 'a' + 'A');
        }
        names.push_back(std::move(again));
      } else {
        names.push_back(random.Next());
      }
    }
    const CatalogTable table = Catalog(names);
    const int file_count = table.FileCount();
    ASSERT_EQ(file_count, static_cast<int>(files));
    for (const DuplicateRule rule : kRules) {
      SCOPED_TRACE("seed " + std::to_string(seed));
      ExpectSameAsPairwiseWalk(table, file_count, rule);
      // The walk covers records 1 to the file count it is given, no further.
      ExpectSameAsPairwiseWalk(table, file_count / 2, rule);
      // A small list is cut after the first sets of the walk.
      ExpectSameAsPairwiseWalk(table, file_count, rule, 7);
    }
  }
}

TEST(DuplicatesTest, CountsEverySetOfAFullTableOfOneNameExactly) {
  // All 32,765 files named alike: k(k-1)/2 sets, past 16 bits and the listed
  // limit. The pairwise walk's first sets are written out instead of walked.
  const int k = CatalogTable::kDescribedCapacity - 1;
  const CatalogTable table = Catalog(std::vector<std::string>(k, "Song.mp3"));
  Pairs first;
  for (int i = 1; first.size() < kMaxListedDuplicateSets; ++i) {
    for (int j = i + 1; j <= k && first.size() < kMaxListedDuplicateSets; ++j) {
      first.emplace_back(i, j);
    }
  }
  for (const DuplicateRule rule : kRules) {
    const DuplicateSets found = FindDuplicates(table, table.FileCount(), rule);
    EXPECT_EQ(found.count, int64_t{536756230});  // 32765 * 32764 / 2
    EXPECT_EQ(found.pairs, first);
    EXPECT_TRUE(found.cut());
  }
}

TEST(DuplicatesTest, DescribedExamples) {
  const CatalogTable table =
      Catalog({"x.mp3", "01 - Artist - Title of the song.mp3", "x.mp3", "song.mp3", "a_love_me.mp3",
               "x.mp3", "02 - Artist - Title of the song.mp3", "Song.mp3", "b_love_me.mp3",
               "Track one love.mp3", "Track two love.mp3"});
  const int files = table.FileCount();
  // Three x.mp3 give three sets, the first record with each later one first.
  const Pairs x_sets = {{1, 3}, {1, 6}, {3, 6}};
  const DuplicateSets exact = FindDuplicates(table, files, DuplicateRule::kExact);
  EXPECT_EQ(exact.pairs, x_sets);
  EXPECT_EQ(exact.count, 3);
  EXPECT_FALSE(exact.cut());
  // The two 35-character names agree in their last 22 characters only.
  const DuplicateSets near = FindDuplicates(table, files, DuplicateRule::kNotSoExact);
  EXPECT_EQ(near.pairs, (Pairs{{1, 3}, {1, 6}, {2, 7}, {3, 6}}));
  // a_love_me.mp3 and b_love_me.mp3 (13 characters) agree in their last 12;
  // Track one/two love.mp3 and song.mp3/Song.mp3 match by no rule.
  const DuplicateSets any = FindDuplicates(table, files, DuplicateRule::kAnyPossible);
  EXPECT_EQ(any.pairs, (Pairs{{1, 3}, {1, 6}, {2, 7}, {3, 6}, {5, 9}}));
  EXPECT_EQ(any.count, 5);
  // One file or none gives no set.
  for (const DuplicateRule rule : kRules) {
    const DuplicateSets one = FindDuplicates(Catalog({"x.mp3"}), 1, rule);
    EXPECT_TRUE(one.pairs.empty());
    EXPECT_EQ(one.count + FindDuplicates(CatalogTable(), 0, rule).count, 0);
  }
}

}  // namespace
}  // namespace tallymere
