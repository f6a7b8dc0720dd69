#pragma once
// Colours as the core keeps them, a number 0x00BBGGRR with red in the low
// byte (settings, list rows), and as Qt has them.

#include <QColor>
#include <cstdint>

namespace tallymere {

inline QColor ColorFromNumber(uint32_t bbggrr) {
  return QColor(static_cast<int>(bbggrr & 0xFF), static_cast<int>((bbggrr >> 8) & 0xFF),
                static_cast<int>((bbggrr >> 16) & 0xFF));
}

inline uint32_t ColorNumber(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
         (static_cast<uint32_t>(colour.blue()) << 16);
}

}  // namespace tallymere
