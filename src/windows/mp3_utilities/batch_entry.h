#pragma once
// One entry of the MP3 Utilities batch list: the name of an MP3 file split
// into the Original shown (the name without its extension) and the extension
// kept as found, plus the texts about the batch's size limit.

#include <string>
#include <string_view>

#include "mp3/file_name_check.h"
#include "views/list_model.h"

namespace tallymere {

// The row for a file of an IsMp3FileName name in a catalog folder ending in
// "\": Original and New are the name without its extension, Old Name is
// empty, and the hidden extension cell keeps the extension's letter case.
ListRow BatchEntry(const std::string& path, const std::string& file_name);

// The message of a batch with more entries than the name snapshots hold.
std::string BatchLimitText(int entries);

}  // namespace tallymere
