#include "mp3/audio_info.h"

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/asffile.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/speexfile.h>
#include <taglib/tiostream.h>
#include <taglib/tpropertymap.h>
#include <taglib/trueaudiofile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "mp3/bounded_frame_factory.h"

namespace tallymere {
namespace {

using TagLib::AudioProperties;

// The platform's file as TagLib reads it: read-only, and empty past the
// byte budget, so that no header can make a read take the whole file.
class FileStream : public TagLib::IOStream {
 public:
  // Every stream of one file draws on the same *budget, so trying several
  // formats costs no more than one.
  FileStream(const RandomAccessFile& file, int64_t length, std::string name, std::size_t* budget)
      : m_file(file), m_length(length), m_name(std::move(name)), m_budget(*budget) {}

  TagLib::FileName name() const override { return m_name.c_str(); }
  TagLib::ByteVector readBlock(unsigned long length) override {
    if (m_position >= m_length || m_budget == 0) return {};
    const std::size_t wanted =
        std::min<std::size_t>({length, m_budget, static_cast<std::size_t>(m_length - m_position)});
    if (!m_file.ReadAt(m_position, wanted, &m_buffer)) return {};
    m_budget -= m_buffer.size();
    m_position += static_cast<int64_t>(m_buffer.size());
    return TagLib::ByteVector(m_buffer.data(), static_cast<unsigned int>(m_buffer.size()));
  }
  void writeBlock(const TagLib::ByteVector&) override {}
  void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
  void removeBlock(unsigned long, unsigned long) override {}
  bool readOnly() const override { return true; }
  bool isOpen() const override { return true; }
  void seek(long offset, Position from) override {
    const int64_t base = from == Beginning ? 0 : from == Current ? m_position : m_length;
    m_position = std::max<int64_t>(0, base + offset);
  }
  long tell() const override { return static_cast<long>(m_position); }
  long length() override { return static_cast<long>(m_length); }
  void truncate(long) override {}

 private:
  const RandomAccessFile& m_file;
  const int64_t m_length;
  const std::string m_name;
  int64_t m_position = 0;
  std::size_t& m_budget;
  std::string m_buffer;
};

constexpr auto kStyle = AudioProperties::Average;

using Opener =
    std::function<std::unique_ptr<TagLib::File>(TagLib::IOStream*, BoundedFrameFactory*)>;

template <typename File>
Opener Plain() {
  return [](TagLib::IOStream* stream, BoundedFrameFactory*) {
    return std::make_unique<File>(stream, true, kStyle);
  };
}

// A format whose ID3v2 tag TagLib reads through the frame factory it is
// given: ours, whose compressed frames are inflated within bounds once the
// file is open.
template <typename File>
Opener WithFrameFactory() {
  return [](TagLib::IOStream* stream, BoundedFrameFactory* frames) {
    auto file = std::make_unique<File>(stream, frames, true, kStyle);
    if (TagLib::ID3v2::Tag* tag = file->ID3v2Tag()) frames->InflateHeldFrames(tag);
    return file;
  };
}

struct Format {
  const char* name;
  Opener open;
};

// The formats an extension may stand for, tried in order.
std::vector<Format> FormatsOf(std::string_view extension) {
  const Format vorbis{"Ogg Vorbis", Plain<TagLib::Ogg::Vorbis::File>()};
  const Format mp4{"MP4", Plain<TagLib::MP4::File>()};
  const Format asf{"ASF", Plain<TagLib::ASF::File>()};
  const Format aiff{"AIFF", Plain<TagLib::RIFF::AIFF::File>()};
  // MP3 files keep their own reading (bitrat.h).
  if (extension == "mp2") return {{"MPEG", WithFrameFactory<TagLib::MPEG::File>()}};
  if (extension == "flac") return {{"FLAC", WithFrameFactory<TagLib::FLAC::File>()}};
  if (extension == "ogg") return {vorbis};
  if (extension == "oga") {
    return {vorbis,
            {"Ogg FLAC", Plain<TagLib::Ogg::FLAC::File>()},
            {"Ogg Opus", Plain<TagLib::Ogg::Opus::File>()}};
  }
  if (extension == "opus") return {{"Ogg Opus", Plain<TagLib::Ogg::Opus::File>()}};
  if (extension == "spx") return {{"Ogg Speex", Plain<TagLib::Ogg::Speex::File>()}};
  if (extension == "m4a" || extension == "m4b" || extension == "mp4" || extension == "aac") {
    return {mp4};
  }
  if (extension == "wma" || extension == "asf") return {asf};
  if (extension == "wav") return {{"WAVE", Plain<TagLib::RIFF::WAV::File>()}};
  if (extension == "aif" || extension == "aiff") return {aiff};
  if (extension == "ape") return {{"APE", Plain<TagLib::APE::File>()}};
  if (extension == "wv") return {{"WavPack", Plain<TagLib::WavPack::File>()}};
  if (extension == "mpc") return {{"Musepack", Plain<TagLib::MPC::File>()}};
  if (extension == "tta") return {{"TrueAudio", WithFrameFactory<TagLib::TrueAudio::File>()}};
  return {};
}

// The values of one field, joined.
std::string Joined(const TagLib::PropertyMap& properties, const char* key) {
  const auto found = properties.find(key);
  if (found == properties.end()) return {};
  std::string joined;
  for (const TagLib::String& value : found->second) {
    const std::string text = value.to8Bit(true);
    if (text.empty()) continue;
    if (!joined.empty()) joined += " / ";
    joined += text;
  }
  return joined;
}

// Bits per sample, where the format's properties have them.
template <typename Properties>
bool BitsOf(const AudioProperties* properties, int* bits) {
  const auto* of_format = dynamic_cast<const Properties*>(properties);
  if (of_format != nullptr) *bits = of_format->bitsPerSample();
  return of_format != nullptr;
}

int BitsPerSample(const AudioProperties* properties) {
  int bits = 0;
  (void)(BitsOf<TagLib::FLAC::Properties>(properties, &bits) ||
         BitsOf<TagLib::RIFF::WAV::Properties>(properties, &bits) ||
         BitsOf<TagLib::RIFF::AIFF::Properties>(properties, &bits) ||
         BitsOf<TagLib::MP4::Properties>(properties, &bits) ||
         BitsOf<TagLib::APE::Properties>(properties, &bits) ||
         BitsOf<TagLib::WavPack::Properties>(properties, &bits) ||
         BitsOf<TagLib::TrueAudio::Properties>(properties, &bits) ||
         BitsOf<TagLib::ASF::Properties>(properties, &bits));
  return bits;
}

AudioInfo InfoOf(const TagLib::File& file, const char* format, int64_t length) {
  AudioInfo info;
  info.format = format;
  const AudioProperties* properties = file.audioProperties();
  info.length_seconds = properties->lengthInSeconds();
  info.bitrate_kbps = properties->bitrate();
  // Some streams name no bitrate: their average is the file over its time.
  const int milliseconds = properties->lengthInMilliseconds();
  if (info.bitrate_kbps <= 0 && milliseconds > 0) {
    info.bitrate_kbps = static_cast<int>(length * 8 / milliseconds);
  }
  info.sample_rate = properties->sampleRate();
  info.channels = properties->channels();
  info.bits_per_sample = BitsPerSample(properties);
  const TagLib::PropertyMap tags = file.properties();
  info.artist = Joined(tags, "ARTIST");
  info.title = Joined(tags, "TITLE");
  info.album = Joined(tags, "ALBUM");
  return info;
}

}  // namespace

Result<AudioInfo> ReadAudioInfo(const RandomAccessFile& file, int64_t length,
                                std::string_view lower_extension) {
  std::size_t budget = kMostAudioInfoBytes;
  for (const Format& format : FormatsOf(lower_extension)) {
    // The frame factory outlives the file that reads through it, and serves
    // that file alone.
    BoundedFrameFactory frames;
    FileStream stream(file, length, "audio." + std::string(lower_extension), &budget);
    const std::unique_ptr<TagLib::File> opened = format.open(&stream, &frames);
    if (opened && opened->isValid() && opened->audioProperties() != nullptr) {
      return InfoOf(*opened, format.name, length);
    }
  }
  return Status::Error(StatusCode::kDamaged,
                       "not a ." + std::string(lower_extension) + " file that can be read");
}

}  // namespace tallymere
