#include "mp3/audio_fingerprint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mp3/memory_file.h"
#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::MemoryFile;

AudioHash HashOf(const std::string& bytes, const std::string& extension) {
  const MemoryFile file(bytes);
  const Result<AudioHash> hash = AudioFingerprint(file, file.length(), extension);
  EXPECT_TRUE(hash.ok()) << hash.status().message();
  return hash.ok() ? *hash : AudioHash();
}

AudioHash HashOfFixture(const std::string& name, const std::string& extension) {
  return HashOf(testing::Slurp(testing::AudioPath(name)), extension);
}

bool Same(const AudioHash& a, const AudioHash& b) {
  return a.audio_bytes > 0 && a.hash == b.hash && a.audio_bytes == b.audio_bytes;
}

// One song encoded once, then tagged and renamed as taggers do: ID3v1,
// ID3v2 with and without a cover, both.
TEST(AudioFingerprintTest, TaggedAndRenamedCopiesOfASongShareItsFingerprint) {
  const AudioHash song = HashOfFixture("song.mp3", "mp3");
  ASSERT_GT(song.audio_bytes, 0);
  for (const char* copy :
       {"song_id3v1.mp3", "song_id3v2.mp3", "song_id3v2_cover.mp3", "song_both_renamed.mp3"}) {
    EXPECT_TRUE(Same(HashOfFixture(copy, "mp3"), song)) << copy;
  }
  EXPECT_FALSE(Same(HashOfFixture("other_song.mp3", "mp3"), song));
  const AudioHash flac = HashOfFixture("other_same_length.flac", "flac");
  EXPECT_GT(flac.audio_bytes, 0);
  EXPECT_FALSE(Same(flac, song));
  // A FLAC file's picture block and tags are no audio: its copy with
  // other tags keeps the hash of its frames.
  EXPECT_GT(HashOfFixture("aac.m4a", "m4a").audio_bytes, 0);
  EXPECT_TRUE(Same(HashOfFixture("aac.m4a", "m4a"), HashOfFixture("aac_moov_at_end.m4a", "m4a")));
  // Formats without a fingerprint.
  EXPECT_EQ(HashOfFixture("vorbis.ogg", "ogg").audio_bytes, 0);
  EXPECT_FALSE(HasAudioFingerprint("ogg"));
}

TEST(AudioFingerprintTest, SongsThatBeginAlikeDifferByTheirLengthAndTagsNeverCount) {
  // Silence past the hashed part: the same first 256 KB, other lengths.
  std::string short_song = testing::Frame();
  short_song.resize(300 * 1024, '\0');
  std::string long_song = short_song;
  long_song.resize(400 * 1024, '\0');
  const AudioHash a = HashOf(short_song, "mp3");
  const AudioHash b = HashOf(long_song, "mp3");
  EXPECT_EQ(a.hash, b.hash);
  EXPECT_NE(a.audio_bytes, b.audio_bytes);
  // Tags before and after change nothing.
  const std::string tagged = testing::Id3v2Block(5000) + short_song +
                             testing::Id3v1Block({.title = "Song", .artist = "Band"});
  EXPECT_TRUE(Same(HashOf(tagged, "mp3"), a));
  // A Xing frame, which taggers rewrite, is left out.
  EXPECT_TRUE(Same(HashOf(testing::XingFrame(100) + short_song, "mp3"), a));
}

TEST(AudioFingerprintTest, DamagedAndChangingFilesGetNoFingerprintAndNoError) {
  // A tag that claims to end past the file, a file shorter than its header.
  std::string past = testing::Id3v2Block(100);
  past[6] = 0x7F;
  EXPECT_EQ(HashOf(past + testing::Frame(), "mp3").audio_bytes, 0);
  EXPECT_EQ(HashOf("ID3", "mp3").audio_bytes, 0);
  EXPECT_EQ(HashOf("", "mp3").audio_bytes, 0);
  EXPECT_EQ(HashOf("fLaC\x80\xFF\xFF\xFF", "flac").audio_bytes, 0);
  EXPECT_EQ(HashOf(std::string("\xFF\xFF\xFF\xFFmdat", 8), "m4a").audio_bytes, 0);
  EXPECT_EQ(HashOf(std::string("\x00\x00\x00\x04moov", 8), "m4a").audio_bytes, 0);
  // A file whose length changed since it was listed.
  const MemoryFile file(testing::Frame() + std::string(1000, '\0'));
  const Result<AudioHash> hash = AudioFingerprint(file, file.length() - 10, "mp3");
  ASSERT_TRUE(hash.ok());
  EXPECT_EQ(hash->audio_bytes, 0);
  // Only the hashed part is read.
  const MemoryFile big(testing::Frame(), int64_t{4} << 30);
  ASSERT_TRUE(AudioFingerprint(big, big.length(), "mp3").ok());
  EXPECT_LE(big.read(), kHashedAudioBytes + 4096);
}

}  // namespace
}  // namespace tallymere
