#include "ui/qt/qt_ui_services.h"

#include <gtest/gtest.h>

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <thread>

#include "mp3/mp3_fixtures.h"
#include "platform/platform_fixture.h"
#include "platform/trash.h"
#include "ui/modal_answer.h"
#include "ui/qt/file_properties_dialog.h"
#include "ui/qt/input_blocker.h"

namespace tallymere {
namespace {

using testing::ModalAnswerer;
using testing::Press;
using testing::ReadFileBytes;
using testing::TempFolder;

// An answer for a modal window that must be a Dialog.
template <typename Dialog>
std::function<void(QWidget*)> As(std::function<void(Dialog*)> answer) {
  return [answer](QWidget* modal) {
    auto* dialog = qobject_cast<Dialog*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->windowTitle().toStdString();
    answer(dialog);
  };
}

// Types a name into a file dialog's name field, as a user would (selectFile
// leaves the field alone while it has the focus), then accepts.
void TypeFileNameAndAccept(QFileDialog* dialog, const std::string& name) {
  dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(name));
  static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides accept()
}

void Reject(QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); }
void Escape(QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); }

// A widget that counts its paints and its accepted closes.
class CountingWidget : public QWidget {
 public:
  int paints = 0;
  int closes = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
  void closeEvent(QCloseEvent* event) override {
    ++closes;
    event->accept();
  }
};

// Drive C: is the temporary folder.
class QtUiServicesTest : public ::testing::Test {
 protected:
  testing::DrivesFixture m_drives{"C: fixed %ROOT%\n"};
  const TempFolder& m_temp = m_drives.folder();
  QtUiServices m_ui{m_drives.platform(), nullptr};
};

TEST_F(QtUiServicesTest, MessagesShowTextTitleButtonsIconAndLinesAndReturnTheClick) {
  ModalAnswerer answerer;
  answerer.Then(As<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->text(), "Save current file?");
    EXPECT_EQ(box->windowTitle(), "Confirm");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
    box->button(QMessageBox::No)->click();
  }));
  answerer.Then(As<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), "Tallymere");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    // Names are shown as typed, never read as markup.
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), QStringLiteral("<b>Caf\u00e9</b> & co"));
    box->button(QMessageBox::Ok)->click();
  }));
  EXPECT_EQ(
      m_ui.ShowMessage("Save current file?", Buttons::kYesNoCancel, Icon::kQuestion, "Confirm"),
      Answer::kNo);
  EXPECT_EQ(m_ui.ShowMessage("<b>Caf\xC3\xA9</b> & co", Buttons::kOk, Icon::kStop), Answer::kOk);

  // A message with a list of lines.
  answerer.Then([](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "Rescan Disk");
    auto* lines = modal->findChild<QPlainTextEdit*>("lines");
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->toPlainText(), "+ E:\\a <b>.mp3\n- E:\\b.mp3");
    EXPECT_TRUE(lines->isReadOnly());
    EXPECT_NE(modal->findChild<QLabel*>(), nullptr);
    QTest::keyClick(modal, Qt::Key_Return);  // Yes is the default button
  });
  answerer.Then(Escape);
  const std::vector<std::string> lines = {"+ E:\\a <b>.mp3", "- E:\\b.mp3"};
  EXPECT_EQ(m_ui.ShowMessageWithList("Disk CD1: 1 file added, 1 removed, 0 changed (size, date or "
                                     "tag). Replace its records?",
                                     lines, Buttons::kYesNo, Icon::kQuestion, "Rescan Disk"),
            Answer::kYes);
  EXPECT_EQ(
      m_ui.ShowMessageWithList("Again?", lines, Buttons::kYesNo, Icon::kQuestion, "Rescan Disk"),
      Answer::kNo);

  // Escape answers Cancel, or No where there is none, even while a command
  // blocks the input to the windows.
  InputBlocker blocker;
  const std::pair<Buttons, Answer> cases[] = {{Buttons::kYesNoCancel, Answer::kCancel},
                                              {Buttons::kYesNo, Answer::kNo},
                                              {Buttons::kOkCancel, Answer::kCancel},
                                              {Buttons::kOk, Answer::kOk}};
  for (const auto& [buttons, expected] : cases) {
    answerer.Then(Escape);
    EXPECT_EQ(m_ui.ShowMessage("Question", buttons, Icon::kNone, "Title"), expected);
  }
}

TEST_F(QtUiServicesTest, AskTextAndColourGiveTheAnswerOrTheirValueForCancel) {
  ModalAnswerer answerer;
  answerer
      .Then(As<QInputDialog>([](QInputDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Rename File");
        EXPECT_EQ(dialog->labelText(), "Enter new name. Legal characters only!");
        EXPECT_EQ(dialog->textValue(), "old.mp3");
        dialog->setTextValue(QStringLiteral("n\u00e9w.mp3"));
        dialog->accept();
      }))
      .Then(Reject);
  EXPECT_EQ(m_ui.AskText("Enter new name. Legal characters only!", "Rename File", "old.mp3"),
            "n\xC3\xA9w.mp3");
  EXPECT_EQ(m_ui.AskText("Prompt", "Title", "keep"), "");

  answerer
      .Then(As<QColorDialog>([](QColorDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Table Colour");
        EXPECT_EQ(dialog->currentColor(), QColor(0xFF, 0xFF, 0xB0));  // the colour being changed
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog->accept();
      }))
      .Then(As<QColorDialog>([](QColorDialog* dialog) {
        EXPECT_EQ(dialog->currentColor(), QColor(0xFF, 0xFF, 0xD2));
        dialog->setCurrentColor(QColor(0xFF, 0xFF, 0xFF));
        dialog->reject();
      }));
  EXPECT_EQ(m_ui.ChooseColor("Table Colour", 0xB0FFFFu), 0x563412u);  // blue, green, red
  EXPECT_EQ(m_ui.ChooseColor("Table Colour", 0xD2FFFFu), 0xD2FFFFu);  // Cancel changes nothing
}

TEST_F(QtUiServicesTest, FileAndFolderDialogsShowTheirSettingsAndReturnPaths) {
  EXPECT_EQ(NameFiltersFor("*.mpd"), (QStringList{"Data files (*.mpd)", "All files (*)"}));
  EXPECT_EQ(NameFiltersFor("*.*"), QStringList{"All files (*)"});
  EXPECT_EQ(NameFiltersFor("*.htm;*.html").first(), "Web pages (*.htm *.html)");

  const std::string lists = m_temp.MakeFolder("lists");
  const std::string existing = m_temp.WriteFile("lists/old.mpd", "x");
  const std::string music = m_temp.MakeFolder("Music/Pop");
  TempFolder elsewhere;
  ModalAnswerer answerer;
  answerer
      .Then(As<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Save Playlist");
        EXPECT_EQ(dialog->nameFilters().first(), "Playlists (*.m3u)");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString(lists));
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        TypeFileNameAndAccept(dialog, lists + "/new list.m3u");
      }))
      .Then(As<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->nameFilters().first(), "Data files (*.mpd)");
        TypeFileNameAndAccept(dialog, existing);
      }))
      .Then(Reject);
  EXPECT_EQ(m_ui.ChooseSaveFile("Save Playlist", "*.m3u", lists + "/old.m3u"),
            lists + "/new list.m3u");
  EXPECT_EQ(m_ui.ChooseOpenFile("Open File", "*.mpd", "*.mpd"), existing);
  EXPECT_EQ(m_ui.ChooseOpenFile("Open File", "*.mpd", "*.mpd"), std::nullopt);

  // Nothing typed: the folder on show is the choice, as a catalog path.
  const auto show_folder = [](const std::string& folder) {
    return As<QFileDialog>([folder](QFileDialog* dialog) {
      EXPECT_EQ(dialog->windowTitle(), "Choose Drive or Folder to Add to Batch");
      EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
      dialog->setDirectory(QString::fromStdString(folder));
      static_cast<QDialog*>(dialog)->accept();
    });
  };
  answerer.Then(show_folder(music))
      .Then(show_folder(elsewhere.path()))
      .Then(Press(QMessageBox::Ok));  // no drive holds it
  EXPECT_EQ(m_ui.BrowseForFolder("Choose Drive or Folder to Add to Batch"), "C:\\Music\\Pop");
  EXPECT_EQ(m_ui.BrowseForFolder("Choose Drive or Folder to Add to Batch"), "");
}

TEST_F(QtUiServicesTest, StatusPanelsAnimationBarClipboardAndBusyPointer) {
  QLabel one, two, three;
  QProgressBar bar;
  m_ui.SetStatusPanels(&one, &two, &three);
  m_ui.SetAnimationBar(&bar);
  m_ui.SetStatus(1, "Total: 3");
  m_ui.SetStatus(3, "12.50 MB");
  m_ui.SetStatus(4, "ignored");
  EXPECT_EQ(one.text() + "|" + two.text() + "|" + three.text(), "Total: 3||12.50 MB");

  EXPECT_EQ(bar.maximum(), 0);  // indeterminate
  EXPECT_TRUE(bar.isHidden());
  m_ui.Animation(AnimationKind::kFindFile, true);
  EXPECT_FALSE(bar.isHidden());
  m_ui.Animation(AnimationKind::kFindFile, false);
  EXPECT_TRUE(bar.isHidden());

  m_ui.CopyToClipboard("C:\\Music\\Caf\xC3\xA9.mp3");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("C:\\Music\\Caf\u00e9.mp3"));

  // The busy pointer counts its depth and is restored.
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  {
    QtUiServices ui(m_drives.platform(), nullptr);
    ui.BusyPointer(true);
    ui.BusyPointer(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.BusyPointer(false);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    ui.BusyPointer(false);
    ui.BusyPointer(false);  // one too many does no harm
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui.busy_depth(), 0);
    ui.BusyPointer(true);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // destroyed while on: restored

  // A question asked while busy shows the normal pointer, and busy comes back.
  m_ui.BusyPointer(true);
  ModalAnswerer answerer;
  answerer.Then([](QWidget* modal) {
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    Press(QMessageBox::Ok)(modal);
  });
  m_ui.ShowMessage("Done", Buttons::kOk, Icon::kInformation);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  m_ui.BusyPointer(false);
}

TEST_F(QtUiServicesTest, YieldSwallowsInputButLetsPaintThroughAndCloseWaitsForTheCommand) {
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* canvas = new CountingWidget;
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(edit);
  layout->addWidget(canvas);
  canvas->setMinimumSize(50, 50);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  const auto type = [edit](Qt::Key key, const char* text) {
    QCoreApplication::postEvent(
        edit, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text)));
  };
  for (bool with_blocker : {true, false}) {
    std::optional<InputBlocker> blocker;
    if (with_blocker) blocker.emplace();
    const int paints_before = canvas->paints;
    canvas->update();
    type(Qt::Key_A, "a");
    // A long command: busy, yielding now and then.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3 * kYieldIntervalMs) m_ui.YieldToUi();
    EXPECT_GT(canvas->paints, paints_before) << with_blocker;
    EXPECT_EQ(edit->text(), QString()) << with_blocker;
  }
  // Once the command is over, typing works again and nothing is replayed.
  type(Qt::Key_B, "b");
  QCoreApplication::processEvents();
  EXPECT_EQ(edit->text(), "b");
  EXPECT_FALSE(InputBlocker::IsActive());

  // A window's close waits until the command ends.
  CountingWidget closing;
  closing.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&closing));
  const auto request_close = [&closing] {
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);  // as the window system sends it
    QApplication::instance()->notify(&closing, &event);
  };
  {
    InputBlocker blocker;
    request_close();
    QCoreApplication::processEvents();
    EXPECT_EQ(closing.closes, 0);
    EXPECT_TRUE(closing.isVisible());
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(closing.closes, 1);
  EXPECT_FALSE(closing.isVisible());
  // A close during a bare YieldToUi is refused outright.
  closing.show();
  {
    InputBlocker blocker(InputBlocker::CloseRequests::kRefuse);
    request_close();
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(closing.closes, 1);
  EXPECT_TRUE(closing.isVisible());
}

TEST_F(QtUiServicesTest, ShellOpenDecidesFirstAndReportsALaterFailureOnTheWindowThread) {
  const std::string file = m_temp.WriteFile("list.htm", "x");
  ShellTools tools;
  tools.run = [](const std::vector<std::string>&) { return CommandOutput{}; };  // no xdg-mime
  tools.launch = [](const std::vector<std::string>&, const std::string&, OpenFailed failed) {
    std::thread([failed] { failed(4); }).detach();
    return Status::Ok();
  };
  m_ui.SetShellTools(tools);
  std::vector<std::pair<std::string, int>> failures;
  std::thread::id report_thread;
  m_ui.SetOpenFailedHandler([&](const std::string& path, int exit_code) {
    failures.emplace_back(path, exit_code);
    report_thread = std::this_thread::get_id();
  });

  EXPECT_EQ(m_ui.ShellOpen("open", m_temp.Path("gone.htm"), "", "", 1), ShellResult::kFileNotFound);
  EXPECT_EQ(m_ui.ShellOpen("open", "C:\\list.htm", "", "", 1),
            ShellResult::kStarted);  // catalog path
  EXPECT_TRUE(QTest::qWaitFor([&] { return !failures.empty(); }, 10000));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0], std::make_pair(file, 4));
  EXPECT_EQ(report_thread, std::this_thread::get_id());
}

// A file manager on the session bus that records what it was asked to show.
class FakeFileManager : public QDBusVirtualObject {
 public:
  QStringList shown;

  QString introspect(const QString&) const override { return QString(); }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() != "ShowItemProperties") return false;
    shown += message.arguments().value(0).toStringList();
    connection.send(message.createReply());
    return true;
  }
};

// Our own properties window, once it shows (within wait_ms).
FilePropertiesDialog* ShownPropertiesDialog(int wait_ms = 0) {
  QElapsedTimer clock;
  clock.start();
  do {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = dynamic_cast<FilePropertiesDialog*>(widget);
      if (dialog != nullptr && dialog->isVisible()) return dialog;
    }
    QTest::qWait(10);
  } while (clock.elapsed() < wait_ms);
  return nullptr;
}

TEST_F(QtUiServicesTest, PropertiesFallBackToOurOwnWindowWithoutAFileManager) {
  const std::string file = m_temp.WriteFile("a b.txt", "hello");
  QStringList rows;
  for (const PropertyRow& row : FilePropertyRows(m_drives.platform(), file))
    rows << row.label + ": " + row.value;
  ASSERT_GE(rows.size(), 6);
  EXPECT_EQ(rows[0], "Name: a b.txt");
  EXPECT_EQ(rows[1], "Folder: " + QString::fromStdString(m_temp.path()));
  EXPECT_TRUE(rows.join('\n').contains("Size: 5 bytes")) << rows.join('\n').toStdString();
  EXPECT_TRUE(rows.join('\n').contains(QRegularExpression("Permissions: \\S{10}(\n|$)")));

  m_ui.SetPropertiesBus(
      QDBusConnection::connectToBus("unix:path=/nonexistent/tallymere-bus", "tallymere-no-bus"));
  EXPECT_EQ(m_ui.ShowProperties(m_temp.Path("gone.txt")), ShellResult::kFileNotFound);
  EXPECT_EQ(m_ui.ShowProperties(file), ShellResult::kStarted);
  FilePropertiesDialog* shown = ShownPropertiesDialog();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->windowTitle(), "a b.txt Properties");
  EXPECT_FALSE(shown->isModal());
  shown->close();  // deletes itself
  // An MP3 tag is read in the code page of the moment (the Options'), here
  // "Кино" as a player set to Windows-1251 wrote it.
  const std::string song = m_temp.WriteFile(
      "film.mp3", testing::Frame() + testing::Id3v1Block({.title = "\xCA\xE8\xED\xEE"}));
  m_ui.SetCodePageSource([] { return *CodePage::Named("Windows-1251"); });
  EXPECT_EQ(m_ui.ShowProperties(song), ShellResult::kStarted);
  shown = ShownPropertiesDialog();
  ASSERT_NE(shown, nullptr);
  QStringList texts;
  for (QLabel* label : shown->findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(QString::fromUtf8("\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE")))
      << texts.join('|').toStdString();
  shown->close();
}

TEST_F(QtUiServicesTest, PropertiesAskTheFileManagerOnTheSessionBus) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) GTEST_SKIP() << "no session bus (run under dbus-run-session)";
  const std::string file = m_temp.WriteFile("a b\xC3\xA9.txt", "x");
  FakeFileManager manager;
  ASSERT_TRUE(bus.registerVirtualObject("/org/freedesktop/FileManager1", &manager));
  ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));

  EXPECT_EQ(m_ui.ShowProperties(file), ShellResult::kStarted);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.shown.isEmpty(); }, 10000));
  EXPECT_EQ(manager.shown,
            QStringList{"file://" + QString::fromStdString(EncodeTrashPath(m_temp.path())) +
                        "/a%20b%C3%A9.txt"});
  EXPECT_EQ(ShownPropertiesDialog(50), nullptr);

  // Gone from the bus: the error reply brings up our own window.
  bus.unregisterService("org.freedesktop.FileManager1");
  bus.unregisterObject("/org/freedesktop/FileManager1");
  EXPECT_EQ(m_ui.ShowProperties(file), ShellResult::kStarted);
  FilePropertiesDialog* dialog = ShownPropertiesDialog(10000);
  ASSERT_NE(dialog, nullptr);
  dialog->close();
}

}  // namespace
}  // namespace tallymere
