#pragma once
// The help page in a window of the program's own, for a desktop that has no
// program to show web pages. Links within the page and to the program's other
// pages are followed here, with the pictures beside the page; every other
// address (a web site, a mail address, a picture opened by itself) is handed
// to the desktop.

#include <QUrl>
#include <QWidget>
#include <functional>

class QTextBrowser;

namespace tallymere {

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  using OpenElsewhere = std::function<void(const QUrl& address)>;
  // page: the help page's file; open_elsewhere takes the addresses the
  // viewer does not show itself.
  HelpViewer(const QString& page, OpenElsewhere open_elsewhere, QWidget* parent = nullptr);

  QTextBrowser* browser() const { return m_browser; }
  // Shows the page again from its start, as a fresh request for help does.
  void ShowPage(const QString& page);

  // True when the viewer shows this address itself: a page of the program
  // folder (an HTML file), with or without a place in it.
  static bool ShowsItself(const QUrl& address);

 private:
  void FollowLink(const QUrl& link);

  QTextBrowser* m_browser = nullptr;
  OpenElsewhere m_open_elsewhere;
};

}  // namespace tallymere
