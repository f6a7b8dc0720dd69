#pragma once
// The genre table of ID3v1 tags: the byte at the end of a tag indexes it. The
// names 0 to 147 are the classic list with its later extensions, spelled as
// the tag editor has always shown them (misspellings included, so tags written
// by earlier versions keep matching their names); 148 to 255 are empty.

#include <array>
#include <cstdint>
#include <string_view>

namespace tallymere {

// Entries 0 to kNamedGenres - 1 have names; the rest stay empty.
inline constexpr int kNamedGenres = 148;
// The byte written for a genre text that names no entry, an empty one included.
inline constexpr uint8_t kNoGenre = 148;

// clang-format off
inline constexpr std::array<std::string_view, 256> Genres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop",  // 0-7
    "Jazz", "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap",  // 8-15
    "Reggae", "Rock", "Techno", "Industrial", "Alternative", "Ska", "Death Metal",  // 16-22
    "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal",  // 23-28
    "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House",  // 29-35
    "Game", "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk",  // 36-43
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethic",  // 44-48
    "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk",  // 49-53
    "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40",  // 54-60
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret",  // 61-65
    "New Wave", "Psychalelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal",  // 66-72
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll",  // 73-78
    "Hard Rock", "Folk", "Folk/Rock", "National Folk", "Swing", "Fast-Fusion",  // 79-84
    "Bebob", "Latin", "Revival", "Celtic", "Blue Grass", "Avantegarde",  // 85-90
    "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock",  // 91-94
    "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour",  // 95-100
    "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony",  // 101-106
    "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango",  // 107-113
    "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle",  // 114-119
    "Duet", "Punk Rock", "Drum Solo", "A Capella", "Euro-House", "Dance Hall",  // 120-125
    "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "indie", "Brit Pop",  // 126-132
    "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal",  // 133-137
    "Black Metal", "Crossover", "Comteporary Christian", "Christian Rock",  // 138-141
    "Merengue", "Salsa", "Trash Metal", "Anime", "JPop", "Synth Pop",  // 142-147
};
// clang-format on

// The name of a genre byte; "" for 148 and above.
std::string_view GenreName(uint8_t genre_byte);

// The byte for a genre text: the first entry among 0 to 147 whose name equals
// the text exactly (letter case counts), else kNoGenre.
uint8_t GenreByte(std::string_view name);

}  // namespace tallymere
