#include "ui/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/qt/batch_list_widget.h"
#include "ui/qt/catalog_tree_view.h"
#include "ui/qt/command_actions.h"
#include "ui/qt/data_info_window.h"
#include "ui/qt/dropped_files.h"
#include "ui/qt/find_catalogs_window.h"
#include "ui/qt/input_blocker.h"
#include "ui/qt/layout_memory.h"
#include "ui/qt/list_header_sync.h"
#include "ui/qt/list_model_adapter.h"
#include "ui/qt/list_views.h"
#include "ui/qt/mp3_utilities_window.h"
#include "ui/qt/options_dialog.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/selection_sync.h"
#include "ui/qt/tree_model_adapter.h"
#include "ui/qt/tree_view_sync.h"

namespace tallymere {
namespace {

// The window's layout in the units the described widths use: neither pane
// narrower than this, and the side panel and the list at these widths.
constexpr int kPaneMinimumUnits = 500;
constexpr int kSidePanelUnits = 5700;
constexpr int kListPaneUnits = 10800;
// The status bar's first panel against each of the other two.
constexpr int kWidePanelStretch = 3;
constexpr int kAnimationWidth = 120;

// Forwards Enter and Delete in the file list to the controller's key handler.
class FileListKeys : public QObject {
 public:
  FileListKeys(QObject* parent, std::function<void(int)> key_down)
      : QObject(parent), m_key_down(std::move(key_down)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_key_down(kKeyEnter);
        return true;
      }
      if (key == Qt::Key_Delete) {
        m_key_down(kKeyDelete);
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void(int)> m_key_down;
};

}  // namespace

MainWindow::MainWindow(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_platform(platform) {
  setObjectName("frmMain");
  m_services = std::make_unique<QtUiServices>(platform, this);
  m_session = std::make_unique<CatalogSession>(platform);
  m_window_services = std::make_unique<WindowServices>(*m_services, m_session.get());
  m_controller = std::make_unique<FrmMain>(*m_session, *m_window_services);
  m_services->SetCodePageSource([this] { return m_session->program_settings().id3v1_code_page; });
  m_controller->show_mp3_utilities = [this] { ShowMp3Utilities(); };
  m_controller->show_data_info = [this] { ShowDataInfo(); };
  m_controller->show_options = [this] { ShowOptions(); };
  m_controller->show_find_catalogs = [this] { ShowFindCatalogs(); };
  m_controller->show_help_viewer = [this](const std::string& page) { ShowHelpViewer(page); };
  m_services->SetOpenFailedHandler([this](const std::string& path, int exit_code) {
    if (!m_controller->OpenerFailed(path)) m_services->ShowOpenFailure(path, exit_code);
  });
  BuildCommands();
  BuildViews();
  BuildMenus();
  BuildToolbar();
  resize(1100, 700);
  setAcceptDrops(true);
  Run([this] { m_controller->Form_Load(); });
  BindFindPanel();
  RestoreLayout();
}

void MainWindow::OpenDataFile(const QString& path) {
  // Saved again later under this name: make it independent of the folder
  // the program was started in.
  const std::string native = ToNative(QFileInfo(path).absoluteFilePath());
  Run([this, native] { m_controller->OpenDataFile(native); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_controller->busy() && !DataFileIn(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DataFileIn(event->mimeData());
  if (path.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // The file manager waits for the drop to end: open once it has.
  QTimer::singleShot(0, this, [this, path] { OpenDataFile(path); });
}

void MainWindow::RestoreLayout() {
  const MainWindowLayout layout = ReadMainWindowLayout();
  if (!layout.geometry.isEmpty()) restoreGeometry(layout.geometry);
  if (!layout.splitter.isEmpty()) m_splitter->restoreState(layout.splitter);
  if (!layout.left_splitter.isEmpty()) m_left_splitter->restoreState(layout.left_splitter);
  m_header_sync->set_user_widths(layout.column_widths);
}

void MainWindow::SaveLayout() const {
  WriteMainWindowLayout({saveGeometry(), m_splitter->saveState(), m_left_splitter->saveState(),
                         m_header_sync->user_widths()});
}

void MainWindow::BindFindPanel() {
  FindPanel& find = m_controller->find_panel();
  for (const std::string& type : find.cmbType_items()) m_find_type->addItem(ToQt(type));
  m_find_type->setCurrentText(ToQt(find.cmbType()));
  connect(m_find_text, &QLineEdit::textChanged, this,
          [&find](const QString& text) { find.set_txtFind(text.toStdString()); });
  connect(m_find_type, &QComboBox::currentTextChanged, this,
          [&find](const QString& text) { find.set_cmbType(text.toStdString()); });
  // "Look in:" names a drive by its letter and colon, in lower case.
  const auto choose_drive = [this, &find](int index) {
    find.set_Drive1(index < 0 ? std::string()
                              : m_find_drive->itemText(index).left(2).toLower().toStdString());
  };
  connect(m_find_drive, &QComboBox::currentIndexChanged, this, choose_drive);
  choose_drive(m_find_drive->currentIndex());

  // Enter in "Containing:" finds in the chosen drive.
  connect(m_find_text, &QLineEdit::returnPressed, this, [this] {
    QAction* find = m_actions.at(MainCommand::kCmdFind);
    if (find->isEnabled()) find->trigger();
  });
}

void MainWindow::ShowOptions() {
  // Every opening starts from the settings in memory.
  if (!m_options) m_options = new OptionsDialog(*m_session, *m_window_services, this);
  m_options->Load();
  m_options->show();
  m_options->raise();
}

void MainWindow::ShowDataInfo() {
  // One window, filled afresh each time it is asked for.
  if (!m_data_info) m_data_info = new DataInfoWindow(*m_session, this);
  m_data_info->Load();
  m_data_info->show();
  m_data_info->raise();
}

void MainWindow::ShowMp3Utilities() {
  if (!m_mp3_utilities) {
    // A window of its own beside the main window; its Form_Load runs now.
    m_mp3_utilities = std::make_unique<Mp3UtilitiesWindow>(*m_session, *m_window_services);
  } else if (m_session->linked_to_mp3_utilities() || !m_mp3_utilities->isVisible()) {
    // Files sent to a window already open replace its batch; a window that
    // was closed opens anew, as empty as the first time.
    m_mp3_utilities->Run([this] { m_mp3_utilities->controller().Form_Load(); });
  }
  m_mp3_utilities->show();
  m_mp3_utilities->raise();
  m_mp3_utilities->activateWindow();
}

void MainWindow::ShowFindCatalogs() {
  if (!m_find_catalogs) {
    m_find_catalogs =
        std::make_unique<FindCatalogsWindow>(*m_session, *m_window_services, *m_controller);
    m_find_catalogs->raise_main = [this] {
      show();
      raise();
      activateWindow();
    };
    m_find_catalogs->run_in_main = [this](const std::function<void()>& command) { Run(command); };
  }
  m_find_catalogs->show();
  m_find_catalogs->raise();
  m_find_catalogs->activateWindow();
  m_find_catalogs->find_text()->setFocus();
}

MainWindow::~MainWindow() {
  m_find_catalogs.reset();
  m_mp3_utilities.reset();
  // The views let go of the adapters before the controller's models go.
  m_list->setModel(nullptr);
  m_playlist->setModel(nullptr);
  m_data_list->setModel(nullptr);
  m_tree->setModel(nullptr);
}

QLabel* MainWindow::status_panel(int panel) const {
  return panel >= 1 && panel <= 3 ? m_panels[panel - 1] : nullptr;
}

QAction* MainWindow::toolbar_button(int button) const {
  const auto it = m_toolbar_buttons.find(button);
  return it == m_toolbar_buttons.end() ? nullptr : it->second;
}

QAction* MainWindow::action(std::string_view name) const {
  return ActionNamed(kMainCommands, m_actions, name);
}

void MainWindow::Run(const std::function<void()>& command) {
  // The controller refuses every event while a long command yields.
  m_controller->Handle([this, &command] {
    PushEditorInputs();
    InputBlocker blocker;
    command();
  });
  ShowControllerState();
}

void MainWindow::BuildViews() {
  BuildTreePane();
  BuildFileList();
  m_side_panel = new QTabWidget;
  m_side_panel->setObjectName("SSTab1");
  auto* first_tab = new QWidget;
  auto* side_layout = new QVBoxLayout(first_tab);
  side_layout->addWidget(BuildBatchBox());
  side_layout->addWidget(BuildFindBox());
  side_layout->addStretch();
  m_side_panel->addTab(first_tab, "Scan and Find");
  m_side_panel->addTab(BuildPlaylistTab(), "Playlist Editor");
  m_side_panel->addTab(BuildDataEditorTab(), "Data Field Editor");
  connect(m_side_panel, &QTabWidget::currentChanged, this, [this](int tab) {
    // A refused choice (while a command yields) snaps back when the state is shown.
    if (tab != m_controller->view().selected_tab)
      Run([this, tab] { m_controller->SSTab1_Click(tab); });
  });
  BuildDataList();
  m_lists = new QStackedWidget;
  m_lists->addWidget(m_list);
  m_lists->addWidget(m_data_list);
  BuildSplitters();
  BuildStatusBar();
}

void MainWindow::BuildTreePane() {
  m_tree = new CatalogTreeView;
  m_tree->setObjectName("tvAlbum");
  m_tree_adapter = new TreeModelAdapter(m_controller->tvAlbum(), this);
  m_tree->setModel(m_tree_adapter);
  new TreeViewSync(m_tree_adapter, m_tree);
  m_tree->set_drag_node([this] { return m_controller->tvAlbum_StartDrag(); });
  connect(m_tree, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    const int node = m_tree_adapter->NodeOf(index);
    Run([this, node] { m_controller->tvAlbum_NodeClick(node); });
  });
  // Moving through the tree with the keyboard lists each node's files too.
  connect(m_tree, &CatalogTreeView::movedByKeyboard, this, [this](const QModelIndex& current) {
    const int node = m_tree_adapter->NodeOf(current);
    Run([this, node] { m_controller->tvAlbum_NodeClick(node); });
  });
  m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_tree, &QWidget::customContextMenuRequested, this, &MainWindow::ShowTreePopup);
  connect(m_tree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
    m_controller->tvAlbum().Select(m_tree_adapter->NodeOf(index));
    Run([this] { m_controller->tvAlbum_DblClick(); });
  });
}

void MainWindow::BuildFileList() {
  m_list = MakeListView("LV");
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);
  m_list_adapter = new ListModelAdapter(m_controller->LV(), this);
  m_list->setModel(m_list_adapter);
  new SelectionSync(m_list_adapter, m_list->selectionModel(), m_list);
  m_header_sync = new ListHeaderSync(m_list_adapter, m_list->header());
  m_list->header()->setSectionsClickable(true);
  connect(m_header_sync, &ListHeaderSync::columnClicked, this,
          [this](int column) { Run([this, column] { m_controller->LV_ColumnClick(column); }); });
  connect(m_list, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    Run([this, row = index.row()] { m_controller->LV_ItemClick(row); });
  });
  connect(m_list, &QTreeView::doubleClicked, this,
          [this] { Run([this] { m_controller->LV_DblClick(); }); });
  m_list->installEventFilter(new FileListKeys(
      this, [this](int key) { Run([this, key] { m_controller->LV_KeyDown(key); }); }));
  connect(m_list, &QWidget::customContextMenuRequested, this, &MainWindow::ShowFileListPopup);
  ShowGridLinesOf(m_list_adapter, m_list, [this] { return m_controller->LV().grid_lines(); });
  // Delete and F2 act on the file list's selection, so only while it has the focus.
  for (const auto& entry : kMainCommands) {
    if (entry.list_shortcut) m_list->addAction(m_actions.at(entry.id));
  }
}

QWidget* MainWindow::BuildBatchBox() {
  auto* batch_box = new QGroupBox("Batch");
  auto* batch_layout = new QVBoxLayout(batch_box);
  m_batch = new BatchListWidget;
  m_batch->setObjectName("lstBox");
  m_batch->set_drop_welcome([this](int node) { return m_controller->lstBox_DragOver(node); });
  connect(m_batch, &BatchListWidget::nodeDropped, this,
          [this](int node) { Run([this, node] { m_controller->lstBox_DragDrop(node); }); });
  connect(m_batch, &BatchListWidget::foldersDropped, this, [this](const QStringList& folders) {
    std::vector<std::string> paths;
    for (const QString& folder : folders) paths.push_back(ToNative(folder));
    Run([this, paths] { m_controller->lstBox_FoldersDropped(paths); });
  });
  connect(m_batch, &QListWidget::currentRowChanged, this,
          [this](int row) { m_controller->lstBox_Click(row); });
  batch_layout->addWidget(m_batch);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : PlaceButtons(kBatchPane)) buttons->addWidget(button);
  batch_layout->addLayout(buttons);
  return batch_box;
}

QWidget* MainWindow::BuildFindBox() {
  auto* find_box = new QGroupBox("Find");
  auto* find_layout = new QFormLayout(find_box);
  m_find_text = new QLineEdit;
  m_find_text->setObjectName("txtFind");
  m_find_text->setToolTip("Part of the file names to find (Ctrl+F)");
  m_find_type = new QComboBox;
  m_find_type->setObjectName("cmbType");
  m_find_type->setEditable(true);
  m_find_drive = new QComboBox;
  m_find_drive->setObjectName("Drive1");
  find_layout->addRow("Containing:", m_find_text);
  find_layout->addRow("File Type:", m_find_type);
  find_layout->addRow("Look in:", m_find_drive);
  auto* find_buttons = new QHBoxLayout;
  for (QPushButton* button : PlaceButtons(kFindPane)) find_buttons->addWidget(button);
  find_layout->addRow(find_buttons);
  return find_box;
}

void MainWindow::BuildSplitters() {
  // Tree and side panel on the left, the file list on the right.
  m_left_splitter = new QSplitter(Qt::Vertical);
  m_left_splitter->addWidget(m_tree);
  m_left_splitter->addWidget(m_side_panel);
  m_left_splitter->setStretchFactor(0, 3);
  m_left_splitter->setStretchFactor(1, 2);
  m_splitter = new QSplitter(Qt::Horizontal);
  m_splitter->setObjectName("imgSplitter");
  m_splitter->addWidget(m_left_splitter);
  m_splitter->addWidget(m_lists);
  m_splitter->setStretchFactor(1, 3);
  // Neither pane may shrink below 500 window units.
  m_left_splitter->setMinimumWidth(UnitsToPixels(kPaneMinimumUnits));
  m_lists->setMinimumWidth(UnitsToPixels(kPaneMinimumUnits));
  m_splitter->setChildrenCollapsible(false);
  // Room for the side panel's three tab captions side by side.
  m_splitter->setSizes({UnitsToPixels(kSidePanelUnits), UnitsToPixels(kListPaneUnits)});
  setCentralWidget(m_splitter);
}

void MainWindow::BuildStatusBar() {
  for (int panel = 0; panel < 3; ++panel) {
    m_panels[panel] = new QLabel;
    m_panels[panel]->setObjectName(QString("Panel%1").arg(panel + 1));
    // The first panel, which says what is going on, takes the most room.
    statusBar()->addWidget(m_panels[panel], panel == 0 ? kWidePanelStretch : 1);
  }
  m_animation = new QProgressBar;
  m_animation->setRange(0, 0);
  m_animation->setMaximumWidth(kAnimationWidth);
  m_animation->hide();
  statusBar()->addPermanentWidget(m_animation);
  m_services->SetStatusPanels(m_panels[0], m_panels[1], m_panels[2]);
  m_services->SetAnimationBar(m_animation);
}

void MainWindow::ShowLookInDrives() {
  // The drives of the tree, a catalog's letters this machine does not map
  // among them; a drive of the machine carries its volume label.
  QStringList texts;
  const std::vector<DriveInfo> machine = m_platform.Drives();
  for (const std::string& root : m_controller->LookInDrives()) {
    QString text = ToQt(root.substr(0, 2));
    for (const DriveInfo& drive : machine) {
      if (drive.letter == root[0] && !drive.label.empty()) text += " [" + ToQt(drive.label) + "]";
    }
    texts << text;
  }
  QStringList shown;
  for (int i = 0; i < m_find_drive->count(); ++i) shown << m_find_drive->itemText(i);
  if (texts == shown) return;
  const QString chosen = m_find_drive->currentText().left(2);
  m_find_drive->clear();
  m_find_drive->addItems(texts);
  for (int i = 0; i < texts.size(); ++i) {
    if (texts[i].left(2) == chosen) m_find_drive->setCurrentIndex(i);
  }
}

void MainWindow::ShowControllerState() {
  const FrmMain& main = *m_controller;
  setWindowTitle(ToQt(main.view().caption));
  for (const auto& [command, action] : m_actions) {
    action->setEnabled(main.commands().Enabled(command));
  }
  for (const auto& [button, action] : m_toolbar_buttons) {
    action->setEnabled(main.commands().ButtonEnabled(button));
  }
  m_actions.at(MainCommand::kGrid)->setChecked(main.view().grid_checked);
  {
    const QSignalBlocker quiet(m_side_panel);
    for (int tab = 0; tab < m_side_panel->count(); ++tab) {
      m_side_panel->setTabEnabled(tab, main.view().tab_enabled.at(tab));
    }
    m_side_panel->setCurrentIndex(main.view().selected_tab);
  }
  ShowEditorState();
  // A command may set the find inputs (Show All Files in Selected on the root).
  FindPanel& find = m_controller->find_panel();
  if (m_find_text->text() != ToQt(find.txtFind())) m_find_text->setText(ToQt(find.txtFind()));
  if (m_find_type->currentText() != ToQt(find.cmbType())) {
    m_find_type->setCurrentText(ToQt(find.cmbType()));
  }
  ShowLookInDrives();
  if (main.view().focus_request == "tvAlbum") m_tree->setFocus();
  if (main.view().focus_request == "LV") {
    // A file shown from elsewhere (Find in Catalogs): in view and ready for the keys.
    m_list->scrollTo(m_list->currentIndex());
    m_list->setFocus();
  }
  m_controller->clear_focus_request();

  QStringList entries;
  for (const std::string& entry : main.lstBox()) entries << ToQt(entry);
  QStringList shown;
  for (int row = 0; row < m_batch->count(); ++row) shown << m_batch->item(row)->text();
  if (entries != shown) {
    const QSignalBlocker quiet(m_batch);
    m_batch->clear();
    m_batch->addItems(entries);
    m_controller->lstBox_Click(-1);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A close from the window system while a command yields is deferred by
  // the input blocker; one made by a command (Exit) goes through.
  if (m_controller->busy()) {
    event->ignore();
    return;
  }
  bool may_close = false;
  Run([this, &may_close] { may_close = m_controller->Form_Unload(); });
  if (!may_close) {
    event->ignore();
    return;
  }
  event->accept();
  SaveLayout();
  if (m_controller->ends_program()) {
    // Every other window closes with the main window.
    QMetaObject::invokeMethod(qApp, &QApplication::closeAllWindows, Qt::QueuedConnection);
  }
}

}  // namespace tallymere
