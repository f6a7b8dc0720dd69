#include "mp3/tag_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mp3/bitrat.h"
#include "mp3/folder_platform.h"
#include "mp3/mp3_fixtures.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

namespace fs = std::filesystem;
using testing::Frame;
using testing::Id3v1Block;
using testing::Id3v1Fields;
using testing::ReadFileBytes;

constexpr const char* kSong = "C:\\Music\\song.mp3";

class TagWriterTest : public ::testing::Test {
 protected:
  // Lays out C:\Music\song.mp3 with the given bytes; returns its native path.
  std::string Song(const std::string& bytes) { return m_folder.WriteFile("Music/song.mp3", bytes); }
  std::string SongBytes() const { return ReadFileBytes(m_folder.Path("Music/song.mp3")); }
  std::string LastBlock() const {
    const std::string bytes = SongBytes();
    return bytes.size() < 128 ? std::string() : bytes.substr(bytes.size() - 128);
  }
  Mp3Info ReadBack() {
    Mp3Info info;
    EXPECT_TRUE(ReadMp3Info(m_folder.Path("Music/song.mp3"), &info).ok());
    return info;
  }
  static bool IsReadOnly(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
  }

  testing::TempFolder m_folder;
  testing::FolderPlatform m_platform{m_folder.path()};
  testing::ScriptedUi m_ui;
  const std::string m_audio = Frame() + Frame(0xFB, 0x90, 1000);
};

TEST_F(TagWriterTest, PadsAFiveLetterTitleWithSpaces) {
  Song(m_audio);
  TagEditorValues values{.title = "Hello"};
  WriteTag(m_ui, m_platform, kSong, values);
  EXPECT_TRUE(m_ui.Messages().empty());
  const std::string block = LastBlock();
  EXPECT_EQ(block.substr(0, 3), "TAG");
  EXPECT_EQ(block.substr(3, 30), "Hello" + std::string(25, ' '));
  EXPECT_EQ(block.substr(33, 94), std::string(94, ' '));
  EXPECT_EQ(static_cast<uint8_t>(block[127]), 148);
}

TEST_F(TagWriterTest, AppendsABlockAndLeavesTheAudioAlone) {
  Song(m_audio);
  TagEditorValues values{
      .title = "T", .artist = "A", .album = "B", .year = "1999", .comment = "C", .genre = "Jazz"};
  WriteTag(m_ui, m_platform, kSong, values);
  const std::string bytes = SongBytes();
  ASSERT_EQ(bytes.size(), m_audio.size() + 128);
  EXPECT_EQ(bytes.substr(0, m_audio.size()), m_audio);
  const Mp3Info info = ReadBack();
  EXPECT_TRUE(info.HasTag);
  EXPECT_EQ(info.TagTitle, "T");
  EXPECT_EQ(info.TagArtist, "A");
  EXPECT_EQ(info.TagAlbum, "B");
  EXPECT_EQ(info.TagYear, "1999");
  EXPECT_EQ(info.TagComment, "C");
  EXPECT_EQ(info.TagGenre, "Jazz");
}

TEST_F(TagWriterTest, ANewBlockStartsAsAnEmptyTag) {
  Song(m_audio);
  TagEditorValues values{.title = "Kept out",
                         .artist = "Kept out",
                         .genre = "Rock",
                         .keep_title = true,
                         .keep_artist = true,
                         .keep_genre = true};
  WriteTag(m_ui, m_platform, kSong, values);
  const Mp3Info info = ReadBack();
  EXPECT_TRUE(info.HasTag);
  EXPECT_EQ(info.TagTitle, "");
  EXPECT_EQ(info.TagArtist, "");
  EXPECT_EQ(info.TagGenre, "");
  EXPECT_EQ(static_cast<uint8_t>(LastBlock()[127]), 148);
}

TEST_F(TagWriterTest, CutsTheYearInTheEditorAndTheFile) {
  Song(m_audio);
  TagEditorValues values{.year = "19999"};
  WriteTag(m_ui, m_platform, kSong, values);
  EXPECT_EQ(values.year, "1999");
  EXPECT_EQ(LastBlock().substr(93, 4), "1999");
  EXPECT_EQ(LastBlock().substr(97, 30), std::string(30, ' '));
}

TEST_F(TagWriterTest, CutsLongTextsToThirtyStoredBytes) {
  Song(m_audio);
  const std::string e_acute = "\xC3\xA9";  // one byte in Windows-1252
  std::string accented;
  for (int i = 0; i < 35; ++i) accented += e_acute;
  TagEditorValues values{.title = std::string(35, 't'), .comment = accented};
  WriteTag(m_ui, m_platform, kSong, values);
  EXPECT_EQ(values.title, std::string(30, 't'));
  EXPECT_EQ(values.comment, accented.substr(0, 60));  // thirty characters
  EXPECT_EQ(LastBlock().substr(3, 30), std::string(30, 't'));
  EXPECT_EQ(LastBlock().substr(97, 30), std::string(30, '\xE9'));
  EXPECT_EQ(ReadBack().TagComment, values.comment);
}

TEST_F(TagWriterTest, CutsAUtf8TitleWithoutSplittingACharacter) {
  Song(m_audio);
  const std::string omega = "\xCE\xA9";  // not in Windows-1252: stored as UTF-8
  std::string title = "a";
  for (int i = 0; i < 20; ++i) title += omega;
  TagEditorValues values{.title = title};
  WriteTag(m_ui, m_platform, kSong, values);
  const std::string expected = title.substr(0, 29);  // "a" and 14 omegas
  EXPECT_EQ(values.title, expected);
  EXPECT_EQ(LastBlock().substr(3, 30), expected + " ");
  EXPECT_EQ(ReadBack().TagTitle, expected);
}

TEST_F(TagWriterTest, WritesTheGenreByte) {
  Song(m_audio);
  const auto genre_byte = [&](const char* genre) {
    TagEditorValues values{.genre = genre};
    WriteTag(m_ui, m_platform, kSong, values);
    return static_cast<uint8_t>(LastBlock()[127]);
  };
  EXPECT_EQ(genre_byte("Rock"), 17);
  EXPECT_EQ(genre_byte("rock"), 148);
  EXPECT_EQ(genre_byte("Blues"), 0);
  EXPECT_EQ(genre_byte(""), 148);
  EXPECT_EQ(ReadBack().TagGenre, "");
  EXPECT_EQ(SongBytes().size(), m_audio.size() + 128);  // one block, rewritten
}

TEST_F(TagWriterTest, KeepFlagsLeaveTheirBytesUntouched) {
  Id3v1Fields old{.title = "Old title",
                  .artist = "Old artist",
                  .album = "Old album",
                  .year = "1970",
                  .comment = "Old comment",
                  .genre = 9,
                  .pad = '\0'};
  const std::string old_block = Id3v1Block(old);
  Song(m_audio + old_block);
  TagEditorValues values{.title = "New",
                         .artist = "New",
                         .album = "New",
                         .year = "2024",
                         .comment = "New",
                         .genre = "Pop",
                         .keep_artist = true,
                         .keep_year = true,
                         .keep_genre = true};
  WriteTag(m_ui, m_platform, kSong, values);
  const std::string block = LastBlock();
  EXPECT_EQ(SongBytes().size(), m_audio.size() + 128);
  EXPECT_EQ(block.substr(33, 30), old_block.substr(33, 30));  // artist, NULs included
  EXPECT_EQ(block.substr(93, 4), "1970");
  EXPECT_EQ(static_cast<uint8_t>(block[127]), 9);
  EXPECT_EQ(block.substr(3, 30), "New" + std::string(27, ' '));
  EXPECT_EQ(block.substr(63, 30), "New" + std::string(27, ' '));
  EXPECT_EQ(block.substr(97, 30), "New" + std::string(27, ' '));

  values = TagEditorValues{.keep_title = true,
                           .keep_artist = true,
                           .keep_album = true,
                           .keep_year = true,
                           .keep_comment = true,
                           .keep_genre = true};
  WriteTag(m_ui, m_platform, kSong, values);
  EXPECT_EQ(LastBlock(), block);
}

TEST_F(TagWriterTest, WritingIntoAnErasedTagReusesItsBlock) {
  Song(m_audio + Id3v1Block({.title = "First"}));
  TagEditorValues values;
  EraseTag(m_ui, m_platform, kSong, values);
  ASSERT_EQ(LastBlock().substr(0, 3), "000");
  values.title = "Second";
  values.keep_artist = true;
  WriteTag(m_ui, m_platform, kSong, values);
  EXPECT_EQ(SongBytes().size(), m_audio.size() + 128);
  EXPECT_EQ(LastBlock().substr(0, 3), "TAG");
  EXPECT_EQ(LastBlock().substr(33, 30), std::string(30, '\0'));  // kept as erased
  EXPECT_EQ(ReadBack().TagTitle, "Second");
}

TEST_F(TagWriterTest, EraseMarksTheTagAndKeepsTheLength) {
  Song(m_audio + Id3v1Block({.title = "Title", .artist = "Artist", .year = "1999"}));
  TagEditorValues values{.title = "t",
                         .artist = "a",
                         .album = "b",
                         .year = "y",
                         .comment = "c",
                         .genre = "Rock",
                         .keep_title = true};
  EraseTag(m_ui, m_platform, kSong, values);
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_EQ(
      values.title + values.artist + values.album + values.year + values.comment + values.genre,
      "");
  EXPECT_EQ(SongBytes().size(), m_audio.size() + 128);
  EXPECT_EQ(SongBytes().substr(0, m_audio.size()), m_audio);
  const std::string block = LastBlock();
  EXPECT_EQ(block.substr(0, 3), "000");
  EXPECT_EQ(block.substr(3, 124), std::string(124, '\0'));
  EXPECT_EQ(static_cast<uint8_t>(block[127]), 254);
  EXPECT_FALSE(ReadBack().HasTag);
}

TEST_F(TagWriterTest, EraseLeavesAFileWithoutTagAloneButResetsItsAttributes) {
  const std::string path = Song(m_audio);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
  ASSERT_TRUE(IsReadOnly(path));
  TagEditorValues values{.title = "t"};
  EraseTag(m_ui, m_platform, kSong, values);
  EXPECT_EQ(SongBytes(), m_audio);
  EXPECT_FALSE(IsReadOnly(path));
  EXPECT_EQ(values.title, "");
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(TagWriterTest, WriteResetsTheReadOnlyAttribute) {
  const std::string path = Song(m_audio);
  fs::permissions(path, fs::perms::owner_read);
  TagEditorValues values{.title = "t"};
  WriteTag(m_ui, m_platform, kSong, values);
  EXPECT_FALSE(IsReadOnly(path));
  EXPECT_EQ(ReadBack().TagTitle, "t");
}

TEST_F(TagWriterTest, WriteReportsAMissingFileUnderMp3Utilities) {
  TagEditorValues values{.year = "20245"};
  WriteTag(m_ui, m_platform, "C:\\Music\\missing.mp3", values);
  const auto messages = m_ui.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "MP3 Utilities");
  EXPECT_EQ(messages[0].icon, Icon::kStop);
  EXPECT_EQ(messages[0].buttons, Buttons::kOk);
  EXPECT_EQ(messages[0].text, "File not found: \"C:\\Music\\missing.mp3\"");
  EXPECT_EQ(values.year, "2024");  // the editor is cut before the file is touched
  EXPECT_FALSE(fs::exists(m_folder.Path("Music/missing.mp3")));
}

TEST_F(TagWriterTest, WriteReportsFilesThatCannotBeWritten) {
  m_folder.MakeFolder("Music/folder.mp3");
  TagEditorValues values{.title = "t"};
  WriteTag(m_ui, m_platform, "C:\\Music\\folder.mp3", values);
  WriteTag(m_ui, m_platform, "Q:\\nowhere.mp3", values);
  Song(m_audio);
  m_platform.set_refuse_reset(true);
  WriteTag(m_ui, m_platform, kSong, values);
  const auto messages = m_ui.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].text, "Is a directory: \"C:\\Music\\folder.mp3\"");
  EXPECT_EQ(messages[1].text, "Path not found: \"Q:\\nowhere.mp3\"");
  EXPECT_EQ(messages[2].text, "Permission denied: \"C:\\Music\\song.mp3\"");
  for (const auto& message : messages) EXPECT_EQ(message.title, "MP3 Utilities");
  EXPECT_EQ(SongBytes(), m_audio);
}

TEST_F(TagWriterTest, EraseReportsOnlyRefusedAccess) {
  TagEditorValues values{.title = "t"};
  EraseTag(m_ui, m_platform, "C:\\Music\\missing.mp3", values);
  EraseTag(m_ui, m_platform, "Q:\\nowhere.mp3", values);
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_EQ(values.title, "");

  const std::string tagged = m_audio + Id3v1Block({.title = "Title"});
  Song(tagged);
  m_platform.set_refuse_reset(true);
  EraseTag(m_ui, m_platform, kSong, values);
  m_folder.MakeFolder("Music/folder.mp3");
  m_platform.set_refuse_reset(false);
  EraseTag(m_ui, m_platform, "C:\\Music\\folder.mp3", values);
  const auto messages = m_ui.Messages();
  ASSERT_EQ(messages.size(), 2u);
  for (const auto& message : messages) {
    EXPECT_EQ(message.text, "File access error.");
    EXPECT_EQ(message.title, "MP3 Utilities");
    EXPECT_EQ(message.icon, Icon::kStop);
    EXPECT_EQ(message.buttons, Buttons::kOk);
  }
  EXPECT_EQ(SongBytes(), tagged);
}

}  // namespace
}  // namespace tallymere
