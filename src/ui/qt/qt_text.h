#pragma once
// UTF-8 texts of the core to and from Qt's strings, and file paths, which
// are bytes in the file system's encoding.

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace tallymere {

inline QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) { return text.toUtf8().toStdString(); }

inline QString FromNative(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string ToNative(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace tallymere
