#pragma once
// Model texts as the views show them. ID3 fields padded with NUL bytes by
// other taggers are kept as read, so a view shows a text only up to its first
// NUL; everything else is UTF-8 already.

#include <QString>
#include <string>

namespace tallymere {

inline QString ShownText(const std::string& text) {
  const std::size_t end = text.find('\0');
  return QString::fromUtf8(text.data(),
                           static_cast<qsizetype>(end == std::string::npos ? text.size() : end));
}

}  // namespace tallymere
