// The side panel's Playlist Editor and Data Field Editor tabs, LVData in
// place of the file list, and their commands: each control runs the pane's
// handler of its own name.

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <map>

#include "ui/qt/list_header_sync.h"
#include "ui/qt/list_model_adapter.h"
#include "ui/qt/list_views.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/selection_sync.h"

namespace tallymere {
namespace {

void ShowText(QLineEdit* edit, const std::string& text) {
  const QString shown = ToQt(text);
  if (edit->text() != shown) edit->setText(shown);
}

}  // namespace

QWidget* MainWindow::BuildPlaylistTab() {
  PlaylistEditor& editor = m_controller->playlist();
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  m_playlist = MakeListView("LVP");
  m_playlist_adapter = new ListModelAdapter(editor.LVP(), this);
  m_playlist->setModel(m_playlist_adapter);
  new SelectionSync(m_playlist_adapter, m_playlist->selectionModel(), m_playlist);
  auto* header_sync = new ListHeaderSync(m_playlist_adapter, m_playlist->header());
  connect(header_sync, &ListHeaderSync::columnClicked, this, [this](int column) {
    Run([this, column] { m_controller->playlist().LVP_ColumnClick(column); });
  });
  connect(m_playlist, &QTreeView::doubleClicked, this,
          [this] { Run([this] { m_controller->playlist().LVP_DblClick(); }); });
  ShowGridLinesOf(m_playlist_adapter, m_playlist,
                  [this] { return m_controller->playlist().LVP().grid_lines(); });
  m_playlist->installEventFilter(this);
  layout->addWidget(m_playlist);

  m_playlist_buttons = new QWidget;
  auto* buttons = new QGridLayout(m_playlist_buttons);
  buttons->setContentsMargins(0, 0, 0, 0);
  int index = 0;
  for (QPushButton* button : PlaceButtons(kPlaylistPane)) {
    buttons->addWidget(button, index / 2, index % 2);
    ++index;
  }
  layout->addWidget(m_playlist_buttons);
  return tab;
}

QWidget* MainWindow::BuildDataEditorTab() {
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  m_option1 = new QRadioButton(ToQt(kOption1Caption));
  m_option1->setObjectName("Option1");
  m_option2 = new QRadioButton(ToQt(kOption2Caption));
  m_option2->setObjectName("Option2");
  auto* scope = new QHBoxLayout;
  scope->addWidget(m_option1);
  scope->addWidget(m_option2);
  layout->addLayout(scope);

  auto* form = new QFormLayout;
  const auto add_input = [form, this](const char* name, std::string_view caption,
                                      std::string_view check_caption, QCheckBox** check) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    if (check != nullptr) {
      edit->installEventFilter(this);
      *check = new QCheckBox(ToQt(check_caption));
      form->addRow(QString(), *check);
    }
    form->addRow(ToQt(caption), edit);
    return edit;
  };
  m_t_art = add_input("tArt", kTArtCaption, kChkArtCaption, &m_chk_art);
  m_chk_art->setObjectName("chkArt");
  m_t_title = add_input("tTitle", kTTitleCaption, kChkTitleCaption, &m_chk_title);
  m_chk_title->setObjectName("chkTitle");
  m_t_alb = add_input("tAlb", kTAlbCaption, kChkAlbumCaption, &m_chk_album);
  m_chk_album->setObjectName("chkAlbum");
  m_t_file = add_input("tFile", kTFileCaption, {}, nullptr);
  m_t_file->setReadOnly(true);
  layout->addLayout(form);

  auto* buttons = new QGridLayout;
  int index = 0;
  for (QPushButton* button : PlaceButtons(kDataEditorPane)) {
    buttons->addWidget(button, index / 2, index % 2);
    ++index;
  }
  layout->addLayout(buttons);
  layout->addStretch();
  return tab;
}

void MainWindow::BuildDataList() {
  m_data_list = MakeListView("LVData");
  m_data_adapter = new ListModelAdapter(m_controller->data_field_editor().LVData(), this);
  m_data_list->setModel(m_data_adapter);
  new SelectionSync(m_data_adapter, m_data_list->selectionModel(), m_data_list);
  new ListHeaderSync(m_data_adapter, m_data_list->header());
  m_data_list->header()->setSectionsClickable(false);  // LVData has no sort
  connect(m_data_list, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    Run([this, row = index.row()] { m_controller->data_field_editor().LVData_ItemClick(row); });
  });
  m_data_list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_data_list, &QWidget::customContextMenuRequested, this, &MainWindow::ShowDataListPopup);
}

void MainWindow::ShowDataListPopup(const QPoint& position) {
  QMenu popup(this);
  popup.setObjectName(ToQt(kDataListPopup));
  AddPlace(&popup, kDataListPopup);
  popup.exec(m_data_list->viewport()->mapToGlobal(position));
}

void MainWindow::PushEditorInputs() {
  DataFieldEditor& editor = m_controller->data_field_editor();
  editor.set_Option1(m_option1->isChecked());
  editor.set_chkArt(m_chk_art->isChecked());
  editor.set_chkTitle(m_chk_title->isChecked());
  editor.set_chkAlbum(m_chk_album->isChecked());
  editor.set_tArt(FromQt(m_t_art->text()));
  editor.set_tTitle(FromQt(m_t_title->text()));
  editor.set_tAlb(FromQt(m_t_alb->text()));
}

void MainWindow::ShowEditorState() {
  FrmMain& main = *m_controller;
  m_playlist->setVisible(main.view().playlist_visible);
  m_playlist_buttons->setVisible(main.view().playlist_visible);
  m_lists->setCurrentWidget(main.view().data_editor_shown() ? static_cast<QWidget*>(m_data_list)
                                                            : static_cast<QWidget*>(m_list));
  const DataFieldEditor& editor = main.data_field_editor();
  (editor.Option1() ? m_option1 : m_option2)->setChecked(true);
  m_chk_art->setChecked(editor.chkArt());
  m_chk_title->setChecked(editor.chkTitle());
  m_chk_album->setChecked(editor.chkAlbum());
  ShowText(m_t_art, editor.tArt());
  ShowText(m_t_title, editor.tTitle());
  ShowText(m_t_alb, editor.tAlb());
  ShowText(m_t_file, editor.tFile());
  if (main.playlist().TakeFocusRequest()) m_playlist->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Coming back from another window or a pop-up menu is no new focus.
    const bool returning = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    if (watched == m_playlist && !returning && !m_controller->busy()) {
      m_controller->playlist().LVP_GotFocus();
    } else if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      // The editor's input boxes take a new text whole.
      QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tallymere
