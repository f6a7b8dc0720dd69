#include "mp3/bitrat.h"

#include <cmath>
#include <string_view>

#include "mp3/genres.h"
#include "mp3/id3v1.h"
#include "mp3/id3v2.h"
#include "platform/binary_file.h"

namespace tallymere {
namespace {

// A frame header is three bytes: sync, mode (111VVLLP), rate (BBBBSSPX).
constexpr uint8_t kSyncByte = 0xFF;
// 111000 10: the lowest mode byte taken; 0xE0 and 0xE1 carry layer code 00.
constexpr uint8_t kLowestModeByte = 0xE2;
// Bitrate index 0001 to 1110; 0000 (free format) and 1111 (invalid) never pass.
constexpr uint8_t kLowestRateByte = 0x10;
constexpr uint8_t kHighestRateByte = 0xEB;

// The Xing VBR header inside the first frame, offsets from the frame's start:
//   0  sync byte 0xFF    36  "Xing"    40  flags (not examined)    44  frame count
constexpr std::size_t kXingMarkerOffset = 36;
constexpr std::string_view kXingMarker = "Xing";
constexpr std::size_t kXingFramesOffset = 44;
// The average bitrate assumes MPEG-1 Layer III at 44100 Hz, whose frames hold
// 144 × bitrate / rate bytes.
constexpr double kXingAssumedRate = 44100;
constexpr double kLayer3FrameFactor = 144;
constexpr int kRateByteOffset = 2;

uint8_t ByteAt(const std::string& bytes, std::size_t offset) {
  return static_cast<uint8_t>(bytes[offset]);
}

bool IsHeaderWindow(uint8_t sync, uint8_t mode, uint8_t rate) {
  return sync == kSyncByte && mode >= kLowestModeByte && rate >= kLowestRateByte &&
         rate <= kHighestRateByte;
}

// The Xing path: the average bitrate of the whole file, in kbps.
Result<std::string> ReadXing(const std::string& head, int64_t file_length, Mp3Info* info) {
  info->XingFrames =
      XingFrameCount(ByteAt(head, kXingFramesOffset), ByteAt(head, kXingFramesOffset + 1),
                     ByteAt(head, kXingFramesOffset + 2), ByteAt(head, kXingFramesOffset + 3));
  if (info->XingFrames == 0) return Status::Error("Division by zero");
  const double bytes_per_frame = static_cast<double>(file_length) / info->XingFrames;
  const float bits_per_second =
      static_cast<float>(bytes_per_frame * kXingAssumedRate / kLayer3FrameFactor);
  // rint rounds halves to even in the default rounding mode.
  const auto kbps = static_cast<long long>(std::rint(static_cast<double>(bits_per_second) / 1000));
  info->MpegVersion = "1.0";
  info->MpegLayer = "III";
  Mp3Info first_frame;
  first_frame.MpegVersion = info->MpegVersion;
  first_frame.MpegLayer = info->MpegLayer;
  DecodeBitrate(ByteAt(head, kRateByteOffset), &first_frame);
  info->SampleRate = first_frame.SampleRate;
  return std::to_string(kbps);
}

// The header path. The fields change only when the header decodes, so "---"
// always means the header fields are as the caller left them.
std::string SearchHeader(const std::string& head, Mp3Info* info) {
  for (std::size_t i = 2; i < static_cast<std::size_t>(kHeaderSearchBytes); ++i) {
    if (!IsHeaderWindow(ByteAt(head, i - 2), ByteAt(head, i - 1), ByteAt(head, i))) continue;
    Mp3Info decoded = *info;
    DecodeVersionLayer(ByteAt(head, i - 1), &decoded);
    const std::optional<int> kbps = DecodeBitrate(ByteAt(head, i), &decoded);
    if (!kbps) return "---";
    info->MpegVersion = decoded.MpegVersion;
    info->MpegLayer = decoded.MpegLayer;
    info->FrameBitrate = decoded.FrameBitrate;
    info->SampleRate = decoded.SampleRate;
    return std::to_string(*kbps);
  }
  return "---";
}

Status ReadTag(const BinaryFile& file, int64_t file_length, Mp3Info* info) {
  info->ClearTag();
  if (file_length < static_cast<int64_t>(kTagSize)) return Status::Ok();
  std::string block;
  if (Status read = file.ReadAt(file_length - static_cast<int64_t>(kTagSize), kTagSize, &block);
      !read) {
    return read;
  }
  if (!IsTagBlock(block)) return Status::Ok();
  Id3v1Tag tag = ReadTagBlock(block);
  info->HasTag = true;
  info->TagTitle = std::move(tag.title);
  info->TagArtist = std::move(tag.artist);
  info->TagAlbum = std::move(tag.album);
  info->TagYear = std::move(tag.year);
  info->TagComment = std::move(tag.comment);
  info->TagGenre = GenreName(tag.genre);
  return Status::Ok();
}

}  // namespace

void Mp3Info::ClearTag() {
  HasTag = false;
  TagTitle.clear();
  TagArtist.clear();
  TagAlbum.clear();
  TagYear.clear();
  TagComment.clear();
  TagGenre.clear();
}

Result<std::string> ReadMp3Info(const std::string& native_path, Mp3Info* info) {
  BinaryFile file;
  if (Status opened = file.Open(native_path, OpenMode::kRead); !opened) return opened;
  const Result<int64_t> length = file.Length();
  if (!length) return length.status();
  const int64_t file_length = *length;

  // The audio starts after a leading ID3v2 tag; every offset below counts from there.
  std::string head;
  if (Status read = file.ReadAt(0, kHeaderSearchBytes, &head); !read) return read;
  if (const uint32_t tag_length = Id3v2TagLength(head)) {
    if (Status read = file.ReadAt(tag_length, kHeaderSearchBytes, &head); !read) return read;
  }
  head.resize(kHeaderSearchBytes, '\0');  // bytes beyond the end read as 0

  std::string bitrate;
  if (ByteAt(head, 0) == kSyncByte &&
      std::string_view(head).substr(kXingMarkerOffset, kXingMarker.size()) == kXingMarker) {
    Result<std::string> xing = ReadXing(head, file_length, info);
    if (!xing) return xing.status();
    bitrate = std::move(xing).value();
  } else {
    bitrate = SearchHeader(head, info);
  }

  if (Status tag = ReadTag(file, file_length, info); !tag) return tag;
  return bitrate;
}

}  // namespace tallymere
