// MP3 Utilities: Write Tag, Erase Tag and Write Tag Using File Name over the
// batch, and the catalog records that follow them for a batch sent from the
// catalog.

#include <gtest/gtest.h>

#include "windows/mp3_utilities/frm_id3_fixture.h"

namespace tallymere {
namespace {

using namespace testing;  // NOLINT: fixture builders

class FrmId3TagsTest : public FrmId3Test {
 protected:
  FrmId3TagsTest() {
    id3().set_state_listener([this] {
      if (m_panel1.empty() || m_panel1.back() != id3().status(1)) {
        m_panel1.push_back(id3().status(1));
      }
    });
  }
  // Runs a command and returns every text panel 1 showed meanwhile.
  template <typename Command>
  Texts Panel1During(Command command) {
    m_panel1.clear();
    command();
    return m_panel1;
  }

  Texts m_panel1;
};

std::string Fields(const Mp3Info& info) {
  return info.TagArtist + "|" + info.TagAlbum + "|" + info.TagComment + "|" + info.TagTitle;
}

TEST_F(FrmId3TagsTest, WritesTagsFromFileNamesByTheirPattern) {
  for (const char* name : {"Artist - Title.mp3", "Artist - 05 - Title.mp3",
                           "Artist - Album - Title.mp3", "Artist - Album - 05 - Title.mp3"}) {
    Song(name);
  }
  const std::string untouched = TaggedAudio({.title = "Keep"});
  Song("NoSeparator.mp3", untouched);
  LoadFolder();
  Click("Artist - Title");
  id3().set_optAll(true);
  ui().AnswerMessage(Answer::kYes);
  EXPECT_EQ(Panel1During([&] { id3().mnuTagName_Click(); }),
            (Texts{"Analysing file name(s) and writing tags . . .", "Write tag successful."}));

  EXPECT_EQ(Message(0), "Write Tag/question/yesno: Are you sure to apply to all files listed?");
  EXPECT_EQ(Message(1), "MP3 Utilities/stop/ok: Unable to determin fields in NoSeparator.mp3");
  EXPECT_EQ(ReadFileBytes(MusicPath("NoSeparator.mp3")), untouched);
  EXPECT_EQ(Fields(ReadTag("Artist - Title.mp3")), "Artist|||Title");
  EXPECT_EQ(Fields(ReadTag("Artist - 05 - Title.mp3")), "Artist||05|Title");
  EXPECT_EQ(Fields(ReadTag("Artist - Album - Title.mp3")), "Artist|Album||Title");
  EXPECT_EQ(Fields(ReadTag("Artist - Album - 05 - Title.mp3")), "Artist|Album|05|Title");
  const std::string bytes = ReadFileBytes(MusicPath("Artist - Title.mp3"));
  EXPECT_EQ(bytes.substr(bytes.size() - 65), std::string(64, ' ') + '\x94');  // genre 148
  // The editor shows the current entry's new tag.
  EXPECT_EQ(id3().tag_editor().artist + "|" + id3().tag_editor().title, "Artist|Title");
  EXPECT_TRUE(main().session().changed());
  EXPECT_EQ(ui().busy_depth(), 0);
}

TEST_F(FrmId3TagsTest, WritesAndErasesTheSelectedFilesOnlyAndNothingWhenToldNo) {
  LoadSongs({"a.mp3", "b.mp3", "c.mp3"});
  Click("a");
  id3().set_optAll(true);
  id3().tag_editor().title = "New";
  ui().AnswerMessage(Answer::kNo).AnswerMessage(Answer::kNo);
  id3().mnuWrite_Click();
  id3().mnuRemove_Click();
  EXPECT_EQ(Message(1),
            "Write Tag/question/yesno: Are you sure to erase all tags in files listed?");
  // With optSelect and nothing selected, each tag command says so and
  // reports nothing else: no success over no file at all.
  id3().set_optAll(false);
  batch().ClearSelection();
  id3().mnuWrite_Click();
  id3().mnuRemove_Click();
  id3().mnuTagName_Click();
  for (int i = 2; i <= 4; ++i) {
    EXPECT_EQ(Message(i), "MP3 Utilities/information/ok: Please select a file first.");
  }
  EXPECT_EQ(ReadFileBytes(MusicPath("a.mp3")), Audio());
  EXPECT_EQ(id3().status(1), "C:\\Music\\a.mp3");
  EXPECT_FALSE(main().session().changed());

  ui().ClearCalls();
  for (int row : {0, 2}) batch().SetSelected(row, true);
  TagEditorValues& editor = id3().tag_editor();
  editor = {.title = "Same", .artist = "Band", .year = "19999", .genre = "Rock"};
  EXPECT_EQ(Panel1During([&] { id3().mnuWrite_Click(); }),
            (Texts{"Writing tags. . .", "Write tag successful.."}));
  EXPECT_TRUE(ui().Messages().empty());  // no question with optSelect
  for (const char* name : {"a.mp3", "c.mp3"}) {
    const Mp3Info info = ReadTag(name);
    EXPECT_EQ(info.TagTitle + info.TagArtist + info.TagYear + info.TagGenre, "SameBand1999Rock");
  }
  EXPECT_FALSE(ReadTag("b.mp3").HasId3v1Tag);
  EXPECT_EQ(editor.year, "1999");  // cut in the editor too

  EXPECT_EQ(Panel1During([&] { id3().mnuRemove_Click(); }),
            (Texts{"Erasing.  .  .", "Erase tag successful."}));
  EXPECT_FALSE(ReadTag("a.mp3").HasId3v1Tag);
  EXPECT_EQ(editor.title + editor.artist + editor.genre, "");
}

TEST_F(FrmId3TagsTest, SentFilesArriveSelectedAndAWriteShowsEverywhereAtOnce) {
  Song("b.mp3");
  Song("a.mp3");
  CatalogSong("b.mp3", true);
  CatalogSong("a.mp3", true);
  main().Run(MainCommand::kId3);
  // Both arrive selected, the first one current with its details shown.
  EXPECT_EQ(batch().SelectedCount(), 2);
  EXPECT_EQ(batch().current(), batch().row(0).text == "b" ? 0 : 1);
  EXPECT_EQ(id3().Label9(), "Size: " + std::to_string(Audio().size()) + " bytes");
  EXPECT_EQ(id3().status(2), "2 selected");

  // Write Tag in its default scope, the selection, reaches both files.
  id3().tag_editor() = {.title = "New Title", .artist = "New Artist", .album = "New Album"};
  id3().mnuWrite_Click();
  EXPECT_EQ(ReadTag("a.mp3").TagTitle, "New Title");
  EXPECT_EQ(ReadTag("b.mp3").TagArtist, "New Artist");
  EXPECT_EQ(id3().status(1), "Tags and data updated.");
  // The details follow the file, which now ends in a tag...
  EXPECT_EQ(id3().Label9(), "Size: " + std::to_string(Audio().size() + 128) + " bytes");
  // ...and the main window's list shows the new fields without another click.
  const ListModel& list = main().LV();
  for (int row = 0; row < list.row_count(); ++row) {
    EXPECT_EQ(list.Cell(row, kColArtist) + "|" + list.Cell(row, kColTitle) + "|" +
                  list.Cell(row, kColAlbum),
              "New Artist|New Title|New Album");
  }
}

TEST_F(FrmId3TagsTest, CarriesTagsIntoEveryMatchingCatalogRecord) {
  Song("song.mp3", TaggedAudio({.title = "T", .artist = "A"}));
  CatalogSong("song.mp3", true);
  CatalogSong("song.mp3", false);  // the same file catalogued twice
  CatalogSong("SONG.MP3", false);  // another file here: names compare exactly
  CatalogSong("other.mp3", false);
  CatalogSong("song.mp3", false, "C:\\Other\\");
  main().Run(MainCommand::kId3);
  ASSERT_TRUE(id3().LinkedToCatalog());
  batch().SetSelected(0, true);
  id3().tag_editor() = {.title = "New Title", .artist = "New Artist", .album = "New Album"};
  EXPECT_EQ(Panel1During([&] { id3().mnuWrite_Click(); }),
            (Texts{"Writing tags. . .", "Updating data file.  .  .", "Tags and data updated."}));
  for (int index : {1, 2}) EXPECT_EQ(CatalogTag(index), "New Artist|New Title|New Album");
  EXPECT_EQ(CatalogTag(3) + CatalogTag(4) + CatalogTag(5), "Old|Old|OldOld|Old|OldOld|Old|Old");
  // The tag appended made the file 128 bytes longer: the records say so.
  EXPECT_EQ(main().session().catalog().Record(1).size, static_cast<int32_t>(Audio().size() + 128));
  EXPECT_EQ(main().LV().Cell(0, kColSize), std::to_string(Audio().size() + 128));
  EXPECT_TRUE(main().session().changed());

  EXPECT_EQ(Panel1During([&] { id3().mnuRemove_Click(); }),
            (Texts{"Erasing.  .  .", "Updating data.  .  .", "Tags removed, data updated."}));
  EXPECT_EQ(CatalogTag(2), "||");

  EXPECT_EQ(Panel1During([&] { id3().mnuPop2R_Click(); }),
            (Texts{"Analysing file name(s) and writing tags . . .", "Updating data file . . .",
                   "Tags and data updated."}));
  EXPECT_EQ(Message(0), "MP3 Utilities/stop/ok: Unable to determin fields in song.mp3");

  // Declining a rename keeps the link.
  ui().AnswerMessage(Answer::kNo);
  id3().mnuRen_Click();
  EXPECT_TRUE(id3().LinkedToCatalog());
}

TEST_F(FrmId3TagsTest, AnId3v2TagIsShownBesideTheId3v1FieldsAndWriteCopiesIt) {
  // Today's file: an ID3v2.4 tag in UTF-8 alone, its title longer than an
  // ID3v1 field holds.
  const std::string v2 = Id3v2Tag(
      4, Id3v2Text(4, "TIT2", "Песня о дальней дороге", 3) + Id3v2Text(4, "TPE1", "Ансамбль", 3) +
             Id3v2Text(4, "TALB", "Mixed Ünïcode", 3) + Id3v2Text(4, "TDRC", "1986-07-14") +
             Id3v2Text(4, "TCON", "Folk"));
  Song("today.mp3", v2 + Audio());
  Song("old.mp3", TaggedAudio({.title = "Old"}));
  CatalogSong("today.mp3", true);
  main().Run(MainCommand::kId3);
  main().session().program_settings().id3v1_code_page = *CodePage::Named("Windows-1251");
  Click("today");
  EXPECT_EQ(id3().id3v2_labels(),
            (std::array<std::string, 4>{"ID3v2: 2.4", "ID3v2 Artist: Ансамбль",
                                        "ID3v2 Title: Песня о дальней дороге",
                                        "ID3v2 Album: Mixed Ünïcode"}));
  // Cut to the 30 bytes a Windows-1251 field holds (a letter a byte).
  const TagEditorValues& editor = id3().tag_editor();
  EXPECT_EQ(editor.title + "|" + editor.artist + "|" + editor.album + "|" + editor.year + "|" +
                editor.genre,
            "Песня о дальней дороге|Ансамбль|Mixed Ünïcode|1986|Folk");

  // "Ü" and "ï" are no Windows-1251 letters: refused, naming the first.
  id3().mnuWrite_Click();
  EXPECT_EQ(Message(0),
            "Write Tag/stop/ok: The character \"Ü\" cannot be written in the code page "
            "Windows-1251.");
  EXPECT_EQ(ReadFileBytes(MusicPath("today.mp3")), v2 + Audio());

  // With the option off, Write Tag writes the ID3v1 tag alone.
  main().session().program_settings().write_id3v2 = false;
  id3().tag_editor().album = "Дорога";
  id3().mnuWrite_Click();
  EXPECT_EQ(ui().Messages().size(), 1u);
  const std::string written = ReadFileBytes(MusicPath("today.mp3"));
  // The ID3v2 tag and the audio stay as they were; the ID3v1 tag follows them.
  EXPECT_EQ(written.substr(0, v2.size() + Audio().size()), v2 + Audio());
  EXPECT_EQ(written.substr(v2.size() + Audio().size(), 33),
            "TAG\xCF\xE5\xF1\xED\xFF \xEE \xE4\xE0\xEB\xFC\xED\xE5\xE9 \xE4\xEE\xF0\xEE"
            "\xE3\xE5        ");
  EXPECT_EQ(CatalogTag(1), "Ансамбль|Песня о дальней дороге|Дорога");

  // On, as by default, the album goes into the ID3v2 tag too, where players
  // look first; its other frames, the audio and the ID3v1 tag stay.
  main().session().program_settings().write_id3v2 = true;
  id3().mnuWrite_Click();
  EXPECT_EQ(ui().Messages().size(), 1u);
  const std::string rewritten = ReadFileBytes(MusicPath("today.mp3"));
  EXPECT_EQ(rewritten.substr(rewritten.size() - 128 - Audio().size()),
            written.substr(written.size() - 128 - Audio().size()));
  EXPECT_EQ(id3().id3v2_labels()[3], "ID3v2 Album: Дорога");
  EXPECT_EQ(id3().id3v2_labels()[0], "ID3v2: 2.4");
  EXPECT_EQ(id3().tag_editor().year + "|" + id3().tag_editor().genre, "1986|Folk");
  EXPECT_NE(rewritten.find("1986-07-14"), std::string::npos);

  // Erased, the ID3v1 tag no longer speaks: the catalog takes the ID3v2
  // fields, as a rescan would.
  id3().mnuRemove_Click();
  EXPECT_EQ(CatalogTag(1), "Ансамбль|Песня о дальней дороге|Дорога");

  LoadFolder();
  Click("old");
  EXPECT_EQ(id3().id3v2_labels()[0], "ID3v2: none");
  EXPECT_EQ(id3().tag_editor().title, "Old");
}

}  // namespace
}  // namespace tallymere
