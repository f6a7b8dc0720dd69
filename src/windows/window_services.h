#pragma once
// The desktop services every window of the program shares. They count how
// deep the program is inside YieldToUi: while a long command of one window
// yields, every window refuses the commands and events the user starts then,
// which would act on a catalog or batch being rebuilt. And they start every
// file and folder dialog in the same place (dialog_start.h).

#include <string>
#include <vector>

#include "ports/ui_services.h"
#include "windows/dialog_start.h"

namespace tallymere {

// Forwards every service to the desktop and counts how deep the program is
// inside YieldToUi, so commands started from the window while another one
// yields can be refused. A dialog the caller gives no folder starts where
// DialogStart says, and what the user chooses there is remembered.
class YieldCountingUi : public UiServices {
 public:
  YieldCountingUi(UiServices& inner, int& depth, DialogStart& dialog_start)
      : m_inner(inner), m_depth(depth), m_dialog_start(dialog_start) {}

  Answer ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                     std::string_view title) override {
    return m_inner.ShowMessage(text, buttons, icon, title);
  }
  Answer ShowMessageWithList(std::string_view text, const std::vector<std::string>& lines,
                             Buttons buttons, Icon icon, std::string_view title) override {
    return m_inner.ShowMessageWithList(text, lines, buttons, icon, title);
  }
  std::string AskText(std::string_view prompt, std::string_view title,
                      std::string_view default_text) override {
    return m_inner.AskText(prompt, title, default_text);
  }
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override {
    return Chosen(m_inner.ChooseSaveFile(title, filter, m_dialog_start.InitialName(initial_name)));
  }
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override {
    return Chosen(m_inner.ChooseOpenFile(title, filter, m_dialog_start.InitialName(initial_name)));
  }
  std::string BrowseForFolder(std::string_view title, std::string_view start_folder = {}) override {
    std::string folder = m_inner.BrowseForFolder(title, StartOf(start_folder));
    m_dialog_start.ChoseCatalogFolder(folder);
    return folder;
  }
  std::optional<std::string> ChooseNativeFolder(std::string_view title,
                                                std::string_view start_folder = {}) override {
    std::optional<std::string> folder = m_inner.ChooseNativeFolder(title, StartOf(start_folder));
    if (folder) m_dialog_start.ChoseFolder(*folder);
    return folder;
  }
  uint32_t ChooseColor(std::string_view title, uint32_t initial) override {
    return m_inner.ChooseColor(title, initial);
  }
  void SetStatus(int panel, std::string_view text) override { m_inner.SetStatus(panel, text); }
  void Animation(AnimationKind kind, bool start) override { m_inner.Animation(kind, start); }
  void BusyPointer(bool on) override { m_inner.BusyPointer(on); }
  void YieldToUi() override {
    ++m_depth;
    m_inner.YieldToUi();
    --m_depth;
  }
  void CopyToClipboard(std::string_view text) override { m_inner.CopyToClipboard(text); }
  ShellResult ShellOpen(std::string_view verb, std::string_view path, std::string_view parameters,
                        std::string_view folder, int show_state) override {
    return m_inner.ShellOpen(verb, path, parameters, folder, show_state);
  }
  ShellResult ShowProperties(std::string_view path) override {
    return m_inner.ShowProperties(path);
  }

 private:
  std::optional<std::string> Chosen(std::optional<std::string> file) {
    if (file) m_dialog_start.ChoseFile(*file);
    return file;
  }
  std::string StartOf(std::string_view start_folder) const {
    return start_folder.empty() ? m_dialog_start.Folder() : std::string(start_folder);
  }

  UiServices& m_inner;
  int& m_depth;
  DialogStart& m_dialog_start;
};

class WindowServices {
 public:
  // session: the catalog the windows show, whose folder their dialogs start
  // in; none for windows without a catalog.
  explicit WindowServices(UiServices& desktop, const CatalogSession* session = nullptr)
      : m_dialog_start(session), m_ui(desktop, m_yield_depth, m_dialog_start) {}
  WindowServices(const WindowServices&) = delete;
  WindowServices& operator=(const WindowServices&) = delete;

  UiServices& ui() { return m_ui; }
  // True while a long command yields to the window.
  bool busy() const { return m_yield_depth > 0; }

 private:
  int m_yield_depth = 0;
  DialogStart m_dialog_start;
  YieldCountingUi m_ui;
};

}  // namespace tallymere
