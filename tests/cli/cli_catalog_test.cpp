// tallymere-cli dump, info and mp3info, run as the real program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "catalog/data_file.h"
#include "cli/cli_runner.h"
#include "mp3/mp3_fixtures.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;
using testing::JsonLines;
using testing::RunCli;
using testing::TempFolder;
using Json = nlohmann::ordered_json;

CatalogTable TwoFiles() {
  CatalogTable table;
  CatalogRecord record;
  record.bitrate = "128";
  record.disk_label = "C:\\";
  record.path = "C:\\Music\\";
  record.file_name = "Caf\xC3\xA9\t1.mp3";
  record.modified = "then";
  record.time = "04:09";
  record.size = 1048576;
  record.artist = std::string("Ann\0\0", 5);
  record.album = "\"Best\"";
  record.title = "One";
  table.SetRecord(1, record);
  record.file_name = "b.mp3";
  table.SetRecord(2, record);
  table.SetRecord(3, MakeTrailer("mp3", 1, "built"));
  return table;
}

TEST(CliCatalogTest, DumpPrintsEveryRecordAsTableOrJsonAndInfoWhatTheInfoWindowShows) {
  TempFolder folder;
  const std::string path = folder.Path("m.mpd");
  ASSERT_TRUE(SaveDataFile(testing::TestPlatform(), TwoFiles(), path).ok());

  const CliRun table = RunCli({"dump", path}, folder);
  EXPECT_EQ(table.exit_code, 0);
  EXPECT_EQ(
      table.out,
      "index\tbitrate\tdisk_label\tpath\tfile_name\tmodified\ttime\tsize\tartist\talbum\ttitle\n"
      "1\t128\tC:\\\tC:\\Music\\\tCaf\xC3\xA9 1.mp3\tthen\t04:09\t1048576\tAnn\t\"Best\"\tOne\n"
      "2\t128\tC:\\\tC:\\Music\\\tb.mp3\tthen\t04:09\t1048576\tAnn\t\"Best\"\tOne\n"
      "3\t\t\t\t*.mp3\tbuilt\t\t1\t\t\t\n");

  const CliRun json = RunCli({"dump", "--json", path}, folder);
  EXPECT_EQ(json.exit_code, 0);
  EXPECT_EQ(
      json.out,
      "{\"index\":1,\"bitrate\":\"128\",\"disk_label\":\"C:\\\\\",\"path\":\"C:\\\\Music\\\\\","
      "\"file_name\":\"Caf\xC3\xA9\\t1.mp3\",\"modified\":\"then\",\"time\":\"04:09\","
      "\"size\":1048576,\"artist\":\"Ann\",\"album\":\"\\\"Best\\\"\","
      "\"title\":\"One\"}\n"
      "{\"index\":2,\"bitrate\":\"128\",\"disk_label\":\"C:\\\\\",\"path\":\"C:\\\\Music\\\\\","
      "\"file_name\":\"b.mp3\",\"modified\":\"then\",\"time\":\"04:09\",\"size\":1048576,"
      "\"artist\":\"Ann\",\"album\":\"\\\"Best\\\"\",\"title\":\"One\"}\n"
      "{\"index\":3,\"bitrate\":\"\",\"disk_label\":\"\",\"path\":\"\",\"file_name\":\"*.mp3\","
      "\"modified\":\"built\",\"time\":\"\",\"size\":1,\"artist\":\"\",\"album\":\"\","
      "\"title\":\"\"}\n");

  // --raw keeps the stored bytes, NUL padding included, in both forms.
  const CliRun raw = RunCli({"dump", "--json", "--raw", path}, folder);
  EXPECT_NE(raw.out.find("\"artist\":\"Ann\\u0000\\u0000\""), std::string::npos) << raw.out;
  const CliRun raw_table = RunCli({"dump", "--raw", path}, folder);
  EXPECT_NE(raw_table.out.find(std::string("\tAnn\0\0\t", 7)), std::string::npos);

  const CliRun info = RunCli({"info", path}, folder);
  EXPECT_EQ(info.exit_code, 0);
  EXPECT_EQ(info.out, "File Name:   m.mpd\nPath:   " + folder.path() +
                          "/\nSize:   " + std::to_string(testing::ReadFileBytes(path).size()) +
                          " bytes\nLast Updated:   built\nFile Type:   \"mp3\"\n"
                          "Total Files Cataloged:   2\nTotal File Size:   2.00 MB\n");
}

TEST(CliCatalogTest, DamagedFileGoesToStderrWithExitStatusOne) {
  TempFolder folder;
  std::string bytes = EncodeDataFile(TwoFiles());
  bytes.resize(bytes.size() - 3);
  const std::string path = folder.WriteFile("cut.mpd", bytes);
  // A picture is no data file at all: said in plain words first.
  const std::string picture = folder.WriteFile("cover.png", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR");
  const std::vector<std::vector<std::string>> commands = {
      {"dump"}, {"info"}, {"find"}, {"find", "--under", "C:\\"}, {"dupes", "--any"}};
  for (const std::vector<std::string>& command : commands) {
    for (const auto& [file, record] :
         {std::pair{path, "3 at byte offset "}, {picture, "1 at byte offset 0"}}) {
      std::vector<std::string> args = command;
      args.push_back(file);
      const CliRun run = RunCli(args, folder);
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_TRUE(run.out.empty());
      EXPECT_TRUE(run.err.starts_with(
          "tallymere-cli: This is not a Tallymere data file, or it is damaged: \"" + file +
          "\", record " + record))
          << run.err;
    }
  }
}

// A file cut short right after a record, its trailer lost: each command
// shows what it holds, then says the trailer is missing, with exit status 1.
TEST(CliCatalogTest, AFileWithoutItsTrailerIsShownAndSaidToBeCutShort) {
  TempFolder folder;
  std::string bytes;
  EncodeRecord(TwoFiles().Record(1), &bytes);
  EncodeRecord(TwoFiles().Record(2), &bytes);
  const std::string path = folder.WriteFile("cut.mpd", bytes);
  const std::string said = "\"" + path +
                           "\" ends without the trailer record that closes a catalog: it was cut "
                           "short after record 2, and what stood after it is lost. The records "
                           "before it were read.\n";
  const std::vector<std::vector<std::string>> commands = {
      {"dump"}, {"info"}, {"find"}, {"find", "--under", "C:\\"}, {"dupes", "--any"}};
  for (const std::vector<std::string>& command : commands) {
    std::vector<std::string> args = command;
    args.push_back(path);
    const CliRun run = RunCli(args, folder);
    SCOPED_TRACE(command.front());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_THAT(run.out, HasSubstr(command.front() == "info"    ? "Total Files Cataloged:   2"
                                   : command.front() == "dupes" ? "file_name\t"
                                                                : "b.mp3"));
    EXPECT_THAT(run.err, HasSubstr(said));
  }
}

// A missing file fails the run; a file without an MPEG header is only warned
// about. Each file is read on its own.
TEST(CliCatalogTest, Mp3InfoReadsEveryFileOnItsOwnAndGoesOnAfterAnUnreadableOne) {
  TempFolder folder;
  // A file name is a byte string: the table keeps it, JSON (UTF-8 only) gets
  // U+FFFD for each broken sequence.
  const std::string song = folder.WriteFile(
      "bad\xFF-\xE2\x82.mp3",
      testing::Frame() + testing::Id3v1Block({.title = "Song", .artist = "Ann", .pad = '\0'}));
  const std::string text = folder.WriteFile("notes.mp3", "no audio here");
  // MPEG-2 mono VBR: 500000 bytes over 1000 frames of 576 samples at 22050 Hz
  // average 153 kbps, where the first frame says 64.
  const std::string vbr = folder.WriteFile(
      "vbr.mp3", testing::XingFrame(
                     {.frames = 1000, .mode = 0xF3, .rate = 0x80, .channels = 0xC4, .offset = 13}));
  std::filesystem::resize_file(vbr, 500000);
  const std::string warning =
      "tallymere-cli mp3info: no MPEG audio header found in \"" + text + "\"\n";

  const CliRun run = RunCli({"mp3info", song, folder.Path("missing.mp3"), vbr, text}, folder);
  EXPECT_EQ(run.exit_code, 1);
  const std::string no_id3v2 = "\t\t\t\t\tMPEG\t\n";
  EXPECT_EQ(run.out,
            "file\tbitrate\tversion\tlayer\tsample_rate\thas_tag\ttitle\tartist\talbum\tyear\t"
            "comment\tgenre\tid3v2_version\tid3v2_title\tid3v2_artist\tid3v2_album\tformat\t"
            "channels\n" +
                song + "\t128\t1.0\tIII\t44100\t1\tSong\tAnn\t\t\t\tRock" + no_id3v2 + vbr +
                "\t153\t2.0\tIII\t22050\t0\t\t\t\t\t\t" + no_id3v2 + text +
                "\t---\t\t\t0\t0\t\t\t\t\t\t" + no_id3v2);
  EXPECT_NE(run.err.find("missing.mp3"), std::string::npos);
  EXPECT_NE(run.err.find(warning), std::string::npos) << run.err;

  const CliRun json = RunCli({"mp3info", "--json", song, text, vbr}, folder);
  EXPECT_EQ(json.exit_code, 0);
  EXPECT_EQ(json.err, warning);
  const std::vector<Json> rows = JsonLines(json.out);
  ASSERT_EQ(rows.size(), 3u) << json.out;
  // Tag fields end at their first NUL in JSON too, as the window shows them.
  EXPECT_EQ(rows[0].dump(), "{\"file\":\"" + folder.Path("bad\xEF\xBF\xBD-\xEF\xBF\xBD.mp3") +
                                "\",\"bitrate\":\"128\",\"version\":\"1.0\",\"layer\":\"III\","
                                "\"sample_rate\":44100,\"has_tag\":true,\"title\":\"Song\","
                                "\"artist\":\"Ann\",\"album\":\"\",\"year\":\"\",\"comment\":\"\","
                                "\"genre\":\"Rock\",\"id3v2_version\":\"\",\"id3v2_title\":"
                                "\"\",\"id3v2_artist\":\"\",\"id3v2_album\":\"\",\"format\":"
                                "\"MPEG\",\"channels\":0}");
  EXPECT_EQ(rows[1]["bitrate"], "---");
  EXPECT_EQ(rows[2]["bitrate"], "153");

  // Other audio formats: their own tag in the tag columns, format and
  // channels; one that is not what its extension says gets "---".
  const std::string audio = std::string(TALLYMERE_TEST_DATA) + "/audio/";
  const std::string fake = folder.WriteFile("fake.flac", "no audio here");
  const CliRun other = RunCli(
      {"mp3info", "--json", audio + "flac_two_artists.flac", audio + "opus.opus", fake}, folder);
  EXPECT_EQ(other.exit_code, 0);
  EXPECT_EQ(other.err,
            "tallymere-cli mp3info: \"" + fake + "\" is not a .flac file that can be read\n");
  const std::vector<Json> audio_rows = JsonLines(other.out);
  ASSERT_EQ(audio_rows.size(), 3u);
  EXPECT_EQ(audio_rows[0]["artist"], "Serge Gainsbourg / Jane Birkin");
  EXPECT_EQ(audio_rows[0]["format"], "FLAC");
  EXPECT_EQ(audio_rows[0]["sample_rate"], 8000);
  EXPECT_EQ(audio_rows[0]["channels"], 1);
  EXPECT_EQ(audio_rows[0]["has_tag"], true);
  EXPECT_EQ(audio_rows[1]["format"], "Ogg Opus");
  EXPECT_EQ(audio_rows[1]["title"], "Eple");
  EXPECT_EQ(audio_rows[2]["bitrate"], "---");
  EXPECT_EQ(audio_rows[2]["format"], "");
}

TEST(CliCatalogTest, Mp3InfoShowsTheId3v2TagAndReadsId3v1InTheCodePageNamed) {
  TempFolder folder;
  // "Кино" and "Группа" as a player set to Windows-1251 wrote them.
  const std::string cyrillic = folder.WriteFile(
      "cyrillic.mp3",
      testing::Frame() +
          testing::Id3v1Block({.title = "\xCA\xE8\xED\xEE", .artist = "\xC3\xF0\xF3\xEF\xEF\xE0"}));
  const std::string v2 = std::string(TALLYMERE_TEST_DATA) + "/mp3/id3v2/v24_utf8.mp3";
  const CliRun run =
      RunCli({"mp3info", "--json", "--id3v1-encoding", "windows-1251", cyrillic, v2}, folder);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::vector<Json> rows = JsonLines(run.out);
  ASSERT_EQ(rows.size(), 2u) << run.out;
  EXPECT_EQ(rows[0]["title"], "Кино");
  EXPECT_EQ(rows[0]["artist"], "Группа");
  EXPECT_EQ(rows[1]["id3v2_version"], "2.4");
  EXPECT_EQ(rows[1]["id3v2_artist"], "Сергей Ødegaard");
  EXPECT_EQ(rows[1]["id3v2_title"], "東京 Drift");
  EXPECT_EQ(rows[1]["id3v2_album"], "Unterwegs 𝄞");

  // Without the option the setting holds: none here, so Automatic reads the
  // bytes as Windows-1252.
  const CliRun automatic = RunCli({"mp3info", "--json", cyrillic}, folder);
  EXPECT_EQ(JsonLines(automatic.out).at(0)["title"], "Êèíî");

  EXPECT_TRUE(testing::Refused(RunCli({"mp3info", "--id3v1-encoding", "cp437", cyrillic}, folder),
                               "is no code page Tallymere knows"));
}

}  // namespace
}  // namespace tallymere
