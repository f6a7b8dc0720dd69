#pragma once
// Write Tag's fields into a file's existing ID3v2 tag, so players that read
// ID3v2 first show what the user wrote. A file without an ID3v2 tag gets
// none: the ID3v1 tag is the one the window writes.

#include <string>
#include <string_view>

#include "common/code_page.h"
#include "common/status.h"
#include "mp3/tag_writer.h"
#include "ports/platform.h"

namespace tallymere {

// The largest file whose ID3v2 tag is rewritten: the file is read whole and
// replaced in one step.
inline constexpr std::size_t kMostId3v2RewriteBytes = std::size_t{256} << 20;

// Writes the editor's fields that are not kept into the ID3v2 tag at the
// start of the file at native_path, keeping the tag's version (2.2 becomes
// 2.4, which TagLib writes) and every other frame. A field whose editor text
// is empty, or is the tag's own value cut to the ID3v1 width the editor
// shows (the year of a date), keeps the tag's value, so nothing longer than
// an ID3v1 field holds is cut. The file is replaced in one step and only
// when a field changed; a file without an ID3v2 tag, or one that cannot be
// opened, is left as it is (the ID3v1 write reports the latter). A failure's
// message names the file by its native path.
Status WriteId3v2Fields(const Platform& platform, const std::string& native_path,
                        const TagEditorValues& values, const CodePage& code_page);

}  // namespace tallymere
