// Tallymere, the desktop program. Its one argument is a data file to open
// (how a file manager hands over a double-clicked catalog); its settings live
// in Data/lists.dat in the program folder.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <clocale>
#include <cstdio>
#include <string>

#include "platform/heap_reuse.h"
#include "platform/linux_platform.h"
#include "platform/read_file.h"
#include "ui/qt/main_window.h"

namespace {

// The whole of a shipped file or its copy, or nothing when it is no regular
// file that can be read (a pipe there must not stop the start).
std::string Contents(const QString& path) {
  constexpr std::size_t kLargestShippedFile = std::size_t{16} << 20;
  tallymere::Result<std::string> bytes =
      tallymere::ReadWholeFile(QFile::encodeName(path).toStdString(), kLargestShippedFile);
  return bytes ? std::move(bytes).value() : std::string();
}

// An installed program keeps its shipped files in share/tallymere, and the
// user's program folder gets a copy of each. The help page belongs to the
// version that runs, so a copy that differs (an earlier version's) is replaced.
void ProvideShippedFiles(const QString& program_folder) {
  const QDir shipped(QCoreApplication::applicationDirPath() + "/../share/tallymere");
  // The help page's pictures (manual/*.png) go with it.
  QDir(program_folder).mkpath(QStringLiteral("manual"));
  QStringList names = {QStringLiteral("TMRHelp.html")};
  for (const QString& picture : QDir(shipped.filePath(QStringLiteral("manual")))
                                    .entryList({QStringLiteral("*.png")}, QDir::Files)) {
    names << QStringLiteral("manual/") + picture;
  }
  for (const QString& name : names) {
    if (!shipped.exists(name)) continue;
    const QString source = shipped.filePath(name);
    const QString target = program_folder + "/" + name;
    const std::string wanted = Contents(source);
    if (QFile::exists(target) && Contents(target) == wanted) continue;
    QFile::remove(target);
    QFile::copy(source, target);
  }
}

// What the program answers before it needs a window: --help and --version.
// Without a display Qt would abort with a message about platform plugins, so
// say what the user can do instead. Returns the exit status, or -1 when the
// window should start. A command line that does not parse yet may hold Qt's
// own options (-platform, -style), which only the application takes out.
int AnswerWithoutWindow(QCommandLineParser& parser, int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const bool understood = parser.parse(arguments);
  if (understood && parser.isSet("help")) {
    // Before the application exists Qt does not know the program's name.
    std::fputs(qUtf8Printable(parser.helpText().replace("<executable_name>", "tallymere")), stdout);
    return 0;
  }
  if (understood && parser.isSet("version")) {
    std::printf("Tallymere %s\n", TALLYMERE_VERSION);
    return 0;
  }
  if (!arguments.contains("-platform") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
      qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fputs(
        "tallymere: there is no display to show the window on (neither DISPLAY nor "
        "WAYLAND_DISPLAY is set); start it from a desktop session, or use tallymere-cli "
        "on a terminal.\n",
        stderr);
    return 1;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  tallymere::KeepFreedMemoryForReuse();
  QCommandLineParser parser;
  parser.setApplicationDescription("Catalogue the files of your drives and disks.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("file", "A data file (.mpd) to open.", "[file]");
  if (const int status = AnswerWithoutWindow(parser, argc, argv); status >= 0) return status;

  QApplication application(argc, argv);
  // Qt sets the C locale from the environment; make sure dates follow it too.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Tallymere");
  QApplication::setApplicationVersion(TALLYMERE_VERSION);
  QApplication::setDesktopFileName("org.tallymere.Tallymere");
  Q_INIT_RESOURCE(icons);
  QApplication::setWindowIcon(QIcon(":/icons/datafile.png"));

  parser.process(application);

  tallymere::LinuxPlatform platform(tallymere::LinuxPlatform::FindProgramFolder());
  ProvideShippedFiles(QString::fromStdString(platform.ProgramFolder()));
  // The window holds one catalog: the first file opens, the others do not.
  const QStringList files = parser.positionalArguments();
  for (const QString& ignored : files.mid(1)) {
    std::fprintf(stderr, "tallymere: one data file at a time; \"%s\" was not opened.\n",
                 qUtf8Printable(ignored));
  }
  tallymere::MainWindow window(platform);
  window.show();
  if (!files.isEmpty()) window.OpenDataFile(files.first());
  return application.exec();
}
