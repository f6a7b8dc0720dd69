#pragma once
// frmAbout: the program's name and version, a link to its help page, and a
// button that starts the desktop's system-information tool.

#include <QDialog>

namespace tallymere {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  // help_page: the native path of the program's help page.
  explicit AboutDialog(const QString& help_page, QWidget* parent = nullptr);

  // The first system-information program found on this machine, or empty.
  static QString SystemInfoProgram();
};

}  // namespace tallymere
