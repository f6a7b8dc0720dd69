#include "mp3/audio_fingerprint.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/little_endian.h"

namespace tallymere {
namespace {

constexpr std::size_t kId3v2HeaderBytes = 10;
constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;

// The part of a file that holds its audio.
struct Span {
  int64_t start = 0;
  int64_t end = 0;
  int64_t size() const { return end > start ? end - start : 0; }
};

uint32_t Big32(const std::string& b, std::size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) << 24 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

uint32_t Little32(const std::string& b, std::size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

Status Read(const RandomAccessFile& file, int64_t at, std::size_t size, std::string* bytes) {
  if (at < 0) return Status::Error(StatusCode::kDamaged, "a position before the file");
  return file.ReadAt(at, size, bytes);
}

// The end of a leading ID3v2 tag (0 for none), as its header gives it.
Result<int64_t> AfterId3v2(const RandomAccessFile& file, int64_t at) {
  std::string head;
  if (Status read = Read(file, at, kId3v2HeaderBytes, &head); !read) return read;
  if (head.size() < kId3v2HeaderBytes || head.compare(0, 3, "ID3") != 0) return at;
  int64_t size = 0;
  for (std::size_t i = 6; i < 10; ++i)
    size = size << 7 | (static_cast<unsigned char>(head[i]) & 0x7F);
  const bool footer = (static_cast<unsigned char>(head[5]) & 0x10) != 0;
  return at + static_cast<int64_t>(kId3v2HeaderBytes) * (footer ? 2 : 1) + size;
}

// The end of the audio before trailing ID3v1 and APE tags, from one read of
// the file's last bytes.
Result<int64_t> BeforeTrailingTags(const RandomAccessFile& file, int64_t end) {
  constexpr auto kTail = static_cast<int64_t>(kId3v1Bytes + kApeFooterBytes);
  const int64_t from = std::max<int64_t>(0, end - kTail);
  std::string tail;
  if (Status read = Read(file, from, static_cast<std::size_t>(end - from), &tail); !read)
    return read;
  const auto at = [&](int64_t position) { return static_cast<std::size_t>(position - from); };
  if (end - from >= static_cast<int64_t>(kId3v1Bytes) &&
      tail.compare(at(end - kId3v1Bytes), 3, "TAG") == 0) {
    end -= kId3v1Bytes;
  }
  if (end - from >= static_cast<int64_t>(kApeFooterBytes) &&
      tail.compare(at(end - kApeFooterBytes), 8, "APETAGEX") == 0) {
    const std::size_t footer = at(end - kApeFooterBytes);
    const int64_t size = Little32(tail, footer + 12);  // items and footer
    const bool header = (static_cast<unsigned char>(tail[footer + 23]) & 0x80) != 0;
    end -= size + (header ? static_cast<int64_t>(kApeFooterBytes) : 0);
  }
  return std::max<int64_t>(end, 0);
}

// The length of the MPEG audio frame whose header is at the start of
// bytes; 0 when there is none.
std::size_t FrameLength(const std::string& bytes) {
  if (bytes.size() < 4) return 0;
  const auto b1 = static_cast<unsigned char>(bytes[1]);
  const auto b2 = static_cast<unsigned char>(bytes[2]);
  if (static_cast<unsigned char>(bytes[0]) != 0xFF || (b1 & 0xE0) != 0xE0) return 0;
  const int version = (b1 >> 3) & 3;  // 3: MPEG 1, 2: MPEG 2, 0: MPEG 2.5
  const int layer = (b1 >> 1) & 3;    // 1: III, 2: II
  const int rate_code = b2 >> 4;
  const int sample_code = (b2 >> 2) & 3;
  if (version == 1 || (layer != 1 && layer != 2) || rate_code == 0 || rate_code == 15 ||
      sample_code == 3) {
    return 0;
  }
  static constexpr std::array<int, 15> kV1L3 = {0,   32,  40,  48,  56,  64,  80, 96,
                                                112, 128, 160, 192, 224, 256, 320};
  static constexpr std::array<int, 15> kV1L2 = {0,   32,  48,  56,  64,  80,  96, 112,
                                                128, 160, 192, 224, 256, 320, 384};
  static constexpr std::array<int, 15> kV2 = {0,  8,  16, 24,  32,  40,  48, 56,
                                              64, 80, 96, 112, 128, 144, 160};
  static constexpr std::array<int, 3> kRates = {44100, 48000, 32000};
  const bool v1 = version == 3;
  const int kbps = v1 ? (layer == 1 ? kV1L3 : kV1L2)[rate_code] : kV2[rate_code];
  const int rate = kRates[sample_code] / (v1 ? 1 : version == 2 ? 2 : 4);
  const int padding = (b2 >> 1) & 1;
  const int per_frame = layer == 1 && !v1 ? 72 : 144;
  return static_cast<std::size_t>(per_frame * kbps * 1000 / rate + padding);
}

Result<Span> MpegAudio(const RandomAccessFile& file, int64_t length) {
  Result<int64_t> start = AfterId3v2(file, 0);
  if (!start) return start.status();
  Result<int64_t> end = BeforeTrailingTags(file, length);
  if (!end) return end.status();
  Span span{std::min(*start, length), *end};
  // A first frame that holds an encoder's header is rewritten by taggers.
  std::string frame;
  if (Status read = Read(file, span.start, 200, &frame); !read) return read;
  const std::size_t frame_length = FrameLength(frame);
  // Audio begins with a frame; a file without one has nothing to compare.
  if (frame_length == 0) return Span{};
  {
    const std::string_view head(frame.data(), std::min(frame.size(), frame_length));
    for (const char* mark : {"Xing", "Info", "VBRI"}) {
      if (head.find(mark) != std::string_view::npos) {
        span.start += static_cast<int64_t>(frame_length);
        break;
      }
    }
  }
  return span;
}

Result<Span> FlacAudio(const RandomAccessFile& file, int64_t length) {
  Result<int64_t> at = AfterId3v2(file, 0);
  if (!at) return at.status();
  std::string bytes;
  if (Status read = Read(file, *at, 4, &bytes); !read) return read;
  if (bytes != "fLaC") return Span{};
  int64_t block = *at + 4;
  for (bool last = false; !last;) {
    if (Status read = Read(file, block, 4, &bytes); !read) return read;
    if (bytes.size() < 4) return Span{};  // the metadata runs past the file
    last = (static_cast<unsigned char>(bytes[0]) & 0x80) != 0;
    block += 4 + (Big32(bytes, 0) & 0xFFFFFF);
  }
  Result<int64_t> end = BeforeTrailingTags(file, length);
  if (!end) return end.status();
  return Span{std::min(block, length), *end};
}

Result<Span> Mp4Audio(const RandomAccessFile& file, int64_t length) {
  std::string bytes;
  for (int64_t atom = 0; atom + 8 <= length;) {
    if (Status read = Read(file, atom, 16, &bytes); !read) return read;
    if (bytes.size() < 8) break;
    int64_t size = Big32(bytes, 0);
    int64_t header = 8;
    if (size == 1 && bytes.size() >= 16) {
      size = static_cast<int64_t>(static_cast<uint64_t>(Big32(bytes, 8)) << 32 | Big32(bytes, 12));
      header = 16;
    } else if (size == 0) {
      size = length - atom;
    }
    if (size < header) break;  // damaged: no atom ends before it begins
    if (bytes.compare(4, 4, "mdat") == 0) return Span{atom + header, std::min(atom + size, length)};
    atom += size;
  }
  return Span{};
}

// FNV-1a in four lanes of eight bytes, so the multiplications of one lane
// need not wait for the others: 256 KB take some 50 us instead of 0.5 ms.
uint64_t HashOfAudio(std::string_view bytes) {
  constexpr uint64_t kOffset = 14695981039346656037ull;
  constexpr uint64_t kPrime = 1099511628211ull;
  std::array<uint64_t, 4> lanes = {kOffset, kOffset ^ 1, kOffset ^ 2, kOffset ^ 3};
  std::size_t at = 0;
  for (; at + 32 <= bytes.size(); at += 32) {
    for (std::size_t lane = 0; lane < 4; ++lane) {
      // Little-endian words, so every machine stores the same hash.
      const uint64_t word =
          DecodeFixed64(reinterpret_cast<const unsigned char*>(bytes.data() + at + lane * 8));
      lanes[lane] = (lanes[lane] ^ word) * kPrime;
    }
  }
  uint64_t hash = kOffset;
  for (const uint64_t lane : lanes) {
    for (int shift = 0; shift < 64; shift += 8) hash = (hash ^ ((lane >> shift) & 0xFF)) * kPrime;
  }
  for (; at < bytes.size(); ++at) hash = (hash ^ static_cast<unsigned char>(bytes[at])) * kPrime;
  return hash;
}

}  // namespace

bool HasAudioFingerprint(std::string_view e) {
  return e == "mp3" || e == "mp2" || e == "flac" || e == "m4a" || e == "m4b" || e == "mp4";
}

Result<AudioHash> AudioFingerprint(const RandomAccessFile& file, int64_t length,
                                   std::string_view lower_extension) {
  Result<Span> span = lower_extension == "flac" ? FlacAudio(file, length)
                      : lower_extension == "mp3" || lower_extension == "mp2"
                          ? MpegAudio(file, length)
                      : HasAudioFingerprint(lower_extension) ? Mp4Audio(file, length)
                                                             : Result<Span>(Span());
  if (!span) return span.status();
  if (span->size() == 0) return AudioHash();
  std::string audio;
  const auto hashed = static_cast<std::size_t>(std::min<int64_t>(span->size(), kHashedAudioBytes));
  if (Status read = Read(file, span->start, hashed, &audio); !read) return read;
  // A file that changed while it was read gets no hash rather than a wrong one.
  Result<int64_t> now = file.Length();
  if (!now || *now != length || audio.size() != hashed) return AudioHash();
  return AudioHash{HashOfAudio(audio), span->size()};
}

}  // namespace tallymere
