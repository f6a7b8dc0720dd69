// ReadMp3Info over ID3v2 tags that are damaged or hostile: what is sound is
// read, the rest stays empty, and nothing is asked of the file beyond its
// end or of a picture's bytes.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>

#include "mp3/audio_info.h"
#include "mp3/bitrat.h"
#include "mp3/memory_file.h"
#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::Id3v2Frame;
using testing::Id3v2Tag;
using testing::Id3v2Text;

// A file held in memory that notes what is asked of it.
struct MemoryFile : RandomAccessFile {
  explicit MemoryFile(std::string bytes) : m_bytes(std::move(bytes)) {}
  Result<int64_t> Length() const override { return static_cast<int64_t>(m_bytes.size()); }
  Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) const override {
    m_asked += size;
    m_largest = std::max(m_largest, size);
    const auto start = std::min(static_cast<std::size_t>(offset), m_bytes.size());
    *bytes = m_bytes.substr(start, size);
    return Status::Ok();
  }
  Status WriteAt(int64_t, std::string_view) override { return Status::Error("read only"); }
  Status Close() override { return Status::Ok(); }

  const std::string m_bytes;
  mutable std::size_t m_asked = 0, m_largest = 0;  // in all, and in one read
};

// "version|artist|title|album" of the bytes, and what their reading asked.
struct Read {
  std::string fields;
  std::size_t asked, largest;
};
Read ReadFields(const std::string& bytes) {
  MemoryFile file(bytes);
  Mp3Info info;
  EXPECT_TRUE(ReadMp3Info(file, static_cast<int64_t>(bytes.size()), &info).ok());
  return {info.Id3v2Version + "|" + info.V2Artist + "|" + info.V2Title + "|" + info.V2Album,
          file.m_asked, file.m_largest};
}

TEST(Id3v2DamagedTest, WhatIsSoundIsReadAndWhatIsNotStaysEmpty) {
  const std::string audio = testing::Frame();
  struct Case {
    const char* what;
    std::string bytes;
    const char* fields;
  };
  const Case cases[] = {
      {"a size past the end of the file",
       Id3v2Tag(4, Id3v2Text(4, "TIT2", "Sound") + Id3v2Text(4, "TPE1", "Artist"), 0x0FFFFFFF),
       "2.4|Artist|Sound|"},
      {"a frame whose size runs past the tag: nothing after it is trusted",
       Id3v2Tag(3, Id3v2Text(3, "TIT2", "Ok") + Id3v2Frame(3, "TPE1", "x", 0, 0x7FFFFFFF) +
                       Id3v2Text(3, "TALB", "No")) +
           audio,
       "2.3||Ok|"},
      {"an encrypted frame (2.4 flag 0x0004) is passed over",
       Id3v2Tag(4, Id3v2Frame(4, "TPE1", std::string("\x01secret", 7), 0x0004) +
                       Id3v2Text(4, "TIT2", "Title")) +
           audio,
       "2.4||Title|"},
      {"a compressed frame (2.3 flag 0x0080) that does not inflate",
       Id3v2Tag(3, Id3v2Frame(3, "TPE1", std::string("\0\0\0\x10garbage", 11), 0x0080) +
                       Id3v2Text(3, "TALB", "Album")) +
           audio,
       "2.3|||Album"},
      {"empty frames: size 0, and a frame of its encoding byte alone",
       Id3v2Tag(4, Id3v2Frame(4, "TALB", "") + Id3v2Frame(4, "TPE1", std::string(1, '\0')) +
                       Id3v2Text(4, "TIT2", "After")) +
           audio,
       "2.4||After|"},
      {"UTF-16 without a byte-order mark, whose byte order nothing tells",
       Id3v2Tag(
           3, Id3v2Frame(3, "TIT2", std::string("\x01\0A\0B", 5)) + Id3v2Text(3, "TALB", "Kept")) +
           audio,
       "2.3|||Kept"},
      {"control characters become spaces",
       Id3v2Tag(4, Id3v2Text(4, "TIT2", "Line\nBreak\tTab")) + audio, "2.4||Line Break Tab|"},
      {"a version ID3v2 has not got (2.5)", Id3v2Tag(5, Id3v2Text(4, "TIT2", "Future")) + audio,
       "|||"},
      {"a file that is only a tag header", Id3v2Tag(3, ""), "2.3|||"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Read read = ReadFields(c.bytes);
    EXPECT_EQ(read.fields, c.fields);
    // Never more than the file's first page and the audio window after the tag.
    EXPECT_LE(read.largest, std::max<std::size_t>(c.bytes.size(), kHeaderSearchBytes));
  }
}

TEST(Id3v2DamagedTest, APictureOfMegabytesIsSteppedOverAndAHugeTextIsCut) {
  const std::string picture = testing::PictureData(4 << 20);
  const std::string tag =
      Id3v2Tag(3, Id3v2Frame(3, "APIC", picture) + Id3v2Text(3, "TIT2", "Past the picture") +
                      Id3v2Text(3, "TPE1", std::string(100000, 'a')));
  const Read read = ReadFields(tag + testing::Frame());
  ASSERT_EQ(read.fields.substr(0, 4), "2.3|");
  EXPECT_EQ(read.fields.substr(4 + 1024), "|Past the picture|");
  // The first page, the 100 KB text frame and a page at each place read
  // beyond them: never the picture's 4 MB.
  EXPECT_LT(read.asked, 4 * 4096 + 100011);

  // A whole-tag unsynchronised 2.3 tag is read whole, but only as far as the
  // file goes whatever size it claims.
  const std::string unsynchronised =
      Id3v2Tag(3, Id3v2Text(3, "TIT2", "Unsync"), 0x0FFFFFFF, /*flags=*/0x80) + testing::Frame();
  const Read unsync = ReadFields(unsynchronised);
  EXPECT_EQ(unsync.fields, "2.3||Unsync|");
  EXPECT_LE(unsync.largest, std::max<std::size_t>(unsynchronised.size(), 4096));
}

TEST(Id3v2DamagedTest, TheYearAndGenreAreReadAsTheEditorShowsThem) {
  const auto year_and_genre = [](const std::string& tag) {
    const std::string bytes = tag + testing::Frame();
    MemoryFile file(bytes);
    Mp3Info info;
    EXPECT_TRUE(ReadMp3Info(file, static_cast<int64_t>(bytes.size()), &info).ok());
    return info.V2Year + "|" + info.V2Genre;
  };
  // ID3v2.3 writes TYER and a genre number "(17)"; with a refinement the
  // number still names it.
  EXPECT_EQ(
      year_and_genre(Id3v2Tag(3, Id3v2Text(3, "TYER", "1986") + Id3v2Text(3, "TCON", "(17)"))),
      "1986|Rock");
  EXPECT_EQ(year_and_genre(Id3v2Tag(3, Id3v2Text(3, "TCON", "(8)Jazz"))), "|Jazz");
  // ID3v2.4 writes a date and a name or a bare number; a number past the
  // list names nothing.
  EXPECT_EQ(year_and_genre(Id3v2Tag(
                4, Id3v2Text(4, "TDRC", "2004-05-01") + Id3v2Text(4, "TCON", "Synthwave"))),
            "2004-05-01|Synthwave");
  EXPECT_EQ(year_and_genre(Id3v2Tag(4, Id3v2Text(4, "TCON", "200"))), "|");
  EXPECT_EQ(year_and_genre(Id3v2Tag(4, Id3v2Text(4, "TCON", "0"))), "|Blues");
}

// The body of a compressed frame: the size the bytes inflate to, as
// ID3v2.3 (big-endian) or 2.4 (sync-safe) writes it, then their zlib stream.
std::string Compressed(int version, const std::string& bytes) {
  uLongf size = compressBound(bytes.size());
  std::string stream(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(stream.data()), &size,
                      reinterpret_cast<const Bytef*>(bytes.data()), bytes.size(), 9),
            Z_OK);
  stream.resize(size);
  const auto length = static_cast<uint32_t>(bytes.size());
  return (version == 4 ? testing::SyncSafe(length) : testing::BigEndian32(length)) + stream;
}

TEST(Id3v2DamagedTest, ACompressedFrameIsInflatedAndOneThatExpandsTooFarIsDropped) {
  // 64 MB of one letter deflate to 64 KB: a frame no reader may inflate.
  const std::string bomb = Compressed(3, std::string(1, '\0') + std::string(64 << 20, 'A'));
  const std::string tag3 =
      Id3v2Tag(3, Id3v2Frame(3, "TIT2", Compressed(3, std::string("\0Packed title", 13)), 0x0080) +
                      Id3v2Frame(3, "TPE1", bomb, 0x0080) + Id3v2Text(3, "TALB", "After"));
  EXPECT_EQ(ReadFields(tag3 + testing::Frame()).fields, "2.3||Packed title|After");

  // ID3v2.4 says compression (0x0008) with the data length (0x0001).
  const std::string tag4 = Id3v2Tag(
      4, Id3v2Frame(4, "TPE1", Compressed(4, std::string("\x03Кино")), 0x0009) +
             Id3v2Frame(4, "TIT2", Compressed(4, std::string(1, '\0') + std::string(2 << 20, 'B')),
                        0x0009) +
             Id3v2Text(4, "TALB", "Album"));
  EXPECT_EQ(ReadFields(tag4 + testing::Frame()).fields, "2.4|Кино||Album");

  // The formats TagLib reads whole, their ID3v2 tag through the same bounds.
  const std::string song = testing::Slurp(testing::AudioPath("song.mp3"));
  testing::MemoryFile file(tag3 + song);
  const Result<AudioInfo> info = ReadAudioInfo(file, file.length(), "mp2");
  ASSERT_TRUE(info.ok()) << info.status().message();
  EXPECT_EQ(info->title, "Packed title");
  EXPECT_EQ(info->artist, "");
  EXPECT_EQ(info->album, "After");
}

}  // namespace
}  // namespace tallymere
