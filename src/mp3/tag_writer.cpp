#include "mp3/tag_writer.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <optional>

#include "common/text_encoding.h"
#include "mp3/genres.h"
#include "mp3/id3v1.h"
#include "platform/binary_file.h"

namespace tallymere {
namespace {

// Why a tag file could not be opened. error is 0 when the platform refused to
// reset the attributes of a file that exists, which is a refused access too.
struct OpenFailure {
  int error = 0;
  std::string text;
};

std::string NamingFile(std::string_view description, std::string_view catalog_path) {
  return std::string(description) + ": \"" + std::string(catalog_path) + "\"";
}

// Resets the attributes of the file, then opens it for writing.
std::optional<OpenFailure> OpenTagFile(const Platform& platform, std::string_view catalog_path,
                                       BinaryFile* file) {
  const std::optional<std::string> native = platform.ToNative(catalog_path);
  if (!native) return OpenFailure{ENOTDIR, NamingFile(ErrorText(ENOTDIR), catalog_path)};
  struct stat facts;
  if (::stat(native->c_str(), &facts) != 0) {
    const int error = errno;
    return OpenFailure{error, NamingFile(ErrorText(error), catalog_path)};
  }
  if (const Status reset = platform.ResetAttributes(catalog_path); !reset) {
    return OpenFailure{0, reset.message()};
  }
  if (const int error = file->Open(*native, BinaryFile::Mode::kReadWrite)) {
    return OpenFailure{error, NamingFile(ErrorText(error), catalog_path)};
  }
  return std::nullopt;
}

struct TagBlock {
  int64_t offset = 0;
  std::string bytes;
  bool exists = false;  // the file ends in a tag or an erased tag
};

// The file's last 128 bytes when they hold a tag or an erased tag, else an
// empty tag to be appended at the end.
int FindTagBlock(const BinaryFile& file, TagBlock* block) {
  int64_t length = 0;
  if (const int error = file.Length(&length)) return error;
  if (length >= static_cast<int64_t>(kTagSize)) {
    block->offset = length - static_cast<int64_t>(kTagSize);
    if (const int error = file.ReadAt(block->offset, kTagSize, &block->bytes)) return error;
    block->exists = IsTagBlock(block->bytes) || IsErasedTagBlock(block->bytes);
  }
  if (!block->exists) {
    block->offset = length;
    block->bytes = EmptyTagBlock();
  }
  return 0;
}

void PutText(std::string* block, TagField field, std::string_view text) {
  std::string stored = EncodeText(text);
  stored.resize(field.width, ' ');
  block->replace(field.offset, field.width, stored);
}

}  // namespace

void WriteTag(UiServices& ui, const Platform& platform, std::string_view catalog_path,
              TagEditorValues& values) {
  struct EditorField {
    std::string* text;
    bool keep;
    TagField field;
  };
  const EditorField fields[] = {{&values.title, values.keep_title, kTagTitle},
                                {&values.artist, values.keep_artist, kTagArtist},
                                {&values.album, values.keep_album, kTagAlbum},
                                {&values.year, values.keep_year, kTagYear},
                                {&values.comment, values.keep_comment, kTagComment}};
  for (const EditorField& field : fields) {
    *field.text = CutToStoredWidth(*field.text, field.field.width);
  }
  const uint8_t genre_byte = GenreByte(values.genre);

  const auto fail = [&](std::string_view text) {
    ui.ShowMessage(text, Buttons::kOk, Icon::kStop, kMp3UtilitiesTitle);
  };
  const auto fail_with = [&](int error) { fail(NamingFile(ErrorText(error), catalog_path)); };

  BinaryFile file;
  if (const std::optional<OpenFailure> failure = OpenTagFile(platform, catalog_path, &file)) {
    return fail(failure->text);
  }
  TagBlock block;
  if (const int error = FindTagBlock(file, &block)) return fail_with(error);

  block.bytes.replace(kTagMarker.offset, kTagMarker.width, kTagMarkerText);
  for (const EditorField& field : fields) {
    if (!field.keep) PutText(&block.bytes, field.field, *field.text);
  }
  if (!values.keep_genre) block.bytes[kTagGenreOffset] = static_cast<char>(genre_byte);

  if (const int error = file.WriteAt(block.offset, block.bytes)) return fail_with(error);
  if (const int error = file.Close()) return fail_with(error);
}

void EraseTag(UiServices& ui, const Platform& platform, std::string_view catalog_path,
              TagEditorValues& values) {
  for (std::string* text : {&values.title, &values.artist, &values.album, &values.year,
                            &values.comment, &values.genre}) {
    text->clear();
  }
  // A missing file or path ends silently; only a refused access is reported.
  const auto fail = [&](int error) {
    if (error == 0 || IsAccessError(error)) {
      ui.ShowMessage(kFileAccessErrorText, Buttons::kOk, Icon::kStop, kMp3UtilitiesTitle);
    }
  };

  BinaryFile file;
  if (const std::optional<OpenFailure> failure = OpenTagFile(platform, catalog_path, &file)) {
    return fail(failure->error);
  }
  TagBlock block;
  if (const int error = FindTagBlock(file, &block)) return fail(error);
  if (!block.exists) return;

  std::string erased(kTagSize, '\0');
  erased.replace(kTagMarker.offset, kTagMarker.width, kErasedMarkerText);
  erased[kTagGenreOffset] = static_cast<char>(kErasedGenreByte);
  if (const int error = file.WriteAt(block.offset, erased)) return fail(error);
  if (const int error = file.Close()) return fail(error);
}

}  // namespace tallymere
