#pragma once
// Stable drive letters. A drive keeps the letter it had on earlier runs, so a
// stick that was E: last week is E: again and catalog paths stay valid. The
// letters are remembered in Data/drive_letters.dat in the program folder, one
// "E: KEY TYPE" line per drive, where the key is the drive's mount point (or
// the device of an optical drive) with spaces written as "\040", and TYPE the
// type the drive had when last seen, in the words of drives.dat ("removable").
// Lines written before types were remembered read "E: KEY"; their type is
// learnt the next time the drive is seen.

#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

struct RememberedLetter {
  char letter = 'D';
  std::string key;
  int type = 0;  // kDriveRemovable ... kDriveRamDisk, 0 while not known
};
using RememberedLetters = std::vector<RememberedLetter>;

// Malformed lines are skipped; a later line for a key replaces an earlier one.
RememberedLetters ParseRememberedLetters(std::string_view text);
std::string FormatRememberedLetters(const RememberedLetters& letters);

// The first letter handed out automatically; A: and B: are never used and C:
// is the root file system.
inline constexpr char kFirstFreeLetter = 'D';

// Gives each key a letter from D: to Z:, returned in the order of the keys
// ('\0' when every letter is taken). A key keeps its remembered letter; new
// keys, taken in sorted order, get the lowest letter that is neither in use
// nor remembered for an absent drive, and only when none is left a letter
// remembered for an absent drive. New choices are added to *remembered.
// Returns the letters and sets *changed when *remembered was altered.
std::vector<char> AssignDriveLetters(const std::vector<std::string>& keys,
                                     RememberedLetters* remembered, bool* changed);

// Records the type a drive has now with its remembered letter. Returns true
// when that changed *remembered.
bool RememberDriveType(RememberedLetters* remembered, const std::string& key, int type);

}  // namespace tallymere
