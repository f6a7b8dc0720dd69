// The help page (src/app/TMRHelp.html) against the windows it describes:
// every caption of both windows, their pop-ups and the Options dialog stands
// in bold on the page as shown, every shortcut is in a <kbd>, every link and
// contents entry resolves, and the page needs nothing from outside itself.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <memory>
#include <string>

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

QString PageSource() {
  const std::string bytes = ReadFileBytes(TALLYMERE_HELP_PAGE);
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A character reference ("amp", "#233", "#xE9") as the character it stands
// for; an unknown name stays as it was written.
QString DecodeReference(const QString& reference) {
  static const QHash<QString, QString> kNamed = {{"amp", "&"},   {"lt", "<"},   {"gt", ">"},
                                                 {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
  if (reference.startsWith("#x") || reference.startsWith("#X")) {
    bool ok = false;
    const char32_t code = reference.mid(2).toUInt(&ok, 16);
    if (ok) return QString::fromUcs4(&code, 1);
  } else if (reference.startsWith('#')) {
    bool ok = false;
    const char32_t code = reference.mid(1).toUInt(&ok, 10);
    if (ok) return QString::fromUcs4(&code, 1);
  } else if (const auto found = kNamed.find(reference); found != kNamed.end()) {
    return *found;
  }
  return '&' + reference + ';';
}

// The text a reader of the page sees: no tags, style sheet or comments,
// character references decoded, every run of white space one blank.
QString VisibleText(QString html) {
  const auto options =
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption;
  html.remove(QRegularExpression("<style\\b.*?</style>", options));
  html.remove(QRegularExpression("<!--.*?-->", options));
  html.remove(QRegularExpression("<[^>]*>"));
  QString text;
  qsizetype done = 0;
  static const QRegularExpression kReference("&(#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z]+);");
  for (QRegularExpressionMatchIterator it = kReference.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    text += html.mid(done, match.capturedStart() - done);
    text += DecodeReference(match.captured(1));
    done = match.capturedEnd();
  }
  text += html.mid(done);
  return text.simplified();
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
  QTimer reader;
  reader.setSingleShot(true);
  QObject::connect(&reader, &QTimer::timeout, [&captions] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    AddMenuCaptions(menu->actions(), &captions);
    menu->close();
  });
  reader.start(0);
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
    bool in_status_bar = false;
    for (QWidget* up = label; up != nullptr; up = up->parentWidget()) {
      in_status_bar = in_status_bar || qobject_cast<QStatusBar*>(up) != nullptr;
    }
    if (!in_status_bar) add(label->text());
  }
  return captions;
}

// The terms the page sets in bold, as its reader sees them: each <b> text
// whole and, for a menu path such as "File > Save", each step of it.
QSet<QString> BoldTerms(const QString& html) {
  QSet<QString> terms;
  static const QRegularExpression kBold("<b>(.*?)</b>",
                                        QRegularExpression::DotMatchesEverythingOption);
  for (auto it = kBold.globalMatch(html); it.hasNext();) {
    const QString term = VisibleText(it.next().captured(1));
    terms.insert(term);
    for (const QString& step : term.split(" > ")) terms.insert(step.trimmed());
  }
  return terms;
}

// The captions the page does not name, one to a line. A caption counts as
// named when it stands in bold on the page, exactly as the window shows it.
std::string Missing(const QStringList& captions, const QString& html) {
  const QSet<QString> terms = BoldTerms(html);
  QStringList missing;
  for (const QString& caption : captions) {
    if (!terms.contains(caption) && !missing.contains(caption)) missing << caption;
  }
  return missing.join('\n').toStdString();
}

// The keys the page names: the text of each <kbd> element.
QSet<QString> KeyNames(const QString& html) {
  QSet<QString> keys;
  static const QRegularExpression kKey("<kbd>(.*?)</kbd>");
  for (auto it = kKey.globalMatch(html); it.hasNext();) {
    keys.insert(VisibleText(it.next().captured(1)));
  }
  return keys;
}

class HelpPageTest : public ::testing::Test {
 protected:
  HelpPageTest() : m_page(PageSource()), m_text(VisibleText(m_page)) {
    m_folder.WriteFile("c/Music/a.mp3", "");
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
    m_platform = std::make_unique<LinuxPlatform>(m_folder.Path("program"));
    m_window = std::make_unique<MainWindow>(*m_platform);
    m_window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
  }

  const QString m_page;  // the HTML source
  const QString m_text;  // what its reader sees
  TempFolder m_folder;
  std::unique_ptr<LinuxPlatform> m_platform;
  std::unique_ptr<MainWindow> m_window;
};

TEST_F(HelpPageTest, NamesEveryCommandOfTheMainWindow) {
  QStringList captions = MenuAndToolbarCaptions(*m_window);
  const qsizetype menus_and_toolbar = captions.size();
  EXPECT_GE(menus_and_toolbar, 50);  // six menus, their items and fifteen buttons

  const QStringList file_list = PopupCaptions(m_window->file_list(), QPoint(10, 10));
  EXPECT_EQ(file_list.size(), 8) << "the file list's pop-up menu did not open";
  QTreeView* tree = m_window->tree();
  const QStringList tree_popup =
      PopupCaptions(tree, tree->visualRect(tree->model()->index(0, 0)).center());
  EXPECT_EQ(tree_popup.size(), 4) << "the tree's pop-up menu did not open";
  const QStringList data_list = PopupCaptions(m_window->data_list(), QPoint(10, 10));
  EXPECT_EQ(data_list.size(), 4) << "the Data Field Editor's pop-up menu did not open";
  captions << file_list << tree_popup << data_list;

  EXPECT_EQ(Missing(captions, m_page), "") << "not named on the help page";
}

TEST_F(HelpPageTest, NamesEveryShortcutOfTheMainWindow) {
  const QSet<QString> keys = KeyNames(m_page);
  int shortcuts = 0;
  for (QAction* action : m_window->findChildren<QAction*>()) {
    for (const QKeySequence& shortcut : action->shortcuts()) {
      ++shortcuts;
      const QString key = shortcut.toString(QKeySequence::PortableText);
      EXPECT_TRUE(keys.contains(key))
          << "<kbd>" << key.toStdString() << "</kbd> for " << Shown(action->text()).toStdString();
    }
  }
  EXPECT_GE(shortcuts, 10);
}

TEST_F(HelpPageTest, NamesEveryCommandAndControlOfMp3UtilitiesAndTheMainWindowsControls) {
  m_window->action("mnuId")->trigger();
  Mp3UtilitiesWindow* id3 = m_window->mp3_utilities();
  ASSERT_NE(id3, nullptr);
  QStringList captions = MenuAndToolbarCaptions(*id3);
  EXPECT_GE(captions.size(), 5 + 16 + 12);  // menus, their items, toolbar buttons
  const QStringList popup = PopupCaptions(id3->batch_list(), QPoint(10, 10));
  EXPECT_EQ(popup.size(), 3) << "the batch list's pop-up menu did not open";
  captions << popup;
  captions << Shown(id3->windowTitle());
  const QStringList controls = ControlCaptions(*id3);
  EXPECT_GE(controls.size(), 20);  // the tag editor, the details and the text tools
  captions << controls;
  const QStringList main_controls = ControlCaptions(*m_window);
  // The side panel's three tabs, the batch, the find panel and both editors.
  EXPECT_GE(main_controls.size(), 30);
  captions << main_controls;

  EXPECT_EQ(Missing(captions, m_page), "") << "not named on the help page";
}

TEST_F(HelpPageTest, NamesEveryCaptionOfTheOptionsDialog) {
  m_window->action("mnuOpt")->trigger();
  OptionsDialog* options = m_window->options();
  ASSERT_NE(options, nullptr);
  QStringList captions = ControlCaptions(*options);
  captions << Shown(options->windowTitle());
  // The title, four frames, seven labels, seven check boxes, two radio
  // buttons and three buttons.
  EXPECT_GE(captions.size(), 24);
  for (const char* expected : {"Tallymere Options", "Scan Options", "Html Options", "OK"}) {
    EXPECT_TRUE(captions.contains(expected)) << expected;
  }

  EXPECT_EQ(Missing(captions, m_page), "") << "not named on the help page";
  options->close();
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
  EXPECT_TRUE(m_text.contains("Tallymere"));
  const std::string bytes = ReadFileBytes(TALLYMERE_HELP_PAGE);
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString decoded = utf8.decode(QByteArrayView(bytes.data(), bytes.size()));
  EXPECT_FALSE(utf8.hasError()) << "not UTF-8";
  EXPECT_EQ(decoded, m_page);
  EXPECT_TRUE(m_page.startsWith("<!DOCTYPE html>"));
  EXPECT_TRUE(m_page.contains("<meta charset=\"utf-8\">"));
  // Nothing to fetch and nothing to run: the page opens the same offline.
  for (const char* outside : {"<script", "<link", "<iframe", "<img", " src=", "@import", "url("}) {
    EXPECT_FALSE(m_page.contains(outside, Qt::CaseInsensitive)) << outside;
  }
}

}  // namespace
}  // namespace tallymere
