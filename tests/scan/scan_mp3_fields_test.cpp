#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "mp3/mp3_fixtures.h"
#include "scan/playing_time.h"
#include "scan/scan_disk.h"
#include "scan/scan_fixture.h"

namespace tallymere {
namespace {

using testing::FindRecord;
using testing::ScanFixture;

const ScanSettings kMp3WithInfo{"mp3", 1};

// A file of `size` bytes that starts with head and ends with tail; the bytes
// between are a hole, so gigabytes cost nothing.
void WriteSparse(const std::string& path, int64_t size, const std::string& head,
                 const std::string& tail = "") {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(write(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));
  ASSERT_EQ(ftruncate(fd, size), 0);
  const off_t at = static_cast<off_t>(size - static_cast<int64_t>(tail.size()));
  ASSERT_EQ(pwrite(fd, tail.data(), tail.size(), at), static_cast<ssize_t>(tail.size()));
  close(fd);
}

// "size bitrate time artist|title|album" of the record of a file.
std::string Fields(const CatalogTable& table, const std::string& name) {
  const CatalogRecord* r = FindRecord(table, name);
  if (r == nullptr) return "no record of " + name;
  return std::to_string(r->size) + " " + r->bitrate + " " + r->time + " " + r->artist + "|" +
         r->title + "|" + r->album;
}

TEST(ScanMp3FieldsTest, ReadsBitrateTimeAndTagOrWhatWasFoundAndReportsAFileThatCannotBeRead) {
  ScanFixture fixture;
  fixture.Folder("Music/B");
  const std::string tag = testing::Id3v1Block({.title = "Song", .artist = "Band", .album = "Rec"});
  WriteSparse(fixture.folder().Path("c/Music/B/tagged.mp3"), 4000000, testing::Frame(), tag);
  fixture.Write("Music/B/untagged.mp3", testing::Frame());
  fixture.Write("Music/B/noheader.mp3", testing::Zeros(500) + tag);
  fixture.Write("Music/B/empty.mp3");
  // A Xing header that counts no frames leaves the first frame's bitrate.
  WriteSparse(fixture.folder().Path("c/Music/B/xing.mp3"), 960000, testing::XingFrame(0), tag);
  // A file that is listed but gone when it is read.
  fixture.Folder("Music/A");
  fixture.platform().InventFiles("C:\\Music\\A\\", 1);
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());

  EXPECT_EQ(Fields(table, "tagged.mp3"), "4000000 128 04:09 Band|Song|Rec");  // x = 250, T = 249
  // 417 bytes: x = 0.026 rounds to 0, so T = -1 and the seconds part is -1.
  EXPECT_EQ(Fields(table, "untagged.mp3"), "417 128 00:00 ||");
  EXPECT_EQ(Fields(table, "noheader.mp3"), "628 --- --- Band|Song|Rec");
  EXPECT_EQ(Fields(table, "empty.mp3"), "0 --- --- ||");
  EXPECT_EQ(Fields(table, "xing.mp3"), "960000 128 00:59 Band|Song|Rec");  // x = 60

  // The file that cannot be read is reported, keeps a record without MP3
  // fields, and the scan goes on with the next folder.
  const std::vector<testing::UiCall> messages = fixture.ui().Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "File not found. while opening \"C:\\Music\\A\\f0.mp3\"");
  EXPECT_EQ(messages[0].buttons, Buttons::kOk);
  EXPECT_EQ(messages[0].icon, Icon::kStop);
  EXPECT_EQ(messages[0].title, "Tallymere");
  EXPECT_EQ(Fields(table, "f0.mp3"), "0   ||");
  EXPECT_EQ(fixture.file_count(), 6);
}

TEST(ScanMp3FieldsTest, TodaysFilesGiveTheirId3v2FieldsAndATimeWithoutTheirPictures) {
  ScanFixture fixture;
  const std::string data = std::string(TALLYMERE_TEST_DATA) + "/mp3/id3v2/";
  for (const char* name : {"v24_utf8.mp3", "v23_picture_100k.mp3", "v23_and_id3v1.mp3"}) {
    fixture.Write(std::string("Music/") + name, testing::ReadFileBytes(data + name));
  }
  // 30 seconds of 128 kbps audio (480000 bytes) behind a 400 KB cover picture.
  const std::string cover = testing::Id3v2Block(400000);
  std::string cbr = testing::Frame();
  cbr.resize(480000, '\0');
  fixture.Write("Music/cover_cbr.mp3", cover + cbr);
  // 800 VBR frames of 1152 samples at 44100 Hz in 400000 audio bytes: 153 kbps.
  std::string vbr = testing::XingFrame(800);
  vbr.resize(400000, '\0');
  fixture.Write("Music/cover_vbr.mp3", cover + vbr);
  // A tag that claims more bytes than the file has is no error; the audio is
  // looked for after the tag, as ever, and is not found.
  std::string damaged = testing::Id3v2Block(100);
  damaged[6] = 0x7F;
  fixture.Write("Music/damaged.mp3", damaged + testing::Frame());
  // "Кино" by "Группа" from a player set to Windows-1251.
  fixture.Write("Music/cyrillic.mp3",
                testing::Frame() + testing::Id3v1Block({.title = "\xCA\xE8\xED\xEE",
                                                        .artist = "\xC3\xF0\xF3\xEF\xEF\xE0"}));
  ScanSettings settings = kMp3WithInfo;
  settings.id3v1_code_page = *CodePage::Named("Windows-1251");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, settings, &table).ok());
  EXPECT_TRUE(fixture.ui().Messages().empty());

  EXPECT_EQ(Fields(table, "v24_utf8.mp3"), "9288 128 00:00 Сергей Ødegaard|東京 Drift|Unterwegs 𝄞");
  // The whole file would give 109211 / 16000 = 6.8 seconds: "00:06".
  EXPECT_EQ(Fields(table, "v23_picture_100k.mp3"),
            "109211 128 00:00 Niño Pintor|Portada Grande|Álbum Ilustrado");
  // An ID3v1 tag keeps the say, as it always had.
  EXPECT_EQ(Fields(table, "v23_and_id3v1.mp3"),
            "9449 128 00:00 One Artist v23" + std::string(16, '\0') + "|One Title v23" +
                std::string(17, '\0') + "|One Album v23" + std::string(17, '\0'));
  // Counting the picture would give 880010 / 16000 = 55 seconds, "00:54".
  EXPECT_EQ(Fields(table, "cover_cbr.mp3"), "880010 128 00:29 ||");
  // Counting the picture would give the average 306 kbps.
  EXPECT_EQ(Fields(table, "cover_vbr.mp3"), "800010 153 00:20 ||");
  EXPECT_EQ(Fields(table, "damaged.mp3"), "527 --- --- ||");
  EXPECT_EQ(Fields(table, "cyrillic.mp3"), "545 128 00:00 Группа|Кино|");
}

TEST(ScanMp3FieldsTest, RecordsAFileOfTwoGigabytesOrMoreWithItsTrueSize) {
  ScanFixture fixture;
  fixture.Folder("Big");
  WriteSparse(fixture.folder().Path("c/Big/huge.mp3"), int64_t{3} << 30, testing::Frame());
  WriteSparse(fixture.folder().Path("c/Big/edge.mp3"), int64_t{1} << 31, testing::Frame());
  WriteSparse(fixture.folder().Path("c/Big/below.mp3"), (int64_t{1} << 31) - 1, testing::Frame());
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Big"}, kMp3WithInfo, &table).ok());
  // The time comes from the size the Size field holds, as the described
  // formula has it; the record keeps the true size.
  EXPECT_EQ(Fields(table, "huge.mp3"), "3221225472 128 2236:57 ||");
  EXPECT_EQ(Fields(table, "edge.mp3"), "2147483648 128 2236:57 ||");
  EXPECT_EQ(FindRecord(table, "below.mp3")->size, 2147483647);
  EXPECT_EQ(table.TotalSize(), (int64_t{3} << 30) + (int64_t{1} << 31) + 2147483647);
}

// The time is round(size / bytes a second) - 1 seconds; a variable bitrate
// file's comes from its average bitrate.
TEST(RealMp3ScanTest, RecordsBitrateTimeAndTagOfRealFiles) {
  constexpr std::pair<std::string_view, std::string_view> kFiles[] = {
      {"cbr128_44100_stereo.mp3", "9194 128 00:00 ||"},
      {"mpeg2_cbr32_22050_mono.mp3", "8255 32 00:01 ||"},
      {"mpeg25_cbr8_8000_mono.mp3", "8208 8 00:07 ||"},
      {"vbr_xing_44100_joint.mp3", "10348 99 00:00 ||"},
      // Its ID3v2 tag holds only a title, which the catalog takes: there is no ID3v1 tag.
      {"id3v2_picture_cbr112_48000.mp3", "10685 112 00:00 |Cover Art|"},
      {"id3v1_full_cbr64_32000_mono.mp3",
       "8768 64 00:00 An Artist Whose Name Fills All|Thirty Bytes Of Title Fill It!|"
       "Caf\xC3\xA9 Album Of Exactly 30 Bytes"},
      {"vbr_xing_44100_mono.mp3", "7552 58 00:00 ||"},           // x = 1.04
      {"vbr_xing_48000_joint.mp3", "10560 101 00:00 ||"},        // x = 0.84
      {"mpeg2_vbr_xing_22050_mono.mp3", "7466 29 00:01 ||"},     // x = 2.06
      {"mpeg2_vbr_xing_24000_stereo.mp3", "11544 59 00:01 ||"},  // x = 1.57
      {"mpeg25_vbr_xing_11025_mono.mp3", "6815 17 00:02 ||"},    // x = 3.21
  };
  ScanFixture fixture;
  for (const auto& [name, fields] : kFiles) {
    const std::string bytes =
        testing::ReadFileBytes(std::string(TALLYMERE_TEST_DATA) + "/mp3/" + std::string(name));
    ASSERT_FALSE(bytes.empty()) << name;
    fixture.Write("Music/" + std::string(name), bytes);
  }
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());
  EXPECT_TRUE(fixture.ui().Messages().empty());
  for (const auto& [name, fields] : kFiles) EXPECT_EQ(Fields(table, std::string(name)), fields);
}

// A music folder of today: MP3 files beside FLAC, Ogg, Opus and MP4 files,
// a file whose extension lies, and files that are no music at all.
TEST(ScanMp3FieldsTest, AnAudioScanReadsEveryFormatAndMp3FilesAsBefore) {
  ScanFixture fixture;
  const std::string data = std::string(TALLYMERE_TEST_DATA) + "/audio/";
  for (const char* name : {"flac_two_artists.flac", "vorbis.ogg", "opus.opus", "aac.m4a",
                           "song_id3v1.mp3", "id3.aiff", "aac.aac"}) {
    fixture.Write(std::string("Music/") + name, testing::ReadFileBytes(data + name));
  }
  fixture.Write("Music/fake.flac", "no audio here");
  fixture.Write("Music/cover.jpg", "picture");
  fixture.Write("Music/notes.txt", "text");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, {"audio", 1}, &table).ok());
  EXPECT_TRUE(fixture.ui().Messages().empty());
  EXPECT_EQ(table.FileCount(), 8);
  EXPECT_EQ(Fields(table, "flac_two_artists.flac"),
            "10408 81 00:01 Serge Gainsbourg / Jane Birkin|Je t\u2019aime\u2026 moi non "
            "plus|Jane Birkin et Serge Gainsbourg");
  EXPECT_EQ(Fields(table, "vorbis.ogg"),
            "5040 10 00:02 \u041a\u0438\u043d\u043e|\u0413\u0440\u0443\u043f\u043f\u0430 "
            "\u043a\u0440\u043e\u0432\u0438|\u0413\u0440\u0443\u043f\u043f\u0430 "
            "\u043a\u0440\u043e\u0432\u0438");
  EXPECT_EQ(Fields(table, "opus.opus"), "4423 15 00:02 R\u00f6yksopp|Eple|Melody A.M.");
  EXPECT_EQ(Fields(table, "aac.m4a"), "6984 24 00:02 Beyonc\u00e9|Halo|I Am\u2026 Sasha Fierce");
  EXPECT_EQ(Fields(table, "id3.aiff"), "16206 128 00:01 \u00c5ge Aleksandersen|Levva livet|Ramp");
  // The MP3 file keeps the described reading: its time is one second short
  // and its ID3v1 fields keep their padding.
  const auto padded = [](std::string text, std::size_t nuls) {
    return text + std::string(nuls, '\0');
  };
  EXPECT_EQ(Fields(table, "song_id3v1.mp3"), "12656 48 00:01 " + padded("Kino", 26) + "|" +
                                                 padded("Zvezda po imeni Solntse", 7) + "|" +
                                                 padded("Caf\u00e9 Kamchatka", 16));
  // What cannot be read is "---", as a damaged MP3 file is, and no failure.
  EXPECT_EQ(Fields(table, "fake.flac"), "13 --- --- ||");
  EXPECT_EQ(Fields(table, "aac.aac"), "6623 --- --- ||");
}

std::string TimeOf(int32_t size, std::string_view bitrate) {
  const Result<std::string> time = PlayingTime(size, bitrate);
  return time.ok() ? *time : "error: " + time.status().message();
}

TEST(PlayingTimeTest, CountsSecondsRoundingHalfToEvenWithoutASixteenBitLimit) {
  EXPECT_EQ(TimeOf(4000000, "128"), "04:09");  // x = 250, T = 249
  EXPECT_EQ(TimeOf(16000 * 61 + 16000, "128"), "01:01");
  EXPECT_EQ(TimeOf(120128000, "128"), "125:07");  // more than two digits of minutes
  EXPECT_EQ(TimeOf(4000000, "320"), "01:39");     // x = 100
  EXPECT_EQ(TimeOf(576000000, "128"), "599:59");  // ten hours
  EXPECT_EQ(TimeOf(2147483647, "8"), "35791:23");
  // x = 2.5: round(x) = 2 gives T = 1, but round(x - 1) = round(1.5) = 2.
  EXPECT_EQ(TimeOf(40000, "128"), "00:02");
  // x = 3.5: round(x) = 4 gives T = 3, and round(2.5) = 2.
  EXPECT_EQ(TimeOf(56000, "128"), "00:02");
  EXPECT_EQ(TimeOf(0, "128"), "00:00");
  EXPECT_EQ(TimeOf(417, "128"), "00:00");   // under half a second rounds to 0 too
  EXPECT_EQ(TimeOf(8000, "128"), "00:00");  // exactly half a second: to even, 0
  EXPECT_EQ(TimeOf(8001, "128"), "00:00");  // just over: 1 second, minus 1
  EXPECT_EQ(TimeOf(4000000, "0"), "error: Division by zero");
  EXPECT_FALSE(PlayingTime(4000000, "").ok());
}

}  // namespace
}  // namespace tallymere
