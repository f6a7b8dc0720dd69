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
#include "ui/qt/input_blocker.h"
#include "ui/qt/layout_memory.h"
#include "ui/qt/list_header_sync.h"
#include "ui/qt/list_model_adapter.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/selection_sync.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

// Takes no more than a tag field holds: its width counts the bytes of the
// stored text (Windows-1252 when it fits, else UTF-8), so nothing typed is
// cut without the user seeing it when the tag is written.
class StoredWidthValidator : public QValidator {
 public:
  StoredWidthValidator(std::size_t width, QObject* parent) : QValidator(parent), m_width(width) {}
  State validate(QString& input, int& /*position*/) const override {
    return EncodeText(FromQt(input)).size() <= m_width ? Acceptable : Invalid;
  }

 private:
  std::size_t m_width;
};

using Handler = void (FrmID3::*)();

const std::map<std::string_view, Handler>& Handlers() {
  static const std::map<std::string_view, Handler> kHandlers = {
      {"mnuOpen", &FrmID3::mnuOpen_Click},
      {"mnuExit", &FrmID3::mnuExit_Click},
      {"mnuRemove", &FrmID3::mnuRemove_Click},
      {"mnuWrite", &FrmID3::mnuWrite_Click},
      {"mnuTagName", &FrmID3::mnuTagName_Click},
      {"mnuRen", &FrmID3::mnuRen_Click},
      {"mnuUndo", &FrmID3::mnuUndo_Click},
      {"mnuRemv", &FrmID3::mnuRemv_Click},
      {"mnuClAll", &FrmID3::mnuClAll_Click},
      {"mnuOops", &FrmID3::mnuOops_Click},
      {"mnuStartOver", &FrmID3::mnuStartOver_Click},
      {"mnuIDrenam", &FrmID3::mnuIDrenam_Click},
      {"mnuMan", &FrmID3::mnuMan_Click},
      {"mnuLog", &FrmID3::mnuLog_Click},
      {"mnuCom", &FrmID3::mnuCom_Click},
      {"mnuAlbum", &FrmID3::mnuAlbum_Click},
      {"mnuPop2R", &FrmID3::mnuPop2R_Click},
      {"mnuPop2Del", &FrmID3::mnuPop2Del_Click},
      {"mnuPop2Rem", &FrmID3::mnuPop2Rem_Click},
      {"cmdTrim", &FrmID3::cmdTrim_Click},
      {"cmdTrim2", &FrmID3::cmdTrim2_Click},
      {"cmdTrimNum", &FrmID3::cmdTrimNum_Click},
      {"cmdTrimspace", &FrmID3::cmdTrimspace_Click},
      {"cmdUpper", &FrmID3::cmdUpper_Click},
      {"cmdLower", &FrmID3::cmdLower_Click},
      {"cmdReplace", &FrmID3::cmdReplace_Click},
      {"cmdReplace1", &FrmID3::cmdReplace1_Click},
      {"cmdInsert", &FrmID3::cmdInsert_Click},
      {"cmdSwap", &FrmID3::cmdSwap_Click},
      {"cmdAuto", &FrmID3::cmdAuto_Click},
  };
  return kHandlers;
}

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

Mp3UtilitiesWindow::Mp3UtilitiesWindow(FrmMain& main, QWidget* parent)
    : QMainWindow(parent), m_controller(std::make_unique<FrmID3>(main)) {
  setObjectName("frmID3");
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(ToQt(kMp3UtilitiesCaption));
  BuildViews();
  BuildMenusAndToolbar();
  m_controller->close_window = [this] { close(); };
  m_controller->set_state_listener([this] { ShowState(); });
  resize(ReadMp3UtilitiesSize().value_or(QSize(1000, 640)));
  Run([this] { m_controller->Form_Load(); });
}

Mp3UtilitiesWindow::~Mp3UtilitiesWindow() { m_list->setModel(nullptr); }

QAction* Mp3UtilitiesWindow::action(const std::string& name) const {
  const auto it = m_actions.find(name);
  return it == m_actions.end() ? nullptr : it->second;
}

void Mp3UtilitiesWindow::BuildViews() {
  m_list = new QTreeView;
  m_list->setObjectName("LvOld");
  m_list->setRootIsDecorated(false);
  m_list->setUniformRowHeights(true);
  m_list->setAllColumnsShowFocus(true);
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
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
    popup.setObjectName("mnuPop2");
    for (const Id3MenuItem& item : kId3PopupItems) popup.addAction(action(std::string(item.name)));
    popup.exec(m_list->viewport()->mapToGlobal(position));
  });
  m_list->installEventFilter(this);

  // The tag editor and the details of the clicked file.
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
      m_fields[i]->setValidator(new StoredWidthValidator(kTagTextFields[i].width, m_fields[i]));
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
    m_keep[i]->setToolTip(ToQt(kPreserveBoxHints[i]));
    // A field kept as it is in the file takes no input: grey it.
    QWidget* field = i < 5 ? static_cast<QWidget*>(m_fields[i]) : m_genre;
    connect(m_keep[i], &QCheckBox::toggled, field,
            [field](bool keep) { field->setEnabled(!keep); });
    tag_layout->addWidget(m_keep[i], i, 2);
  }
  auto* details_box = new QGroupBox("Details");
  auto* details_layout = new QVBoxLayout(details_box);
  const char* label_names[] = {"Label9", "Label10", "Label11", "Label12"};
  for (int i = 0; i < 4; ++i) {
    m_labels[i] = new QLabel(ToQt(kBlankDetailLabels[i]));
    m_labels[i]->setObjectName(label_names[i]);
    details_layout->addWidget(m_labels[i]);
  }

  // New names: the selected entry's name, the scope and the text tools.
  auto* name_box = new QGroupBox("New Name");
  auto* name_layout = new QVBoxLayout(name_box);
  m_display = new QLineEdit;
  m_display->setObjectName("txtDisplay");
  m_display->installEventFilter(this);
  name_layout->addWidget(m_display);
  auto* scope = new QHBoxLayout;
  m_opt_select = new QRadioButton(ToQt(kOptSelectCaption));
  m_opt_select->setObjectName("optSelect");
  m_opt_all = new QRadioButton(ToQt(kOptAllCaption));
  m_opt_all->setObjectName("optAll");
  scope->addWidget(m_opt_select);
  scope->addWidget(m_opt_all);
  name_layout->addLayout(scope);
  m_text = new QLineEdit;
  m_text->setObjectName("txtText");
  m_text->setPlaceholderText(ToQt(kTxtTextHint));
  m_replace = new QLineEdit;
  m_replace->setObjectName("txtReplace");
  m_replace->setPlaceholderText(ToQt(kTxtReplaceHint));
  m_with = new QLineEdit;
  m_with->setObjectName("txtWith");
  m_with->setPlaceholderText(ToQt(kTxtWithHint));
  for (QLineEdit* edit : {m_text, m_replace, m_with}) {
    edit->installEventFilter(this);
    name_layout->addWidget(edit);
  }
  auto* tools = new QGridLayout;
  int index = 0;
  for (const Id3ToolButton& tool : kId3ToolButtons) {
    auto* button = new QPushButton(ToQt(tool.caption));
    button->setObjectName(ToQt(tool.name));
    button->setToolTip(ToQt(tool.tool_tip));
    const Handler handler = Handlers().at(tool.name);
    connect(button, &QPushButton::clicked, this,
            [this, handler] { Run([this, handler] { (m_controller.get()->*handler)(); }); });
    tools->addWidget(button, index / 3, index % 3);
    ++index;
  }
  name_layout->addLayout(tools);

  auto* side = new QWidget;
  auto* side_layout = new QVBoxLayout(side);
  side_layout->addWidget(tag_box);
  side_layout->addWidget(details_box);
  side_layout->addWidget(name_box);
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
    statusBar()->addWidget(m_status[panel], panel == 0 ? 3 : 1);
  }
}

void Mp3UtilitiesWindow::BuildMenusAndToolbar() {
  std::map<std::string_view, QMenu*> menus;
  // Each menu has an Alt key of its own: Tag has the T, so Tools takes the o.
  const struct {
    const char* title;
    const char* caption;
  } kMenuTitles[] = {{"File", "&File"},
                     {"Tag", "&Tag"},
                     {"Rename", "&Rename"},
                     {"Tools", "T&ools"},
                     {"Options", "O&ptions"}};
  for (const auto& menu : kMenuTitles) menus[menu.title] = menuBar()->addMenu(menu.caption);
  const auto make_action = [this](const Id3MenuItem& item) {
    auto* action = new QAction(ToQt(item.caption), this);
    action->setObjectName(ToQt(item.name));
    const Handler handler = Handlers().at(item.name);
    connect(action, &QAction::triggered, this, [this, handler, name = ToQt(item.name)] {
      emit commandStarted(name);
      Run([this, handler] { (m_controller.get()->*handler)(); });
    });
    m_actions[std::string(item.name)] = action;
    return action;
  };
  for (const Id3MenuItem& item : kId3MenuItems) {
    QAction* action = make_action(item);
    if (item.menu == "Options") action->setCheckable(true);
    menus.at(item.menu)->addAction(action);
    if (item.name == "mnuOpen") menus.at("File")->addSeparator();
  }
  for (const Id3MenuItem& item : kId3PopupItems) make_action(item);

  QToolBar* toolbar = addToolBar("Tbr");
  toolbar->setObjectName("Tbr");
  toolbar->setMovable(false);
  for (int button = 1; button <= id3_toolbar::kLast; ++button) {
    if (std::find(kId3ToolbarSeparators.begin(), kId3ToolbarSeparators.end(), button) !=
        kId3ToolbarSeparators.end()) {
      toolbar->addSeparator();
      continue;
    }
    const auto item = std::find_if(kId3MenuItems.begin(), kId3MenuItems.end(),
                                   [button](const Id3MenuItem& i) { return i.button == button; });
    if (item == kId3MenuItems.end()) continue;
    auto* tool = new QAction(ButtonIcon(button), ToQt(item->caption), this);
    tool->setObjectName(QString("Tbr%1").arg(button));
    connect(tool, &QAction::triggered, this, [this, button, name = tool->objectName()] {
      emit commandStarted(name);
      Run([this, button] { m_controller->Tbr_ButtonClick(button); });
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
  for (int i = 0; i < 4; ++i) m_labels[i]->setText(ToQt(*labels[i]));
  ShowText(m_display, id3.txtDisplay());
  ShowText(m_text, id3.txtText());
  ShowText(m_replace, id3.txtReplace());
  ShowText(m_with, id3.txtWith());
  (id3.optAll() ? m_opt_all : m_opt_select)->setChecked(true);
  for (int panel = 1; panel <= 2; ++panel) m_status[panel - 1]->setText(ToQt(id3.status(panel)));
  for (const auto& [name, action] : m_actions) action->setEnabled(id3.commands().Enabled(name));
  action("mnuLog")->setChecked(id3.mnuLog_checked());
  action("mnuCom")->setChecked(id3.mnuCom_checked());
  action("mnuAlbum")->setChecked(id3.mnuAlbum_checked());
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
  if (m_controller->busy()) return;
  PushEdits();
  {
    InputBlocker blocker;
    command();
  }
  ShowState();
}

bool Mp3UtilitiesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_list && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    Run([this] { m_controller->LvOld_KeyDown(kKeyDelete); });
    return true;
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
  WriteMp3UtilitiesSize(size());
  event->accept();
}

}  // namespace tallymere
