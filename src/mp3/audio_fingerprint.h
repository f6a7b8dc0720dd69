#pragma once
// A content hash of a file's audio, which a tagger never touches: the bytes
// between the tags. For MPEG audio (mp3, mp2) that is the file without a
// leading ID3v2 tag, trailing ID3v1 and APE tags, and a first frame that
// only holds a Xing, Info or VBRI header (a tagger rewrites that one); for
// FLAC the frames after the metadata blocks; for MP4 files (m4a, m4b, mp4)
// the media data atom. The hash covers the first kHashedAudioBytes of them
// and their whole length, so two songs that begin alike (silence) still
// differ, and a scan reads at most that much more of a file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::size_t kHashedAudioBytes = std::size_t{256} << 10;

struct AudioHash {
  uint64_t hash = 0;
  int64_t audio_bytes = 0;  // 0: none
};

// Whether files of this extension (lower case) get a fingerprint.
bool HasAudioFingerprint(std::string_view lower_extension);

// The fingerprint of a file of `length` bytes; none (audio_bytes 0) for a
// format without one, a file without audio, or a file
// whose length changed while it was read. A read that fails is an error.
Result<AudioHash> AudioFingerprint(const RandomAccessFile& file, int64_t length,
                                   std::string_view lower_extension);

}  // namespace tallymere
