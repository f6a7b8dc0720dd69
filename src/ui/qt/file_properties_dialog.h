#pragma once
// Our own properties window for a file, shown when no file manager on the
// session bus answers the request to show one: name, folder, type, size,
// modified time, permissions and, for an MP3 file, what its header and ID3v1
// tag say. Not modal, like the file managers' windows it stands in for.

#include <QDialog>
#include <QList>
#include <QString>
#include <string>

#include "common/code_page.h"
#include "ports/platform.h"

namespace tallymere {

struct PropertyRow {
  QString label;
  QString value;
};

// The facts about a native path, in the order the window lists them.
// An MP3 file's tag texts are read in code_page, the one chosen in the Options.
QList<PropertyRow> FilePropertyRows(const Platform& platform, const std::string& native_path,
                                    const CodePage& code_page = CodePage());

class FilePropertiesDialog : public QDialog {
 public:
  // Deletes itself when closed.
  FilePropertiesDialog(const Platform& platform, const std::string& native_path,
                       const CodePage& code_page, QWidget* parent);
};

}  // namespace tallymere
