#pragma once
// The MP3 Utilities window (frmID3): a thin view of the FrmID3 controller,
// beside the main window and never modal. Before each command the texts and
// options the user edited go to the controller; afterwards the window shows
// the controller's state again.

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "windows/mp3_utilities/frm_id3.h"
#include "windows/mp3_utilities/frm_id3_command_table.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTreeView;

namespace tallymere {

class ListModelAdapter;

class Mp3UtilitiesWindow : public QMainWindow {
  Q_OBJECT
 public:
  Mp3UtilitiesWindow(CatalogSession& session, WindowServices& services, QWidget* parent = nullptr);
  ~Mp3UtilitiesWindow() override;

  FrmID3& controller() { return *m_controller; }
  // The action of a command by its name ("mnuOpen"), or nullptr.
  QAction* action(std::string_view name) const;
  QTreeView* batch_list() const { return m_list; }
  QLabel* detail_label(int index) const { return m_labels.at(index); }  // 0: Label9 ... 3: Label12
  QLineEdit* editor_field(int index) const { return m_fields.at(index); }  // title..comment
  QComboBox* genre_box() const { return m_genre; }
  QLabel* status_panel(int panel) const { return m_status.at(panel - 1); }
  // The toolbar button by its number, or nullptr.
  QAction* toolbar_button(int button) const {
    const auto it = m_buttons.find(button);
    return it == m_buttons.end() ? nullptr : it->second;
  }

  // Pushes the edited texts to the controller, runs the command with input
  // blocked while it yields, and shows the new state.
  void Run(const std::function<void()>& command);
  // Shows the controller's state in every control.
  void ShowState();

 signals:
  // Every menu, pop-up and toolbar command, as it starts (the toolbar's by
  // the button's name, "Tbr3").
  void commandStarted(const QString& command);
  // Once it has run: the handler the controller ran, empty when refused.
  void commandRan(const QString& handler);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window's panes, built in this order.
  void BuildViews();
  void BuildBatchList();
  QWidget* BuildTagBox();
  QWidget* BuildDetailsBox();
  QWidget* BuildNameBox();
  void BuildMenusAndToolbar();
  // Appends the actions of a menu or the pop-up in table order.
  void AddPlace(QMenu* menu, std::string_view place) const;
  void RunCommand(Id3Command command);
  void PushEdits();

  std::unique_ptr<FrmID3> m_controller;
  ListModelAdapter* m_adapter = nullptr;
  QTreeView* m_list = nullptr;
  std::array<QLineEdit*, 5> m_fields{};  // txtTitle, txtArtist, txtAlbum, txtYear, txtComment
  QComboBox* m_genre = nullptr;          // txtGenre
  std::array<QCheckBox*, 6> m_keep{};    // chkTitle ... chkGenre
  std::array<QLabel*, 4> m_labels{};     // Label9 ... Label12
  std::array<QLabel*, 4> m_id3v2_labels{};
  QLineEdit* m_display = nullptr;  // txtDisplay
  QLineEdit* m_text = nullptr;     // txtText
  QLineEdit* m_replace = nullptr;  // txtReplace
  QLineEdit* m_with = nullptr;     // txtWith
  QRadioButton* m_opt_select = nullptr;
  QRadioButton* m_opt_all = nullptr;
  std::array<QLabel*, 2> m_status{};
  std::map<Id3Command, QAction*> m_actions;
  std::map<int, QAction*> m_buttons;  // Tbr by button number
  bool m_showing = false;
};

}  // namespace tallymere
