// The main window's menus, toolbar and pop-up menu: each item runs the
// controller's handler of the same name.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>

#include "ui/qt/about_dialog.h"
#include "ui/qt/catalog_tree_view.h"
#include "ui/qt/main_window.h"
#include "ui/qt/tree_model_adapter.h"

namespace tallymere {

QAction* MainWindow::AddCommand(const std::string& name, const QString& caption,
                                const std::function<void()>& handler) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromStdString(name));
  connect(action, &QAction::triggered, this, [this, name] { RunCommand(name); });
  m_actions[name] = action;
  m_handlers[name] = handler;
  return action;
}

void MainWindow::RunCommand(const std::string& name) {
  const auto handler = m_handlers.find(name);
  if (handler == m_handlers.end()) return;
  emit commandStarted(QString::fromStdString(name));
  Run(handler->second);
}

void MainWindow::BuildCommands() {
  FrmMain* main = m_controller.get();
  AddCommand("mnuNew", "&New", [main] { main->mnuNew_Click(); })->setShortcut(QKeySequence::New);
  AddCommand("mnuLoad", "&Open", [main] {
    main->mnuLoad_Click();
  })->setShortcut(QKeySequence::Open);
  AddCommand("mnuSaveFile", "&Save", [main] {
    main->mnuSaveFile_Click();
  })->setShortcut(QKeySequence::Save);
  AddCommand("mnuSaveas", "Save A Copy  As", [main] {
    main->mnuSaveas_Click();
  })->setShortcut(QKeySequence("Ctrl+Shift+S"));
  AddCommand("mnuCreat", "Create List", [main] { main->mnuCreat_Click(); });
  AddCommand("mnuReport", "Create List from Search Result", [main] { main->mnuReport_Click(); });
  AddCommand("mnuScan", "S&can", [main] { main->mnuScan_Click(); })->setShortcut(Qt::Key_F5);
  AddCommand("mnuAddDisk", "Add  a Disk to Data File", [main] { main->mnuAddDisk_Click(); });
  AddCommand("mnuClip", "Copy File Name To Clipboard", [main] { main->mnuClip_Click(); });
  AddCommand("p1", "Copy to Clipboard", [main] { main->mnuClip_Click(); });
  AddCommand("mnuId", "MP3 Utilities", [main] { main->mnuId_Click(); });
  AddCommand("mnuId3", "Send to MP3 Utilities", [main] { main->mnuId3_Click(); });
  AddCommand("p7", "Send to MP3 Utilities", [main] { main->mnuId3_Click(); });
  AddCommand("mnuSearchdisk", "Show All Files in Selected",
             [main] { main->mnuSearchdisk_Click(); });
  AddCommand("mnuPop2Show", "Show Files in Selected", [main] { main->mnuPop2Show_Click(); });
  AddCommand("mnuDuplicate1", "Show Duplicates (Exact Match)",
             [main] { main->mnuDuplicate1_Click(); });
  AddCommand("mnuDuplicate2", "Show Duplicates (Not So Exact)",
             [main] { main->mnuDuplicate2_Click(); });
  AddCommand("mnuDuplicate3", "Show Duplicates (Any Possible Match)",
             [main] { main->mnuDuplicate3_Click(); });
  AddCommand("cmdFind", "Find in Drive", [main] {
    main->cmdFind_Click();
  })->setToolTip("Find files in selected drive");
  AddCommand("cmdAll", "Find in All", [main] {
    main->cmdAll_Click();
  })->setToolTip("Find files in entire data file");
  // Delete and F2 act on the file list's selection, so only while the list
  // has the focus: elsewhere they keep their usual meaning (the find text).
  QAction* delete_file =
      AddCommand("mnuDelete", "Delete File", [main] { main->mnuDelete_Click(); });
  delete_file->setShortcut(QKeySequence::Delete);
  AddCommand("p2", "Delete Selected Item", [main] { main->mnuDelete_Click(); });
  QAction* rename_file =
      AddCommand("mnuRename", "Rename File", [main] { main->mnuRename_Click(); });
  rename_file->setShortcut(Qt::Key_F2);
  for (QAction* on_list : {delete_file, rename_file}) {
    on_list->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_list->addAction(on_list);
  }
  AddCommand("p3", "Rename Selected Item", [main] { main->mnuRename_Click(); });
  AddCommand("mnuCorrect", "Correct File Name", [main] { main->mnuCorrect_Click(); });
  AddCommand("p4", "Correct Selected Item", [main] { main->mnuCorrect_Click(); });
  AddCommand("mnuUpdate", "Update", [main] { main->mnuUpdate_Click(); });
  AddCommand("mnuLabel", "Disk Label", [main] { main->mnuLabel_Click(); });
  AddCommand("mnuPop2Label", "Edit Disk Label", [main] { main->mnuPop2Label_Click(); });
  AddCommand("mnuDeleteDisk", "Delete Disk or Folder", [main] { main->mnuDeleteDisk_Click(); });
  AddCommand("mnuPop2Del", "Delete", [main] { main->mnuPop2Del_Click(); });
  AddCommand("mnuEject", "Open/Close CD Tray", [main] { main->mnuEject_Click(); });
  AddCommand("mnuInfo", "Data File Info", [main] { main->mnuInfo_Click(); });
  AddCommand("mnuProperty", "Properties", [main] { main->mnuProperty_Click(); });
  AddCommand("p6", "Properties", [main] { main->mnuProperty_Click(); });
  AddCommand("mnuOpt", "Options", [main] { main->mnuOpt_Click(); });
  AddCommand("mnuEditHeader", "Header Text", [main] { main->mnuEditHeader_Click(); });
  AddCommand("mnuEditFooter", "Footer text", [main] { main->mnuEditFooter_Click(); });
  AddCommand("mnuHelpTopic", "Tallymere Help", [main] {
    main->mnuHelpTopic_Click();
  })->setShortcut(QKeySequence::HelpContents);
  AddCommand("mnuLink", "Check for Updates", [main] { main->mnuLink_Click(); });
  QAction* grid = AddCommand("mnuGrid", "Show Grid Lines", [main] { main->mnuGrid_Click(); });
  grid->setCheckable(true);
  // Exit only closes the main window; closing asks whether to save.
  AddCommand("mnuExit", "E&xit", [this] { close(); })->setShortcut(QKeySequence("Ctrl+Q"));
  AddCommand("mnuAbout", "&About Tallymere", [this] { ShowAbout(); });
  AddEditorCommands();

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

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  for (const char* name : {"mnuNew", "mnuLoad", "mnuSaveFile", "mnuSaveas"}) {
    file->addAction(action(name));
  }
  file->addSeparator();
  file->addAction(action("mnuCreat"));
  file->addAction(action("mnuReport"));
  file->addSeparator();
  file->addAction(action("mnuScan"));
  file->addAction(action("mnuAddDisk"));
  file->addAction(action("mnuUpdate"));
  file->addSeparator();
  file->addAction(action("mnuInfo"));
  file->addSeparator();
  file->addAction(action("mnuId"));
  file->addSeparator();
  file->addAction(action("mnuExit"));
  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->addAction(action("mnuClip"));
  edit->addSeparator();
  for (const char* name : {"mnuDelete", "mnuRename", "mnuCorrect"}) edit->addAction(action(name));
  edit->addSeparator();
  edit->addAction(action("mnuProperty"));
  QMenu* view = menuBar()->addMenu("&View");
  view->addAction(action("mnuSearchdisk"));
  view->addSeparator();
  for (const char* name : {"mnuDuplicate1", "mnuDuplicate2", "mnuDuplicate3"}) {
    view->addAction(action(name));
  }
  view->addSeparator();
  view->addAction(action("mnuGrid"));
  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->addAction(action("mnuId3"));
  tools->addAction(action("mnuAddPlay"));
  tools->addAction(action("mnuSendData"));
  tools->addSeparator();
  tools->addAction(action("mnuLabel"));
  tools->addAction(action("mnuDeleteDisk"));
  tools->addSeparator();
  tools->addAction(action("mnuEject"));
  QMenu* settings = menuBar()->addMenu("&Settings");
  settings->addAction(action("mnuOpt"));
  settings->addSeparator();
  settings->addAction(action("mnuEditHeader"));
  settings->addAction(action("mnuEditFooter"));
  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction(action("mnuHelpTopic"));
  help->addAction(action("mnuLink"));
  help->addSeparator();
  help->addAction(action("mnuAbout"));
}

void MainWindow::BuildToolbar() {
  m_toolbar = addToolBar("Toolbar");
  m_toolbar->setObjectName("T");
  m_toolbar->setMovable(false);
  QStyle* style = QApplication::style();
  // The buttons whose commands the window has; each runs ToolbarCommand(button).
  const struct {
    int button;
    const char* theme_icon;
    QStyle::StandardPixmap fallback;
    const char* tip;
  } kButtons[] = {
      {main_toolbar::kScan, "system-search", QStyle::SP_BrowserReload,
       "Scan the drives and folders of the batch"},
      {main_toolbar::kCreat, "x-office-document", QStyle::SP_FileDialogContentsView,
       "Create a list of the catalog"},
      {main_toolbar::kNew, "document-new", QStyle::SP_FileIcon, "New data file"},
      {main_toolbar::kLoad, "document-open", QStyle::SP_DialogOpenButton, "Open a data file"},
      {main_toolbar::kSaveFile, "document-save", QStyle::SP_DialogSaveButton, "Save the data file"},
      {main_toolbar::kSaveas, "document-save-as", QStyle::SP_DriveFDIcon,
       "Save a copy of the data file"},
      {main_toolbar::kClip, "edit-copy", QStyle::SP_FileLinkIcon,
       "Copy the file name to the clipboard"},
      {main_toolbar::kDelete, "edit-delete", QStyle::SP_TrashIcon,
       "Move the selected files to the trash"},
      {main_toolbar::kRename, "edit-rename", QStyle::SP_FileDialogDetailedView,
       "Rename the selected file"},
      {main_toolbar::kSearchdisk, "folder-open", QStyle::SP_DirOpenIcon,
       "Show all files in the selected folder or disk"},
      {main_toolbar::kUpdate, "view-refresh", QStyle::SP_BrowserReload,
       "Scan the hard drives again, keeping the disks"},
      {main_toolbar::kAddDisk, "media-optical", QStyle::SP_DriveCDIcon,
       "Add a disk to the data file"},
      {main_toolbar::kDeleteDisk, "edit-clear", QStyle::SP_DialogDiscardButton,
       "Delete the selected disk or folder from the data file"},
      {main_toolbar::kId, "audio-x-generic", QStyle::SP_MediaVolume, "MP3 Utilities"},
      {main_toolbar::kEject, "media-eject", QStyle::SP_MediaSeekForward,
       "Open or close the CD tray"},
  };
  int previous = 0;
  for (const auto& entry : kButtons) {
    // Gaps in the numbering are the toolbar's separators.
    if (previous != 0 && entry.button - previous > 1) m_toolbar->addSeparator();
    previous = entry.button;
    // A button runs its command's handler itself and keeps an enabled state
    // of its own: Add a Disk stays usable after New while the menu item is not.
    const std::string command(ToolbarCommand(entry.button));
    auto* button =
        new QAction(QIcon::fromTheme(entry.theme_icon, style->standardIcon(entry.fallback)),
                    action(command)->text().remove('&'), this);
    button->setObjectName(QString("T%1").arg(entry.button));
    button->setToolTip(entry.tip);
    connect(button, &QAction::triggered, this, [this, command] { RunCommand(command); });
    m_toolbar->addAction(button);
    m_toolbar_buttons[entry.button] = button;
  }
}

void MainWindow::ShowFileListPopup(const QPoint& position) {
  QMenu popup(this);
  popup.setObjectName("mnuPop");
  for (const char* name : {"p7", "p9", "p10"}) popup.addAction(action(name));
  popup.addSeparator();
  for (const char* name : {"p1", "p2", "p3", "p4"}) popup.addAction(action(name));
  popup.addSeparator();
  popup.addAction(action("p6"));
  popup.exec(m_list->viewport()->mapToGlobal(position));
}

void MainWindow::ShowTreePopup(const QPoint& position) {
  // The pop-up acts on the node under the pointer, as a click would select it.
  const QModelIndex index = m_tree->indexAt(position);
  if (!index.isValid()) return;
  m_tree->setCurrentIndex(index);
  m_controller->tvAlbum().Select(m_tree_adapter->NodeOf(index));
  QMenu popup(this);
  popup.setObjectName("mnuPop2");
  for (const char* name : {"mnuPop2Show", "mnuPop2Label", "mnuPop2Del"}) {
    popup.addAction(action(name));
  }
  popup.exec(m_tree->viewport()->mapToGlobal(position));
}

void MainWindow::ShowAbout() {
  AboutDialog about(this);
  about.exec();
}

}  // namespace tallymere
