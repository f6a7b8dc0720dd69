// The help page (src/app/TMRHelp.html) against the windows it describes:
// every caption of both windows, their pop-ups and the Options dialog stands
// in bold on the page as shown, every shortcut is in a <kbd>, every link and
// contents entry resolves, and the page needs nothing from outside itself.

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "platform/linux_platform.h"
#include "support/temp_folder.h"
#include "ui/qt/catalog_tree_view.h"
#include "ui/qt/main_window.h"
#include "ui/qt/mp3_utilities_window.h"
#include "ui/qt/options_dialog.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

QString PageSource() { return QString::fromStdString(ReadFileBytes(TALLYMERE_HELP_PAGE)); }

// The text a reader of the page sees: no tags, style sheet or comments,
// character references decoded, every run of white space one blank.
QString VisibleText(const QString& html) {
  return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// A caption as the user reads it: mnemonic markers gone ("&&" is an "&"),
// blanks as the page's text has them.
QString Shown(QString caption) {
  caption.replace("&&", QChar(0x1F));
  caption.remove('&');
  caption.replace(QChar(0x1F), '&');
  return caption.simplified();
}

// Adds the captions of a menu's items, and of the items of its submenus.
void AddMenuCaptions(const QList<QAction*>& actions, QStringList* captions) {
  for (QAction* action : actions) {
    if (action->isSeparator()) continue;
    if (!Shown(action->text()).isEmpty()) *captions << Shown(action->text());
    if (action->menu() != nullptr) AddMenuCaptions(action->menu()->actions(), captions);
  }
}

// The captions of the menu bar, of every toolbar and of every menu within.
QStringList MenuAndToolbarCaptions(QMainWindow& window) {
  QStringList captions;
  AddMenuCaptions(window.menuBar()->actions(), &captions);
  for (QToolBar* toolbar : window.findChildren<QToolBar*>()) {
    AddMenuCaptions(toolbar->actions(), &captions);
  }
  return captions;
}

// The captions of the pop-up menu the view opens for a right click at a
// point of its viewport, read while the menu is open; empty when none opened.
QStringList PopupCaptions(QAbstractItemView* view, const QPoint& point) {
  QStringList captions;
  QObject reader;  // the timer goes with it
  QTimer::singleShot(0, &reader, [&captions] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    AddMenuCaptions(menu->actions(), &captions);
    menu->close();
  });
  emit view->customContextMenuRequested(point);
  return captions;
}

// The captions of a window's controls: buttons, check boxes, radio buttons,
// frames, tabs and labels, leaving out the status bar's changing texts.
QStringList ControlCaptions(QWidget& window) {
  QStringList captions;
  const auto add = [&captions](const QString& text) {
    if (!Shown(text).isEmpty()) captions << Shown(text);
  };
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) add(button->text());
  for (QGroupBox* frame : window.findChildren<QGroupBox*>()) add(frame->title());
  for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
    for (int tab = 0; tab < tabs->count(); ++tab) add(tabs->tabText(tab));
  }
  for (QLabel* label : window.findChildren<QLabel*>()) {
    QWidget* up = label;
    while (up != nullptr && qobject_cast<QStatusBar*>(up) == nullptr) up = up->parentWidget();
    if (up == nullptr) add(label->text());
  }
  return captions;
}

// The texts of the page's <tag> elements, as its reader sees them.
QSet<QString> Elements(const QString& html, const QString& tag) {
  QSet<QString> texts;
  const QRegularExpression element("<" + tag + ">(.*?)</" + tag + ">",
                                   QRegularExpression::DotMatchesEverythingOption);
  for (auto it = element.globalMatch(html); it.hasNext();) {
    texts.insert(VisibleText(it.next().captured(1)));
  }
  return texts;
}

// The captions the page does not name, one to a line. A caption counts as
// named when it stands in bold on the page exactly as the window shows it,
// whole or as a step of a menu path such as "File > Save".
std::string Missing(const QStringList& captions, const QString& html) {
  QSet<QString> terms = Elements(html, "b");
  for (const QString& term : QSet<QString>(terms)) {
    for (const QString& step : term.split(" > ")) terms.insert(step.trimmed());
  }
  QStringList missing;
  for (const QString& caption : captions) {
    if (!terms.contains(caption) && !missing.contains(caption)) missing << caption;
  }
  return missing.join('\n').toStdString();
}

class HelpPageTest : public ::testing::Test {
 protected:
  HelpPageTest() {
    m_folder.WriteFile("c/Music/a.mp3", "");
    m_window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
  }

  const QString m_page = PageSource();  // the HTML source
  TempFolder m_folder;
  const std::string m_drives =
      m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
  LinuxPlatform m_platform{m_folder.Path("program")};
  MainWindow m_window{m_platform};
};

TEST_F(HelpPageTest, NamesEveryCaptionOfEveryWindow) {
  // The main window's menus, toolbar and pop-up menus.
  QStringList captions = MenuAndToolbarCaptions(m_window);
  EXPECT_GE(captions.size(), 50);  // six menus, their items and fifteen buttons
  const QStringList file_list = PopupCaptions(m_window.file_list(), QPoint(10, 10));
  EXPECT_EQ(file_list.size(), 8) << "the file list's pop-up menu did not open";
  QTreeView* tree = m_window.tree();
  const QStringList tree_popup =
      PopupCaptions(tree, tree->visualRect(tree->model()->index(0, 0)).center());
  EXPECT_EQ(tree_popup.size(), 4) << "the tree's pop-up menu did not open";
  const QStringList data_list = PopupCaptions(m_window.data_list(), QPoint(10, 10));
  EXPECT_EQ(data_list.size(), 4) << "the Data Field Editor's pop-up menu did not open";
  captions << file_list << tree_popup << data_list;
  const QStringList main_controls = ControlCaptions(m_window);
  // The side panel's three tabs, the batch, the find panel and both editors.
  EXPECT_GE(main_controls.size(), 30);
  captions << main_controls;

  // MP3 Utilities: menus, their items, toolbar buttons, pop-up and controls.
  m_window.action("mnuId")->trigger();
  Mp3UtilitiesWindow* id3 = m_window.mp3_utilities();
  ASSERT_NE(id3, nullptr);
  const QStringList id3_menus = MenuAndToolbarCaptions(*id3);
  EXPECT_GE(id3_menus.size(), 5 + 16 + 12);
  const QStringList popup = PopupCaptions(id3->batch_list(), QPoint(10, 10));
  EXPECT_EQ(popup.size(), 3) << "the batch list's pop-up menu did not open";
  const QStringList id3_controls = ControlCaptions(*id3);
  EXPECT_GE(id3_controls.size(), 20);  // the tag editor, the details and the text tools
  captions << id3_menus << popup << Shown(id3->windowTitle()) << id3_controls;

  // The Options dialog: the title, four frames, seven labels, seven check
  // boxes, two radio buttons and three buttons.
  m_window.action("mnuOpt")->trigger();
  OptionsDialog* options = m_window.options();
  ASSERT_NE(options, nullptr);
  const QStringList option_captions = ControlCaptions(*options) << Shown(options->windowTitle());
  EXPECT_GE(option_captions.size(), 24);
  for (const char* expected : {"Tallymere Options", "Scan Options", "Html Options", "OK"}) {
    EXPECT_TRUE(option_captions.contains(expected)) << expected;
  }
  captions << option_captions;
  options->close();

  EXPECT_EQ(Missing(captions, m_page), "") << "not named on the help page";
}

TEST_F(HelpPageTest, NamesEveryShortcutOfTheMainWindow) {
  const QSet<QString> keys = Elements(m_page, "kbd");
  int shortcuts = 0;
  for (QAction* action : m_window.findChildren<QAction*>()) {
    for (const QKeySequence& shortcut : action->shortcuts()) {
      ++shortcuts;
      const QString key = shortcut.toString(QKeySequence::PortableText);
      EXPECT_TRUE(keys.contains(key))
          << "<kbd>" << key.toStdString() << "</kbd> for " << Shown(action->text()).toStdString();
    }
  }
  EXPECT_GE(shortcuts, 10);
}

TEST_F(HelpPageTest, LinksReachTheirAnchorsAndTheContentsListEverySection) {
  QSet<QString> ids;
  static const QRegularExpression kId("\\bid=\"([^\"]+)\"");
  for (auto it = kId.globalMatch(m_page); it.hasNext();) {
    const QString id = it.next().captured(1);
    EXPECT_FALSE(ids.contains(id)) << "id \"" << id.toStdString() << "\" is used twice";
    ids.insert(id);
  }
  static const QRegularExpression kLink("\\bhref=\"#([^\"]*)\"");
  int links = 0;
  for (auto it = kLink.globalMatch(m_page); it.hasNext(); ++links) {
    const QString target = it.next().captured(1);
    EXPECT_TRUE(ids.contains(target)) << "href=\"#" << target.toStdString() << "\" leads nowhere";
  }
  EXPECT_GE(links, 20);
  EXPECT_TRUE(ids.contains("updates")) << "Check for Updates opens TMRHelp.html#updates";

  // The table of contents comes first and links every section.
  const qsizetype contents_start = m_page.indexOf("<nav id=\"contents\"");
  ASSERT_GE(contents_start, 0) << "no <nav id=\"contents\">";
  const qsizetype contents_end = m_page.indexOf("</nav>", contents_start);
  ASSERT_GT(contents_end, contents_start);
  const QString contents = m_page.mid(contents_start, contents_end - contents_start);
  static const QRegularExpression kSection("<h2\\b([^>]*)>");
  int sections = 0;
  for (auto it = kSection.globalMatch(m_page); it.hasNext(); ++sections) {
    const QRegularExpressionMatch section = it.next();
    EXPECT_GT(section.capturedStart(), contents_end) << "a section before the contents";
    const QRegularExpressionMatch id = kId.match(section.captured(1));
    ASSERT_TRUE(id.hasMatch()) << "an <h2> without an id: " << section.captured().toStdString();
    EXPECT_TRUE(contents.contains("href=\"#" + id.captured(1) + "\""))
        << "the contents do not link section \"" << id.captured(1).toStdString() << "\"";
  }
  EXPECT_GE(sections, 15);
}

TEST_F(HelpPageTest, IsOneSelfContainedUtf8Page) {
  ASSERT_GT(m_page.size(), 20000) << TALLYMERE_HELP_PAGE;
  EXPECT_TRUE(VisibleText(m_page).contains("Tallymere"));
  const std::string bytes = ReadFileBytes(TALLYMERE_HELP_PAGE);
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString decoded = utf8.decode(QByteArrayView(bytes.data(), bytes.size()));
  EXPECT_FALSE(utf8.hasError()) << "not UTF-8";
  EXPECT_EQ(decoded, m_page);
  EXPECT_TRUE(m_page.startsWith("<!DOCTYPE html>"));
  EXPECT_TRUE(m_page.contains("<meta charset=\"utf-8\">"));
  // Nothing to fetch and nothing to run: the page opens the same offline.
  for (const char* outside : {"<script", "<link", "<iframe", "@import", "url("}) {
    EXPECT_FALSE(m_page.contains(outside, Qt::CaseInsensitive)) << outside;
  }
  // Its pictures lie beside it, as the tests take them (manual_pictures_test),
  // each with a text for those who cannot see it.
  const QRegularExpression picture(R"re(<img src="manual/([a-z0-9-]+)\.png" alt="([^"]{40,})">)re");
  QStringList pictures;
  for (auto it = picture.globalMatch(m_page); it.hasNext();) pictures << it.next().captured(1);
  EXPECT_EQ(pictures, (QStringList{"main-window", "rescan-disk", "find-in-catalogs",
                                   "mp3-utilities", "options"}));
  EXPECT_EQ(m_page.count("<img"), pictures.size());
  EXPECT_EQ(m_page.count(" src="), pictures.size());
}

}  // namespace
}  // namespace tallymere
