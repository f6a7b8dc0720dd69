// Every menu item, toolbar button and pop-up item of both windows, walked in
// the states a user meets them in: each shows the enabled state its
// controller gives it, and each enabled one makes the controller run the
// handler the window's description gives it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "mp3/mp3_fixtures.h"
#include "platform/shell_open.h"
#include "ui/modal_answer.h"
#include "ui/qt/mp3_utilities_window.h"

namespace tallymere {
namespace {

using testing::AnswerFileDialog;

// Closes every modal window as the Escape key would (Cancel, else No) and
// keeps their titles, so a walk can trigger commands that ask something.
class ModalDismisser {
 public:
  ModalDismisser() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start(5);
  }
  std::vector<std::string> TakeTitles() { return std::exchange(m_titles, {}); }
  // Off while a test answers the dialogs of a step itself.
  void set_active(bool active) { m_active = active; }

 private:
  void Poll() {
    if (!m_active) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->property("dismissed").toBool()) return;
    modal->setProperty("dismissed", true);
    m_titles.push_back(modal->windowTitle().toStdString());
    if (qobject_cast<QMessageBox*>(modal) != nullptr) {
      QTest::keyClick(modal, Qt::Key_Escape);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    }
  }

  QTimer m_timer;
  std::vector<std::string> m_titles;
  bool m_active = true;
};

// A command to trigger, the command it stands for, and the handler the
// controller must run for it.
struct Item {
  QAction* action;
  std::string reaches;
  std::string handler;
};

// What triggering an item did: the commands that started, the handlers the
// controller ran, and the titles of the modal windows it opened.
struct Outcome {
  std::vector<std::string> started;
  std::vector<std::string> ran;
  std::vector<std::string> dialogs;
};

// The handler of each command, as the window's own description names it and
// independently of any table: a command runs name + "_Click", the pop-up
// items and toolbar buttons run the commands they stand for.
std::string HandlerOf(const std::string& name) {
  static const std::map<std::string, std::string> kStandsFor = {
      {"p7", "mnuId3"},         {"p9", "mnuAddPlay"},    {"p10", "mnuSendData"},
      {"p1", "mnuClip"},        {"p2", "mnuDelete"},     {"p3", "mnuRename"},
      {"p4", "mnuCorrect"},     {"p6", "mnuProperty"},   {"mnuPop2Rescan", "mnuRescanDisk"},
      {"T1", "mnuScan"},        {"T2", "mnuCreat"},      {"T4", "mnuNew"},
      {"T5", "mnuLoad"},        {"T6", "mnuSaveFile"},   {"T7", "mnuSaveas"},
      {"T9", "mnuClip"},        {"T10", "mnuDelete"},    {"T11", "mnuRename"},
      {"T13", "mnuSearchdisk"}, {"T15", "mnuUpdate"},    {"T16", "mnuAddDisk"},
      {"T17", "mnuDeleteDisk"}, {"T19", "mnuId"},        {"T20", "mnuEject"},
      {"Tbr1", "mnuOpen"},      {"Tbr3", "mnuRemove"},   {"Tbr4", "mnuWrite"},
      {"Tbr5", "mnuTagName"},   {"Tbr7", "mnuRemv"},     {"Tbr8", "mnuClAll"},
      {"Tbr9", "mnuMan"},       {"Tbr10", "mnuIDrenam"}, {"Tbr11", "mnuStartOver"},
      {"Tbr12", "mnuOops"},     {"Tbr14", "mnuRen"},     {"Tbr15", "mnuUndo"}};
  const auto found = kStandsFor.find(name);
  return (found == kStandsFor.end() ? name : found->second) + "_Click";
}

// Commands that change the state for the rest of the walk come last:
// sending to an editor deselects the files sent or puts LVData in place of
// the file list with the toolbar off, a find lists other rows, Update
// empties the file list and New the catalog, Exit closes the window.
int WalkRank(const std::string& reaches) {
  static const std::map<std::string, int> kRanks = {{"mnuAddPlay", 1},    {"p9", 1},
                                                    {"mnuSendData", 1},   {"p10", 1},
                                                    {"mnuSearchdisk", 1}, {"mnuPop2Show", 1},
                                                    {"mnuDuplicate1", 1}, {"mnuDuplicate2", 1},
                                                    {"mnuDuplicate3", 1}, {"mnuDuplicate4", 1},
                                                    {"mnuNew", 2},        {"mnuUpdate", 2},
                                                    {"mnuClAll", 2},      {"mnuPop2Rem", 2},
                                                    {"Tbr8", 2},          {"mnuExit", 3}};
  const auto rank = kRanks.find(reaches);
  return rank == kRanks.end() ? 0 : rank->second;
}

template <typename Window>
Outcome Trigger(Window& window, QAction* action, ModalDismisser& dismisser) {
  Outcome outcome;
  const QMetaObject::Connection started = QObject::connect(
      &window, &Window::commandStarted,
      [&outcome](const QString& name) { outcome.started.push_back(name.toStdString()); });
  // A pane's handler is named with its pane ("m_data_editor.mnuUse_Click").
  const QMetaObject::Connection ran =
      QObject::connect(&window, &Window::commandRan, [&outcome](const QString& handler) {
        outcome.ran.push_back(handler.section('.', -1).toStdString());
      });
  action->trigger();
  QApplication::processEvents();
  QObject::disconnect(started);
  QObject::disconnect(ran);
  outcome.dialogs = dismisser.TakeTitles();
  return outcome;
}

// Checks every item's enabled state against the controller's, then triggers
// the enabled ones (all but `skip`) and returns what each did, by its name.
template <typename Window>
std::map<std::string, Outcome> Walk(Window& window, std::vector<Item> items,
                                    const std::function<bool(const std::string&)>& enables,
                                    ModalDismisser& dismisser, const std::string& state,
                                    const std::string& skip = {}) {
  for (const Item& item : items) {
    EXPECT_EQ(item.action->isEnabled(), enables(item.action->objectName().toStdString()))
        << state << ": " << item.action->objectName().toStdString();
  }
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return WalkRank(a.reaches) < WalkRank(b.reaches);
  });
  std::map<std::string, Outcome> outcomes;
  for (const Item& item : items) {
    const std::string name = item.action->objectName().toStdString();
    if (!item.action->isEnabled() || name == skip) continue;
    const Outcome outcome = Trigger(window, item.action, dismisser);
    EXPECT_EQ(outcome.started.size(), 1u) << state << ": " << name;
    EXPECT_EQ(outcome.ran, std::vector<std::string>{item.handler}) << state << ": " << name;
    outcomes[name] = outcome;
    if (!window.isVisible()) window.show();  // Exit closed it
  }
  return outcomes;
}

class CommandWalkTest : public testing::MainWindowTest {
 protected:
  CommandWalkTest() {
    m_folder.WriteFile("c/Music/Pop/a.mp3", testing::Frame() + testing::Frame());
    m_folder.WriteFile("c/Music/Pop/b.mp3", testing::Frame());
    // Nothing the walk opens may start a real program.
    ShellTools tools;
    tools.run = [](const std::vector<std::string>&) { return CommandOutput{}; };
    tools.launch = [this](const std::vector<std::string>& argv, const std::string&, OpenFailed) {
      m_opened.push_back(argv.back());
      return Status::Ok();
    };
    m_window->services().SetShellTools(tools);
  }

  void Scan() {
    m_dismisser.set_active(false);
    ScanMusic();
    m_dismisser.set_active(true);
    ASSERT_EQ(m_window->controller().session().catalog().FileCount(), 2);
  }
  void SaveAndOpen() {
    m_dismisser.set_active(false);
    const QString saved = QString::fromStdString(m_folder.Path("music.mpd"));
    AnswerFileDialog(saved);
    m_window->action("mnuSaveFile")->trigger();
    AnswerFileDialog(saved);
    m_window->action("mnuLoad")->trigger();
    m_dismisser.set_active(true);
    ASSERT_EQ(m_window->controller().session().data_file_path(), saved.toStdString());
  }
  // Lists the files of the first folder and selects the first of them.
  void SelectFirstFile() {
    FrmMain& main = m_window->controller();
    m_window->Run([&main] { main.tvAlbum_NodeClick(main.tvAlbum().Find("C:\\Music\\Pop\\")); });
    main.LV().SelectOnly(0);
  }

  // The main window's commands: its menu and pop-up actions by name, its
  // toolbar buttons by the command they run.
  std::vector<Item> MainItems() const {
    std::vector<Item> items;
    for (QAction* action : m_window->findChildren<QAction*>()) {
      const std::string name = action->objectName().toStdString();
      const bool numbered = name.size() > 1 && std::isdigit(static_cast<unsigned char>(name[1]));
      if (name.rfind("mnu", 0) == 0 || (name[0] == 'p' && numbered)) {
        items.push_back({action, name, HandlerOf(name)});
      } else if (name[0] == 'T' && numbered) {
        const int button = std::stoi(name.substr(1));
        items.push_back(
            {action,
             std::string(EntryOf(kMainCommands, *CommandOfButton(kMainCommands, button)).name),
             HandlerOf(name)});
      }
    }
    return items;
  }

  std::map<std::string, Outcome> WalkMainWindow(const std::string& state) {
    const std::vector<Item> items = MainItems();
    EXPECT_GE(items.size(), 20u) << state;
    const MainCommandState& commands = m_window->controller().commands();
    const auto enables = [&commands](const std::string& name) {
      return name[0] == 'T' ? commands.ButtonEnabled(std::stoi(name.substr(1)))
                            : commands.Enabled(*CommandNamed(kMainCommands, name));
    };
    return Walk(*m_window, items, enables, m_dismisser, state);
  }

  ModalDismisser m_dismisser;
  std::vector<std::string> m_opened;  // what the walk asked the desktop to open
};

using Titles = std::vector<std::string>;

TEST_F(CommandWalkTest, MainWindowAtStartUpAfterAScanAfterOpenAndAfterNew) {
  const std::map<std::string, Outcome> start = WalkMainWindow("start-up");
  // What a user can reach before any catalog exists, and what each does.
  for (const char* name : {"mnuExit", "mnuAbout", "mnuGrid", "mnuLoad", "mnuScan", "mnuId", "T1",
                           "T5", "T16", "T19"}) {
    EXPECT_EQ(start.count(name), 1u) << name << " is not usable at start-up";
  }
  EXPECT_EQ(start.at("mnuLoad").dialogs, Titles{"Open File"});
  EXPECT_EQ(start.at("T5").dialogs, Titles{"Open File"});
  EXPECT_EQ(start.at("mnuScan").dialogs, Titles{"Tallymere"});  // nothing in the batch
  EXPECT_EQ(start.at("T16").dialogs, Titles{"Choose Drive or Folder to Add to Batch"});
  EXPECT_EQ(start.at("mnuAbout").dialogs, Titles{"About Tallymere"});
  EXPECT_NE(m_window->mp3_utilities(), nullptr);
  EXPECT_TRUE(m_window->controller().view().grid_checked);
  EXPECT_TRUE(m_window->action("mnuGrid")->isChecked());
  EXPECT_TRUE(start.at("mnuExit").dialogs.empty());  // nothing to save: it just closed
  // Start-up made an empty Header.txt and Footer.txt; the help page is missing.
  EXPECT_TRUE(start.at("mnuEditHeader").dialogs.empty());
  EXPECT_EQ(start.at("mnuHelpTopic").dialogs, Titles{"Tallymere Help"});
  for (const std::string& opened :
       {m_folder.Path("program/Header.txt"), m_folder.Path("program/Footer.txt"),
        "file://" + m_folder.Path("program") + "/TMRHelp.html#updates"}) {
    EXPECT_EQ(std::count(m_opened.begin(), m_opened.end(), opened), 1) << opened;
  }
  ASSERT_NE(m_window->options(), nullptr);

  Scan();
  const std::map<std::string, Outcome> scanned = WalkMainWindow("after a scan");
  EXPECT_EQ(scanned.at("mnuSaveFile").dialogs, Titles{"Save File"});
  EXPECT_EQ(scanned.at("T7").dialogs, Titles{"Save A Copy As"});
  EXPECT_EQ(scanned.at("p7").dialogs, Titles{"Tallymere"});  // no file selected
  EXPECT_EQ(scanned.at("mnuNew").dialogs, Titles{"Confirm"});
  // Exit asked "Save Change?" and Escape (Cancel) kept the window and its scan.
  EXPECT_EQ(scanned.at("mnuExit").dialogs, Titles{"Tallymere"});
  EXPECT_EQ(m_window->controller().session().catalog().FileCount(), 2);

  SaveAndOpen();
  SelectFirstFile();
  const std::map<std::string, Outcome> opened = WalkMainWindow("after Open");
  EXPECT_TRUE(opened.at("mnuSaveFile").dialogs.empty());  // saved under its name
  EXPECT_TRUE(opened.at("mnuId3").dialogs.empty());       // a selected file goes over
  EXPECT_EQ(QApplication::clipboard()->text(), "a.mp3");

  // Update, in the walk, left changes that New asked about: start afresh.
  m_window->controller().session().set_changed(false);
  m_window->action("mnuNew")->trigger();
  ASSERT_EQ(m_window->controller().session().catalog().FileCount(), 0);

  const std::map<std::string, Outcome> fresh = WalkMainWindow("after New");
  EXPECT_EQ(fresh.count("mnuAddDisk"), 0u);  // the menu item needs a catalog...
  EXPECT_EQ(fresh.at("T16").dialogs,         // ...its button does not
            Titles{"Choose Drive or Folder to Add to Batch"});
}

TEST_F(CommandWalkTest, Mp3UtilitiesEmptyLoadedSentFromTheCatalogAndCleared) {
  m_window->action("mnuId")->trigger();
  Mp3UtilitiesWindow& id3 = *m_window->mp3_utilities();
  const auto walk = [&](const std::string& state) {
    std::vector<Item> items;
    for (QAction* action : id3.findChildren<QAction*>()) {
      const std::string name = action->objectName().toStdString();
      if (name.rfind("mnu", 0) == 0 || name.rfind("Tbr", 0) == 0) {
        items.push_back({action, name, HandlerOf(name)});
      }
    }
    EXPECT_EQ(items.size(), 19u + 12u) << state;  // menu and pop-up items, toolbar buttons
    const Id3CommandState& commands = id3.controller().commands();
    const auto enables = [&commands](const std::string& name) {
      return name.rfind("Tbr", 0) == 0 ? commands.ButtonEnabled(std::stoi(name.substr(3)))
                                       : commands.Enabled(*CommandNamed(kId3Commands, name));
    };
    return Walk(id3, items, enables, m_dismisser, state, "mnuExit");
  };

  const std::map<std::string, Outcome> empty = walk("empty");
  EXPECT_EQ(empty.at("mnuOpen").dialogs, Titles{"Choose Drive or Folder to Add to Batch"});
  EXPECT_EQ(empty.at("Tbr1").dialogs, Titles{"Choose Drive or Folder to Add to Batch"});

  m_dismisser.set_active(false);
  const QString music = QString::fromStdString(m_folder.Path("c/Music"));
  AnswerFileDialog(music, music);
  id3.action("mnuOpen")->trigger();
  m_dismisser.set_active(true);
  ASSERT_EQ(id3.controller().LvOld().row_count(), 2);
  walk("loaded");
  EXPECT_EQ(id3.controller().LvOld().row_count(), 0);  // Clear All Files, near the end

  Scan();
  SelectFirstFile();
  m_window->action("mnuId3")->trigger();
  ASSERT_TRUE(id3.controller().LinkedToCatalog());
  walk("sent from the catalog");

  // Exit Utilities closes the window and ends the link to the catalog.
  m_window->action("mnuId3")->trigger();
  ASSERT_TRUE(id3.isVisible());
  const Outcome exit = Trigger(id3, id3.action("mnuExit"), m_dismisser);
  EXPECT_EQ(exit.ran, std::vector<std::string>{"mnuExit_Click"});
  EXPECT_FALSE(id3.isVisible());
  EXPECT_FALSE(id3.controller().LinkedToCatalog());
}

}  // namespace
}  // namespace tallymere
