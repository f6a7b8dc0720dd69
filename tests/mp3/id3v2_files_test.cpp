// ReadMp3Info over files whose ID3v2 tags other taggers wrote, in every
// version, text encoding and layout (tests/data/mp3/id3v2, see its README).

#include <gtest/gtest.h>

#include <string>

#include "common/shown_text.h"
#include "mp3/bitrat.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

std::string DataFile(std::string_view name) {
  return std::string(TALLYMERE_TEST_DATA) + "/mp3/id3v2/" + std::string(name);
}

TEST(Id3v2FilesTest, EveryVersionEncodingAndLayoutReadsAsItsTaggerWroteIt) {
  // "version|artist|title|album|tag bytes" of each file.
  const std::pair<const char*, std::string> kFiles[] = {
      {"v22_latin1.mp3", "2.2|Café Noir Quartet|Señora Déjà Vu|Crème Brûlée|77"},
      {"v22_utf16.mp3", "2.2|Дельфин|東京タワー|Ünïcode Zwei|91"},
      {"v23_latin1.mp3", "2.3|Åsa Ørsted|Naïve Façade|Smørrebrød|78"},
      {"v23_utf16le_bom.mp3", "2.3|Sölvi Þórsson|Москва ночью|大阪 Live|119"},
      {"v23_utf16be_bom.mp3", "2.3|Ηλέκτρα Νότα|Zürich Bahnhof|北京 Sessions|123"},
      {"v24_latin1.mp3", "2.4|Hélène Dupré|Été à Paris|Les Années Folles|86"},
      {"v24_utf16_bom.mp3", "2.4|Björg Hljómsveit|Ночной город|𝄞 Clef 東京|131"},
      {"v24_utf16be.mp3", "2.4|Jürgen Weiß|Ποτάμι|京都 Garden|101"},
      {"v24_utf8.mp3", "2.4|Сергей Ødegaard|東京 Drift|Unterwegs 𝄞|94"},
      {"v24_multiple_artists.mp3", "2.4|Artist One / Artist Two|Duett für Zwei|Zusammen|90"},
      {"v23_unsync.mp3", "2.3|Ÿsolde Kÿ|Hÿdra|Nÿx Unsynced|107"},
      {"v24_unsync.mp3", "2.4|Ÿuki 東京|Sÿnth Wave|Four ÿ Unsync|114"},
      {"v23_extended_header.mp3", "2.3|Åke Header|Extended Señal|Cabeçalho|122"},
      {"v24_extended_header.mp3", "2.4|Łukasz Extended|Kopfzeile Größe|Заголовок|122"},
      {"v24_footer.mp3", "2.4|Footer Ğ Band|Fußnote|Конец Ende|90"},
      {"v24_padding_1024.mp3", "2.4|Pädding Crew|Stille Zone|Tausend Nullen|1108"},
      {"v23_picture_100k.mp3", "2.3|Niño Pintor|Portada Grande|Álbum Ilustrado|100017"},
      // An empty title and an artist in UTF-16 of odd length: what is sound is read.
      {"v23_empty_title_odd_utf16.mp3", "2.3|Odd Ünit||Robust Reader|75"},
  };
  for (const auto& [name, fields] : kFiles) {
    SCOPED_TRACE(name);
    Mp3Info info;
    const Result<std::string> bitrate = testing::ReadMp3File(DataFile(name), &info);
    ASSERT_TRUE(bitrate.ok()) << bitrate.status().message();
    EXPECT_EQ(info.Id3v2Version + "|" + info.V2Artist + "|" + info.V2Title + "|" + info.V2Album +
                  "|" + std::to_string(info.Id3v2Length),
              fields);
    // The same 128 kbps audio of 9194 bytes follows every tag, its Info header
    // found after it; no ID3v1 tag.
    EXPECT_EQ(*bitrate + " " + info.MpegVersion + " " + info.MpegLayer + " " +
                  std::to_string(info.AudioBytes(info.Id3v2Length + 9194)) + " " +
                  std::to_string(info.HasId3v1Tag),
              "128 1.0 III 9194 0");
  }
}

TEST(Id3v2FilesTest, AnId3v1TagBesideItKeepsItsOwnFieldsAndATagAloneIsNoAudio) {
  Mp3Info info;
  ASSERT_TRUE(testing::ReadMp3File(DataFile("v23_and_id3v1.mp3"), &info).ok());
  EXPECT_TRUE(info.HasId3v1Tag);
  // The other tagger padded the ID3v1 fields with NULs, which views cut off.
  EXPECT_EQ(
      ShownText(info.TagArtist) + "|" + ShownText(info.TagTitle) + "|" + ShownText(info.TagAlbum),
      "One Artist v23|One Title v23|One Album v23");
  EXPECT_EQ(info.V2Artist + "|" + info.V2Title + "|" + info.V2Album,
            "Ørjan Two|Zwei Drei Título|Versión Dos");

  info = Mp3Info();
  const Result<std::string> bitrate = testing::ReadMp3File(DataFile("tag_only_v23.mp3"), &info);
  ASSERT_TRUE(bitrate.ok());
  EXPECT_EQ(*bitrate, "---");
  EXPECT_EQ(info.V2Title, "Nur ein Tag");
  EXPECT_EQ(info.AudioBytes(111), 0);
}

}  // namespace
}  // namespace tallymere
