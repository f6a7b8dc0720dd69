#pragma once
// A main window that opens catalogs made of given records.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/data_file.h"
#include "support/main_window_fixture.h"

namespace tallymere::testing {

class CatalogWindowTest : public MainWindowTest {
 protected:
  static CatalogRecord Record(std::string label, std::string path, std::string name, int32_t size) {
    CatalogRecord record;
    record.disk_label = std::move(label);
    record.path = std::move(path);
    record.file_name = std::move(name);
    record.size = size;
    return record;
  }
  // Saves these records and a trailer of this type and flag as `name` in the
  // temporary folder, opens it as File > Open would, checks that nothing was
  // said and forgets the calls made so far.
  void OpenRecords(const std::vector<CatalogRecord>& records, const std::string& type = "mp3",
                   int flag = 1, const std::string& name = "c.mpd") {
    CatalogTable table;
    int index = 1;
    for (const CatalogRecord& record : records) table.SetRecord(index++, record);
    table.SetRecord(index, MakeTrailer(type, flag, "then"));
    ASSERT_TRUE(SaveDataFile(platform(), table, folder().Path(name)).ok());
    ui().AnswerOpenFile(folder().Path(name));
    main().mnuLoad_Click();
    ASSERT_TRUE(ui().Messages().empty());
    ui().ClearCalls();
  }
};

}  // namespace tallymere::testing
