#pragma once
// A main window that opens catalogs made of given records, and short forms of
// what the scripted desktop was asked.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "catalog/data_file.h"
#include "support/main_window_fixture.h"

namespace tallymere::testing {

using Texts = std::vector<std::string>;

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
    main().Run(MainCommand::kLoad);
    ASSERT_TRUE(ui().Messages().empty());
    ui().ClearCalls();
  }
  // OpenRecords of files given as (disk label, path, name, size).
  void OpenFiles(const std::vector<std::tuple<std::string, std::string, std::string, int>>& files) {
    std::vector<CatalogRecord> records;
    for (const auto& [label, path, name, size] : files)
      records.push_back(Record(label, path, name, size));
    OpenRecords(records);
  }
  void AddDisk(const std::string& drive, const std::string& label) {
    ui().AnswerFolder(drive).AnswerText(label);
    main().Run(MainCommand::kAddDisk);
  }

  // The three panels of the status bar as "1|2|3".
  std::string Statuses() const {
    return m_ui.Status(1) + "|" + m_ui.Status(2) + "|" + m_ui.Status(3);
  }
  // The calls of one kind ("ShellOpen", "AskText", ...), in order.
  std::vector<UiCall> Calls(const std::string& op) const {
    std::vector<UiCall> found;
    for (const UiCall& call : m_ui.calls()) {
      if (call.op == op) found.push_back(call);
    }
    return found;
  }
  // A message as "text|title", with its icon and buttons checked by the caller.
  static std::string Said(const UiCall& message) { return message.text + "|" + message.title; }
  // Every message shown, as "text|title|icon|buttons".
  Texts Shown() const {
    static const char* const kIcons[] = {"none", "stop", "question", "warning", "information"};
    static const char* const kButtons[] = {"OK", "OKCancel", "YesNo", "YesNoCancel"};
    Texts shown;
    for (const UiCall& message : m_ui.Messages()) {
      shown.push_back(Said(message) + "|" + kIcons[static_cast<int>(message.icon)] + "|" +
                      kButtons[static_cast<int>(message.buttons)]);
    }
    return shown;
  }
};

}  // namespace tallymere::testing
