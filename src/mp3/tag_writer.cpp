#include "mp3/tag_writer.h"

#include <array>
#include <cstdint>
#include <optional>

#include "mp3/genres.h"
#include "mp3/id3v1.h"
#include "mp3/id3v2_writer.h"

namespace tallymere {
namespace {

std::string NamingFile(std::string_view description, std::string_view catalog_path) {
  return std::string(description) + ": \"" + std::string(catalog_path) + "\"";
}

// Resets the attributes of the file, then opens it for writing. A failure's
// message names the file.
Result<std::unique_ptr<RandomAccessFile>> OpenTagFile(const Platform& platform,
                                                      std::string_view catalog_path) {
  const std::optional<std::string> native = platform.ToNative(catalog_path);
  if (!native) {
    return Status::Error(StatusCode::kNotFound, NamingFile("Path not found", catalog_path));
  }
  // Whether the file is there at all, before its attributes are touched.
  if (Result<std::unique_ptr<RandomAccessFile>> there = platform.OpenFile(*native, OpenMode::kRead);
      !there) {
    return Status::Error(there.code(), NamingFile(there.status().message(), catalog_path));
  }
  // The file exists, so a refused reset is a refused access whatever its cause.
  if (const Status reset = platform.ResetAttributes(catalog_path); !reset) {
    return Status::Error(StatusCode::kNoAccess, reset.message());
  }
  Result<std::unique_ptr<RandomAccessFile>> file = platform.OpenFile(*native, OpenMode::kReadWrite);
  if (!file) return Status::Error(file.code(), NamingFile(file.status().message(), catalog_path));
  return file;
}

struct TagBlock {
  int64_t offset = 0;
  std::string bytes;
  bool exists = false;  // the file ends in a tag or an erased tag
};

// The file's last 128 bytes when they hold a tag or an erased tag, else an
// empty tag to be appended at the end.
Status FindTagBlock(const RandomAccessFile& file, TagBlock* block) {
  const Result<int64_t> length = file.Length();
  if (!length) return length.status();
  if (*length >= static_cast<int64_t>(kTagSize)) {
    block->offset = *length - static_cast<int64_t>(kTagSize);
    if (Status read = file.ReadAt(block->offset, kTagSize, &block->bytes); !read) return read;
    block->exists = IsTagBlock(block->bytes) || IsErasedTagBlock(block->bytes);
  }
  if (!block->exists) {
    block->offset = *length;
    block->bytes = EmptyTagBlock();
  }
  return Status::Ok();
}

// Writes the block and closes the file, so a late write failure counts too.
Status PutBlock(RandomAccessFile& file, int64_t offset, std::string_view bytes) {
  if (Status written = file.WriteAt(offset, bytes); !written) return written;
  return file.Close();
}

void PutText(std::string* block, TagField field, std::string stored) {
  stored.resize(field.width, ' ');
  block->replace(field.offset, field.width, stored);
}

// The editor's five text fields with their keep flags and places in the tag.
struct EditorField {
  std::string* text;
  bool keep;
  TagField field;
};
std::array<EditorField, 5> EditorFields(TagEditorValues& values) {
  return {{
      {&values.title, values.keep_title, kTagTitle},
      {&values.artist, values.keep_artist, kTagArtist},
      {&values.album, values.keep_album, kTagAlbum},
      {&values.year, values.keep_year, kTagYear},
      {&values.comment, values.keep_comment, kTagComment},
  }};
}

}  // namespace

Status EditorTextProblem(const TagEditorValues& values, const CodePage& code_page) {
  TagEditorValues texts = values;
  for (const EditorField& field : EditorFields(texts)) {
    if (field.keep) continue;
    if (const Result<std::string> stored = code_page.Encode(*field.text); !stored) {
      return stored.status();
    }
  }
  return Status::Ok();
}

Status WriteTag(const Platform& platform, std::string_view catalog_path, TagEditorValues& values,
                const CodePage& code_page, bool into_id3v2) {
  if (Status problem = EditorTextProblem(values, code_page); !problem) return problem;
  const auto fail = [&](const Status& status) {
    return Status::Error(status.code(), NamingFile(status.message(), catalog_path));
  };
  // Before the ID3v1 tag is opened: the ID3v2 write replaces the file, and a
  // write to the file opened before would go to the one replaced.
  if (const std::optional<std::string> native = platform.ToNative(catalog_path); into_id3v2) {
    if (Status v2 = native ? WriteId3v2Fields(platform, *native, values, code_page) : Status::Ok();
        !v2) {
      return v2;
    }
  }
  const std::array<EditorField, 5> fields = EditorFields(values);
  for (const EditorField& field : fields) {
    *field.text = code_page.CutToWidth(*field.text, field.field.width);
  }
  const uint8_t genre_byte = GenreByte(values.genre);

  Result<std::unique_ptr<RandomAccessFile>> file = OpenTagFile(platform, catalog_path);
  if (!file) return file.status();
  TagBlock block;
  if (Status found = FindTagBlock(**file, &block); !found) return fail(found);

  block.bytes.replace(kTagMarker.offset, kTagMarker.width, kTagMarkerText);
  for (const EditorField& field : fields) {
    // Checked above: every text the page cannot hold was refused.
    if (!field.keep) PutText(&block.bytes, field.field, code_page.Encode(*field.text).value());
  }
  if (!values.keep_genre) block.bytes[kTagGenreOffset] = static_cast<char>(genre_byte);

  if (Status put = PutBlock(**file, block.offset, block.bytes); !put) return fail(put);
  return Status::Ok();
}

Status EraseTag(const Platform& platform, std::string_view catalog_path, TagEditorValues& values) {
  for (std::string* text : {&values.title, &values.artist, &values.album, &values.year,
                            &values.comment, &values.genre}) {
    text->clear();
  }
  Result<std::unique_ptr<RandomAccessFile>> file = OpenTagFile(platform, catalog_path);
  if (!file) return file.status();
  TagBlock block;
  if (Status found = FindTagBlock(**file, &block); !found) return found;
  if (!block.exists) return Status::Ok();

  std::string erased(kTagSize, '\0');
  erased.replace(kTagMarker.offset, kTagMarker.width, kErasedMarkerText);
  erased[kTagGenreOffset] = static_cast<char>(kErasedGenreByte);
  return PutBlock(**file, block.offset, erased);
}

}  // namespace tallymere
