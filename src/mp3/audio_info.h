#pragma once
// What a file of an audio format other than MP3 tells about itself, read by
// TagLib through the platform's file: its stream (bitrate, length, sample
// rate, channels) and the artist, title and album of its own tag (Vorbis
// comments, MP4 atoms, ASF attributes, APE tags, RIFF INFO or ID3 in WAV and
// AIFF). No audio is decoded, and a read never takes more than
// kMostAudioInfoBytes of a file, however its headers lie.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

// Room for the largest cover pictures and MP4 indexes of real files; a
// hostile MPEG stream of zeros is searched for a frame through all of it.
inline constexpr std::size_t kMostAudioInfoBytes = std::size_t{16} << 20;

struct AudioInfo {
  std::string format;  // "FLAC", "Ogg Vorbis", "MP4", ...
  int bitrate_kbps = 0;
  int length_seconds = 0;
  int sample_rate = 0;  // Hz
  int channels = 0;
  int bits_per_sample = 0;  // 0 where the format has none (lossy streams)
  // Several values of one field are joined with " / ", as ID3v2 values are.
  std::string artist;
  std::string title;
  std::string album;
};

// Reads a file of `length` bytes whose name ends in the audio extension
// `lower_extension` ("flac", "m4a"; not "mp3", which ReadMp3Info reads). A
// file that is not of the format its extension names, or too damaged to
// tell, is a kDamaged error.
Result<AudioInfo> ReadAudioInfo(const RandomAccessFile& file, int64_t length,
                                std::string_view lower_extension);

}  // namespace tallymere
