#pragma once
// Icons by the names the tree and list models use ("fclosed", "mp3", ...):
// the pictures bundled as ":/icons/<name>.png", and where one is missing the
// desktop theme's icon for the same thing.

#include <QIcon>
#include <QString>
#include <string_view>

namespace tallymere {

class IconProvider {
 public:
  // A null icon for an empty name or one that neither source knows.
  static QIcon Icon(std::string_view name);
  // ":/icons/<name>.png".
  static QString ResourcePath(std::string_view name);
  // The freedesktop icon-theme name standing in for a bundled picture, or
  // empty when there is none.
  static QString ThemeName(std::string_view name);
  // The picture of a list row's small-icon index: 1 "file", 3 "mp3", else
  // empty (no icon).
  static std::string_view ListIconName(int index);
};

}  // namespace tallymere
