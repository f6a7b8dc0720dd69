// Tallymere, the desktop program. It takes no command-line options: all its
// settings live in Data/lists.dat in the program folder.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <clocale>

#include "platform/heap_reuse.h"
#include "platform/linux_platform.h"
#include "ui/qt/main_window.h"

namespace {

// An installed program keeps its shipped files in share/tallymere; a user's
// program folder gets a copy of each one it lacks, and keeps its own edits.
void ProvideShippedFiles(const QString& program_folder) {
  const QDir shipped(QCoreApplication::applicationDirPath() + "/../share/tallymere");
  for (const QString& name : {QStringLiteral("TMRHelp.html")}) {
    const QString target = program_folder + "/" + name;
    if (!QFile::exists(target) && shipped.exists(name)) QFile::copy(shipped.filePath(name), target);
  }
}

}  // namespace

int main(int argc, char** argv) {
  tallymere::KeepFreedMemoryForReuse();
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
  ProvideShippedFiles(QString::fromStdString(platform.ProgramFolder()));
  tallymere::MainWindow window(platform);
  window.show();
  return application.exec();
}
