#include "platform/drive_letters.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "common/text_lines.h"
#include "platform/drives_file.h"
#include "platform/mount_info.h"

namespace tallymere {
namespace {

constexpr char kLastLetter = 'Z';
constexpr std::size_t kLetterCount = 26;

std::size_t LetterIndex(char letter) { return static_cast<std::size_t>(letter - 'A'); }

}  // namespace

RememberedLetters ParseRememberedLetters(std::string_view text) {
  RememberedLetters letters;
  for (std::string_view line : SplitLines(text)) {
    // "E: KEY TYPE", or "E: KEY" from before types were remembered. The key
    // is escaped, so the first blank ends it.
    if (line.size() < 4 || line[1] != ':' || line[2] != ' ') continue;
    const char letter = line[0];
    if (letter < kFirstFreeLetter || letter > kLastLetter) continue;
    const std::string_view rest = line.substr(3);
    const std::size_t blank = rest.find(' ');
    std::string key = DecodeOctalEscapes(rest.substr(0, blank));
    if (key.empty()) continue;
    int type = 0;
    if (blank != std::string_view::npos)
      type = DriveTypeFromName(rest.substr(blank + 1)).value_or(0);
    std::erase_if(letters, [&](const RememberedLetter& r) { return r.key == key; });
    letters.push_back({letter, std::move(key), type});
  }
  return letters;
}

std::string FormatRememberedLetters(const RememberedLetters& letters) {
  std::string text;
  for (const RememberedLetter& remembered : letters) {
    text += remembered.letter;
    text += ": ";
    text += EncodeOctalEscapes(remembered.key);
    if (remembered.type != 0) {
      text += ' ';
      text += DriveTypeName(remembered.type);
    }
    text += '\n';
  }
  return text;
}

std::vector<char> AssignDriveLetters(const std::vector<std::string>& keys,
                                     RememberedLetters* remembered, bool* changed) {
  *changed = false;
  std::vector<char> assigned(keys.size(), '\0');
  std::array<bool, kLetterCount> in_use{};
  in_use[LetterIndex('A')] = in_use[LetterIndex('B')] = in_use[LetterIndex('C')] = true;

  std::vector<std::size_t> order(keys.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

  const auto find_remembered = [&](const std::string& key) {
    return std::find_if(remembered->begin(), remembered->end(),
                        [&](const RememberedLetter& r) { return r.key == key; });
  };

  // Drives seen before take their letters back first.
  for (std::size_t i : order) {
    const auto it = find_remembered(keys[i]);
    if (it == remembered->end() || in_use[LetterIndex(it->letter)]) continue;
    assigned[i] = it->letter;
    in_use[LetterIndex(it->letter)] = true;
  }

  std::array<bool, kLetterCount> reserved = in_use;
  for (const RememberedLetter& r : *remembered) reserved[LetterIndex(r.letter)] = true;

  for (std::size_t i : order) {
    if (assigned[i] != '\0') continue;
    char letter = '\0';
    for (char c = kFirstFreeLetter; c <= kLastLetter && letter == '\0'; ++c) {
      if (!reserved[LetterIndex(c)]) letter = c;
    }
    // Every letter is remembered for somebody: reuse one of an absent drive.
    for (char c = kFirstFreeLetter; c <= kLastLetter && letter == '\0'; ++c) {
      if (!in_use[LetterIndex(c)]) letter = c;
    }
    if (letter == '\0') continue;
    assigned[i] = letter;
    in_use[LetterIndex(letter)] = reserved[LetterIndex(letter)] = true;

    std::erase_if(*remembered, [&](const RememberedLetter& r) {
      return r.letter == letter || r.key == keys[i];
    });
    remembered->push_back({letter, keys[i]});
    *changed = true;
  }
  return assigned;
}

bool RememberDriveType(RememberedLetters* remembered, const std::string& key, int type) {
  for (RememberedLetter& r : *remembered) {
    if (r.key != key) continue;
    if (r.type == type) return false;
    r.type = type;
    return true;
  }
  return false;
}

}  // namespace tallymere
