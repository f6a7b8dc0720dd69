// The Data Field Editor's reading of file names, beside the one of MP3
// Utilities whose separator and count it shares.

#include "mp3/editor_name_fields.h"

#include <gtest/gtest.h>

#include "mp3/name_fields.h"

namespace tallymere {
namespace {

std::string Shown(const std::optional<EditorNameFields>& fields) {
  if (!fields) return "unsplit";
  return fields->artist + "|" + (fields->album ? *fields->album : "(kept)") + "|" + fields->title;
}

TEST(EditorNameFieldsTest, SplitsOneToThreeSeparators) {
  EXPECT_EQ(Shown(EditorFieldsFromName("Artist - Song")), "Artist|(kept)|Song");
  EXPECT_EQ(Shown(EditorFieldsFromName("Artist - Album Name - Song")), "Artist|Album Name|Song");
  EXPECT_EQ(Shown(EditorFieldsFromName("Artist - Album - 01 - Song")), "Artist|Album|Song");
  EXPECT_EQ(Shown(EditorFieldsFromName(" Artist  -  Album  -  Song ")), "Artist|Album|Song");
}

TEST(EditorNameFieldsTest, OneSeparatorKeepsTheTitlesBlanks) {
  EXPECT_EQ(Shown(EditorFieldsFromName(" A -  B ")), "A|(kept)| B ");
}

TEST(EditorNameFieldsTest, ATwoCharacterMiddleFieldLeavesTheAlbum) {
  EXPECT_EQ(Shown(EditorFieldsFromName("Artist - 01 - Song")), "Artist|(kept)|Song");
  EXPECT_EQ(Shown(EditorFieldsFromName("Artist - Vol - Song")), "Artist|Vol|Song");
  // Three separators take the second field whatever its length.
  EXPECT_EQ(Shown(EditorFieldsFromName("Artist - 1 - 01 - Song")), "Artist|1|Song");
}

TEST(EditorNameFieldsTest, RefusesNamesItCannotWalk) {
  EXPECT_EQ(Shown(EditorFieldsFromName("Song")), "unsplit");
  EXPECT_EQ(Shown(EditorFieldsFromName("A-B")), "unsplit");
  EXPECT_EQ(Shown(EditorFieldsFromName("A - B - C - D - E")), "unsplit");
  // Separators that share or lose a blank once the rest is trimmed; MP3
  // Utilities splits these.
  EXPECT_EQ(Shown(EditorFieldsFromName("A - - B")), "unsplit");
  EXPECT_EQ(Shown(EditorFieldsFromName("A -  - B")), "unsplit");
  EXPECT_TRUE(FieldsFromFileName("A -  - B"));
}

TEST(EditorNameFieldsTest, LooksForEachSeparatorWithin300Characters) {
  const std::string long_artist(299, 'a');
  EXPECT_EQ(Shown(EditorFieldsFromName(long_artist + " - Album - Song")),
            long_artist + "|Album|Song");
  EXPECT_EQ(Shown(EditorFieldsFromName(long_artist + "a - Album - Song")), "unsplit");
  // Characters are counted, not bytes.
  std::string accented;
  for (int i = 0; i < 299; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(Shown(EditorFieldsFromName(accented + " - Al - Song")), accented + "|(kept)|Song");
  // With one separator there is no walk and no limit; MP3 Utilities refuses it.
  EXPECT_EQ(Shown(EditorFieldsFromName(long_artist + "bb - Song")), long_artist + "bb|(kept)|Song");
  EXPECT_FALSE(FieldsFromFileName(long_artist + "bb - Song"));
}

}  // namespace
}  // namespace tallymere
