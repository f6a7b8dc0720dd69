#include "ui/qt/icon_provider.h"

#include <QFile>
#include <QHash>
#include <array>
#include <utility>

// The pictures are compiled into the static library; a static library's
// resources must be registered by hand, from the global namespace.
static void RegisterIconResources() { Q_INIT_RESOURCE(icons); }

namespace tallymere {
namespace {

constexpr std::array<std::pair<std::string_view, const char*>, 12> kThemeNames = {{
    {"datafile", "x-office-document"},
    {"mycomp", "computer"},
    {"floppy", "media-floppy"},
    {"removable", "drive-removable-media"},
    {"hard", "drive-harddisk"},
    {"cdrom", "drive-optical"},
    {"cd", "media-optical"},
    {"disk", "media-removable"},
    {"fclosed", "folder"},
    {"fopen", "folder-open"},
    {"file", "text-x-generic"},
    {"mp3", "audio-x-generic"},
}};

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QIcon IconProvider::Icon(std::string_view name) {
  static const bool registered = (RegisterIconResources(), true);
  (void)registered;
  static QHash<QString, QIcon> cache;
  if (name.empty()) return {};
  const QString key = ToQString(name);
  const auto found = cache.constFind(key);
  if (found != cache.constEnd()) return *found;

  QIcon icon;
  const QString resource = ResourcePath(name);
  if (QFile::exists(resource)) {
    icon = QIcon(resource);
  } else if (const QString theme = ThemeName(name); !theme.isEmpty()) {
    icon = QIcon::fromTheme(theme);
  }
  cache.insert(key, icon);
  return icon;
}

QString IconProvider::ResourcePath(std::string_view name) {
  return QStringLiteral(":/icons/") + ToQString(name) + QStringLiteral(".png");
}

QString IconProvider::ThemeName(std::string_view name) {
  for (const auto& [own, theme] : kThemeNames) {
    if (own == name) return QString::fromLatin1(theme);
  }
  return {};
}

std::string_view IconProvider::ListIconName(int index) {
  switch (index) {
    case 1:
      return "file";
    case 3:
      return "mp3";
    default:
      return {};
  }
}

}  // namespace tallymere
