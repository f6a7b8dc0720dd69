#pragma once
// Tags written by other programs are often padded with NUL bytes. Records and
// tags keep them as read, but every view shows a text only up to the first one.

#include <string>
#include <string_view>

namespace tallymere {

inline std::string ShownText(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

}  // namespace tallymere
