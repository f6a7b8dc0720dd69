#pragma once
// SearchandReplace: the string routines behind the text tools of MP3
// Utilities. Each takes a prepared file name (without extension) and returns
// the edited text. Every comparison is exact and case-sensitive; positions and
// lengths count characters, not bytes, and a UTF-8 sequence is never split.

#include <string>
#include <string_view>

namespace tallymere {

// Every occurrence of find, scanning left to right; replaced text is not
// scanned again, so replacing "a" by "aa" cannot grow without end. An empty
// find or an empty text leaves the text as it is.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with);

// The first occurrence only. An empty find matches at the start, so with is
// put in front of the text.
std::string ReplaceOnce(std::string_view text, std::string_view find, std::string_view with);

// Trim Method 1: while cut occurs, its first occurrence becomes one space.
// An empty cut or a single space would never finish and changes nothing.
std::string TrimToSpace(std::string_view text, std::string_view cut);

// Trim Method 2: while cut occurs, its first occurrence is deleted. An empty
// cut changes nothing.
std::string TrimOut(std::string_view text, std::string_view cut);

// Trim Numbers: every digit 0 to 9 is deleted; spaces stay.
std::string TrimNumbers(std::string_view text);

// Spaces (only spaces) at both ends are removed.
std::string TrimSpaces(std::string_view text);

// The first letter of every word upper case, every other letter lower case.
// Words are separated by spaces, tabs, line breaks, vertical tabs, form feeds
// and NUL characters.
std::string ProperCase(std::string_view text);

// "ab --> Ab": proper case that also capitalises a word right after "(" or
// "[", and drops a space that stood after them: "x (y" gives "X (Y".
std::string ProperCaseWithBrackets(std::string_view text);

// "AB --> ab": every letter lower case.
std::string LowerCase(std::string_view text);

// The first location characters, then insert, then the rest. A location past
// the end appends.
std::string InsertAt(std::string_view text, int location, std::string_view insert);

// Artist <-> Title: around the last hyphen that is not the final character,
// the text after it, " - ", the text before it, trimmed of spaces. Without
// such a hyphen the text is unchanged: "A - B - C" gives "C - A - B".
std::string SwapArtistTitle(std::string_view text);

// The number of characters of a UTF-8 text (a stray byte counts as one).
int CharacterCount(std::string_view text);

}  // namespace tallymere
