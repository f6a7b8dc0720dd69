#include "ui/qt/find_catalogs_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/qt/command_actions.h"
#include "ui/qt/layout_memory.h"
#include "ui/qt/list_header_sync.h"
#include "ui/qt/list_model_adapter.h"
#include "ui/qt/list_views.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/selection_sync.h"
#include "windows/main/find_panel.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

// How often a running search's rows are taken, and how long typing pauses
// before its search starts.
constexpr int kPollMilliseconds = 40;
constexpr int kTypingPauseMilliseconds = 350;

// The bounds' boxes: control name, caption, hint.
struct BoundBox {
  std::string_view name;
  const char* caption;
  const char* hint;
  std::string FrmFindCatalogs::Controls::*text;
};
constexpr BoundBox kBoundBoxes[] = {
    {"txtMinSize", "Size at least:", "bytes, or 4.5 MB", &FrmFindCatalogs::Controls::txtMinSize},
    {"txtMaxSize", "at most:", "bytes, or 700 KB", &FrmFindCatalogs::Controls::txtMaxSize},
    {"txtMinBitrate", "Bitrate at least:", "kbps", &FrmFindCatalogs::Controls::txtMinBitrate},
    {"txtMinTime", "Time at least:", "mm:ss", &FrmFindCatalogs::Controls::txtMinTime},
    {"txtMaxTime", "at most:", "mm:ss", &FrmFindCatalogs::Controls::txtMaxTime},
    {"txtAfter", "Modified after:", "YYYY-MM-DD", &FrmFindCatalogs::Controls::txtAfter},
    {"txtBefore", "before:", "YYYY-MM-DD", &FrmFindCatalogs::Controls::txtBefore},
};

}  // namespace

FindCatalogsWindow::FindCatalogsWindow(CatalogSession& session, WindowServices& services,
                                       CatalogNavigator& navigator, QWidget* parent)
    : QMainWindow(parent),
      m_controller(std::make_unique<FrmFindCatalogs>(session, services, navigator)) {
  setObjectName("frmFindCatalogs");
  setWindowTitle(ToQt(kFindCatalogsCaption));
  BuildActions();
  auto* top = new QWidget;
  auto* top_layout = new QVBoxLayout(top);
  top_layout->addWidget(BuildSearchRow());
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(BuildBoundsBox(), 3);
  boxes->addWidget(BuildShelfBox(), 2);
  top_layout->addLayout(boxes);
  BuildResults();
  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(top);
  splitter->addWidget(m_results);
  splitter->setStretchFactor(1, 1);
  setCentralWidget(splitter);
  m_status = new QLabel;
  m_status->setObjectName("stFind");
  m_status->setWordWrap(true);
  statusBar()->addWidget(m_status, 1);

  m_controller->state_changed = [this] { ShowState(); };
  m_controller->show_main_window = [this] {
    if (raise_main) raise_main();
  };
  m_poll.setInterval(kPollMilliseconds);
  connect(&m_poll, &QTimer::timeout, this, &FindCatalogsWindow::Poll);
  m_typing.setSingleShot(true);
  m_typing.setInterval(kTypingPauseMilliseconds);
  connect(&m_typing, &QTimer::timeout, this, [this] { Run(FindCatalogsCommand::kFind); });
  resize(ReadWindowSize(kFindCatalogsLayout).value_or(QSize(1000, 640)));
  m_controller->Form_Load();
  ShowState();
}

FindCatalogsWindow::~FindCatalogsWindow() {
  m_controller->Form_Unload();
  m_results->setModel(nullptr);
}

QAction* FindCatalogsWindow::action(std::string_view name) const {
  return ActionNamed(kFindCatalogsCommands, m_actions, name);
}

void FindCatalogsWindow::BuildActions() {
  for (const auto& entry : kFindCatalogsCommands) {
    auto* act = new QAction(ToQt(entry.caption), this);
    act->setObjectName(ToQt(entry.name));
    act->setToolTip(ToQt(entry.tip));
    if (!entry.shortcut.empty()) {
      act->setShortcut(QKeySequence(ToQt(entry.shortcut)));
      act->setShortcutContext(Qt::WindowShortcut);
      addAction(act);
    }
    connect(act, &QAction::triggered, this, [this, id = entry.id] { Run(id); });
    m_actions[entry.id] = act;
  }
}

QWidget* FindCatalogsWindow::BuildSearchRow() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  m_find_text = new QLineEdit;
  m_find_text->setObjectName("txtFind");
  m_find_text->setPlaceholderText("Text to find");
  m_find_text->setClearButtonEnabled(true);
  connect(m_find_text, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_controller->txtFind_Change(FromQt(text));
    m_typing.start();
  });
  connect(m_find_text, &QLineEdit::returnPressed, this, [this] {
    m_typing.stop();
    Run(FindCatalogsCommand::kFind);
  });
  m_field = new QComboBox;
  m_field->setObjectName("cmbIn");
  for (const SearchFieldName& field : kSearchFields) m_field->addItem(ToQt(field.caption));
  m_type = new QComboBox;
  m_type->setObjectName("cmbType");
  m_type->setEditable(true);
  for (const std::string& type : FindTypeChoices()) m_type->addItem(ToQt(type));
  m_type->setCurrentText("*.*");
  auto* find_label = new QLabel("&Containing:");
  find_label->setBuddy(m_find_text);
  layout->addWidget(find_label);
  layout->addWidget(m_find_text, 1);
  layout->addWidget(new QLabel("in"));
  layout->addWidget(m_field);
  layout->addWidget(new QLabel("File Type:"));
  layout->addWidget(m_type);
  for (const auto& entry : kFindCatalogsCommands) {
    if (entry.place != kSearchButtons) continue;
    auto* button = new QPushButton(ToQt(entry.caption));
    button->setObjectName(ToQt(entry.name));
    button->setToolTip(ToQt(entry.tip));
    connect(button, &QPushButton::clicked, m_actions.at(entry.id), &QAction::trigger);
    connect(m_actions.at(entry.id), &QAction::enabledChanged, button, &QWidget::setEnabled);
    layout->addWidget(button);
  }
  return row;
}

QWidget* FindCatalogsWindow::BuildBoundsBox() {
  auto* box = new QGroupBox("Only files with");
  auto* grid = new QGridLayout(box);
  int row = 0;
  int column = 0;
  for (const BoundBox& bound : kBoundBoxes) {
    auto* edit = new QLineEdit;
    edit->setObjectName(ToQt(bound.name));
    edit->setPlaceholderText(bound.hint);
    connect(edit, &QLineEdit::returnPressed, this, [this] { Run(FindCatalogsCommand::kFind); });
    // A pair (at least, at most) shares a row; a single bound has one.
    const bool second = bound.caption[0] == 'a' || bound.caption[0] == 'b';
    if (!second && column > 0) {
      ++row;
      column = 0;
    }
    grid->addWidget(new QLabel(bound.caption), row, column);
    grid->addWidget(edit, row, column + 1);
    column += 2;
    m_bounds[bound.name] = edit;
  }
  return box;
}

QWidget* FindCatalogsWindow::BuildShelfBox() {
  auto* box = new QGroupBox("Catalogs: every *.mpd of these folders");
  auto* layout = new QGridLayout(box);
  m_shelf = new QListWidget;
  m_shelf->setObjectName("lstShelf");
  connect(m_shelf, &QListWidget::currentRowChanged, this,
          [this](int row) { m_controller->set_shelf_selected(row); });
  m_subfolders = new QCheckBox("and their subfolders");
  m_subfolders->setObjectName("chkSubfolders");
  connect(m_subfolders, &QCheckBox::clicked, this,
          [this](bool checked) { m_controller->chkSubfolders_Click(checked); });
  layout->addWidget(m_shelf, 0, 0, 3, 1);
  int row = 0;
  for (const auto& entry : kFindCatalogsCommands) {
    if (entry.place != kShelfButtons) continue;
    auto* button = new QPushButton(ToQt(entry.caption));
    button->setObjectName(ToQt(entry.name));
    button->setToolTip(ToQt(entry.tip));
    connect(button, &QPushButton::clicked, m_actions.at(entry.id), &QAction::trigger);
    connect(m_actions.at(entry.id), &QAction::enabledChanged, button, &QWidget::setEnabled);
    layout->addWidget(button, row++, 1);
  }
  layout->addWidget(m_subfolders, 3, 0, 1, 2);
  return box;
}

void FindCatalogsWindow::BuildResults() {
  m_results = MakeListView("lstResults");
  m_results->setContextMenuPolicy(Qt::CustomContextMenu);
  m_adapter = new ListModelAdapter(m_controller->lstResults(), this);
  m_results->setModel(m_adapter);
  new SelectionSync(m_adapter, m_results->selectionModel(), m_results);
  auto* header_sync = new ListHeaderSync(m_adapter, m_results->header());
  m_results->header()->setSectionsClickable(true);
  connect(header_sync, &ListHeaderSync::columnClicked, this,
          [this](int column) { m_controller->lstResults_ColumnClick(column); });
  connect(m_results, &QTreeView::doubleClicked, this,
          [this] { Run(FindCatalogsCommand::kShowInCatalog); });
  m_results->installEventFilter(this);
  connect(m_results, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    ShowState();
    QMenu popup(this);
    popup.setObjectName(ToQt(kResultsPopup));
    AddPlaceActions(&popup, kFindCatalogsCommands, m_actions, kResultsPopup);
    popup.exec(m_results->viewport()->mapToGlobal(at));
  });
  connect(m_results->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { ShowState(); });
}

void FindCatalogsWindow::PushControls() {
  FrmFindCatalogs::Controls& controls = m_controller->controls();
  controls.txtFind = FromQt(m_find_text->text());
  controls.cmbIn = m_field->currentIndex();
  controls.cmbType = FromQt(m_type->currentText());
  for (const BoundBox& bound : kBoundBoxes) {
    controls.*bound.text = FromQt(m_bounds.at(bound.name)->text());
  }
}

void FindCatalogsWindow::Run(FindCatalogsCommand command) {
  PushControls();
  using enum FindCatalogsCommand;
  const bool in_main =
      command == kShowInCatalog || command == kOpenFile || command == kSendToPlaylist;
  if (in_main && run_in_main) {
    run_in_main([this, command] { m_controller->Run(command); });
  } else {
    m_controller->Run(command);
  }
  if (m_controller->searching()) m_poll.start();
  ShowState();
}

void FindCatalogsWindow::Poll() {
  if (!m_controller->Poll()) m_poll.stop();
}

void FindCatalogsWindow::ShowState() {
  const std::vector<std::string>& shelf = m_controller->lstShelf();
  if (m_shelf->count() != static_cast<int>(shelf.size()) ||
      (m_shelf->count() > 0 &&
       FromQt(m_shelf->item(m_shelf->count() - 1)->text()) != shelf.back())) {
    const QSignalBlocker quiet(m_shelf);
    m_shelf->clear();
    for (const std::string& folder : shelf) m_shelf->addItem(ToQt(folder));
  }
  {
    const QSignalBlocker quiet(m_shelf);
    m_shelf->setCurrentRow(m_controller->shelf_selected());
  }
  m_subfolders->setChecked(m_controller->chkSubfolders());
  m_status->setText(ToQt(m_controller->status_text()));
  for (const auto& [command, act] : m_actions) act->setEnabled(m_controller->Enabled(command));
}

bool FindCatalogsWindow::eventFilter(QObject* watched, QEvent* event) {
  // Enter on a result shows it, as a double click does.
  if (watched == m_results && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Run(FindCatalogsCommand::kShowInCatalog);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void FindCatalogsWindow::closeEvent(QCloseEvent* event) {
  m_typing.stop();
  m_controller->cmdStop_Click();
  WriteWindowSize(kFindCatalogsLayout, size());
  QMainWindow::closeEvent(event);
}

}  // namespace tallymere
