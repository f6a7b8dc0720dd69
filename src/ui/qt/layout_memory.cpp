#include "ui/qt/layout_memory.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace tallymere {
namespace {

QSettings LayoutSettings() { return QSettings(LayoutFile(), QSettings::IniFormat); }

// Reading a pipe or a device put where the layout belongs would wait or never
// end, and writing would replace it: such a layout file is left alone, and
// the windows keep their default layout.
bool LayoutFileUsable() {
  const QFileInfo file(LayoutFile());
  return !file.exists() || file.isFile();
}

// "0=320,3=140": readable in the file, and free of Qt's binary variants.
QString JoinWidths(const QMap<int, int>& widths) {
  QStringList parts;
  for (auto it = widths.begin(); it != widths.end(); ++it) {
    parts << QString("%1=%2").arg(it.key()).arg(it.value());
  }
  return parts.join(',');
}

QMap<int, int> SplitWidths(const QString& text) {
  QMap<int, int> widths;
  for (const QString& part : text.split(',', Qt::SkipEmptyParts)) {
    const QStringList pair = part.split('=');
    bool column_ok = false;
    bool width_ok = false;
    const int column = pair.value(0).toInt(&column_ok);
    const int width = pair.value(1).toInt(&width_ok);
    // A hand-edited or damaged entry is skipped, never applied as 0.
    if (pair.size() == 2 && column_ok && width_ok && column >= 0 && width > 0) {
      widths[column] = width;
    }
  }
  return widths;
}

}  // namespace

QString LayoutFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/tallymere/layout.conf";
}

MainWindowLayout ReadMainWindowLayout() {
  MainWindowLayout layout;
  if (!LayoutFileUsable()) return layout;
  QSettings settings = LayoutSettings();
  layout.geometry = settings.value("MainWindow/geometry").toByteArray();
  layout.splitter = settings.value("MainWindow/splitter").toByteArray();
  layout.left_splitter = settings.value("MainWindow/leftSplitter").toByteArray();
  layout.column_widths = SplitWidths(settings.value("FileList/columnWidths").toString());
  return layout;
}

void WriteMainWindowLayout(const MainWindowLayout& layout) {
  if (!LayoutFileUsable()) return;
  QSettings settings = LayoutSettings();
  settings.setValue("MainWindow/geometry", layout.geometry);
  settings.setValue("MainWindow/splitter", layout.splitter);
  settings.setValue("MainWindow/leftSplitter", layout.left_splitter);
  settings.setValue("FileList/columnWidths", JoinWidths(layout.column_widths));
}

std::optional<QSize> ReadWindowSize(const QString& window) {
  if (!LayoutFileUsable()) return std::nullopt;
  const QSize size = LayoutSettings().value(window + "/size").toSize();
  if (!size.isValid() || size.isEmpty()) return std::nullopt;
  return size;
}

void WriteWindowSize(const QString& window, const QSize& size) {
  if (!LayoutFileUsable()) return;
  LayoutSettings().setValue(window + "/size", size);
}

}  // namespace tallymere
