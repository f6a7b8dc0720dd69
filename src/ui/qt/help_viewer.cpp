#include "ui/qt/help_viewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tallymere {
namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 700;
constexpr const char* kFallbackTitle = "Tallymere Help";

}  // namespace

HelpViewer::HelpViewer(const QString& page, OpenElsewhere open_elsewhere, QWidget* parent)
    : QWidget(parent, Qt::Window), m_open_elsewhere(std::move(open_elsewhere)) {
  setObjectName("frmHelp");
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_browser = new QTextBrowser(this);
  m_browser->setObjectName("helpPage");
  // Every link comes to FollowLink, which decides where it opens.
  m_browser->setOpenLinks(false);
  m_browser->setOpenExternalLinks(false);
  layout->addWidget(m_browser);
  connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::FollowLink);
  connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QString(kFallbackTitle) : title);
  });
  resize(kWidth, kHeight);
  ShowPage(page);
}

void HelpViewer::ShowPage(const QString& page) {
  // Pictures are found beside the page ("manual/main-window.png").
  m_browser->setSearchPaths({QFileInfo(page).absolutePath()});
  m_browser->setSource(QUrl::fromLocalFile(page));
}

bool HelpViewer::ShowsItself(const QUrl& address) {
  if (!address.isLocalFile()) return false;
  const QString suffix = QFileInfo(address.toLocalFile()).suffix().toLower();
  return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}

void HelpViewer::FollowLink(const QUrl& link) {
  // "#updates" and "other.html" are relative to the page shown.
  const QUrl address = m_browser->source().resolved(link);
  if (ShowsItself(address)) {
    m_browser->setSource(address);
  } else if (m_open_elsewhere) {
    m_open_elsewhere(address);
  }
}

}  // namespace tallymere
