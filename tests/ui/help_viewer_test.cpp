// The program's own help viewer, which shows the help page when the desktop
// has no program that can: offscreen, through the window's Help command.

#include "ui/qt/help_viewer.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <mutex>

#include "platform/shell_open.h"
#include "ui/modal_answer.h"

namespace tallymere {
namespace {

class HelpViewerTest : public testing::MainWindowTest {
 protected:
  HelpViewerTest() {
    m_folder.WriteFile(
        "program/TMRHelp.html",
        "<html><head><title>Test manual</title></head><body>"
        "<p><a href=\"#end\">To the end</a> <a href=\"https://example.org/\">Site</a>"
        " <img src=\"manual/dot.png\" alt=\"A dot\"></p>"
        "<h2 id=\"end\">End</h2></body></html>");
    QImage dot(4, 4, QImage::Format_RGB32);
    dot.fill(Qt::red);
    m_folder.MakeFolder("program/manual");
    EXPECT_TRUE(dot.save(QString::fromStdString(m_folder.Path("program/manual/dot.png"))));
    // A desktop whose opener starts, then finds no program for the page.
    ShellTools tools;
    tools.run = [](const std::vector<std::string>&) { return CommandOutput{}; };
    tools.launch = [this](const std::vector<std::string>& argv, const std::string&,
                          OpenFailed failed) {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_launched.push_back(argv.back());
      }
      std::thread([failed] { failed(4); }).detach();
      return Status::Ok();
    };
    m_window->services().SetShellTools(tools);
  }
  std::vector<std::string> Launched() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_launched;
  }

  std::mutex m_mutex;
  std::vector<std::string> m_launched;
};

TEST_F(HelpViewerTest, APageNoProgramOpensShowsInTheViewerWithItsTitlePictureAndLinks) {
  m_window->action("mnuHelpTopic")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->help_viewer() != nullptr; }, 10000));
  HelpViewer* viewer = m_window->help_viewer();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer));
  EXPECT_EQ(viewer->windowTitle(), "Test manual");
  EXPECT_TRUE(viewer->browser()->toPlainText().contains("To the end"));
  // The picture beside the page is shown, no message box instead of the page.
  const QVariant picture =
      viewer->browser()->document()->resource(QTextDocument::ImageResource, QUrl("manual/dot.png"));
  EXPECT_FALSE(picture.value<QImage>().isNull());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  const std::string page = m_folder.Path("program/TMRHelp.html");
  EXPECT_EQ(Launched(), std::vector<std::string>{page});

  // A place in the page is shown here; a web address goes to the desktop.
  emit viewer->browser()->anchorClicked(QUrl("#end"));
  EXPECT_EQ(viewer->browser()->source().toLocalFile().toStdString(), page);
  EXPECT_EQ(viewer->browser()->source().fragment(), "end");
  emit viewer->browser()->anchorClicked(QUrl("https://example.org/"));
  EXPECT_EQ(Launched(), (std::vector<std::string>{page, "https://example.org/"}));
  EXPECT_EQ(viewer->browser()->source().fragment(), "end");

  // Help again brings the same viewer back to the page's start.
  m_window->action("mnuHelpTopic")->trigger();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return viewer->browser()->source().fragment().isEmpty(); }, 10000));
  EXPECT_EQ(m_window->help_viewer(), viewer);
  EXPECT_EQ(m_window->findChildren<HelpViewer*>().size(), 1);
  viewer->close();
}

TEST(HelpViewerLinks, ThePagesOfTheProgramShowHereEverythingElseGoesToTheDesktop) {
  EXPECT_TRUE(HelpViewer::ShowsItself(QUrl("file:///opt/tallymere/TMRHelp.html#updates")));
  EXPECT_TRUE(HelpViewer::ShowsItself(QUrl("file:///opt/tallymere/Other.HTM")));
  EXPECT_FALSE(HelpViewer::ShowsItself(QUrl("file:///opt/tallymere/manual/main-window.png")));
  EXPECT_FALSE(HelpViewer::ShowsItself(QUrl("https://example.org/TMRHelp.html")));
  EXPECT_FALSE(HelpViewer::ShowsItself(QUrl("mailto:someone@example.org")));
}

}  // namespace
}  // namespace tallymere
