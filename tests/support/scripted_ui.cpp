#include "support/scripted_ui.h"

#include <gtest/gtest.h>

namespace tallymere::testing {
namespace {

const char* KindName(int kind) {
  static const char* kNames[] = {"message answer", "text",   "open file",
                                 "save file",      "folder", "colour"};
  return kNames[kind];
}

UiCall MakeCall(std::string op, std::string text = {}, std::string title = {},
                std::string extra = {}, int panel = 0) {
  UiCall call;
  call.op = std::move(op);
  call.text = std::move(text);
  call.title = std::move(title);
  call.extra = std::move(extra);
  call.panel = panel;
  return call;
}

std::string Describe(const UiCall& call) {
  return call.op + "(\"" + call.text + "\", title \"" + call.title + "\")";
}

}  // namespace

ScriptedUi::~ScriptedUi() {
  if (!m_answers.empty()) {
    ADD_FAILURE() << m_answers.size() << " scripted answer(s) left unused, the first a "
                  << KindName(static_cast<int>(m_answers.front().kind));
  }
}

ScriptedUi& ScriptedUi::AnswerMessage(Answer answer) {
  m_answers.push_back({Kind::kMessage, answer, std::nullopt, 0});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerText(std::string text) {
  m_answers.push_back({Kind::kText, Answer::kOk, std::move(text), 0});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerOpenFile(std::optional<std::string> path) {
  m_answers.push_back({Kind::kOpenFile, Answer::kOk, std::move(path), 0});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerSaveFile(std::optional<std::string> path) {
  m_answers.push_back({Kind::kSaveFile, Answer::kOk, std::move(path), 0});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerFolder(std::string folder) {
  m_answers.push_back({Kind::kFolder, Answer::kOk, std::move(folder), 0});
  return *this;
}
ScriptedUi& ScriptedUi::CancelColor() {
  m_answers.push_back({Kind::kColor, Answer::kCancel, std::nullopt, std::nullopt});
  return *this;
}

ScriptedUi& ScriptedUi::AnswerColor(uint32_t colour) {
  m_answers.push_back({Kind::kColor, Answer::kOk, std::nullopt, colour});
  return *this;
}

std::optional<ScriptedUi::QueuedAnswer> ScriptedUi::Take(Kind kind, const UiCall& call) {
  if (m_answers.empty()) {
    ADD_FAILURE() << "Unexpected prompt with no scripted answer: " << Describe(call);
    return std::nullopt;
  }
  QueuedAnswer answer = m_answers.front();
  m_answers.pop_front();
  if (answer.kind != kind) {
    ADD_FAILURE() << "Prompt " << Describe(call) << " wanted a " << KindName(static_cast<int>(kind))
                  << " but the script holds a " << KindName(static_cast<int>(answer.kind));
    return std::nullopt;
  }
  return answer;
}

std::vector<UiCall> ScriptedUi::Messages() const {
  std::vector<UiCall> messages;
  for (const UiCall& call : m_calls) {
    if (call.op == "ShowMessage") messages.push_back(call);
  }
  return messages;
}

std::vector<std::string> ScriptedUi::MessageTexts() const {
  std::vector<std::string> texts;
  for (const UiCall& call : Messages()) texts.push_back(call.text);
  return texts;
}

std::string ScriptedUi::Status(int panel) const {
  return panel >= 1 && panel <= 3 ? m_status[panel] : std::string();
}

Answer ScriptedUi::ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                               std::string_view title) {
  UiCall call = MakeCall("ShowMessage", std::string(text), std::string(title));
  call.buttons = buttons;
  call.icon = icon;
  m_calls.push_back(call);
  if (buttons == Buttons::kOk) return Answer::kOk;  // nothing to decide
  const auto answer = Take(Kind::kMessage, call);
  if (!answer) return buttons == Buttons::kYesNo ? Answer::kNo : Answer::kCancel;
  return answer->button;
}

Answer ScriptedUi::ShowMessageWithList(std::string_view text, const std::vector<std::string>& lines,
                                       Buttons buttons, Icon icon, std::string_view title) {
  const Answer answer = ShowMessage(text, buttons, icon, title);
  for (const std::string& line : lines) m_calls.back().extra += line + "\n";
  return answer;
}

std::string ScriptedUi::AskText(std::string_view prompt, std::string_view title,
                                std::string_view default_text) {
  UiCall call =
      MakeCall("AskText", std::string(prompt), std::string(title), std::string(default_text));
  m_calls.push_back(call);
  const auto answer = Take(Kind::kText, call);
  return answer && answer->text ? *answer->text : std::string();
}

std::optional<std::string> ScriptedUi::ChooseSaveFile(std::string_view title,
                                                      std::string_view filter,
                                                      std::string_view initial_name) {
  UiCall call = MakeCall("ChooseSaveFile", std::string(initial_name), std::string(title),
                         std::string(filter));
  m_calls.push_back(call);
  const auto answer = Take(Kind::kSaveFile, call);
  return answer ? answer->text : std::nullopt;
}

std::optional<std::string> ScriptedUi::ChooseOpenFile(std::string_view title,
                                                      std::string_view filter,
                                                      std::string_view initial_name) {
  UiCall call = MakeCall("ChooseOpenFile", std::string(initial_name), std::string(title),
                         std::string(filter));
  m_calls.push_back(call);
  const auto answer = Take(Kind::kOpenFile, call);
  return answer ? answer->text : std::nullopt;
}

std::string ScriptedUi::BrowseForFolder(std::string_view title, std::string_view start_folder) {
  UiCall call = MakeCall("BrowseForFolder", "", std::string(title), std::string(start_folder));
  m_calls.push_back(call);
  const auto answer = Take(Kind::kFolder, call);
  return answer && answer->text ? *answer->text : std::string();
}

std::optional<std::string> ScriptedUi::ChooseNativeFolder(std::string_view title,
                                                          std::string_view start_folder) {
  UiCall call = MakeCall("ChooseNativeFolder", "", std::string(title), std::string(start_folder));
  m_calls.push_back(call);
  const auto answer = Take(Kind::kFolder, call);
  if (!answer || !answer->text || answer->text->empty()) return std::nullopt;
  return *answer->text;
}

uint32_t ScriptedUi::ChooseColor(std::string_view title, uint32_t initial) {
  // The text is the colour the dialog starts at, as a number.
  UiCall call = MakeCall("ChooseColor", std::to_string(initial), std::string(title));
  m_calls.push_back(call);
  const auto answer = Take(Kind::kColor, call);
  if (!answer) return initial;
  return answer->colour ? *answer->colour : initial;
}

void ScriptedUi::SetStatus(int panel, std::string_view text) {
  m_calls.push_back(MakeCall("SetStatus", std::string(text), "", "", panel));
  if (panel >= 1 && panel <= 3) m_status[panel] = std::string(text);
}

void ScriptedUi::Animation(AnimationKind kind, bool start) {
  const char* name = kind == AnimationKind::kFindFile ? "find file" : "find computer";
  m_calls.push_back(MakeCall("Animation", "", "", name, start ? 1 : 0));
  m_animation_running = start;
}

void ScriptedUi::BusyPointer(bool on) {
  m_calls.push_back(MakeCall("BusyPointer", "", "", "", on ? 1 : 0));
  m_busy_depth += on ? 1 : -1;
}

void ScriptedUi::YieldToUi() {
  ++m_yield_count;
  if (m_on_yield) m_on_yield();
}

void ScriptedUi::CopyToClipboard(std::string_view text) {
  m_calls.push_back(MakeCall("CopyToClipboard", std::string(text)));
  m_clipboard = std::string(text);
}

ShellResult ScriptedUi::ShellOpen(std::string_view verb, std::string_view path,
                                  std::string_view parameters, std::string_view folder,
                                  int show_state) {
  m_calls.push_back(
      MakeCall("ShellOpen", std::string(path), std::string(folder), std::string(verb), show_state));
  (void)parameters;
  return m_shell_result;
}

ShellResult ScriptedUi::ShowProperties(std::string_view path) {
  m_calls.push_back(MakeCall("ShowProperties", std::string(path)));
  return m_shell_result;
}

}  // namespace tallymere::testing
