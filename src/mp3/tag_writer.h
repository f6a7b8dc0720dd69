#pragma once
// WriteTag and EraseTag: the two procedures of the MP3 Utilities window that
// change a file's ID3v1 tag. Each works on one file and returns what became
// of it; the window says so, and its batch commands go on with the next file
// whatever happened.

#include <string>
#include <string_view>

#include "common/code_page.h"
#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::string_view kMp3UtilitiesTitle = "MP3 Utilities";
inline constexpr std::string_view kFileAccessErrorText = "File access error.";

// The tag editor of the MP3 Utilities window. A keep flag set (chkTitle,
// chkArt, chkAlb, chkYear, chkCom, chkGenre) leaves that field of the file's
// tag as it is.
struct TagEditorValues {
  std::string title{};
  std::string artist{};
  std::string album{};
  std::string year{};
  std::string comment{};
  std::string genre{};  // a name from Genres; any other text writes no genre
  bool keep_title = false;
  bool keep_artist = false;
  bool keep_album = false;
  bool keep_year = false;
  bool keep_comment = false;
  bool keep_genre = false;
};

// Writes the editor's values into the tag of the file at catalog_path, in
// the code page given. Texts longer than their field (30 stored bytes, the
// year 4) are cut without splitting a character, and the cut text goes back
// into the editor. A character the code page cannot hold refuses the write
// before the file is touched (EditorTextProblem's message), never stored as
// "?". The file's attributes are reset to normal first and not restored. An
// existing tag or erased tag is rewritten in place; otherwise a new block is
// appended, starting as an empty tag (spaces, no genre) so kept fields read
// back empty. A failure's message is its description naming the file ("File
// not found: "C:\Music\a.mp3"").
//
// With into_id3v2, the fields also go into the file's existing ID3v2 tag
// first, uncut (WriteId3v2Fields); when that fails nothing is written.
Status WriteTag(const Platform& platform, std::string_view catalog_path, TagEditorValues& values,
                const CodePage& code_page = CodePage(), bool into_id3v2 = false);

// Why the editor's texts that are not kept cannot be written in the code
// page (a message naming the first character it cannot hold), or Ok.
Status EditorTextProblem(const TagEditorValues& values, const CodePage& code_page);

// Empties the six editor fields and marks the file's tag as erased: "000",
// NULs over the text fields and 254 as the genre byte, the file keeping its
// length. A file without a tag is left unchanged (its attributes are still
// reset). The window reports only a refused access (kNoAccess), as "File
// access error."; other failures, such as a missing file, end silently.
Status EraseTag(const Platform& platform, std::string_view catalog_path, TagEditorValues& values);

}  // namespace tallymere
