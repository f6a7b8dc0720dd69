#pragma once
// The Find in Catalogs window: a thin view of the FrmFindCatalogs
// controller, beside the main window and never modal. While a search runs,
// a timer takes the rows that arrived; typing a new text stops the search of
// the old one and starts the new one after a pause.

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <string_view>

#include "windows/find_catalogs/frm_find_catalogs.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace tallymere {

class ListModelAdapter;

class FindCatalogsWindow : public QMainWindow {
  Q_OBJECT
 public:
  FindCatalogsWindow(CatalogSession& session, WindowServices& services, CatalogNavigator& navigator,
                     QWidget* parent = nullptr);
  ~FindCatalogsWindow() override;

  FrmFindCatalogs& controller() { return *m_controller; }
  QAction* action(std::string_view name) const;
  QTreeView* results() const { return m_results; }
  QLineEdit* find_text() const { return m_find_text; }
  QLabel* status() const { return m_status; }
  // Shows the controller's state in every control.
  void ShowState();

  // Set by the main window: brings it forward; runs a command that acts in
  // it as its own commands run (refused while one of them yields, input
  // held meanwhile).
  std::function<void()> raise_main;
  std::function<void(const std::function<void()>&)> run_in_main;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildSearchRow();
  QWidget* BuildBoundsBox();
  QWidget* BuildShelfBox();
  void BuildResults();
  void BuildActions();
  // Pushes the edited controls to the controller, then runs a command.
  void Run(FindCatalogsCommand command);
  void PushControls();
  void Poll();

  std::unique_ptr<FrmFindCatalogs> m_controller;
  std::map<FindCatalogsCommand, QAction*> m_actions;
  QLineEdit* m_find_text = nullptr;
  QComboBox* m_field = nullptr;
  QComboBox* m_type = nullptr;
  std::map<std::string_view, QLineEdit*> m_bounds;  // by control name
  QListWidget* m_shelf = nullptr;
  QCheckBox* m_subfolders = nullptr;
  QTreeView* m_results = nullptr;
  ListModelAdapter* m_adapter = nullptr;
  QLabel* m_status = nullptr;
  QTimer m_poll;
  QTimer m_typing;
};

}  // namespace tallymere
