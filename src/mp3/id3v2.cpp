#include "mp3/id3v2.h"

#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/textidentificationframe.h>

#include <algorithm>
#include <array>
#include <memory>

#include "mp3/bounded_frame_factory.h"
#include "mp3/genres.h"

namespace tallymere {
namespace {

constexpr std::string_view kId3v2Marker = "ID3";
constexpr std::size_t kVersionOffset = 3;
constexpr std::size_t kFlagsOffset = 5;
constexpr std::size_t kSizeOffset = 6;
constexpr std::size_t kSizeWidth = 4;
constexpr uint8_t kUnsynchronisedFlag = 0x80;
constexpr uint8_t kExtendedHeaderFlag = 0x40;
// ID3v2.2 frame headers are an ID of three characters and a size of three
// bytes; later versions take four and four, and two bytes of flags.
constexpr std::size_t kOldFrameHeaderSize = 6;
constexpr std::size_t kFrameHeaderSize = 10;
constexpr std::size_t kExtendedSizeBytes = 4;
// A real tag has a few dozen frames; a damaged one is not walked for ever.
constexpr int kMostFrames = 4096;
constexpr std::string_view kValueSeparator = " / ";
// A title of a kilobyte is already absurd; a hostile tag's megabyte of text
// would otherwise reach the catalog, whose texts are at most 64 KB.
constexpr std::size_t kMostFieldBytes = 1024;

uint32_t BigEndian32(std::string_view bytes) {
  uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[i]);
  return value;
}

uint32_t SyncSafe32(std::string_view bytes) {
  uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = (value << 7) | (static_cast<uint8_t>(bytes[i]) & 0x7F);
  return value;
}

TagLib::ByteVector Bytes(std::string_view bytes) {
  return TagLib::ByteVector(bytes.data(), static_cast<unsigned int>(bytes.size()));
}

// The frames the catalog and the tag editor want, by the IDs of ID3v2.2 and
// of later versions. The year is TYER in 2.3 and TDRC in 2.4; a tag that has
// both gives the first.
struct WantedFrame {
  std::string_view old_id;
  std::string_view id;
  std::string Id3v2Fields::*field;
};
constexpr std::array<WantedFrame, 6> kWantedFrames = {{
    {"TT2", "TIT2", &Id3v2Fields::title},
    {"TP1", "TPE1", &Id3v2Fields::artist},
    {"TAL", "TALB", &Id3v2Fields::album},
    {"TYE", "TYER", &Id3v2Fields::year},
    {"TYE", "TDRC", &Id3v2Fields::year},
    {"TCO", "TCON", &Id3v2Fields::genre},
}};
constexpr int kWantedFields = 5;

// A genre as a name. TCON may hold a number of the ID3v1 list, once written
// "(17)", which TagLib gives as "17"; with a refinement after it ("(17)Rock"
// gives "17 / Rock") the number's name is the genre.
std::string GenreNamed(const std::string& genre) {
  const std::string first = genre.substr(0, genre.find(" / "));
  if (first.empty() || first.size() > 3 ||
      first.find_first_not_of("0123456789") != std::string::npos) {
    return genre;
  }
  const int number = std::stoi(first);
  return number < 256 ? std::string(GenreName(static_cast<uint8_t>(number))) : std::string();
}

// Walks the frames of a tag body given through read_at, from first to end.
// One walk per tag: its frame factory bounds the compressed frames of that
// file.
class FrameWalk {
 public:
  FrameWalk(const TagLib::ID3v2::Header& header, const ReadAtFunction& read_at)
      : m_header(header), m_read_at(read_at), m_old(header.majorVersion() == 2) {}

  void Run(int64_t first, int64_t end, Id3v2Fields* fields) {
    const std::size_t header_size = m_old ? kOldFrameHeaderSize : kFrameHeaderSize;
    int64_t pos = first;
    int found = 0;
    for (int frames = 0; frames < kMostFrames && found < kWantedFields; ++frames) {
      std::string frame_header;
      if (pos + static_cast<int64_t>(header_size) > end ||
          !m_read_at(pos, header_size, &frame_header) || frame_header.size() < header_size ||
          frame_header[0] == '\0') {
        return;  // the end of the frames, padding, or the end of the file
      }
      const uint32_t frame_size = FrameSize(frame_header);
      const int64_t total = static_cast<int64_t>(header_size) + frame_size;
      if (pos + total > end) return;  // a size past the tag: nothing after it can be trusted
      const std::string_view id(frame_header.data(), m_old ? 3 : 4);
      for (const WantedFrame& wanted : kWantedFrames) {
        if (frame_size == 0 || id != (m_old ? wanted.old_id : wanted.id) ||
            !(fields->*wanted.field).empty()) {
          continue;
        }
        std::string value = Decode(pos, static_cast<std::size_t>(total));
        fields->*wanted.field =
            wanted.field == &Id3v2Fields::genre ? GenreNamed(value) : std::move(value);
        ++found;
      }
      pos += total;
    }
  }

 private:
  // The size of a frame's body: three bytes in ID3v2.2, four in 2.3, four
  // 7-bit bytes in 2.4 (0xxxxxxx, most significant first).
  uint32_t FrameSize(std::string_view frame_header) const {
    if (m_old) {
      return (static_cast<uint32_t>(static_cast<uint8_t>(frame_header[3])) << 16) |
             (static_cast<uint32_t>(static_cast<uint8_t>(frame_header[4])) << 8) |
             static_cast<uint8_t>(frame_header[5]);
    }
    const std::string_view size = frame_header.substr(4, 4);
    return m_header.majorVersion() == 3 ? BigEndian32(size) : SyncSafe32(size);
  }

  // The values of one text frame, joined; empty when it does not decode or
  // would inflate past the bounds of the frame factory.
  std::string Decode(int64_t pos, std::size_t size) {
    std::string bytes;
    if (!m_read_at(pos, size, &bytes) || bytes.size() != size) return {};
    const std::unique_ptr<TagLib::ID3v2::Frame> frame =
        m_factory.CreateBoundedFrame(Bytes(bytes), &m_header);
    const auto* text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frame.get());
    if (text == nullptr) return {};
    std::string joined;
    for (const TagLib::String& value : text->fieldList()) {
      if (!joined.empty()) joined += kValueSeparator;
      joined += value.to8Bit(true);
      if (joined.size() > kMostFieldBytes) break;
    }
    return CleanField(std::move(joined));
  }

  // Line breaks and other control characters would split a list's lines;
  // they become spaces. Cut to kMostFieldBytes, never inside a character.
  static std::string CleanField(std::string text) {
    if (text.size() > kMostFieldBytes) {
      std::size_t cut = kMostFieldBytes;
      while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
      text.resize(cut);
    }
    for (char& c : text) {
      if (static_cast<uint8_t>(c) < 0x20) c = ' ';
    }
    return text;
  }

  const TagLib::ID3v2::Header& m_header;
  const ReadAtFunction& m_read_at;
  const bool m_old;
  BoundedFrameFactory m_factory;
};

// Where the frames begin: after the header and an extended header, whose
// size counts itself in ID3v2.4 but not in 2.3. ID3v2.2 gives the flag
// another meaning (compression) and has no frames we could read then.
int64_t FirstFrame(const TagLib::ID3v2::Header& header, uint8_t flags,
                   const ReadAtFunction& read_at) {
  const int64_t first = static_cast<int64_t>(kId3v2HeaderSize);
  if ((flags & kExtendedHeaderFlag) == 0) return first;
  if (header.majorVersion() == 2) return -1;
  std::string size;
  if (!read_at(first, kExtendedSizeBytes, &size) || size.size() != kExtendedSizeBytes) return -1;
  if (header.majorVersion() == 3) {
    return first + static_cast<int64_t>(kExtendedSizeBytes) + BigEndian32(size);
  }
  return first + SyncSafe32(size);
}

}  // namespace

uint32_t Id3v2TagLength(std::string_view head) {
  if (head.size() < kId3v2HeaderSize || head.substr(0, kId3v2Marker.size()) != kId3v2Marker) {
    return 0;
  }
  const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(head[i]); };
  if (byte(kVersionOffset) == 0xFF || byte(kVersionOffset + 1) == 0xFF) return 0;
  uint32_t size = 0;
  for (std::size_t i = kSizeOffset; i < kSizeOffset + kSizeWidth; ++i) {
    if (byte(i) & 0x80) return 0;  // not sync-safe: no tag of ours
    size = (size << 7) | byte(i);  // 0xxxxxxx
  }
  uint32_t length = static_cast<uint32_t>(kId3v2HeaderSize) + size;
  if (byte(kFlagsOffset) & kId3v2FooterFlag) length += kId3v2FooterSize;
  return length;
}

Id3v2Fields ReadId3v2Fields(std::string_view head, int64_t file_length,
                            const ReadAtFunction& read_at) {
  Id3v2Fields fields;
  if (Id3v2TagLength(head) == 0) return fields;
  const TagLib::ID3v2::Header header(Bytes(head.substr(0, kId3v2HeaderSize)));
  const unsigned int major = header.majorVersion();
  if (major < 2 || major > 4) return fields;
  fields.version = "2." + std::to_string(major);
  const auto flags = static_cast<uint8_t>(head[kFlagsOffset]);
  // A size that runs past the end of the file is believed only as far as the
  // file goes.
  const int64_t end =
      std::min(static_cast<int64_t>(kId3v2HeaderSize + header.tagSize()), file_length);
  if (end <= static_cast<int64_t>(kId3v2HeaderSize)) return fields;

  if (major == 3 && (flags & kUnsynchronisedFlag) != 0) {
    // Frame sizes count the bytes before unsynchronisation: undo it first.
    std::string body;
    if (!read_at(static_cast<int64_t>(kId3v2HeaderSize),
                 static_cast<std::size_t>(end) - kId3v2HeaderSize, &body)) {
      return fields;
    }
    const TagLib::ByteVector synced = TagLib::ID3v2::SynchData::decode(Bytes(body));
    const std::string whole =
        std::string(head.substr(0, kId3v2HeaderSize)) + std::string(synced.data(), synced.size());
    const ReadAtFunction in_memory = [&whole](int64_t offset, std::size_t size,
                                              std::string* bytes) {
      *bytes = offset < static_cast<int64_t>(whole.size())
                   ? whole.substr(static_cast<std::size_t>(offset), size)
                   : std::string();
      return Status::Ok();
    };
    const int64_t first = FirstFrame(header, flags, in_memory);
    if (first > 0)
      FrameWalk(header, in_memory).Run(first, static_cast<int64_t>(whole.size()), &fields);
    return fields;
  }
  const int64_t first = FirstFrame(header, flags, read_at);
  if (first > 0) FrameWalk(header, read_at).Run(first, end, &fields);
  return fields;
}

}  // namespace tallymere
