#include "mp3/bitrat.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "mp3/genres.h"
#include "mp3/id3v1.h"
#include "mp3/id3v2.h"
#include "mp3/vbr_header.h"

namespace tallymere {
namespace {

// A frame header is three bytes: sync, mode (111VVLLP), rate (BBBBSSPX).
constexpr uint8_t kSyncByte = 0xFF;
// 111000 10: the lowest mode byte taken; 0xE0 and 0xE1 carry layer code 00.
constexpr uint8_t kLowestModeByte = 0xE2;
// Bitrate index 0001 to 1110; 0000 (free format) and 1111 (invalid) never pass.
constexpr uint8_t kLowestRateByte = 0x10;
constexpr uint8_t kHighestRateByte = 0xEB;
constexpr std::size_t kModeByteOffset = 1;
constexpr std::size_t kRateByteOffset = 2;

// The first read takes this much, so that a small file's header window and
// its tag come from one read; a read past it takes at least this much too, so
// the frames of an ID3v2 tag behind a picture, the audio after the tag and a
// short file's ID3v1 tag often come from one more.
constexpr int64_t kReadBytes = 4096;
constexpr std::size_t kKeptBufferBytes = 64 * 1024;

// A file's bytes at positions, the bytes of the first read and of the latest
// other one kept to answer every later read they hold.
class FileBytes {
 public:
  FileBytes(const RandomAccessFile& file, int64_t file_length)
      : m_file(file), m_length(file_length) {
    for (Window* window : {&m_first, &m_ahead}) {
      // What a huge tag needed once is not kept for the life of the thread.
      if (window->bytes.capacity() > kKeptBufferBytes) std::string().swap(window->bytes);
      *window = Window{0, std::move(window->bytes), false};
      window->bytes.clear();
    }
  }

  // As RandomAccessFile::ReadAt: fewer bytes than asked only at the end.
  Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) {
    if (!m_first_read) {
      m_first_read = true;
      if (Status read = Fill(&m_first, 0, 0); !read) return read;
    }
    if (Holds(m_first, offset, size, bytes) || Holds(m_ahead, offset, size, bytes)) {
      return Status::Ok();
    }
    if (Status read = Fill(&m_ahead, offset, size); !read) return read;
    if (!Holds(m_ahead, offset, size, bytes)) bytes->clear();  // past the end
    return Status::Ok();
  }

 private:
  struct Window {
    int64_t offset = 0;
    std::string bytes;
    bool to_end = false;  // it reaches the end of the file
  };

  // Reads at least kReadBytes from offset, up to the length the file had
  // when opened, so no further read is needed to learn where it ends.
  Status Fill(Window* window, int64_t offset, std::size_t size) {
    window->offset = offset;
    window->bytes.clear();
    const int64_t left = std::max<int64_t>(m_length - offset, 0);
    const auto want =
        static_cast<std::size_t>(std::min(std::max(static_cast<int64_t>(size), kReadBytes), left));
    if (want > 0) {
      if (Status read = m_file.ReadAt(offset, want, &window->bytes); !read) return read;
    }
    window->to_end = window->bytes.size() == static_cast<std::size_t>(left);
    return Status::Ok();
  }

  // Answers from the window when it holds all that is asked, or all there is.
  static bool Holds(const Window& window, int64_t offset, std::size_t size, std::string* bytes) {
    if (offset < window.offset) return false;
    const auto start = static_cast<std::size_t>(offset - window.offset);
    if (start > window.bytes.size()) return false;
    if (!window.to_end && size > window.bytes.size() - start) return false;
    bytes->assign(window.bytes, start, size);
    return true;
  }

  // A scan reads thousands of files one after another on each thread: their
  // bytes go through the same buffers, which keep their size.
  static Window& Reused(int which) {
    thread_local Window windows[2];
    return windows[which];
  }

  const RandomAccessFile& m_file;
  const int64_t m_length;
  Window& m_first = Reused(0);
  Window& m_ahead = Reused(1);
  bool m_first_read = false;
};

uint8_t ByteAt(const std::string& bytes, std::size_t offset) {
  return static_cast<uint8_t>(bytes[offset]);
}

bool IsHeaderWindow(uint8_t sync, uint8_t mode, uint8_t rate) {
  return sync == kSyncByte && mode >= kLowestModeByte && rate >= kLowestRateByte &&
         rate <= kHighestRateByte;
}

// The first window that passes the header test: the offset of its sync byte.
std::optional<std::size_t> FindHeaderWindow(const std::string& head) {
  for (std::size_t i = 2; i < static_cast<std::size_t>(kHeaderSearchBytes); ++i) {
    if (IsHeaderWindow(ByteAt(head, i - 2), ByteAt(head, i - 1), ByteAt(head, i))) return i - 2;
  }
  return std::nullopt;
}

// The header fields change only when the header decodes, so "---" always
// means they are as the caller left them. A variable-bitrate file's first
// frame is often a low-rate frame that only carries the VBR header, so its
// average replaces the frame's bitrate; version, layer and sample rate are the
// frame's either way.
std::string ReadFirstFrame(const std::string& head, int64_t audio_bytes, Mp3Info* info) {
  const std::optional<std::size_t> at = FindHeaderWindow(head);
  if (!at) return "---";
  Mp3Info decoded = *info;
  DecodeVersionLayer(ByteAt(head, *at + kModeByteOffset), &decoded);
  const std::optional<int> kbps = DecodeBitrate(ByteAt(head, *at + kRateByteOffset), &decoded);
  if (!kbps) return "---";
  info->MpegVersion = decoded.MpegVersion;
  info->MpegLayer = decoded.MpegLayer;
  info->SampleRate = decoded.SampleRate;

  const std::optional<VbrHeader> vbr = FindVbrHeader(std::string_view(head).substr(*at));
  // An "Info" file is constant-bitrate: its frame's bitrate is exact, while
  // an average over the whole file would count the tags and the Info frame.
  if (vbr && !vbr->constant_bitrate && decoded.SampleRate > 0) {
    const long long average =
        AverageBitrate(audio_bytes, vbr->frames, decoded.SampleRate, vbr->samples_per_frame);
    const std::optional<BitrateRange> range =
        BitrateRangeOf(decoded.MpegVersion, decoded.MpegLayer);
    if (range && average >= range->lowest && average <= range->highest) {
      info->XingFrames = vbr->frames;
      return std::to_string(average);
    }
  } else if (vbr) {
    info->XingFrames = vbr->frames;
  }
  info->FrameBitrate = decoded.FrameBitrate;
  return std::to_string(*kbps);
}

Status ReadTag(FileBytes& file, int64_t file_length, const CodePage& code_page, Mp3Info* info) {
  info->ClearTag();
  if (file_length < static_cast<int64_t>(kTagSize)) return Status::Ok();
  std::string block;
  if (Status read = file.ReadAt(file_length - static_cast<int64_t>(kTagSize), kTagSize, &block);
      !read) {
    return read;
  }
  if (!IsTagBlock(block)) return Status::Ok();
  Id3v1Tag tag = ReadTagBlock(block, code_page);
  info->HasId3v1Tag = true;
  info->TagTitle = std::move(tag.title);
  info->TagArtist = std::move(tag.artist);
  info->TagAlbum = std::move(tag.album);
  info->TagYear = std::move(tag.year);
  info->TagComment = std::move(tag.comment);
  info->TagGenre = GenreName(tag.genre);
  return Status::Ok();
}

// The text fields of a leading ID3v2 tag, read through the bytes already
// held where they reach.
void ReadId3v2(FileBytes& file, std::string_view head, int64_t file_length, Mp3Info* info) {
  const Id3v2Fields fields = ReadId3v2Fields(
      head, file_length, [&file](int64_t offset, std::size_t size, std::string* bytes) {
        return file.ReadAt(offset, size, bytes);
      });
  info->Id3v2Version = fields.version;
  info->V2Title = fields.title;
  info->V2Artist = fields.artist;
  info->V2Album = fields.album;
  info->V2Year = fields.year;
  info->V2Genre = fields.genre;
}

}  // namespace

void Mp3Info::ClearTag() {
  HasId3v1Tag = false;
  TagTitle.clear();
  TagArtist.clear();
  TagAlbum.clear();
  TagYear.clear();
  TagComment.clear();
  TagGenre.clear();
}

Result<std::string> ReadMp3Info(const Platform& platform, const std::string& native_path,
                                Mp3Info* info, const CodePage& id3v1_code_page) {
  Result<std::unique_ptr<RandomAccessFile>> file = platform.OpenFile(native_path, OpenMode::kRead);
  if (!file) return file.status();
  const Result<int64_t> length = (*file)->Length();
  if (!length) return length.status();
  return ReadMp3Info(**file, *length, info, id3v1_code_page);
}

Result<std::string> ReadMp3Info(const RandomAccessFile& open_file, int64_t file_length,
                                Mp3Info* info, const CodePage& id3v1_code_page) {
  FileBytes file(open_file, file_length);
  // The audio starts after a leading ID3v2 tag; every offset below counts from there.
  std::string head;
  if (Status read = file.ReadAt(0, kHeaderSearchBytes, &head); !read) return read;
  info->Id3v2Length = Id3v2TagLength(head);
  ReadId3v2(file, head, file_length, info);
  if (info->Id3v2Length != 0) {
    if (Status read = file.ReadAt(info->Id3v2Length, kHeaderSearchBytes, &head); !read) {
      return read;
    }
  }
  head.resize(kHeaderSearchBytes, '\0');  // bytes beyond the end read as 0

  const std::string bitrate = ReadFirstFrame(head, info->AudioBytes(file_length), info);
  if (Status tag = ReadTag(file, file_length, id3v1_code_page, info); !tag) return tag;
  return bitrate;
}

}  // namespace tallymere
