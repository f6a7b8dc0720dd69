#include "mp3/id3v2_writer.h"

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>

#include <functional>
#include <vector>

#include "mp3/bounded_frame_factory.h"
#include "mp3/id3v1.h"
#include "mp3/id3v2.h"

namespace tallymere {
namespace {

TagLib::String Utf8(const std::string& text) { return TagLib::String(text, TagLib::String::UTF8); }

// One editor field and how the tag holds it.
struct V2Field {
  const std::string& text;
  bool keep;
  std::size_t width;  // what the editor shows of the tag's value
  std::function<TagLib::String(const TagLib::Tag&)> get;
  std::function<void(TagLib::Tag&, const std::string&)> set;
};

std::vector<V2Field> FieldsOf(const TagEditorValues& v) {
  using T = TagLib::Tag;
  const auto year_text = [](const T& t) {
    return t.year() == 0 ? TagLib::String() : TagLib::String::number(static_cast<int>(t.year()));
  };
  // A year that is no number (the editor takes any text) leaves the tag's.
  const auto set_year = [](T& t, const std::string& s) {
    if (s.find_first_not_of("0123456789") == std::string::npos) t.setYear(std::stoul(s));
  };
  return {
      {v.title, v.keep_title, kTagTitle.width, [](const T& t) { return t.title(); },
       [](T& t, const std::string& s) { t.setTitle(Utf8(s)); }},
      {v.artist, v.keep_artist, kTagArtist.width, [](const T& t) { return t.artist(); },
       [](T& t, const std::string& s) { t.setArtist(Utf8(s)); }},
      {v.album, v.keep_album, kTagAlbum.width, [](const T& t) { return t.album(); },
       [](T& t, const std::string& s) { t.setAlbum(Utf8(s)); }},
      {v.year, v.keep_year, kTagYear.width, year_text, set_year},
      {v.comment, v.keep_comment, kTagComment.width, [](const T& t) { return t.comment(); },
       [](T& t, const std::string& s) { t.setComment(Utf8(s)); }},
      // A genre is a name, never cut.
      {v.genre, v.keep_genre, std::string::npos, [](const T& t) { return t.genre(); },
       [](T& t, const std::string& s) { t.setGenre(Utf8(s)); }},
  };
}

// Sets the fields the editor changed; true when one was.
bool ChangeFields(TagLib::ID3v2::Tag& tag, const TagEditorValues& values,
                  const CodePage& code_page) {
  bool changed = false;
  for (const V2Field& field : FieldsOf(values)) {
    if (field.keep || field.text.empty()) continue;
    const std::string own = field.get(tag).to8Bit(true);
    const std::string shown =
        field.width == std::string::npos ? own : code_page.CutToWidth(own, field.width);
    if (field.text == own || field.text == shown) continue;
    field.set(tag, field.text);
    changed = true;
  }
  return changed;
}

}  // namespace

Status WriteId3v2Fields(const Platform& platform, const std::string& native_path,
                        const TagEditorValues& values, const CodePage& code_page) {
  // A file that cannot be opened is the ID3v1 write's to report, in its words.
  Result<std::unique_ptr<RandomAccessFile>> file = platform.OpenFile(native_path, OpenMode::kRead);
  if (!file) return Status::Ok();
  std::string head;
  const Status read_head = (*file)->ReadAt(0, kId3v2HeaderSize, &head);
  (void)(*file)->Close();
  if (!read_head || Id3v2TagLength(head) == 0) return Status::Ok();

  std::string bytes;
  if (Status read = platform.ReadFileInto(native_path, kMostId3v2RewriteBytes, &bytes); !read) {
    return read;
  }
  TagLib::ByteVector data(bytes.data(), static_cast<unsigned int>(bytes.size()));
  TagLib::ByteVectorStream stream(data);
  BoundedFrameFactory frames;
  TagLib::MPEG::File mpeg(&stream, &frames, false);
  TagLib::ID3v2::Tag* tag = mpeg.isValid() ? mpeg.ID3v2Tag() : nullptr;
  if (tag == nullptr || tag->isEmpty()) return Status::Ok();
  frames.InflateHeldFrames(tag);
  if (!ChangeFields(*tag, values, code_page)) return Status::Ok();

  const auto version = tag->header()->majorVersion() == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4;
  if (!mpeg.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, version,
                 TagLib::File::DoNotDuplicate)) {
    return Status::Error(StatusCode::kOther,
                         "The ID3v2 tag of \"" + native_path + "\" could not be written");
  }
  const TagLib::ByteVector& saved = *stream.data();
  return platform.WriteFileAtomically(native_path, std::string_view(saved.data(), saved.size()));
}

}  // namespace tallymere
