#pragma once
// UiServices for tallymere-cli: a terminal has no dialogs and nobody to answer
// them. Messages go to an error stream (stderr by default) with the command's
// name in front; every prompt is answered "no" or cancelled, so a command never
// waits for input and never does what it would have asked about. Nothing is
// opened, recycled or copied; status texts, animations and the busy pointer
// are not shown, and yielding does nothing.

#include <cstdio>
#include <string>

#include "ports/ui_services.h"

namespace tallymere::cli {

class ConsoleUi : public UiServices {
 public:
  // prefix names the command in each line ("tallymere-cli scan").
  explicit ConsoleUi(std::string prefix, std::FILE* errors = stderr)
      : m_prefix(std::move(prefix)), m_errors(errors) {}

  // How many messages and prompts were written.
  int message_count() const { return m_message_count; }

  Answer ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                     std::string_view title) override;
  std::string AskText(std::string_view prompt, std::string_view title,
                      std::string_view default_text) override;
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override;
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override;
  std::string BrowseForFolder(std::string_view title) override;
  uint32_t ChooseColor(std::string_view title, uint32_t initial) override;
  void SetStatus(int, std::string_view) override {}
  void Animation(AnimationKind, bool) override {}
  void BusyPointer(bool) override {}
  void YieldToUi() override {}
  void CopyToClipboard(std::string_view) override {}
  ShellResult ShellOpen(std::string_view verb, std::string_view path, std::string_view parameters,
                        std::string_view folder, int show_state) override;
  ShellResult ShowProperties(std::string_view path) override;
  int RecycleFiles(const std::vector<std::string>& paths) override;

 private:
  // One line "prefix: text[ (note)]".
  void Write(std::string_view text, std::string_view note = {});

  std::string m_prefix;
  std::FILE* m_errors;
  int m_message_count = 0;
};

}  // namespace tallymere::cli
