#pragma once
// UTF-8 texts of the core to and from Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace tallymere {

inline QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace tallymere
