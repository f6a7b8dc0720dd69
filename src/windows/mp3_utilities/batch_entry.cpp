#include "windows/mp3_utilities/batch_entry.h"

#include "windows/mp3_utilities/frm_id3.h"

namespace tallymere {

ListRow BatchEntry(const std::string& path, const std::string& file_name) {
  const std::size_t stem = file_name.size() - kMp3Extension.size();
  ListRow row;
  row.text = file_name.substr(0, stem);
  row.sub_items.resize(kBatchExtension);
  row.sub_items[kBatchNew - 1] = row.text;
  row.sub_items[kBatchPath - 1] = path;
  row.sub_items[kBatchExtension - 1] = file_name.substr(stem);
  return row;
}

std::string BatchLimitText(int entries) {
  return "The batch holds " + std::to_string(entries) + " files, more than " +
         std::to_string(kNameSnapshotSize) + ": Oops! can restore the names of the first " +
         std::to_string(kNameSnapshotSize) + " only.";
}

}  // namespace tallymere
