// Tallymere, the desktop program. It takes no command-line options: all its
// settings live in Data/lists.dat in the program folder.

#include <QApplication>
#include <QIcon>
#include <clocale>

#include "platform/linux_platform.h"
#include "ui/qt/main_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // Qt sets the C locale from the environment; make sure dates follow it too.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Tallymere");
  QApplication::setApplicationVersion(TALLYMERE_VERSION);
  QApplication::setDesktopFileName("tallymere");
  Q_INIT_RESOURCE(icons);
  QApplication::setWindowIcon(QIcon(":/icons/datafile.png"));

  tallymere::LinuxPlatform platform(tallymere::LinuxPlatform::FindProgramFolder());
  tallymere::MainWindow window(platform);
  window.show();
  return application.exec();
}
