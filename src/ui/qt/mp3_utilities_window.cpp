#include "ui/qt/mp3_utilities_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <QValidator>

#include "common/text_encoding.h"
#include "mp3/id3v1.h"
#include "ui/qt/command_actions.h"
#include "ui/qt/input_blocker.h"
#include "ui/qt/layout_memory.h"
#include "ui/qt/list_header_sync.h"
#include "ui/qt/list_model_adapter.h"
#include "ui/qt/list_views.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/selection_sync.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

// The status bar's first panel against the second.
constexpr int kWidePanelStretch = 3;

// Takes no more than a tag field holds: its width counts the bytes of the
// text stored in the chosen code page, so nothing typed is cut without the
// user seeing it when the tag is written.
class StoredWidthValidator : public QValidator {
 public:
  StoredWidthValidator(const FrmID3& controller, std::size_t width, QObject* parent)
      : QValidator(parent), m_controller(controller), m_width(width) {}
  State validate(QString& input, int& /*position*/) const override {
    return m_controller.TagFieldFits(FromQt(input), m_width) ? Acceptable : Invalid;
  }

 private:
  const FrmID3& m_controller;
  std::size_t m_width;
};

// Shows a text in a line edit without disturbing the caret when it is unchanged.
void ShowText(QLineEdit* edit, const std::string& text) {
  const QString shown = ToQt(text);
  if (edit->text() != shown) edit->setText(shown);
}

QIcon ButtonIcon(int button) {
  using namespace id3_toolbar;
  QStyle* style = QApplication::style();
  switch (button) {
    case kOpen:
      return QIcon::fromTheme("folder-open", style->standardIcon(QStyle::SP_DirOpenIcon));
    case kRemove:
      return QIcon::fromTheme("edit-clear", style->standardIcon(QStyle::SP_DialogResetButton));
    case kWrite:
      return QIcon::fromTheme("document-save", style->standardIcon(QStyle::SP_DialogSaveButton));
    case kTagName:
      return QIcon::fromTheme("document-edit",
                              style->standardIcon(QStyle::SP_FileDialogDetailedView));
    case kRemv:
      return QIcon::fromTheme("list-remove", style->standardIcon(QStyle::SP_TrashIcon));
    case kClAll:
      return QIcon::fromTheme("edit-delete", style->standardIcon(QStyle::SP_DialogDiscardButton));
    case kMan:
      return QIcon::fromTheme("edit-rename",
                              style->standardIcon(QStyle::SP_FileDialogContentsView));
    case kIDrenam:
      return QIcon::fromTheme("tag", style->standardIcon(QStyle::SP_FileDialogInfoView));
    case kStartOver:
      return QIcon::fromTheme("edit-undo", style->standardIcon(QStyle::SP_BrowserReload));
    case kOops:
      return QIcon::fromTheme("edit-undo", style->standardIcon(QStyle::SP_ArrowBack));
    case kRen:
      return QIcon::fromTheme("document-save-as",
                              style->standardIcon(QStyle::SP_DialogApplyButton));
    case kUndo:
      return QIcon::fromTheme("edit-undo", style->standardIcon(QStyle::SP_ArrowLeft));
    default:
      return {};
  }
}

}  // namespace

Mp3UtilitiesWindow::Mp3UtilitiesWindow(CatalogSession& session, WindowServices& services,
                                       QWidget* parent)
    : QMainWindow(parent), m_controller(std::make_unique<FrmID3>(session, services)) {
  setObjectName("frmID3");
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(ToQt(kMp3UtilitiesCaption));
  BuildViews();
  BuildMenusAndToolbar();
  m_controller->close_window = [this] { close(); };
  m_controller->set_state_listener([this] { ShowState(); });
  resize(ReadWindowSize(kMp3UtilitiesLayout).value_or(QSize(1000, 640)));
  Run([this] { m_controller->Form_Load(); });
}

Mp3UtilitiesWindow::~Mp3UtilitiesWindow() { m_list->setModel(nullptr); }

QAction* Mp3UtilitiesWindow::action(std::string_view name) const {
  return ActionNamed(kId3Commands, m_actions, name);
}

void Mp3UtilitiesWindow::BuildViews() {
  BuildBatchList();
  auto* side = new QWidget;
  auto* side_layout = new QVBoxLayout(side);
  side_layout->addWidget(BuildTagBox());
  side_layout->addWidget(BuildDetailsBox());
  side_layout->addWidget(BuildNameBox());
  side_layout->addStretch();
  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(m_list);
  splitter->addWidget(side);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  setCentralWidget(splitter);
  for (int panel = 0; panel < 2; ++panel) {
    m_status[panel] = new QLabel;
    m_status[panel]->setObjectName(QString("stInfo%1").arg(panel + 1));
    // The first panel, which says what is going on, takes the most room.
    statusBar()->addWidget(m_status[panel], panel == 0 ? kWidePanelStretch : 1);
  }
}

void Mp3UtilitiesWindow::BuildBatchList() {
  m_list = MakeListView("LvOld");
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);
  m_adapter = new ListModelAdapter(m_controller->LvOld(), this);
  m_list->setModel(m_adapter);
  new SelectionSync(m_adapter, m_list->selectionModel(), m_list);
  new ListHeaderSync(m_adapter, m_list->header());
  for (int column = kBatchShownColumns; column < m_adapter->columnCount(); ++column) {
    m_list->setColumnHidden(column, true);
  }
  connect(m_list, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    Run([this, row = index.row()] { m_controller->LvOld_ItemClick(row); });
  });
  connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
    if (!m_controller->LvOld_MouseUp(kRightButton)) return;
    QMenu popup(this);
    popup.setObjectName(ToQt(kId3ListPopup));
    AddPlace(&popup, kId3ListPopup);
    popup.exec(m_list->viewport()->mapToGlobal(position));
  });
  m_list->installEventFilter(this);
}

// The tag editor: a field and its preserve box for each field of the tag.
QWidget* Mp3UtilitiesWindow::BuildTagBox() {
  auto* tag_box = new QGroupBox("ID3 Tag");
  auto* tag_layout = new QGridLayout(tag_box);
  const char* field_names[] = {"txtTitle", "txtArtist", "txtAlbum", "txtYear", "txtComment"};
  const char* field_captions[] = {"Title:", "Artist:", "Album:", "Year:", "Comment:"};
  const char* keep_names[] = {"chkTitle", "chkArt", "chkAlb", "chkYear", "chkCom", "chkGenre"};
  for (int i = 0; i < 6; ++i) {
    tag_layout->addWidget(new QLabel(i < 5 ? field_captions[i] : "Genre:"), i, 0);
    if (i < 5) {
      m_fields[i] = new QLineEdit;
      m_fields[i]->setObjectName(field_names[i]);
      m_fields[i]->setValidator(
          new StoredWidthValidator(*m_controller, kTagTextFields[i].width, m_fields[i]));
      m_fields[i]->installEventFilter(this);
      tag_layout->addWidget(m_fields[i], i, 1);
    } else {
      m_genre = new QComboBox;
      m_genre->setObjectName("txtGenre");
      m_genre->setEditable(true);
      for (const std::string& name : FrmID3::txtGenre_items()) m_genre->addItem(ToQt(name));
      tag_layout->addWidget(m_genre, i, 1);
    }
    m_keep[i] = new QCheckBox;
    m_keep[i]->setObjectName(keep_names[i]);
    // Tab goes from field to field; the box takes the mouse and Alt+1 to Alt+6.
    m_keep[i]->setFocusPolicy(Qt::ClickFocus);
    m_keep[i]->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)));
    m_keep[i]->setToolTip(
        ToQt(std::string(kPreserveBoxHints[i]) + " (Alt+" + std::to_string(i + 1) + ")"));
    // A field kept as it is in the file takes no input: grey it.
    QWidget* field = i < 5 ? static_cast<QWidget*>(m_fields[i]) : m_genre;
    connect(m_keep[i], &QCheckBox::toggled, field,
            [field](bool keep) { field->setEnabled(!keep); });
    tag_layout->addWidget(m_keep[i], i, 2);
  }
  return tag_box;
}

QWidget* Mp3UtilitiesWindow::BuildDetailsBox() {
  auto* details_box = new QGroupBox("Details");
  auto* details_layout = new QVBoxLayout(details_box);
  const char* label_names[] = {"Label9", "Label10", "Label11", "Label12"};
  for (int i = 0; i < 4; ++i) {
    m_labels[i] = new QLabel(ToQt(kBlankDetailLabels[i]));
    m_labels[i]->setObjectName(label_names[i]);
    details_layout->addWidget(m_labels[i]);
  }
  const char* id3v2_names[] = {"lblId3v2", "lblId3v2Artist", "lblId3v2Title", "lblId3v2Album"};
  for (int i = 0; i < 4; ++i) {
    m_id3v2_labels[i] = new QLabel(ToQt(kBlankId3v2Labels[i]));
    m_id3v2_labels[i]->setObjectName(id3v2_names[i]);
    // A long title wraps rather than widening the window.
    m_id3v2_labels[i]->setWordWrap(true);
    m_id3v2_labels[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details_layout->addWidget(m_id3v2_labels[i]);
  }
  return details_box;
}

// New names: the selected entry's name, the scope and the text tools.
QWidget* Mp3UtilitiesWindow::BuildNameBox() {
  auto* name_box = new QGroupBox("New Name");
  auto* name_layout = new QVBoxLayout(name_box);
  m_display = new QLineEdit;
  m_display->setObjectName("txtDisplay");
  m_display->installEventFilter(this);
  connect(m_display, &QLineEdit::returnPressed, this,
          [this] { Run([this] { m_controller->txtDisplay_KeyPress(kKeyEnter); }); });
  name_layout->addWidget(m_display);
  auto* scope = new QHBoxLayout;
  m_opt_select = new QRadioButton(ToQt(kOptSelectCaption));
  m_opt_select->setObjectName("optSelect");
  m_opt_all = new QRadioButton(ToQt(kOptAllCaption));
  m_opt_all->setObjectName("optAll");
  scope->addWidget(m_opt_select);
  scope->addWidget(m_opt_all);
  name_layout->addLayout(scope);
  const auto add_input = [&](QLineEdit** edit, const char* name, std::string_view hint) {
    *edit = new QLineEdit;
    (*edit)->setObjectName(name);
    (*edit)->setPlaceholderText(ToQt(hint));
    (*edit)->installEventFilter(this);
    name_layout->addWidget(*edit);
  };
  add_input(&m_text, "txtText", kTxtTextHint);
  add_input(&m_replace, "txtReplace", kTxtReplaceHint);
  add_input(&m_with, "txtWith", kTxtWithHint);
  auto* tools = new QGridLayout;
  int index = 0;
  for (const auto& entry : kId3Commands) {
    if (entry.place != kTextToolsPane) continue;
    auto* button = new QPushButton(ToQt(entry.caption));
    button->setObjectName(ToQt(entry.name));
    button->setToolTip(ToQt(entry.tip));
    connect(button, &QPushButton::clicked, this, [this, id = entry.id] { RunCommand(id); });
    tools->addWidget(button, index / 3, index % 3);
    ++index;
  }
  name_layout->addLayout(tools);
  return name_box;
}

void Mp3UtilitiesWindow::RunCommand(Id3Command command) {
  emit commandStarted(ToQt(EntryOf(kId3Commands, command).name));
  Run([this, command] { m_controller->Run(command); });
  emit commandRan(ToQt(m_controller->last_handler()));
}

void Mp3UtilitiesWindow::AddPlace(QMenu* menu, std::string_view place) const {
  AddPlaceActions(menu, kId3Commands, m_actions, place);
}

void Mp3UtilitiesWindow::BuildMenusAndToolbar() {
  for (const auto& entry : kId3Commands) {
    if (entry.place == kTextToolsPane) continue;  // buttons of their own
    auto* action = new QAction(ToQt(entry.caption), this);
    action->setObjectName(ToQt(entry.name));
    action->setCheckable(entry.checkable);
    connect(action, &QAction::triggered, this, [this, id = entry.id] { RunCommand(id); });
    m_actions[entry.id] = action;
  }
  for (const Id3MenuTitle& title : kId3Menus) {
    AddPlace(menuBar()->addMenu(ToQt(title.caption)), title.place);
  }

  QToolBar* toolbar = addToolBar("Tbr");
  toolbar->setObjectName("Tbr");
  toolbar->setMovable(false);
  for (int button = 1; button <= id3_toolbar::kLast; ++button) {
    const std::optional<Id3Command> command = CommandOfButton(kId3Commands, button);
    // The buttons that run nothing only separate.
    if (!command) {
      toolbar->addSeparator();
      continue;
    }
    auto* tool =
        new QAction(ButtonIcon(button), ToQt(EntryOf(kId3Commands, *command).caption), this);
    tool->setObjectName(QString("Tbr%1").arg(button));
    connect(tool, &QAction::triggered, this, [this, button, name = tool->objectName()] {
      emit commandStarted(name);
      Run([this, button] { m_controller->Tbr_ButtonClick(button); });
      emit commandRan(ToQt(m_controller->last_handler()));
    });
    toolbar->addAction(tool);
    m_buttons[button] = tool;
  }
}

void Mp3UtilitiesWindow::PushEdits() {
  TagEditorValues& editor = m_controller->tag_editor();
  editor.title = FromQt(m_fields[0]->text());
  editor.artist = FromQt(m_fields[1]->text());
  editor.album = FromQt(m_fields[2]->text());
  editor.year = FromQt(m_fields[3]->text());
  editor.comment = FromQt(m_fields[4]->text());
  editor.genre = FromQt(m_genre->currentText());
  editor.keep_title = m_keep[0]->isChecked();
  editor.keep_artist = m_keep[1]->isChecked();
  editor.keep_album = m_keep[2]->isChecked();
  editor.keep_year = m_keep[3]->isChecked();
  editor.keep_comment = m_keep[4]->isChecked();
  editor.keep_genre = m_keep[5]->isChecked();
  m_controller->set_txtDisplay(FromQt(m_display->text()));
  m_controller->set_txtText(FromQt(m_text->text()));
  m_controller->set_txtReplace(FromQt(m_replace->text()));
  m_controller->set_txtWith(FromQt(m_with->text()));
  m_controller->set_optAll(m_opt_all->isChecked());
}

void Mp3UtilitiesWindow::ShowState() {
  if (m_showing) return;
  m_showing = true;
  const FrmID3& id3 = *m_controller;
  const TagEditorValues& editor = id3.tag_editor();
  ShowText(m_fields[0], editor.title);
  ShowText(m_fields[1], editor.artist);
  ShowText(m_fields[2], editor.album);
  ShowText(m_fields[3], editor.year);
  ShowText(m_fields[4], editor.comment);
  m_genre->setCurrentText(ToQt(editor.genre));
  const bool keeps[] = {editor.keep_title, editor.keep_artist,  editor.keep_album,
                        editor.keep_year,  editor.keep_comment, editor.keep_genre};
  for (int i = 0; i < 6; ++i) m_keep[i]->setChecked(keeps[i]);
  const std::string* labels[] = {&id3.Label9(), &id3.Label10(), &id3.Label11(), &id3.Label12()};
  for (int i = 0; i < 4; ++i) {
    m_labels[i]->setText(ToQt(*labels[i]));
    m_id3v2_labels[i]->setText(ToQt(id3.id3v2_labels()[i]));
  }
  ShowText(m_display, id3.txtDisplay());
  ShowText(m_text, id3.txtText());
  ShowText(m_replace, id3.txtReplace());
  ShowText(m_with, id3.txtWith());
  (id3.optAll() ? m_opt_all : m_opt_select)->setChecked(true);
  for (int panel = 1; panel <= 2; ++panel) m_status[panel - 1]->setText(ToQt(id3.status(panel)));
  for (const auto& [command, action] : m_actions) {
    action->setEnabled(id3.commands().Enabled(command));
  }
  m_actions.at(Id3Command::kLog)->setChecked(id3.mnuLog_checked());
  m_actions.at(Id3Command::kCom)->setChecked(id3.mnuCom_checked());
  m_actions.at(Id3Command::kAlbum)->setChecked(id3.mnuAlbum_checked());
  for (const auto& [button, tool] : m_buttons)
    tool->setEnabled(id3.commands().ButtonEnabled(button));
  if (!id3.focus_request().empty()) {
    if (auto* widget = findChild<QWidget*>(ToQt(id3.focus_request()))) widget->setFocus();
    m_controller->clear_focus_request();
  }
  m_showing = false;
}

void Mp3UtilitiesWindow::Run(const std::function<void()>& command) {
  // Input cannot reach here while a command yields (the blocker swallows it);
  // a command that opens this window runs our Form_Load inside its own.
  m_controller->Handle([this, &command] {
    PushEdits();
    InputBlocker blocker;
    command();
  });
  ShowState();
}

bool Mp3UtilitiesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_list && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete) {
      Run([this] { m_controller->LvOld_KeyDown(kKeyDelete); });
      return true;
    }
    if (key->matches(QKeySequence::SelectAll)) {
      Run([this] { m_controller->LvOld_SelectAll(); });
      return true;
    }
  }
  if (watched == m_display && event->type() == QEvent::MouseButtonRelease) {
    // The caret lands after the release; read it once the edit has placed it.
    QTimer::singleShot(0, this,
                       [this] { m_controller->txtDisplay_Click(m_display->cursorPosition()); });
  }
  if (event->type() == QEvent::FocusIn && watched != m_display) {
    // The tag and tool inputs select their whole text when they get the focus.
    if (auto* edit = qobject_cast<QLineEdit*>(watched))
      QTimer::singleShot(0, edit, &QLineEdit::selectAll);
  }
  return QMainWindow::eventFilter(watched, event);
}

void Mp3UtilitiesWindow::closeEvent(QCloseEvent* event) {
  // A close from the window system while a command yields is deferred by the
  // input blocker; one made by a command (Exit Utilities) goes through.
  if (m_controller->busy()) {
    event->ignore();
    return;
  }
  m_controller->Form_Unload();
  WriteWindowSize(kMp3UtilitiesLayout, size());
  event->accept();
}

}  // namespace tallymere
