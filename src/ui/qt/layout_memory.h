#pragma once
// The window layout kept between runs: the main window's place and size, its
// splitters, the file list's column widths and the sizes of MP3 Utilities
// and Find in Catalogs. It lives in the user's configuration folder (~/.config/tallymere),
// apart from the catalog settings in Data/lists.dat, whose lines it never
// touches.

#include <QByteArray>
#include <QMap>
#include <QSize>
#include <QString>
#include <optional>

namespace tallymere {

// The layout file: $XDG_CONFIG_HOME/tallymere/layout.conf.
QString LayoutFile();

struct MainWindowLayout {
  QByteArray geometry;           // QWidget::saveGeometry
  QByteArray splitter;           // the tree and side panel beside the file list
  QByteArray left_splitter;      // the tree above the side panel
  QMap<int, int> column_widths;  // file list column -> pixels the user chose
};

MainWindowLayout ReadMainWindowLayout();
void WriteMainWindowLayout(const MainWindowLayout& layout);

// The size of a window of its own ("Mp3Utilities", "FindCatalogs").
inline const QString kMp3UtilitiesLayout = QStringLiteral("Mp3Utilities");
inline const QString kFindCatalogsLayout = QStringLiteral("FindCatalogs");
std::optional<QSize> ReadWindowSize(const QString& window);
void WriteWindowSize(const QString& window, const QSize& size);

}  // namespace tallymere
