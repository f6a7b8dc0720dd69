#include "lists/m3u.h"

#include <charconv>
#include <limits>

#include "common/ascii_case.h"
#include "common/characters.h"
#include "common/format.h"

namespace tallymere {
namespace {

// The Song Title's extension (".mp3") is left out of the #EXTINF title.
constexpr std::size_t kExtensionCharacters = 4;
constexpr std::string_view kFileScheme = "file:";
constexpr std::string_view kLocalHost = "localhost";

// A text made of digits only, as a number; nothing for anything else.
std::optional<int64_t> Digits(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%20" and the like become their bytes; a "%" that starts no escape stays.
std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}

// The catalog path a path line names, or nothing for a line that names no
// song the catalog could hold.
std::optional<std::string> CatalogPathOfLine(std::string_view line, const Platform& platform) {
  if (line.size() >= 3 && line.substr(1, 2) == ":\\") return std::string(line);
  if (line.starts_with('/')) return platform.ToCatalog(line);
  if (const std::optional<std::string> native = FilePathOfUrl(line)) {
    return platform.ToCatalog(*native);
  }
  return std::nullopt;
}

}  // namespace

std::string SecToMin(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  return FormatTwoDigits(seconds / 60) + ":" + FormatTwoDigits(seconds % 60);
}

int64_t MinToSec(std::string_view time) {
  const std::size_t colon = time.find(':');
  if (colon == std::string_view::npos) return 0;  // "---", empty and the like
  const std::optional<int64_t> minutes = Digits(time.substr(0, colon));
  const std::optional<int64_t> seconds = Digits(time.substr(colon + 1));
  if (!minutes || !seconds) return 0;
  if (*minutes > (std::numeric_limits<int64_t>::max() - *seconds) / 60) return 0;
  return *minutes * 60 + *seconds;
}

int64_t ExtInfSeconds(std::string_view line) {
  if (!line.starts_with(kExtInf)) return 0;
  const std::string_view rest = line.substr(kExtInf.size());
  const std::size_t comma = rest.find(',');
  if (comma == std::string_view::npos) return 0;
  std::string_view number = TrimBlanks(rest.substr(0, comma));
  // Extended players write fractions ("225.36"): whole seconds are kept.
  if (const std::size_t point = number.find('.'); point != std::string_view::npos) {
    const std::string_view fraction = number.substr(point + 1);
    if (!fraction.empty() && !Digits(fraction)) return 0;
    number = number.substr(0, point);
  }
  return Digits(number).value_or(0);
}

std::optional<std::string> FilePathOfUrl(std::string_view url) {
  if (!StartsWithNoCase(url, kFileScheme)) return std::nullopt;
  std::string_view rest = url.substr(kFileScheme.size());
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    const bool this_machine =
        host.empty() || (host.size() == kLocalHost.size() && StartsWithNoCase(host, kLocalHost));
    if (!this_machine) return std::nullopt;
    rest.remove_prefix(slash);
  }
  if (!rest.starts_with('/')) return std::nullopt;
  std::string path = PercentDecoded(rest);
  if (path.find('\0') != std::string::npos) return std::nullopt;
  return path;
}

std::vector<std::string> M3uLines(const std::vector<PlaylistSong>& songs,
                                  const Platform& platform) {
  std::vector<std::string> lines;
  lines.reserve(1 + 2 * songs.size());
  lines.emplace_back(kM3uHeader);
  for (const PlaylistSong& song : songs) {
    lines.push_back(std::string(kExtInf) + std::to_string(MinToSec(song.time)) + "," +
                    std::string(WithoutLastCharacters(song.song_title, kExtensionCharacters)));
    const std::string catalog_path = song.path + song.song_title;
    lines.push_back(platform.ToNative(catalog_path).value_or(catalog_path));
  }
  return lines;
}

std::vector<PlaylistSong> SongsOfM3u(const std::vector<std::string>& lines,
                                     const Platform& platform) {
  std::vector<PlaylistSong> songs;
  // A path line takes the time of the last #EXTINF line before it, however
  // many path lines stand between them; empty before the first.
  std::string held_time;
  for (const std::string& line : lines) {
    if (line.starts_with(kExtInf)) {
      held_time = SecToMin(ExtInfSeconds(line));
      continue;
    }
    const std::optional<std::string> catalog_path = CatalogPathOfLine(line, platform);
    if (!catalog_path) continue;
    const std::size_t split = catalog_path->rfind('\\');
    songs.push_back(
        {catalog_path->substr(0, split + 1), catalog_path->substr(split + 1), held_time});
  }
  return songs;
}

}  // namespace tallymere
