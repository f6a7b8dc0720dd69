#pragma once
// The desktop as the core sees it: dialogs, messages, status bar, pointer,
// clipboard and shell. The desktop program implements it with Qt; command
// tests use a scripted fake that records every call and answers from a queue.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Icon { kNone, kStop, kQuestion, kWarning, kInformation };
enum class Answer { kOk, kCancel, kYes, kNo };

inline constexpr std::string_view kProgramTitle = "Tallymere";

class UiServices {
 public:
  virtual ~UiServices() = default;

  // A modal message box; returns the button pressed.
  virtual Answer ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                             std::string_view title = kProgramTitle) = 0;
  // The text typed, or empty when cancelled (which abandons the command).
  virtual std::string AskText(std::string_view prompt, std::string_view title,
                              std::string_view default_text) = 0;
  // A native file path, or nothing when cancelled. The filter is a pattern
  // such as "*.mpd"; the initial name fills the name field.
  virtual std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                                    std::string_view initial_name) = 0;
  virtual std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                                    std::string_view initial_name) = 0;
  // A drive root or folder as a catalog path ("C:\" or "C:\Music"), or empty.
  virtual std::string BrowseForFolder(std::string_view title) = 0;
  // A colour number 0x00BBGGRR. The dialog starts at `initial`, the colour
  // being changed, so after Cancel it reports that colour unchanged.
  virtual uint32_t ChooseColor(std::string_view title, uint32_t initial) = 0;

  // Status-bar panels are numbered 1 to 3.
  virtual void SetStatus(int panel, std::string_view text) = 0;
  // file is "Findfile.avi" or "Findcomp.avi"; the desktop shows an
  // indeterminate progress indicator instead of playing it.
  virtual void Animation(std::string_view file, bool start) = 0;
  virtual void BusyPointer(bool on) = 0;
  // Lets the window repaint and move while a long command runs.
  virtual void YieldToUi() = 0;
  virtual void CopyToClipboard(std::string_view text) = 0;

  // Opens a native path with its associated program. Above 32 is success;
  // 2 missing file, 3 missing folder, 5 no access, 31 no application.
  virtual int ShellOpen(std::string_view verb, std::string_view path, std::string_view parameters,
                        std::string_view folder, int show_state) = 0;
  // 32 or less is failure.
  virtual int ShowProperties(std::string_view path) = 0;
  // Moves native paths to the trash after asking; zero on success.
  virtual int RecycleFiles(const std::vector<std::string>& paths) = 0;
};

}  // namespace tallymere
