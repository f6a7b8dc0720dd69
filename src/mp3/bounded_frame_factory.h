#pragma once
// TagLib's ID3v2 frame factory with a bound on compressed frames.
//
// A compressed frame (ID3v2.3 format flag 0x80; ID3v2.4 flag 0x08 with the
// data-length indicator 0x01) is a four-byte size and a zlib stream. TagLib
// 1.13 inflates that stream to its end however far it goes: a frame of 64 KB
// can demand gigabytes. Its createFrame cannot be overridden (it is not
// virtual), but every frame it makes passes through updateFrame: there this
// factory clears the frame's compression flag, so TagLib keeps the frame's
// bytes as they are in an unknown frame, whose ID it marks; and then
// inflates them itself within the bounds below. A frame that would expand
// further, or whose stream is damaged, is dropped as damaged; the frames
// around it read as before.

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace tallymere {

// A title, a lyric or a small picture fits; a hostile frame's gigabytes not.
inline constexpr std::size_t kMostInflatedFrameBytes = std::size_t{1} << 20;
// All compressed frames of one file together, so that many frames cannot
// add up to what one may not; and how many are inflated at all.
inline constexpr std::size_t kMostInflatedTagBytes = std::size_t{8} << 20;
inline constexpr std::size_t kMostInflatedFrames = 1024;

namespace frame_factory_detail {
template <typename Method>
struct HeaderOf;
template <typename Factory, typename Header>
struct HeaderOf<bool (Factory::*)(Header*) const> {
  using type = Header;
};

// TagLib 1.13 keeps the name of a frame's header type to its friends, yet
// hands one to updateFrame: the type is taken from that method's own.
class FrameFactoryBase : public TagLib::ID3v2::FrameFactory {
 protected:
  using FrameHeader = HeaderOf<decltype(&FrameFactoryBase::updateFrame)>::type;
};
}  // namespace frame_factory_detail

// One instance per file read: the bounds are the file's, and what it holds
// between TagLib's reading and InflateHeldFrames belongs to that file.
class BoundedFrameFactory : public frame_factory_detail::FrameFactoryBase {
 public:
  BoundedFrameFactory() = default;
  ~BoundedFrameFactory() override = default;

  // The frame that data begins with, as TagLib makes it, a compressed one
  // inflated within the bounds; nullptr when TagLib refuses the frame or it
  // is dropped as damaged.
  std::unique_ptr<TagLib::ID3v2::Frame> CreateBoundedFrame(const TagLib::ByteVector& data,
                                                           const TagLib::ID3v2::Header* tag_header);

  // After TagLib has read tag through this factory: its compressed frames
  // inflated in their places, those dropped that expand too far.
  void InflateHeldFrames(TagLib::ID3v2::Tag* tag);

 protected:
  bool updateFrame(FrameHeader* header) const override;

 private:
  // Which of m_held_ids a frame TagLib kept compressed stands for.
  std::optional<std::size_t> HeldIndex(const TagLib::ID3v2::Frame* frame) const;
  std::unique_ptr<TagLib::ID3v2::Frame> Inflated(const TagLib::ID3v2::Frame& held,
                                                 unsigned int version);

  // The IDs of the compressed frames TagLib keeps uninflated, at most
  // kMostInflatedFrames; their own IDs are marks that index this list.
  mutable std::vector<TagLib::ByteVector> m_held_ids;
  std::size_t m_inflated_bytes = 0;
};

}  // namespace tallymere
