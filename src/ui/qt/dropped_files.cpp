#include "ui/qt/dropped_files.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace tallymere {
namespace {

QStringList LocalPaths(const QMimeData* mime) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

}  // namespace

QString DataFileIn(const QMimeData* mime) {
  for (const QString& path : LocalPaths(mime)) {
    if (path.endsWith(".mpd", Qt::CaseInsensitive) && !QFileInfo(path).isDir()) return path;
  }
  return {};
}

QStringList FoldersIn(const QMimeData* mime) {
  QStringList folders;
  for (const QString& path : LocalPaths(mime)) {
    if (QFileInfo(path).isDir()) folders << QDir::cleanPath(path);
  }
  return folders;
}

}  // namespace tallymere
