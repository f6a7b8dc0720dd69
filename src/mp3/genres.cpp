#include "mp3/genres.h"

namespace tallymere {

static_assert(Genres[kNamedGenres - 1] == "Synth Pop" && Genres[kNamedGenres].empty(),
              "the named genres end at 147");

std::string_view GenreName(uint8_t genre_byte) { return Genres[genre_byte]; }

uint8_t GenreByte(std::string_view name) {
  for (int index = 0; index < kNamedGenres; ++index) {
    if (Genres[index] == name) return static_cast<uint8_t>(index);
  }
  return kNoGenre;
}

}  // namespace tallymere
