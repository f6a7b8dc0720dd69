// The main window's menus, toolbar, pop-up menus and pane buttons, built by
// walking the controller's command table: each runs the command it stands for.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include "lists/gshell.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/catalog_tree_view.h"
#include "ui/qt/command_actions.h"
#include "ui/qt/help_viewer.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/tree_model_adapter.h"

namespace tallymere {
namespace {

// The icon of a command's toolbar button: the freedesktop name that means
// the command, as the desktop's icon theme draws it; where the theme has
// none, Qt's own picture, or ours where Qt has none that fits.
struct ButtonIcon {
  MainCommand command;
  const char* theme_icon;
  QStyle::StandardPixmap fallback;
  const char* own_icon = nullptr;  // stands in for the fallback
};
constexpr ButtonIcon kButtonIcons[] = {
    {MainCommand::kScan, "system-search", QStyle::SP_BrowserReload},
    {MainCommand::kCreat, "x-office-document", QStyle::SP_FileDialogContentsView},
    {MainCommand::kNew, "document-new", QStyle::SP_FileIcon},
    {MainCommand::kLoad, "document-open", QStyle::SP_DialogOpenButton},
    {MainCommand::kSaveFile, "document-save", QStyle::SP_DialogSaveButton},
    {MainCommand::kSaveas, "document-save-as", QStyle::SP_DriveFDIcon},
    {MainCommand::kClip, "edit-copy", QStyle::SP_FileLinkIcon},
    {MainCommand::kDelete, "edit-delete", QStyle::SP_TrashIcon},
    {MainCommand::kRename, "edit-rename", QStyle::SP_FileDialogDetailedView},
    {MainCommand::kSearchdisk, "edit-find", QStyle::SP_FileDialogContentsView},
    {MainCommand::kUpdate, "view-refresh", QStyle::SP_BrowserReload},
    {MainCommand::kAddDisk, "media-optical", QStyle::SP_DriveCDIcon},
    {MainCommand::kDeleteDisk, "edit-clear", QStyle::SP_DialogDiscardButton},
    {MainCommand::kId, "audio-x-generic", QStyle::SP_MediaVolume},
    {MainCommand::kEject, "media-eject", QStyle::SP_DriveCDIcon, ":/icons/cdrom.png"},
};

QIcon IconOf(MainCommand command) {
  for (const ButtonIcon& icon : kButtonIcons) {
    if (icon.command != command) continue;
    const QIcon fallback = icon.own_icon != nullptr
                               ? QIcon(QString::fromLatin1(icon.own_icon))
                               : QApplication::style()->standardIcon(icon.fallback);
    return QIcon::fromTheme(icon.theme_icon, fallback);
  }
  return QIcon();
}

}  // namespace

void MainWindow::RunCommand(MainCommand command) {
  emit commandStarted(ToQt(EntryOf(kMainCommands, command).name));
  Run([this, command] { m_controller->Run(command); });
  emit commandRan(ToQt(m_controller->last_handler()));
}

void MainWindow::BuildCommands() {
  for (const auto& entry : kMainCommands) {
    auto* action = new QAction(ToQt(entry.caption), this);
    action->setObjectName(ToQt(entry.name));
    if (!entry.shortcut.empty()) action->setShortcut(QKeySequence(ToQt(entry.shortcut)));
    if (entry.button == 0) action->setToolTip(ToQt(entry.tip));
    action->setCheckable(entry.checkable);
    connect(action, &QAction::triggered, this, [this, id = entry.id] { RunCommand(id); });
    if (entry.list_shortcut) action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_actions[entry.id] = action;
  }
  m_controller->close_window = [this] { close(); };
  m_controller->show_about = [this] { ShowAbout(); };

  // Ctrl+F goes to "Containing:", ready for a new text.
  auto* find_text = new QAction("Find", this);
  find_text->setObjectName("focusFind");
  find_text->setShortcut(QKeySequence::Find);
  connect(find_text, &QAction::triggered, this, [this] {
    m_side_panel->setCurrentIndex(kScanTab);
    m_find_text->setFocus(Qt::ShortcutFocusReason);
    m_find_text->selectAll();
  });
  addAction(find_text);
}

void MainWindow::AddPlace(QMenu* menu, std::string_view place) const {
  AddPlaceActions(menu, kMainCommands, m_actions, place);
}

std::vector<QPushButton*> MainWindow::PlaceButtons(std::string_view place) {
  std::vector<QPushButton*> buttons;
  for (const auto& entry : kMainCommands) {
    if (entry.place != place) continue;
    QAction* command = m_actions.at(entry.id);
    auto* button = new QPushButton(command->text());
    button->setObjectName(command->objectName());
    button->setToolTip(ToQt(entry.tip));
    // Usable exactly when its command is.
    button->setEnabled(command->isEnabled());
    connect(button, &QPushButton::clicked, command, &QAction::trigger);
    connect(command, &QAction::enabledChanged, button, &QPushButton::setEnabled);
    buttons.push_back(button);
  }
  return buttons;
}

void MainWindow::BuildMenus() {
  for (const MenuTitle& title : kMainMenus) {
    AddPlace(menuBar()->addMenu(ToQt(title.caption)), title.place);
  }
}

void MainWindow::BuildToolbar() {
  m_toolbar = addToolBar("Toolbar");
  m_toolbar->setObjectName("T");
  m_toolbar->setMovable(false);
  int previous = 0;
  for (int button = 1; button <= main_toolbar::kLast; ++button) {
    const std::optional<MainCommand> command = CommandOfButton(kMainCommands, button);
    if (!command) continue;
    // Gaps in the numbering are the toolbar's separators.
    if (previous != 0 && button - previous > 1) m_toolbar->addSeparator();
    previous = button;
    // A button runs its command's handler itself and keeps an enabled state
    // of its own: Add a Disk stays usable after New while the menu item is not.
    const auto& entry = EntryOf(kMainCommands, *command);
    auto* tool = new QAction(IconOf(*command), ToQt(entry.caption).remove('&'), this);
    tool->setObjectName(QString("T%1").arg(button));
    tool->setToolTip(ToQt(entry.tip));
    connect(tool, &QAction::triggered, this, [this, id = *command] { RunCommand(id); });
    m_toolbar->addAction(tool);
    m_toolbar_buttons[button] = tool;
  }
}

void MainWindow::ShowFileListPopup(const QPoint& position) {
  QMenu popup(this);
  popup.setObjectName(ToQt(kFileListPopup));
  AddPlace(&popup, kFileListPopup);
  popup.exec(m_list->viewport()->mapToGlobal(position));
}

void MainWindow::ShowTreePopup(const QPoint& position) {
  // The pop-up acts on the node under the pointer, as a click would select it.
  const QModelIndex index = m_tree->indexAt(position);
  if (!index.isValid()) return;
  m_tree->setCurrentIndex(index);
  m_controller->tvAlbum().Select(m_tree_adapter->NodeOf(index));
  m_controller->EnableDiskCommands();
  ShowControllerState();
  QMenu popup(this);
  popup.setObjectName(ToQt(kTreePopup));
  AddPlace(&popup, kTreePopup);
  popup.exec(m_tree->viewport()->mapToGlobal(position));
}

void MainWindow::ShowHelpViewer(const std::string& page) {
  if (m_help_viewer) {
    m_help_viewer->ShowPage(FromNative(page));
  } else {
    m_help_viewer = new HelpViewer(
        FromNative(page), [this](const QUrl& address) { OpenHelpLink(address); }, this);
  }
  m_help_viewer->show();
  m_help_viewer->raise();
  m_help_viewer->activateWindow();
}

void MainWindow::OpenHelpLink(const QUrl& address) {
  const std::string target = address.isLocalFile() ? ToNative(address.toLocalFile())
                                                   : FromQt(address.toString(QUrl::FullyEncoded));
  const ShellResult result = m_services->ShellOpen("open", target, "", "", kShowNormal);
  if (!Started(result)) {
    m_services->ShowMessage(ShellErrorFor(result).description, Buttons::kOk, Icon::kStop,
                            "Tallymere Help");
  }
}

void MainWindow::ShowAbout() {
  AboutDialog about(QString::fromStdString(m_platform.ProgramFolder()) + "/TMRHelp.html", this);
  about.exec();
}

}  // namespace tallymere
