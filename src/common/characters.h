#pragma once
// The ends of a UTF-8 text counted in characters, as a name's extension is
// ("the last four characters"): cutting bytes could split a name's last
// letter in two. A byte that starts no valid sequence counts as one.

#include <cstddef>
#include <string_view>

namespace tallymere {

// The last `count` characters, or the whole text when it has no more.
std::string_view LastCharacters(std::string_view text, std::size_t count);

// The text without its last `count` characters; empty when it has no more.
std::string_view WithoutLastCharacters(std::string_view text, std::size_t count);

}  // namespace tallymere
