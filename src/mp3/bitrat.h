#pragma once
// Bitrat: what the program knows about one MP3 file. ReadMp3Info finds the
// first MPEG audio frame header near the start (version, layer, bitrate,
// sample rate), the average bitrate of a variable-bitrate file whose first
// frame holds a Xing or VBRI header, and the ID3v1 tag at the end, and leaves
// what it found in the caller's Mp3Info.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/code_page.h"
#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

// What the last read found. A read sets only the fields its path reaches; every
// other field keeps its value, so a caller that wants a clean record passes a
// fresh one.
struct Mp3Info {
  std::string MpegVersion;   // "1.0", "2.0", "2.5" or "reserved"
  std::string MpegLayer;     // "I", "II", "III", or "0" for the reserved layer code
  float SampleRate = 0;      // Hz; 0 when the sample-rate code is the reserved one
  int16_t FrameBitrate = 0;  // kbps, from the bitrate table of the header
  uint32_t XingFrames = 0;   // frame count of a Xing, Info or VBRI header
  bool HasId3v1Tag = false;  // the file ends in an ID3v1 tag
  std::string TagTitle;
  std::string TagArtist;
  std::string TagAlbum;
  std::string TagYear;
  std::string TagComment;
  std::string TagGenre;  // the name from Genres, "" for 148 and above
  // A leading ID3v2 tag: its length in bytes (header, body and footer; 0 for
  // none), its version ("2.3", empty for none) and its text fields.
  uint32_t Id3v2Length = 0;
  std::string Id3v2Version;
  std::string V2Title;
  std::string V2Artist;
  std::string V2Album;
  std::string V2Year;   // "1986", or a date "2004-05-01"
  std::string V2Genre;  // a name

  // Empties the six tag texts and clears HasId3v1Tag.
  void ClearTag();
  // Artist, title and album as the catalog takes them: the ID3v1 tag's when
  // the file ends in one (so older catalogs rescan to the same records),
  // else the ID3v2 tag's, which most taggers today write alone.
  const std::string& CatalogArtist() const { return HasId3v1Tag ? TagArtist : V2Artist; }
  const std::string& CatalogTitle() const { return HasId3v1Tag ? TagTitle : V2Title; }
  const std::string& CatalogAlbum() const { return HasId3v1Tag ? TagAlbum : V2Album; }
  // The bytes of the audio: the file without its leading ID3v2 tag.
  int64_t AudioBytes(int64_t file_length) const {
    return file_length > Id3v2Length ? file_length - Id3v2Length : 0;
  }
};

// How far into the audio the frame header is looked for: the window starts at
// the first byte after a leading ID3v2 tag (at 0 when there is none).
inline constexpr int kHeaderSearchBytes = 3000;

// Reads one file. Returns the bitrate in kbps as decimal text ("128"), or "---"
// when no usable frame header starts in the first kHeaderSearchBytes bytes of
// the audio.
//
// - Header path: the first frame header sets MpegVersion, MpegLayer and
//   SampleRate. When that frame is a Layer III frame holding a Xing, Info or
//   VBRI header with a frame count, XingFrames takes the count.
// - Variable bitrate (a Xing or VBRI count and a known sample rate): the
//   bitrate is the file's average, its audio bytes (the file without a
//   leading ID3v2 tag, whose pictures can be megabytes) over the playing
//   time the count gives (AverageBitrate); FrameBitrate keeps its value.
//   A count that cannot belong to the file (the average falls outside the
//   bitrates of the frame's version and layer, as a damaged or hostile header
//   makes it) is passed over, and the file reads as one without a VBR header.
// - Otherwise, constant-bitrate "Info" files included: FrameBitrate and the
//   returned text are the frame's bitrate.
// - "---" (no header, or one with a reserved version or layer): leaves all
//   four header fields as they were.
// - Always, on success: HasId3v1Tag and the tag texts (emptied when there is no
//   tag), read in the code page given; and the ID3v2 fields (emptied when
//   there is no ID3v2 tag). Only the ID3v2 tag's text frames are read, never
//   a picture; a damaged ID3v2 tag leaves its fields empty and is no failure.
//
// Fails with the system's description ("File not found", "Permission
// denied") when the file cannot be opened or read; the caller adds the path.
Result<std::string> ReadMp3Info(const Platform& platform, const std::string& native_path,
                                Mp3Info* info, const CodePage& id3v1_code_page = CodePage());

// The same for a file the caller has open, file_length bytes long (a scan
// opens each file itself and learns its length in doing so). A file of a few
// kilobytes is read with one read, a larger one with one for its start and
// one for its tag.
Result<std::string> ReadMp3Info(const RandomAccessFile& file, int64_t file_length, Mp3Info* info,
                                const CodePage& id3v1_code_page = CodePage());

// --- The decoding steps, exposed for tests ------------------------------------

// Eight characters "1"/"0", most significant bit first.
std::string BitString(uint8_t value);

// Decodes the second header byte (111VVLLP): sets MpegVersion from VV and
// MpegLayer from LL. Returns the byte's bit string.
std::string DecodeVersionLayer(uint8_t mode_byte, Mp3Info* info);

// Decodes the third header byte (BBBBSSPX) with the version and layer already
// in info: sets FrameBitrate and SampleRate and returns the bitrate in kbps.
// Version "2.5" uses the MPEG-2 tables with its own sample rates. A reserved
// version or layer "0" has no table: nothing is set and nothing is returned.
std::optional<int> DecodeBitrate(uint8_t rate_byte, Mp3Info* info);

// The lowest and highest bitrate in kbps a frame of this version and layer
// can have; nothing for a reserved version or layer "0".
struct BitrateRange {
  int lowest = 0;
  int highest = 0;
};
std::optional<BitrateRange> BitrateRangeOf(std::string_view version, std::string_view layer);

// The frame count of a Xing header: four bytes, big-endian.
uint32_t XingFrameCount(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);

}  // namespace tallymere
