#pragma once
// Where the file and folder dialogs of every window start: in the folder of
// the open catalog's data file when it has one, else in the folder last chosen
// in any of them, else in the user's home. Never in the program's folder,
// which is the current folder of a program started from its menu entry.

#include <string>
#include <string_view>

#include "session/catalog_session.h"

namespace tallymere {

class DialogStart {
 public:
  // session: whose catalog the windows show; none for windows that have no
  // catalog, whose dialogs then start where the desktop chooses.
  explicit DialogStart(const CatalogSession* session) : m_session(session) {}

  // The native folder a dialog starts in; empty when nothing is known.
  std::string Folder() const;
  // The initial name a file dialog is given: a name with a folder of its own
  // (the playlist last saved) as it is, any other ("*.mpd", "untitled") with
  // Folder() in front.
  std::string InitialName(std::string_view initial_name) const;
  // A file or folder the user chose in a dialog, as a native path.
  void ChoseFile(std::string_view native_file);
  void ChoseFolder(std::string_view native_folder);
  // A folder chosen as a catalog path ("E:\Music"), where the drive maps it.
  void ChoseCatalogFolder(std::string_view catalog_folder);

 private:
  const CatalogSession* m_session;
  std::string m_last_folder;
};

}  // namespace tallymere
