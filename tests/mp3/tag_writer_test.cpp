#include "mp3/tag_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mp3/bitrat.h"
#include "mp3/mp3_fixtures.h"
#include "platform/linux_platform.h"
#include "support/faulty_platform.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

namespace fs = std::filesystem;
using testing::Frame;
using testing::Id3v1Block;
using testing::Id3v1Fields;
using testing::Id3v2Frame;
using testing::Id3v2Tag;
using testing::Id3v2Text;
using testing::ReadFileBytes;

constexpr const char* kSong = "C:\\Music\\song.mp3";

using testing::PlatformCall;

class TagWriterTest : public ::testing::Test {
 protected:
  // Lays out C:\Music\song.mp3 with the given bytes; returns its native path.
  std::string Song(const std::string& bytes) {
    return m_folder.WriteFile("c/Music/song.mp3", bytes);
  }
  std::string SongBytes() const { return ReadFileBytes(m_folder.Path("c/Music/song.mp3")); }
  std::string LastBlock() const {
    const std::string bytes = SongBytes();
    return bytes.size() < 128 ? std::string() : bytes.substr(bytes.size() - 128);
  }
  Mp3Info ReadBack() {
    Mp3Info info;
    EXPECT_TRUE(testing::ReadMp3File(m_folder.Path("c/Music/song.mp3"), &info).ok());
    return info;
  }
  static bool IsReadOnly(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
  }
  // Writes and erases as the window does, keeping the message of each
  // failure and the code of each erase that failed.
  void Write(std::string_view path, TagEditorValues& values, bool into_id3v2 = false) {
    if (Status written = WriteTag(m_platform, path, values, CodePage(), into_id3v2); !written) {
      m_failures.push_back(written.message());
    }
  }
  void Erase(std::string_view path, TagEditorValues& values) {
    if (Status erased = EraseTag(m_platform, path, values); !erased) {
      m_erase_failures.push_back(erased.code());
    }
  }

  std::vector<std::string> m_failures;
  std::vector<StatusCode> m_erase_failures;
  testing::TempFolder m_folder;
  const std::string m_drives =
      m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
  LinuxPlatform m_linux{m_folder.Path("program")};
  // Calls can be made to fail, as a locked file, a read-only medium or a
  // full disk would.
  testing::FaultyPlatform m_platform{m_linux};
  const std::string m_audio = Frame() + Frame(0xFB, 0x90, 1000);
};

TEST_F(TagWriterTest, AppendsANewBlockThatStartsAsAnEmptyTagWithTheGenreByteOfItsExactName) {
  Song(m_audio);
  TagEditorValues values{"Hello", "Kept out", "B", "1999", "C", ""};
  values.keep_artist = true;
  Write(kSong, values);
  EXPECT_TRUE(m_failures.empty());
  // A five-letter title takes 25 spaces; the kept artist stays empty; no genre is 148.
  EXPECT_EQ(SongBytes(), m_audio + "TAGHello" + std::string(25, ' ') + std::string(30, ' ') + "B" +
                             std::string(29, ' ') + "1999C" + std::string(29, ' ') + '\x94');
  const Mp3Info info = ReadBack();
  EXPECT_TRUE(info.HasId3v1Tag);
  EXPECT_EQ(info.TagTitle + "|" + info.TagArtist + "|" + info.TagGenre, "Hello||");

  // The genre byte of exactly matching names only.
  const std::pair<const char*, int> kGenres[] = {{"Rock", 17}, {"rock", 148}, {"Blues", 0}};
  for (const auto& [genre, byte] : kGenres) {
    values = TagEditorValues{.genre = genre};
    Write(kSong, values);
    EXPECT_EQ(static_cast<uint8_t>(LastBlock()[127]), byte) << genre;
  }
}

TEST_F(TagWriterTest, CutsTextsToTheirStoredWidthsInTheEditorAndTheFile) {
  Song(m_audio);
  std::string accented;  // é is one byte in Windows-1252
  for (int i = 0; i < 35; ++i) accented += "\xC3\xA9";
  TagEditorValues values{.title = std::string(35, 't'), .year = "19999", .comment = accented};
  Write(kSong, values);
  EXPECT_EQ(values.title, std::string(30, 't'));
  EXPECT_EQ(values.year, "1999");
  EXPECT_EQ(values.comment, accented.substr(0, 60));  // thirty characters
  EXPECT_EQ(LastBlock().substr(3, 30), std::string(30, 't'));
  EXPECT_EQ(LastBlock().substr(93, 34), "1999" + std::string(30, '\xE9'));
  EXPECT_EQ(ReadBack().TagComment, values.comment);

  // Ω is not in Windows-1252: stored as UTF-8 and cut between characters.
  std::string title = "a";
  for (int i = 0; i < 20; ++i) title += "\xCE\xA9";
  values = TagEditorValues{.title = title};
  Write(kSong, values);
  const std::string expected = title.substr(0, 29);  // "a" and 14 omegas
  EXPECT_EQ(values.title, expected);
  EXPECT_EQ(LastBlock().substr(3, 30), expected + " ");
  EXPECT_EQ(ReadBack().TagTitle, expected);
  EXPECT_EQ(SongBytes().size(), m_audio.size() + 128);  // one block, rewritten
}

TEST_F(TagWriterTest, KeepFlagsLeaveTheirBytesUntouched) {
  const std::string old_block =
      Id3v1Block({"Old title", "Old artist", "Old album", "1970", "Old comment", 9, '\0'});
  Song(m_audio + old_block);
  TagEditorValues values{"New", "New", "New", "2024", "New", "Pop"};
  values.keep_artist = values.keep_year = values.keep_genre = true;
  Write(kSong, values);
  const std::string block = LastBlock();
  const std::string new_field = "New" + std::string(27, ' ');
  // Artist (NULs included), year and genre as they were.
  EXPECT_EQ(SongBytes(), m_audio + "TAG" + new_field + old_block.substr(33, 30) + new_field +
                             "1970" + new_field + '\x09');

  values = TagEditorValues{"Other", "Other", "Other", "1999", "Other", "Jazz"};
  values.keep_title = values.keep_artist = values.keep_album = true;
  values.keep_year = values.keep_comment = values.keep_genre = true;
  Write(kSong, values);
  EXPECT_EQ(LastBlock(), block);
}

TEST_F(TagWriterTest, EraseKeepsTheLengthAndWritingIntoTheErasedBlockReusesIt) {
  Song(m_audio + Id3v1Block({.title = "Title", .artist = "Artist", .year = "1999"}));
  TagEditorValues values{"t", "a", "b", "y", "c", "Rock"};
  values.keep_title = true;
  Erase(kSong, values);
  EXPECT_TRUE(m_failures.empty());
  EXPECT_EQ(
      values.title + values.artist + values.album + values.year + values.comment + values.genre,
      "");
  EXPECT_EQ(SongBytes(), m_audio + "000" + std::string(124, '\0') + '\xFE');
  EXPECT_FALSE(ReadBack().HasId3v1Tag);

  values = TagEditorValues{.title = "Second", .keep_artist = true};
  Write(kSong, values);
  // The kept artist stays as erased.
  EXPECT_EQ(SongBytes(), m_audio + "TAGSecond" + std::string(24, ' ') + std::string(30, '\0') +
                             std::string(64, ' ') + '\x94');
  EXPECT_EQ(ReadBack().TagTitle, "Second");
}

TEST_F(TagWriterTest, WriteAndEraseResetTheReadOnlyAttribute) {
  const std::string path = Song(m_audio);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
  ASSERT_TRUE(IsReadOnly(path));
  TagEditorValues values{.title = "t"};
  Erase(kSong, values);  // no tag: nothing else changes
  EXPECT_EQ(SongBytes(), m_audio);
  EXPECT_FALSE(IsReadOnly(path));
  EXPECT_EQ(values.title, "");

  fs::permissions(path, fs::perms::owner_read);
  values.title = "t";
  Write(kSong, values);
  EXPECT_FALSE(IsReadOnly(path));
  EXPECT_EQ(ReadBack().TagTitle, "t");
  EXPECT_TRUE(m_failures.empty());
}

TEST_F(TagWriterTest, WriteReportsFilesThatCannotBeWrittenUnderMp3Utilities) {
  TagEditorValues values{.year = "20245"};
  Write("C:\\Music\\missing.mp3", values);
  EXPECT_EQ(values.year, "2024");  // the editor is cut before the file is touched
  EXPECT_FALSE(fs::exists(m_folder.Path("c/Music/missing.mp3")));
  m_folder.MakeFolder("c/Music/folder.mp3");
  Write("C:\\Music\\folder.mp3", values);
  Write("Q:\\nowhere.mp3", values);
  Song(m_audio);
  m_platform.Fail(PlatformCall::kResetAttributes, StatusCode::kNoAccess);
  Write(kSong, values);
  m_platform.Fail(PlatformCall::kOpenFile, StatusCode::kNoAccess);
  Write(kSong, values);
  m_platform.Fail(PlatformCall::kWriteAt, StatusCode::kNoSpace);
  Write(kSong, values);
  EXPECT_EQ(SongBytes(), m_audio);
  // A write the disk takes back when the file is closed counts too.
  m_platform.Fail(PlatformCall::kClose, StatusCode::kNoSpace);
  Write(kSong, values);
  EXPECT_EQ(m_failures,
            (std::vector<std::string>{
                "File not found: \"C:\\Music\\missing.mp3\"",
                "Is a directory: \"C:\\Music\\folder.mp3\"", "Path not found: \"Q:\\nowhere.mp3\"",
                "Cannot reset the attributes of \"C:\\Music\\song.mp3\": Permission denied",
                "Permission denied: \"C:\\Music\\song.mp3\"",
                "No space left on device: \"C:\\Music\\song.mp3\"",
                "No space left on device: \"C:\\Music\\song.mp3\""}));
}

TEST_F(TagWriterTest, IntoAnExistingId3v2TagGoWhatTheEditorChangedAndNothingElse) {
  const std::string title = "Star Called Sun (Live at the Green Theatre, 1988)";
  const std::string picture = testing::PictureData(200000);
  const std::string tag =
      Id3v2Tag(3, Id3v2Text(3, "TIT2", title) + Id3v2Text(3, "TPE1", "Kino") +
                      Id3v2Text(3, "TYER", "1988") + Id3v2Text(3, "TCON", "(17)") +
                      Id3v2Frame(3, "APIC", std::string("\0image/png\0\3\0", 14) + picture));
  Song(tag + m_audio);
  // As the editor shows this file: the title cut to the 30 bytes of ID3v1.
  TagEditorValues values{.title = title.substr(0, 30),
                         .artist = "Kino Band",
                         .year = "1989",
                         .comment = "Remastered",
                         .genre = "Rock"};
  Write(kSong, values, true);
  EXPECT_TRUE(m_failures.empty()) << m_failures.front();
  const Mp3Info info = ReadBack();
  // The long title is the tag's own, not the editor's cut; the version, the
  // picture and the audio stay.
  EXPECT_EQ(info.Id3v2Version + "|" + info.V2Title + "|" + info.V2Artist + "|" + info.V2Year + "|" +
                info.V2Genre,
            "2.3|" + title + "|Kino Band|1989|Rock");
  const std::string bytes = SongBytes();
  EXPECT_NE(bytes.find(picture), std::string::npos);
  EXPECT_NE(bytes.find("Remastered"), std::string::npos);
  EXPECT_EQ(bytes.substr(info.Id3v2Length, m_audio.size()), m_audio);
  EXPECT_EQ(info.TagTitle + "|" + info.TagArtist, title.substr(0, 30) + "|Kino Band");
  EXPECT_EQ(bytes.size(), info.Id3v2Length + m_audio.size() + 128);

  // An empty field and one the editor keeps leave the tag's value.
  TagEditorValues blank{.artist = "Someone", .keep_artist = true};
  Write(kSong, blank, true);
  EXPECT_EQ(ReadBack().V2Artist + "|" + ReadBack().V2Title, "Kino Band|" + title);

  // A replace that fails writes neither tag; a file without an ID3v2 tag
  // gets none.
  const std::string before = SongBytes();
  m_platform.Fail(PlatformCall::kWriteFile, StatusCode::kNoSpace);
  TagEditorValues other{.title = "Other"};
  Write(kSong, other, true);
  EXPECT_EQ(m_failures,
            std::vector<std::string>{"Cannot write \"" + m_folder.Path("c/Music/song.mp3") +
                                     "\": No space left on device"});
  EXPECT_EQ(SongBytes(), before);
  Song(m_audio);
  Write(kSong, other, true);
  EXPECT_EQ(SongBytes().substr(0, m_audio.size()), m_audio);
  EXPECT_EQ(SongBytes().size(), m_audio.size() + 128);
}

// The window reports only a refused access; so every way an erase can fail
// is told apart by its code.
TEST_F(TagWriterTest, EraseTellsARefusedAccessFromAMissingFileOrAFullDisk) {
  TagEditorValues values{.title = "t"};
  Erase("C:\\Music\\missing.mp3", values);
  Erase("Q:\\nowhere.mp3", values);
  EXPECT_EQ(values.title, "");

  const std::string tagged = m_audio + Id3v1Block({.title = "Title"});
  Song(tagged);
  m_platform.Fail(PlatformCall::kWriteAt, StatusCode::kNoSpace);
  Erase(kSong, values);
  m_platform.Fail(PlatformCall::kResetAttributes, StatusCode::kNotFound);
  Erase(kSong, values);
  m_platform.Fail(PlatformCall::kOpenFile, StatusCode::kNoAccess);
  Erase(kSong, values);
  m_platform.Fail(PlatformCall::kWriteAt, StatusCode::kNoAccess);
  Erase(kSong, values);
  m_folder.MakeFolder("c/Music/folder.mp3");
  Erase("C:\\Music\\folder.mp3", values);
  EXPECT_EQ(m_erase_failures, (std::vector<StatusCode>{StatusCode::kNotFound, StatusCode::kNotFound,
                                                       StatusCode::kNoSpace, StatusCode::kNoAccess,
                                                       StatusCode::kNoAccess, StatusCode::kNoAccess,
                                                       StatusCode::kNoAccess}));
  EXPECT_EQ(SongBytes(), tagged);
}

}  // namespace
}  // namespace tallymere
