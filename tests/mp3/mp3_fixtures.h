#pragma once
// Builders for the bytes of MP3 test files. Header-only so the benchmarks can use it too.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tallymere::testing {

// Typical size of a 128 kbps MPEG-1 Layer III frame at 44100 Hz.
inline constexpr std::size_t kFrameBytes = 417;

inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

// n zero bytes: never part of a frame header.
inline std::string Zeros(std::size_t n) { return std::string(n, '\0'); }

// A frame: sync, mode and rate byte, a fourth header byte, then silence.
// The defaults are MPEG-1 Layer III, 128 kbps, 44100 Hz.
inline std::string Frame(uint8_t mode = 0xFB, uint8_t rate = 0x90, std::size_t size = kFrameBytes) {
  std::string frame = Bytes({0xFF, mode, rate, 0x44});
  frame.resize(size < 4 ? 4 : size, '\0');
  return frame;
}

// Four bytes, most significant first.
inline std::string BigEndian32(uint32_t value) {
  return Bytes({static_cast<int>(value >> 24), static_cast<int>((value >> 16) & 0xFF),
                static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF)});
}

// A first frame holding a Xing or Info header; by default MPEG-1 Layer III
// joint stereo, 128 kbps, 44100 Hz, the header at 36.
struct XingFields {
  uint32_t frames = 0;
  uint8_t mode = 0xFB;
  uint8_t rate = 0x90;
  uint8_t channels = 0x44;  // the fourth header byte; 0xC4 is mono
  std::size_t offset = 36;
  std::string marker = "Xing";
  uint32_t flags = 0x0F;  // frames, bytes, TOC, quality
};

inline std::string XingFrame(const XingFields& f) {
  std::string frame = Frame(f.mode, f.rate);
  frame[3] = static_cast<char>(f.channels);
  frame.replace(f.offset, 12, f.marker + BigEndian32(f.flags) + BigEndian32(f.frames));
  return frame;
}

inline std::string XingFrame(uint32_t frames, uint8_t rate = 0x90) {
  return XingFrame({.frames = frames, .rate = rate});
}

// A first frame holding a VBRI header, 36 bytes into the frame whatever its
// version and channel mode.
inline std::string VbriFrame(uint32_t frames, uint8_t mode = 0xFB, uint8_t rate = 0x90,
                             uint8_t channels = 0x44) {
  std::string frame = Frame(mode, rate);
  frame[3] = static_cast<char>(channels);
  // version 1, delay 576, quality 75, then the stream's bytes and frames
  frame.replace(
      36, 18,
      "VBRI" + Bytes({0, 1, 0x02, 0x40, 0, 75}) + BigEndian32(frames * 400) + BigEndian32(frames));
  return frame;
}

// A text field of an ID3v1 block: the bytes cut or padded to the width.
inline std::string TagField(std::string_view bytes, std::size_t width, char pad) {
  std::string field(bytes.substr(0, width));
  field.resize(width, pad);
  return field;
}

struct Id3v1Fields {
  std::string title{}, artist{}, album{}, year{}, comment{};
  uint8_t genre = 17;
  char pad = ' ';  // other taggers pad with '\0'
  std::string marker = "TAG";
};

inline std::string Id3v1Block(const Id3v1Fields& f) {
  return f.marker + TagField(f.title, 30, f.pad) + TagField(f.artist, 30, f.pad) +
         TagField(f.album, 30, f.pad) + TagField(f.year, 4, f.pad) +
         TagField(f.comment, 30, f.pad) + static_cast<char>(f.genre);
}

// Bytes that look like a JPEG picture to a frame-sync search: 0xFF markers and
// false syncs. "FF F3 20" would pass the header test as MPEG-2 Layer III at
// 16 kbps, so a reader that does not step over the picture reports "16".
inline std::string PictureData(std::size_t n) {
  static const std::string kPattern =
      Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0xFF, 0xFF, 0xF3, 0x20, 0xFF, 0xDB, 0x4A});
  std::string data;
  data.reserve(n);
  while (data.size() < n) data += kPattern;
  data.resize(n);
  return data;
}

// Four 7-bit bytes, most significant first, as ID3v2 sizes are written.
inline std::string SyncSafe(uint32_t size) {
  return Bytes({static_cast<int>((size >> 21) & 0x7F), static_cast<int>((size >> 14) & 0x7F),
                static_cast<int>((size >> 7) & 0x7F), static_cast<int>(size & 0x7F)});
}

// An ID3v2.3 tag whose body is n bytes of picture data; with a footer when asked
// (the footer flag 0x10).
inline std::string Id3v2Block(std::size_t body_size, bool with_footer = false) {
  std::string tag = "ID3";
  tag += Bytes({3, 0, with_footer ? 0x10 : 0x00});
  tag += SyncSafe(static_cast<uint32_t>(body_size));
  tag += PictureData(body_size);
  if (with_footer) {
    tag += "3DI";
    tag += tag.substr(3, 7);
  }
  return tag;
}

// An ID3v2.3 (sizes big-endian) or 2.4 (sync-safe) frame with its flags; its
// size the body's unless given.
inline std::string Id3v2Frame(int version, std::string_view id, std::string_view body,
                              int flags = 0, uint32_t size = UINT32_MAX) {
  const uint32_t stored = size == UINT32_MAX ? static_cast<uint32_t>(body.size()) : size;
  return std::string(id) + (version == 4 ? SyncSafe(stored) : BigEndian32(stored)) +
         Bytes({flags >> 8, flags & 0xFF}) + std::string(body);
}

// A text frame: the encoding byte (0 ISO-8859-1, 3 UTF-8), then the text's bytes.
inline std::string Id3v2Text(int version, std::string_view id, std::string_view text,
                             int encoding = 0) {
  return Id3v2Frame(version, id, std::string(1, static_cast<char>(encoding)) + std::string(text));
}

// An ID3v2 tag of the frames; its size theirs unless given.
inline std::string Id3v2Tag(int version, std::string_view frames, uint32_t size = UINT32_MAX,
                            int flags = 0) {
  const uint32_t stored = size == UINT32_MAX ? static_cast<uint32_t>(frames.size()) : size;
  return "ID3" + Bytes({version, 0, flags}) + SyncSafe(stored) + std::string(frames);
}

}  // namespace tallymere::testing
