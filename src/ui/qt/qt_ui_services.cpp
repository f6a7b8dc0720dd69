#include "ui/qt/qt_ui_services.h"

#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCursor>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <cctype>
#include <filesystem>
#include <mutex>

#include "platform/trash.h"
#include "ui/qt/colour_number.h"
#include "ui/qt/file_properties_dialog.h"
#include "ui/qt/input_blocker.h"
#include "ui/qt/qt_text.h"

namespace tallymere {

namespace {

constexpr char kFileManagerService[] = "org.freedesktop.FileManager1";
constexpr char kFileManagerPath[] = "/org/freedesktop/FileManager1";
constexpr char kFileManagerInterface[] = "org.freedesktop.FileManager1";
constexpr char kShowItemProperties[] = "ShowItemProperties";

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The wait cursor would sit over a question the user must answer; show the
// normal pointer while a dialog is up.
class NormalPointerWhileAsking {
 public:
  NormalPointerWhileAsking() : m_pushed(QApplication::overrideCursor() != nullptr) {
    if (m_pushed) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~NormalPointerWhileAsking() {
    if (m_pushed) QApplication::restoreOverrideCursor();
  }
  NormalPointerWhileAsking(const NormalPointerWhileAsking&) = delete;
  NormalPointerWhileAsking& operator=(const NormalPointerWhileAsking&) = delete;

 private:
  bool m_pushed;
};

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::kStop:
      return QMessageBox::Critical;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kWarning:
      return QMessageBox::Warning;
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

struct ButtonSet {
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button;
  // What Escape and the title bar's close button answer.
  QMessageBox::StandardButton escape_button;
};

ButtonSet ButtonsFor(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOkCancel:
      return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::kYesNo:
      return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case Buttons::kYesNoCancel:
      return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
              QMessageBox::Cancel};
    case Buttons::kOk:
      break;
  }
  return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

Answer AnswerFor(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::kOk;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

QString FileKindName(const QString& extension) {
  const QString lower = extension.toLower();
  if (lower == QLatin1String("mpd")) return QObject::tr("Data files");
  if (lower == QLatin1String("m3u")) return QObject::tr("Playlists");
  if (lower == QLatin1String("txt")) return QObject::tr("Text files");
  if (lower == QLatin1String("htm") || lower == QLatin1String("html")) {
    return QObject::tr("Web pages");
  }
  if (lower == QLatin1String("mp3")) return QObject::tr("MP3 files");
  return QObject::tr("%1 files").arg(extension.toUpper());
}

// Why xdg-open gave up, from its documented exit codes.
QString OpenerFailureText(int exit_code) {
  switch (exit_code) {
    case 1:
      return QObject::tr("the request was not understood");
    case 2:
      return QObject::tr("the file does not exist");
    case 3:
      return QObject::tr("a program needed to open it is missing");
    case 4:
      return QObject::tr("no program could open it");
    default:
      return QObject::tr("the program opening it ended with code %1").arg(exit_code);
  }
}

}  // namespace

// Carries a failure reported on the opener's watcher thread over to the
// user-interface thread, and goes quiet once the services are gone.
struct QtUiServices::OpenFailureRelay {
  std::mutex mutex;
  QObject* receiver = nullptr;  // lives on the user-interface thread
  QtUiServices* services = nullptr;
};

QStringList NameFiltersFor(std::string_view pattern) {
  const QString all_files = QObject::tr("All files (*)");
  QStringList patterns;
  for (const QString& part : Utf8(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString trimmed = part.trimmed();
    if (!trimmed.isEmpty() && trimmed != QLatin1String("*.*") && trimmed != QLatin1String("*")) {
      patterns.append(trimmed);
    }
  }
  if (patterns.isEmpty()) return {all_files};
  const QString first = patterns.first();
  const qsizetype dot = first.lastIndexOf(QLatin1Char('.'));
  const QString name = dot >= 0 ? FileKindName(first.mid(dot + 1)) : QObject::tr("Files");
  return {name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'),
          all_files};
}

QtUiServices::QtUiServices(const Platform& platform, QWidget* main_window)
    : m_platform(platform),
      m_main_window(main_window),
      m_shell_tools(SystemShellTools()),
      m_relay(std::make_shared<OpenFailureRelay>()) {
  m_relay->receiver = new QObject;
  m_relay->services = this;
}

QtUiServices::~QtUiServices() {
  {
    std::lock_guard<std::mutex> lock(m_relay->mutex);
    m_relay->services = nullptr;
    // Deleting the receiver also drops reports already queued to it.
    delete m_relay->receiver;
    m_relay->receiver = nullptr;
  }
  while (m_busy_depth > 0) BusyPointer(false);
}

void QtUiServices::SetStatusPanels(QLabel* panel1, QLabel* panel2, QLabel* panel3) {
  m_panels[0] = panel1;
  m_panels[1] = panel2;
  m_panels[2] = panel3;
}

void QtUiServices::SetAnimationBar(QProgressBar* bar) {
  m_animation_bar = bar;
  if (bar != nullptr) {
    bar->setRange(0, 0);  // indeterminate: a long command has no known length
    bar->setTextVisible(false);
    bar->setVisible(false);
  }
}

void QtUiServices::SetOpenFailedHandler(OpenFailedHandler handler) {
  m_open_failed = std::move(handler);
}

void QtUiServices::SetShellTools(ShellTools tools) { m_shell_tools = std::move(tools); }

void QtUiServices::SetPropertiesBus(const QDBusConnection& bus) { m_properties_bus = bus; }

Answer QtUiServices::ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                                 std::string_view title) {
  const ButtonSet set = ButtonsFor(buttons);
  QMessageBox box(BoxIcon(icon), Utf8(title), Utf8(text), set.buttons, m_main_window);
  // File names may hold "<" and "&": never read them as markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(set.default_button);
  box.setEscapeButton(set.escape_button);
  NormalPointerWhileAsking pointer;
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  return AnswerFor(clicked != nullptr ? box.standardButton(clicked) : set.escape_button);
}

Answer QtUiServices::ShowMessageWithList(std::string_view text,
                                         const std::vector<std::string>& lines, Buttons buttons,
                                         Icon icon, std::string_view title) {
  QDialog dialog(m_main_window);
  dialog.setObjectName("messageWithList");
  dialog.setWindowTitle(Utf8(title));
  auto* layout = new QVBoxLayout(&dialog);
  auto* row = new QHBoxLayout;
  const QStyle::StandardPixmap pixmap = icon == Icon::kQuestion  ? QStyle::SP_MessageBoxQuestion
                                        : icon == Icon::kStop    ? QStyle::SP_MessageBoxCritical
                                        : icon == Icon::kWarning ? QStyle::SP_MessageBoxWarning
                                                                 : QStyle::SP_MessageBoxInformation;
  auto* picture = new QLabel;
  picture->setPixmap(dialog.style()->standardIcon(pixmap).pixmap(32, 32));
  row->addWidget(picture, 0, Qt::AlignTop);
  auto* label = new QLabel(Utf8(text));
  label->setTextFormat(Qt::PlainText);  // file names may hold "<" and "&"
  label->setWordWrap(true);
  row->addWidget(label, 1);
  layout->addLayout(row);
  QStringList shown;
  for (const std::string& line : lines) shown << Utf8(line);
  auto* list = new QPlainTextEdit(shown.join(QLatin1Char('\n')));
  list->setObjectName("lines");
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::NoWrap);
  list->setMinimumSize(560, 240);
  layout->addWidget(list, 1);
  const ButtonSet set = ButtonsFor(buttons);
  auto* box = new QDialogButtonBox(QDialogButtonBox::StandardButtons(int(set.buttons)));
  QMessageBox::StandardButton pressed = set.escape_button;
  QObject::connect(box, &QDialogButtonBox::clicked, &dialog, [&](QAbstractButton* button) {
    pressed = static_cast<QMessageBox::StandardButton>(int(box->standardButton(button)));
    dialog.accept();
  });
  if (QPushButton* first = box->button(QDialogButtonBox::StandardButton(int(set.default_button)))) {
    first->setDefault(true);
    first->setFocus();
  }
  layout->addWidget(box);
  NormalPointerWhileAsking pointer;
  dialog.exec();
  return AnswerFor(pressed);
}

std::string QtUiServices::AskText(std::string_view prompt, std::string_view title,
                                  std::string_view default_text) {
  QInputDialog dialog(m_main_window);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(Utf8(title));
  dialog.setLabelText(Utf8(prompt));
  dialog.setTextValue(Utf8(default_text));
  NormalPointerWhileAsking pointer;
  if (dialog.exec() != QDialog::Accepted) return std::string();
  return dialog.textValue().toStdString();
}

std::optional<std::string> QtUiServices::ChooseFile(bool save, std::string_view title,
                                                    std::string_view filter,
                                                    std::string_view initial_name) {
  QFileDialog dialog(m_main_window, Utf8(title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The commands ask their own "replace it?" question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilters(NameFiltersFor(filter));

  // The initial name may carry a folder ("/lists/music.m3u") or be a pattern
  // ("*.mpd"), which only the filter shows.
  std::string name(initial_name);
  std::string folder;
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) {
    if (name[slash] == '/') folder = slash == 0 ? "/" : name.substr(0, slash);
    name = name.substr(slash + 1);
  }
  if (!folder.empty()) dialog.setDirectory(FromNative(folder));
  if (!name.empty() && name.find_first_of("*?") == std::string::npos) {
    dialog.selectFile(FromNative(name));
  }

  NormalPointerWhileAsking pointer;
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  return ToNative(QDir::toNativeSeparators(chosen.first()));
}

std::optional<std::string> QtUiServices::ChooseSaveFile(std::string_view title,
                                                        std::string_view filter,
                                                        std::string_view initial_name) {
  return ChooseFile(true, title, filter, initial_name);
}

std::optional<std::string> QtUiServices::ChooseOpenFile(std::string_view title,
                                                        std::string_view filter,
                                                        std::string_view initial_name) {
  return ChooseFile(false, title, filter, initial_name);
}

std::optional<std::string> QtUiServices::ChooseNativeFolder(std::string_view title,
                                                            std::string_view start_folder) {
  QFileDialog dialog(m_main_window, Utf8(title));
  if (!start_folder.empty()) dialog.setDirectory(FromNative(start_folder));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  NormalPointerWhileAsking pointer;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToNative(dialog.selectedFiles().first());
}

std::string QtUiServices::BrowseForFolder(std::string_view title, std::string_view start_folder) {
  const std::optional<std::string> chosen = ChooseNativeFolder(title, start_folder);
  if (!chosen) return {};
  const std::string& native = *chosen;
  if (std::optional<std::string> catalog = m_platform.ToCatalog(native)) return *catalog;
  ShowMessage("\"" + native + "\" is not on a drive a catalog can hold.", Buttons::kOk,
              Icon::kWarning, title);
  return {};
}

uint32_t QtUiServices::ChooseColor(std::string_view title, uint32_t initial) {
  QColorDialog dialog(ColorFromNumber(initial), m_main_window);
  dialog.setWindowTitle(Utf8(title));
  NormalPointerWhileAsking pointer;
  if (dialog.exec() != QDialog::Accepted) return initial;
  return ColorNumber(dialog.selectedColor());
}

void QtUiServices::SetStatus(int panel, std::string_view text) {
  if (panel < 1 || panel > 3 || !m_panels[panel - 1]) return;
  m_panels[panel - 1]->setText(Utf8(text));
}

void QtUiServices::Animation(AnimationKind, bool start) {
  // Both animations show as the same busy bar.
  if (m_animation_bar) m_animation_bar->setVisible(start);
}

void QtUiServices::BusyPointer(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_busy_depth;
  } else if (m_busy_depth > 0) {
    QApplication::restoreOverrideCursor();
    --m_busy_depth;
  }
}

void QtUiServices::YieldToUi() {
  if (m_yield_clock.isValid() && m_yield_clock.elapsed() < kYieldIntervalMs) return;
  // Input must never start a second command inside this one, even when the
  // caller holds no blocker of its own.
  std::optional<InputBlocker> blocker;
  if (!InputBlocker::IsActive()) blocker.emplace(InputBlocker::CloseRequests::kRefuse);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  m_yield_clock.start();
}

void QtUiServices::CopyToClipboard(std::string_view text) {
  QGuiApplication::clipboard()->setText(Utf8(text));
}

ShellResult QtUiServices::ShellOpen(std::string_view verb, std::string_view path,
                                    std::string_view parameters, std::string_view folder,
                                    int show_state) {
  // The desktop's opener takes one file or address; it picks the window and
  // the action itself, so parameters and show state have no say here. "edit"
  // opens a file as text whatever its content (an empty header text).
  (void)parameters;
  (void)show_state;
  const std::string native = m_platform.NativeOf(path);
  OpenFailed on_failure = [relay = m_relay, native](int exit_code) {
    std::lock_guard<std::mutex> lock(relay->mutex);
    if (relay->receiver == nullptr) return;
    QMetaObject::invokeMethod(
        relay->receiver,
        [relay, native, exit_code] {
          if (relay->services != nullptr) relay->services->ReportOpenFailure(native, exit_code);
        },
        Qt::QueuedConnection);
  };
  return ShellOpenPath(native, folder.empty() ? std::string() : m_platform.NativeOf(folder),
                       m_shell_tools, std::move(on_failure), verb == "edit" ? "text/plain" : "");
}

void QtUiServices::ReportOpenFailure(const std::string& path, int exit_code) {
  if (m_open_failed) {
    m_open_failed(path, exit_code);
    return;
  }
  ShowOpenFailure(path, exit_code);
}

void QtUiServices::ShowOpenFailure(const std::string& path, int exit_code) {
  // Modal to its window, as a message a command shows is, so the window is
  // not used behind it; opened without waiting, as it comes in on its own.
  auto* box = new QMessageBox(
      QMessageBox::Warning, Utf8(kProgramTitle),
      QObject::tr("Could not open \"%1\": %2.").arg(FromNative(path), OpenerFailureText(exit_code)),
      QMessageBox::Ok, m_main_window);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
}

ShellResult QtUiServices::ShowProperties(std::string_view path) {
  std::string native = m_platform.NativeOf(path);
  struct stat info;
  if (native.empty() || lstat(native.c_str(), &info) != 0) return ShellResult::kFileNotFound;
  if (native[0] != '/') native = ToNative(QDir::current().absoluteFilePath(FromNative(native)));

  const QDBusConnection bus = m_properties_bus.value_or(QDBusConnection::sessionBus());
  if (!bus.isConnected()) {
    ShowOwnProperties(native);
    return ShellResult::kStarted;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QLatin1String(kFileManagerService), QLatin1String(kFileManagerPath),
      QLatin1String(kFileManagerInterface), QLatin1String(kShowItemProperties));
  // The URI keeps the name's bytes exactly, percent-encoded.
  const QString uri = QStringLiteral("file://") + QString::fromLatin1(EncodeTrashPath(native));
  call << QStringList{uri} << QString();
  // Asynchronous: starting a file manager can take seconds. No file manager on
  // the bus (not running, not activatable) comes back as an error reply.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), m_relay->receiver);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, m_relay->receiver,
                   [this, native](QDBusPendingCallWatcher* finished) {
                     if (finished->isError()) ShowOwnProperties(native);
                     finished->deleteLater();
                   });
  return ShellResult::kStarted;
}

void QtUiServices::ShowOwnProperties(const std::string& native_path) {
  const CodePage code_page = m_code_page ? m_code_page() : CodePage();
  auto* dialog = new FilePropertiesDialog(m_platform, native_path, code_page, m_main_window);
  dialog->show();
}

}  // namespace tallymere
