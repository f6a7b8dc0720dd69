#pragma once
// A UiServices fake for command tests: it records every call and answers the
// prompts from a queue filled by the test. A prompt with no queued answer, an
// answer of the wrong kind, or an answer left unused at the end fails the test.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ports/ui_services.h"

namespace tallymere::testing {

struct UiCall {
  std::string op;     // "ShowMessage", "AskText", "SetStatus", "ShellOpen", ...
  std::string text;   // message, prompt, status text, path, clipboard text
  std::string title;  // title, or the filter of a file dialog
  std::string extra;  // default text, filter, verb, animation file, a folder dialog's start
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kNone;
  int panel = 0;  // status panel; or the show state of ShellOpen; 1/0 for on/off
};

class ScriptedUi : public UiServices {
 public:
  ScriptedUi() = default;
  ~ScriptedUi() override;
  ScriptedUi(const ScriptedUi&) = delete;
  ScriptedUi& operator=(const ScriptedUi&) = delete;

  // --- Answers, consumed in order -------------------------------------------
  ScriptedUi& AnswerMessage(Answer answer);
  ScriptedUi& AnswerText(std::string text);
  ScriptedUi& AnswerOpenFile(std::optional<std::string> path);
  ScriptedUi& AnswerSaveFile(std::optional<std::string> path);
  ScriptedUi& AnswerFolder(std::string folder);
  ScriptedUi& AnswerColor(uint32_t colour);
  // The colour dialog is cancelled: it reports the colour it started at.
  ScriptedUi& CancelColor();
  // Results of the shell operations when nothing is queued: 42 and 42.
  void set_shell_result(ShellResult result) { m_shell_result = result; }
  // Runs inside every YieldToUi, so a test can act while a command yields.
  void set_on_yield(std::function<void()> hook) { m_on_yield = std::move(hook); }

  // --- What happened ----------------------------------------------------------
  const std::vector<UiCall>& calls() const { return m_calls; }
  // The ShowMessage calls only.
  std::vector<UiCall> Messages() const;
  // The texts of the ShowMessage calls, in order.
  std::vector<std::string> MessageTexts() const;
  // The text a status panel shows now.
  std::string Status(int panel) const;
  const std::string& clipboard() const { return m_clipboard; }
  int busy_depth() const { return m_busy_depth; }
  bool animation_running() const { return m_animation_running; }
  int yield_count() const { return m_yield_count; }
  bool has_pending_answers() const { return !m_answers.empty(); }
  void ClearCalls() { m_calls.clear(); }

  // --- UiServices -------------------------------------------------------------
  Answer ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                     std::string_view title) override;
  // Recorded as a ShowMessage whose extra holds the lines, one a line.
  Answer ShowMessageWithList(std::string_view text, const std::vector<std::string>& lines,
                             Buttons buttons, Icon icon, std::string_view title) override;
  std::string AskText(std::string_view prompt, std::string_view title,
                      std::string_view default_text) override;
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override;
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_name) override;
  std::string BrowseForFolder(std::string_view title, std::string_view start_folder = {}) override;
  // Takes the answers AnswerFolder queues, as native folders; "" cancels.
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
  enum class Kind { kMessage, kText, kOpenFile, kSaveFile, kFolder, kColor };
  struct QueuedAnswer {
    Kind kind;
    Answer button = Answer::kOk;
    std::optional<std::string> text;
    std::optional<uint32_t> colour;  // none: the colour dialog was cancelled
  };
  // Takes the next answer, failing the test when it is missing or of another kind.
  std::optional<QueuedAnswer> Take(Kind kind, const UiCall& call);

  std::deque<QueuedAnswer> m_answers;
  std::vector<UiCall> m_calls;
  std::string m_status[4];
  std::string m_clipboard;
  int m_busy_depth = 0;
  bool m_animation_running = false;
  int m_yield_count = 0;
  ShellResult m_shell_result = ShellResult::kStarted;
  std::function<void()> m_on_yield;
};

}  // namespace tallymere::testing
