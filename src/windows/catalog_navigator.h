#pragma once
// What another window asks of the main window to lead the user to a file
// of a catalog: the main window owns the tree and the file list that show it,
// and the question whether to save the catalog open there.

#include <string>

#include "views/list_model.h"

namespace tallymere {

class CatalogNavigator {
 public:
  virtual ~CatalogNavigator() = default;
  // Opens a data file as File > Open does after its dialog, asking first
  // whether to save a changed catalog; true when it is the catalog now.
  virtual bool OpenDataFile(const std::string& path) = 0;
  // Selects the file's folder in the tree and its row in the file list;
  // false when the open catalog holds no such file.
  virtual bool ShowCatalogFile(const std::string& path, const std::string& file_name) = 0;
  // Opens a catalogued file with its program, or names the disk to insert.
  virtual void OpenCatalogFile(const std::string& path, const std::string& file_name,
                               const std::string& disk_label) = 0;
  // Send to Playlist Editor for the selected rows of a list laid out as the
  // file list is.
  virtual void SendToPlaylist(ListModel& rows) = 0;
};

}  // namespace tallymere
