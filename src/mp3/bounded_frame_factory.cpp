#include "mp3/bounded_frame_factory.h"

#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/unknownframe.h>
#include <zlib.h>

#include <algorithm>
#include <optional>
#include <string>

namespace tallymere {
namespace {

using TagLib::ByteVector;
using TagLib::ID3v2::Frame;

// A compressed frame's body begins with the size it claims to inflate to;
// TagLib does not trust it, nor do we.
constexpr unsigned int kClaimedSizeBytes = 4;
constexpr std::size_t kInflateStep = std::size_t{64} << 10;
constexpr unsigned int kFrameIdBytes = 4;

// Inflates the zlib stream into *out while it gives at most `most` bytes.
// False when it would give more or is damaged; a stream cut short keeps what
// it gave, as TagLib keeps it.
bool InflateAtMost(const ByteVector& compressed, std::size_t most, std::string* out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = compressed.size();
  int result = Z_OK;
  while (result == Z_OK && out->size() <= most) {
    const std::size_t start = out->size();
    const std::size_t room = std::min(kInflateStep, most + 1 - start);
    out->resize(start + room);
    stream.next_out = reinterpret_cast<Bytef*>(out->data() + start);
    stream.avail_out = static_cast<uInt>(room);
    result = inflate(&stream, Z_NO_FLUSH);
    out->resize(start + room - stream.avail_out);
  }
  inflateEnd(&stream);
  // Z_BUF_ERROR: the input ended before the stream did.
  return out->size() <= most && (result == Z_STREAM_END || result == Z_BUF_ERROR);
}

// A frame's ID in four bytes: an ID3v2.3 tag may hold ID3v2.2 frames, whose
// three-letter IDs TagLib recognises by a NUL fourth byte.
ByteVector FourByteId(const ByteVector& id) {
  ByteVector four = id;
  four.resize(kFrameIdBytes, '\0');
  return four;
}

// The mark of the index'th frame kept compressed: a byte no frame ID begins
// with (TagLib has refused any other by then), then the index.
constexpr char kHeldMark = '\x01';
ByteVector HeldId(std::size_t index) {
  ByteVector id = ByteVector::fromUInt(static_cast<unsigned int>(index));
  id[0] = kHeldMark;
  return id;
}

}  // namespace

bool BoundedFrameFactory::updateFrame(FrameHeader* header) const {
  const bool kept = FrameFactory::updateFrame(header);
  // ID3v2.2 has no compression; TagLib passes its frames in 2.3 tags here
  // once as 2.2, then again as 2.3.
  if (header->version() < 3 || !header->compression()) return kept;
  // The header again without its flags, so that TagLib takes the body as it
  // is. The size stays exactly as TagLib read it: it tells where the next
  // frame begins. Past kMostInflatedFrames a mark indexes no ID: dropped.
  const unsigned int size = header->frameSize();
  const std::size_t index = m_held_ids.size();
  if (index < kMostInflatedFrames) m_held_ids.push_back(header->frameID());
  header->setData(HeldId(std::min(index, kMostInflatedFrames)) + ByteVector(6, '\0'),
                  header->version());
  header->setFrameSize(size);
  // Kept as TagLib's unknown frame, whose bytes Inflated reads.
  return false;
}

std::optional<std::size_t> BoundedFrameFactory::HeldIndex(const Frame* frame) const {
  if (frame == nullptr || dynamic_cast<const TagLib::ID3v2::UnknownFrame*>(frame) == nullptr) {
    return std::nullopt;
  }
  const ByteVector id = frame->frameID();
  if (id.size() != kFrameIdBytes || id[0] != kHeldMark) return std::nullopt;
  return id.toUInt(1, kFrameIdBytes - 1);
}

std::unique_ptr<Frame> BoundedFrameFactory::Inflated(const Frame& held, unsigned int version) {
  const std::size_t index = HeldIndex(&held).value_or(kMostInflatedFrames);
  const ByteVector body = static_cast<const TagLib::ID3v2::UnknownFrame&>(held).data();
  if (index >= m_held_ids.size() || body.size() < kClaimedSizeBytes) return nullptr;
  const std::size_t left =
      m_inflated_bytes < kMostInflatedTagBytes ? kMostInflatedTagBytes - m_inflated_bytes : 0;
  std::string inflated;
  const bool whole = InflateAtMost(body.mid(kClaimedSizeBytes),
                                   std::min(kMostInflatedFrameBytes, left), &inflated);
  m_inflated_bytes += inflated.size();
  if (!whole) return nullptr;

  // The frame as it would have been stored uncompressed, made by TagLib.
  const auto size = static_cast<unsigned int>(inflated.size());
  const ByteVector frame =
      FourByteId(m_held_ids[index]) +
      (version == 3 ? ByteVector::fromUInt(size) : TagLib::ID3v2::SynchData::fromUInt(size)) +
      ByteVector(2, '\0') + ByteVector(inflated.data(), size);
  // A header of the version alone: the inflated bytes are not unsynchronised
  // even when the tag's stored ones were.
  TagLib::ID3v2::Header tag_header;
  tag_header.setMajorVersion(version);
  return std::unique_ptr<Frame>(createFrame(frame, &tag_header));
}

std::unique_ptr<Frame> BoundedFrameFactory::CreateBoundedFrame(
    const ByteVector& data, const TagLib::ID3v2::Header* tag_header) {
  std::unique_ptr<Frame> frame(createFrame(data, tag_header));
  if (!HeldIndex(frame.get())) return frame;
  return Inflated(*frame, tag_header->majorVersion());
}

void BoundedFrameFactory::InflateHeldFrames(TagLib::ID3v2::Tag* tag) {
  // The first frame kept compressed always has its ID here.
  if (m_held_ids.empty()) return;
  const unsigned int version = tag->header()->majorVersion();
  // Every frame is taken out and put back in turn, so the order stays; each
  // is then the first of the tag's lists, so a tag of a million frames is not
  // searched a million times.
  // A plain copy: a copy of TagLib's list would share the tag's, which
  // deletes its frames, and delete them again.
  const TagLib::ID3v2::FrameList& listed = tag->frameList();
  const std::vector<Frame*> frames(listed.begin(), listed.end());
  for (Frame* frame : frames) {
    tag->removeFrame(frame, false);
    if (!HeldIndex(frame)) {
      tag->addFrame(frame);
      continue;
    }
    const std::unique_ptr<Frame> compressed(frame);
    std::unique_ptr<Frame> inflated = Inflated(*compressed, version);
    if (inflated) tag->addFrame(inflated.release());
  }
}

}  // namespace tallymere
