#pragma once
// The desktop behind UiServices: Qt dialogs and message boxes parented to the
// main window, the status-bar panels and progress bar the window hands over,
// the wait cursor, the clipboard, and the Linux layer for opening files
// (xdg-open), showing their properties (the file manager over D-Bus, else a
// window of our own) and moving them to the trash.
//
// Everything runs on the user-interface thread. YieldToUi processes events at
// most every kYieldIntervalMs; hold an InputBlocker (input_blocker.h) around
// every long command so input cannot start another command meanwhile.

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/code_page.h"
#include "platform/shell_open.h"
#include "ports/platform.h"
#include "ports/ui_services.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace tallymere {

inline constexpr int kYieldIntervalMs = 50;

// The name filters a file dialog shows for a pattern: "*.mpd" gives
// "Data files (*.mpd)" and "All files (*)"; "*.*" gives "All files (*)".
QStringList NameFiltersFor(std::string_view pattern);

class QtUiServices : public UiServices {
 public:
  // main_window parents every dialog; it may be null in tests.
  QtUiServices(const Platform& platform, QWidget* main_window);
  ~QtUiServices() override;
  QtUiServices(const QtUiServices&) = delete;
  QtUiServices& operator=(const QtUiServices&) = delete;

  // The status bar's three panels and its progress bar, owned by the window.
  void SetStatusPanels(QLabel* panel1, QLabel* panel2, QLabel* panel3);
  void SetAnimationBar(QProgressBar* bar);
  // How a later failure of a started opener is told; by default a message
  // window that does not block. Runs on the user-interface thread.
  using OpenFailedHandler = std::function<void(const std::string& path, int exit_code)>;
  void SetOpenFailedHandler(OpenFailedHandler handler);
  // That message window: the file could not be opened, and why.
  void ShowOpenFailure(const std::string& path, int exit_code);
  // The tools ShellOpen uses (the real ones by default).
  void SetShellTools(ShellTools tools);
  // The ID3v1 code page of the moment (the Options'), for our own Properties
  // window; without one it reads tags as Automatic does.
  void SetCodePageSource(std::function<CodePage()> code_page) {
    m_code_page = std::move(code_page);
  }
  // The bus ShowProperties asks (the session bus by default).
  void SetPropertiesBus(const QDBusConnection& bus);
  int busy_depth() const { return m_busy_depth; }

  Answer ShowMessageWithList(std::string_view text, const std::vector<std::string>& lines,
                             Buttons buttons, Icon icon, std::string_view title) override;
  Answer ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                     std::string_view title = kProgramTitle) override;
  std::string AskText(std::string_view prompt, std::string_view title,
                      std::string_view default_text) override;
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override;
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override;
  std::string BrowseForFolder(std::string_view title, std::string_view start_folder = {}) override;
  std::optional<std::string> ChooseNativeFolder(std::string_view title,
                                                std::string_view start_folder = {}) override;
  uint32_t ChooseColor(std::string_view title, uint32_t initial) override;
  void SetStatus(int panel, std::string_view text) override;
  void Animation(AnimationKind kind, bool start) override;
  void BusyPointer(bool on) override;
  void YieldToUi() override;
  void CopyToClipboard(std::string_view text) override;
  ShellResult ShellOpen(std::string_view verb, std::string_view path, std::string_view parameters,
                        std::string_view folder, int show_state) override;
  ShellResult ShowProperties(std::string_view path) override;

 private:
  struct OpenFailureRelay;

  std::optional<std::string> ChooseFile(bool save, std::string_view title, std::string_view filter,
                                        std::string_view initial_name);
  void ShowOwnProperties(const std::string& native_path);
  void ReportOpenFailure(const std::string& path, int exit_code);

  const Platform& m_platform;
  QPointer<QWidget> m_main_window;
  QPointer<QLabel> m_panels[3];
  QPointer<QProgressBar> m_animation_bar;
  OpenFailedHandler m_open_failed;
  ShellTools m_shell_tools;
  std::function<CodePage()> m_code_page;
  std::optional<QDBusConnection> m_properties_bus;
  std::shared_ptr<OpenFailureRelay> m_relay;
  QElapsedTimer m_yield_clock;
  int m_busy_depth = 0;
};

}  // namespace tallymere
