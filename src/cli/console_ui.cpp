#include "cli/console_ui.h"

namespace tallymere::cli {
namespace {

// Any non-zero result tells the caller that nothing went to the trash.
constexpr int kNotRecycled = 1;

// The answer that does nothing: No where there is a No, else Cancel.
Answer RefusingAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kYesNo:
      return Answer::kNo;
    case Buttons::kOkCancel:
    case Buttons::kYesNoCancel:
      return Answer::kCancel;
  }
  return Answer::kCancel;
}

}  // namespace

void ConsoleUi::Write(std::string_view text, std::string_view note) {
  ++m_message_count;
  std::string line = m_prefix + ": " + std::string(text);
  if (!note.empty()) line += " (" + std::string(note) + ")";
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), m_errors);
  std::fflush(m_errors);
}

Answer ConsoleUi::ShowMessage(std::string_view text, Buttons buttons, Icon, std::string_view) {
  const Answer answer = RefusingAnswer(buttons);
  if (answer == Answer::kOk) {
    Write(text);
  } else {
    Write(text,
          answer == Answer::kNo ? "answered No: not interactive" : "cancelled: not interactive");
  }
  return answer;
}

std::string ConsoleUi::AskText(std::string_view prompt, std::string_view, std::string_view) {
  Write(prompt, "cancelled: not interactive");
  return "";
}

std::optional<std::string> ConsoleUi::ChooseSaveFile(std::string_view title, std::string_view,
                                                     std::string_view) {
  Write(title, "cancelled: not interactive");
  return std::nullopt;
}

std::optional<std::string> ConsoleUi::ChooseOpenFile(std::string_view title, std::string_view,
                                                     std::string_view) {
  Write(title, "cancelled: not interactive");
  return std::nullopt;
}

std::string ConsoleUi::BrowseForFolder(std::string_view title) {
  Write(title, "cancelled: not interactive");
  return "";
}

uint32_t ConsoleUi::ChooseColor(std::string_view title, uint32_t initial) {
  Write(title, "cancelled: not interactive");
  return initial;
}

// "No application" is what a terminal without a desktop amounts to.
ShellResult ConsoleUi::ShellOpen(std::string_view, std::string_view, std::string_view,
                                 std::string_view, int) {
  return ShellResult::kNoAssociation;
}

ShellResult ConsoleUi::ShowProperties(std::string_view) { return ShellResult::kNoAssociation; }

int ConsoleUi::RecycleFiles(const std::vector<std::string>&) { return kNotRecycled; }

}  // namespace tallymere::cli
