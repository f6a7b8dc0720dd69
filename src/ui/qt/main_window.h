#pragma once
// The main window: a thin view of the FrmMain controller. Every event goes to
// the controller's handler of the same name; after each command the window
// shows the controller's state again (caption, enabled commands, batch).

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/qt/help_viewer.h"
#include "ui/qt/qt_ui_services.h"
#include "windows/main/frm_main.h"
#include "windows/main/main_command_table.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QTreeView;

namespace tallymere {

class BatchListWidget;
class ListHeaderSync;
class DataInfoWindow;
class OptionsDialog;
class FindCatalogsWindow;
class Mp3UtilitiesWindow;
class CatalogTreeView;
class ListModelAdapter;
class TreeModelAdapter;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(const Platform& platform, QWidget* parent = nullptr);
  ~MainWindow() override;

  FrmMain& controller() { return *m_controller; }
  QtUiServices& services() { return *m_services; }
  // The action of a command by its name ("mnuScan"), or nullptr.
  QAction* action(std::string_view name) const;
  CatalogTreeView* tree() const { return m_tree; }
  QTreeView* file_list() const { return m_list; }
  // The Playlist Editor's LVP and the Data Field Editor's LVData.
  QTreeView* playlist() const { return m_playlist; }
  QTreeView* data_list() const { return m_data_list; }
  QTabWidget* side_panel() const { return m_side_panel; }
  BatchListWidget* batch_list() const { return m_batch; }
  QLabel* status_panel(int panel) const;
  // The Data File Info window once it was asked for.
  DataInfoWindow* data_info() const { return m_data_info; }
  OptionsDialog* options() const { return m_options; }
  // The MP3 Utilities window while it exists.
  Mp3UtilitiesWindow* mp3_utilities() const { return m_mp3_utilities.get(); }
  FindCatalogsWindow* find_catalogs() const { return m_find_catalogs.get(); }
  // The program's own help viewer while it is open.
  HelpViewer* help_viewer() const { return m_help_viewer; }

  // Runs one of the controller's commands with input blocked while it yields,
  // then shows the controller's state.
  void Run(const std::function<void()>& command);
  // Runs a command of the table, as its menu item, pop-up item, toolbar
  // button or pane button does.
  void RunCommand(MainCommand command);
  // The toolbar button by its number, or nullptr.
  QAction* toolbar_button(int button) const;
  // Opens a data file named on the command line as Open would after its
  // dialog, asking first whether to save a changed catalog.
  void OpenDataFile(const QString& path);

 signals:
  // Every menu, pop-up and toolbar command, as it starts, by its name.
  void commandStarted(const QString& command);
  // Once it has run: the handler the controller ran ("mnuClip_Click"), empty
  // when it refused the command.
  void commandRan(const QString& handler);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A data file dropped from a file manager opens as if chosen in Open.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window's panes, built in this order.
  void BuildViews();
  void BuildTreePane();
  void BuildFileList();
  QWidget* BuildBatchBox();
  QWidget* BuildFindBox();
  void BuildSplitters();
  void BuildStatusBar();
  // Keeps the find panel's inputs and the controller's FindPanel the same.
  void BindFindPanel();
  void BuildCommands();
  void BuildMenus();
  void BuildToolbar();
  // Appends the actions of a place of the command table (a menu, a pop-up)
  // in table order, with its separators.
  void AddPlace(QMenu* menu, std::string_view place) const;
  // The buttons of a pane's place, each bound to its command's action.
  std::vector<QPushButton*> PlaceButtons(std::string_view place);
  void ShowControllerState();
  // "Look in:" lists the drives of the tree.
  void ShowLookInDrives();
  // The side panel's second and third tabs and LVData beside the file list.
  QWidget* BuildPlaylistTab();
  QWidget* BuildDataEditorTab();
  void BuildDataList();
  // The Data Field Editor's inputs to the controller before each command,
  // and the editors' state back into their controls after it.
  void PushEditorInputs();
  void ShowEditorState();
  void ShowDataListPopup(const QPoint& position);
  void ShowFileListPopup(const QPoint& position);
  void ShowTreePopup(const QPoint& position);
  void ShowAbout();
  // The help page (a native path) in the program's own viewer, brought
  // forward when it is open already.
  void ShowHelpViewer(const std::string& page);
  // An address the help viewer does not show itself, given to the desktop.
  void OpenHelpLink(const QUrl& address);
  void ShowMp3Utilities();
  void ShowFindCatalogs();
  void ShowDataInfo();
  void ShowOptions();
  // The window's place, splitters and the user's column widths, kept in the
  // user's configuration folder between runs.
  void RestoreLayout();
  void SaveLayout() const;

  std::unique_ptr<QtUiServices> m_services;
  std::unique_ptr<CatalogSession> m_session;
  std::unique_ptr<WindowServices> m_window_services;
  std::unique_ptr<FrmMain> m_controller;
  const Platform& m_platform;

  TreeModelAdapter* m_tree_adapter = nullptr;
  ListModelAdapter* m_list_adapter = nullptr;
  CatalogTreeView* m_tree = nullptr;
  QTreeView* m_list = nullptr;
  QStackedWidget* m_lists = nullptr;  // the file list, or LVData in its place
  ListModelAdapter* m_playlist_adapter = nullptr;
  QTreeView* m_playlist = nullptr;
  QWidget* m_playlist_buttons = nullptr;
  ListModelAdapter* m_data_adapter = nullptr;
  QTreeView* m_data_list = nullptr;
  QRadioButton* m_option1 = nullptr;
  QRadioButton* m_option2 = nullptr;
  QCheckBox* m_chk_art = nullptr;
  QCheckBox* m_chk_title = nullptr;
  QCheckBox* m_chk_album = nullptr;
  QLineEdit* m_t_art = nullptr;
  QLineEdit* m_t_title = nullptr;
  QLineEdit* m_t_alb = nullptr;
  QLineEdit* m_t_file = nullptr;
  QSplitter* m_splitter = nullptr;
  QSplitter* m_left_splitter = nullptr;
  ListHeaderSync* m_header_sync = nullptr;
  QTabWidget* m_side_panel = nullptr;
  BatchListWidget* m_batch = nullptr;
  QLineEdit* m_find_text = nullptr;
  QComboBox* m_find_type = nullptr;
  QComboBox* m_find_drive = nullptr;
  QLabel* m_panels[3] = {nullptr, nullptr, nullptr};
  QProgressBar* m_animation = nullptr;
  QToolBar* m_toolbar = nullptr;
  std::unique_ptr<Mp3UtilitiesWindow> m_mp3_utilities;
  std::unique_ptr<FindCatalogsWindow> m_find_catalogs;
  DataInfoWindow* m_data_info = nullptr;  // child windows, made when first asked for
  OptionsDialog* m_options = nullptr;
  QPointer<HelpViewer> m_help_viewer;
  std::map<MainCommand, QAction*> m_actions;
  std::map<int, QAction*> m_toolbar_buttons;  // by button number
};

}  // namespace tallymere
