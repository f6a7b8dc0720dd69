#pragma once
// MP3 Utilities over a started main window whose drive C: is a temporary
// folder; songs are real MP3 files below C:\Music.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "mp3/bitrat.h"
#include "mp3/mp3_fixtures.h"
#include "support/main_window_fixture.h"
#include "support/test_platform.h"
#include "views/file_list_row.h"
#include "windows/mp3_utilities/frm_id3.h"
#include "windows/mp3_utilities/frm_id3_command_table.h"

namespace tallymere::testing {

using Texts = std::vector<std::string>;

// Two MPEG-1 Layer III frames at 128 kbps and 44100 Hz, no tag.
inline std::string Audio() { return Frame() + Frame(); }
inline std::string TaggedAudio(const Id3v1Fields& fields) { return Audio() + Id3v1Block(fields); }

// What Enabled() gives with no batch, with a batch, with new names to rename
// (and a step to take back), and after a rename.
inline constexpr const char* kNothingLoaded = "1 7 8 11 ";
inline constexpr const char* kLoaded = "1 3 4 5 7 8 9 10 11 mnuMan mnuIDrenam ";
inline constexpr const char* kRenameReady = "1 3 4 5 7 8 9 10 11 14 mnuRen mnuMan mnuIDrenam ";
inline constexpr const char* kOopsReady =
    "1 3 4 5 7 8 9 10 11 12 14 mnuRen mnuOops mnuMan mnuIDrenam ";
inline constexpr const char* kUndoReady = "1 3 4 5 7 8 9 10 11 15 mnuUndo mnuMan mnuIDrenam ";

class FrmId3Test : public MainWindowTest {
 protected:
  FrmId3Test() {
    m_id3 = std::make_unique<FrmID3>(session(), services());
    main().show_mp3_utilities = [this] { m_id3->Form_Load(); };
    m_id3->Form_Load();
    ui().ClearCalls();
  }

  FrmID3& id3() { return *m_id3; }
  ListModel& batch() { return m_id3->LvOld(); }

  std::string Song(const std::string& relative, const std::string& bytes = Audio()) {
    return File("c", "Music/" + relative, bytes);
  }
  std::string MusicPath(const std::string& relative) const {
    return folder().Path("c/Music/" + relative);
  }
  void LoadFolder(const std::string& catalog_folder = "C:\\Music") {
    ui().AnswerFolder(catalog_folder);
    id3().mnuOpen_Click();
  }
  // Songs of two frames below C:\Music, then the folder loaded.
  void LoadSongs(std::initializer_list<const char*> names) {
    for (const char* name : names) Song(name);
    LoadFolder();
  }

  Texts Column(int column) const {
    Texts texts;
    for (int row = 0; row < m_id3->LvOld().row_count(); ++row) {
      texts.push_back(m_id3->LvOld().Cell(row, column));
    }
    return texts;
  }
  int Row(const std::string& original) const {
    for (int row = 0; row < m_id3->LvOld().row_count(); ++row) {
      if (m_id3->LvOld().Cell(row, kBatchOriginal) == original) return row;
    }
    return -1;
  }
  // A click on one entry alone.
  void Click(const std::string& original) {
    batch().SelectOnly(Row(original));
    id3().LvOld_ItemClick(Row(original));
  }
  void SetNew(const std::string& original, const std::string& new_name) {
    batch().SetCell(Row(original), kBatchNew, new_name);
  }
  void SetNew(std::initializer_list<std::pair<const char*, const char*>> names) {
    for (const auto& [original, new_name] : names) SetNew(original, new_name);
  }
  // The enabled toolbar buttons, then the enabled naming menu items.
  std::string Enabled() const {
    std::string text;
    for (int button = 1; button <= 15; ++button) {
      if (m_id3->commands().ButtonEnabled(button)) text += std::to_string(button) + " ";
    }
    for (Id3Command item : {Id3Command::kRen, Id3Command::kUndo, Id3Command::kOops,
                            Id3Command::kMan, Id3Command::kIDrenam}) {
      if (m_id3->commands().Enabled(item))
        text += std::string(EntryOf(kId3Commands, item).name) + " ";
    }
    return text;
  }

  // "title/icon/buttons: text" of the n-th message box.
  std::string Message(std::size_t index) const {
    static const char* kIcons[] = {"none", "stop", "question", "warning", "information"};
    static const char* kButtons[] = {"ok", "okcancel", "yesno", "yesnocancel"};
    const std::vector<UiCall> messages = m_ui.Messages();
    if (index >= messages.size()) return "no message " + std::to_string(index);
    const UiCall& m = messages[index];
    return m.title + "/" + kIcons[static_cast<int>(m.icon)] + "/" +
           kButtons[static_cast<int>(m.buttons)] + ": " + m.text;
  }

  Mp3Info ReadTag(const std::string& relative) const {
    Mp3Info info;
    EXPECT_TRUE(testing::ReadMp3File(MusicPath(relative), &info).ok()) << relative;
    return info;
  }

  // A record of C:\Music\<name> with old tag texts, and its row in the file list.
  void CatalogSong(const std::string& name, bool select, const std::string& path = "C:\\Music\\",
                   const std::string& disk = "C:\\") {
    CatalogRecord record;
    record.disk_label = disk;
    record.path = path;
    record.file_name = name;
    record.size = 836;
    record.artist = record.album = record.title = "Old";
    main().session().catalog().SetRecord(main().session().catalog().CatalogEnd(), record);
    main().LV().SetSelected(main().LV().AddRow(FileListRow(record, 3)), select);
  }
  std::string CatalogTag(int index) const {
    const CatalogRecord& record = m_main->session().catalog().Record(index);
    return record.artist + "|" + record.title + "|" + record.album;
  }

  std::unique_ptr<FrmID3> m_id3;
};

}  // namespace tallymere::testing
