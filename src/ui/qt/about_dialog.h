#pragma once
// frmAbout: the program's name and version, a link to its web page, and a
// button that starts the desktop's system-information tool.

#include <QDialog>

namespace tallymere {

inline constexpr char kWebPage[] = "https://tallymere.example.org/";

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);

  // The first system-information program found on this machine, or empty.
  static QString SystemInfoProgram();
};

}  // namespace tallymere
