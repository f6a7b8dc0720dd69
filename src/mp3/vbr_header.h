#pragma once
// The header an encoder writes into the first Layer III frame of a file in
// place of audio, so that a reader learns how many frames follow without
// walking them all. With the file's length that gives the average bitrate of a
// variable-bitrate file, where the first frame's own bitrate says little.
//
//   Xing or Info, right after the 4 header bytes and the side information:
//     0  "Xing" (variable bitrate) or "Info" (constant bitrate)
//     4  flags, big-endian uint32; bit 0 set: the frame count follows
//     8  frame count, big-endian uint32
//   VBRI, always 36 bytes into the frame, every field big-endian:
//     0  "VBRI"   4 version (2)   6 delay (2)   8 quality (2)
//    10  bytes (4)   14  frame count (4)

#include <cstdint>
#include <optional>
#include <string_view>

namespace tallymere {

struct VbrHeader {
  uint32_t frames = 0;            // never 0
  int samples_per_frame = 0;      // 1152 for MPEG-1, 576 for MPEG-2 and 2.5
  bool constant_bitrate = false;  // an "Info" header: every frame has one bitrate
};

// The header inside the frame that starts at frame[0]: Xing or Info at the
// offset the frame's version and channel mode give, else VBRI. Nothing when
// the frame is no Layer III frame of a known version, holds no such header, or
// its header carries no frame count (the Xing flag is clear, or the count is 0).
std::optional<VbrHeader> FindVbrHeader(std::string_view frame);

// The average bitrate in kbps of a file of file_length bytes that holds frames
// frames of samples_per_frame samples at sample_rate Hz, rounded half to even:
// file_length × 8 / (frames × samples_per_frame / sample_rate) / 1000.
// frames and sample_rate must not be 0.
long long AverageBitrate(int64_t file_length, uint32_t frames, float sample_rate,
                         int samples_per_frame);

}  // namespace tallymere
