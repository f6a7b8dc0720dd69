#pragma once
// The desktop as the core sees it: dialogs, messages, status bar, pointer,
// clipboard and shell. The desktop program implements it with Qt; command
// tests use a scripted fake that records every call and answers from a queue.
// Moving files to the trash is the platform's (Platform::MoveToTrash); the
// questions around it are the window's.

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

// What the desktop answered a request to open or show a file: started, or
// why not, in the shell's own numbers, which GShell's error table turns into
// texts. Any number above 32 is a start.
enum class ShellResult : int {
  kOutOfMemory = 0,
  kFileNotFound = 2,
  kPathNotFound = 3,
  kAccessDenied = 5,
  kNoAssociation = 31,
  kStarted = 42,
};
inline bool Started(ShellResult result) { return static_cast<int>(result) > 32; }

// The main window's status bar: what is going on, how many files, their size.
inline constexpr int kStatusPanel = 1;
inline constexpr int kCountPanel = 2;
inline constexpr int kSizePanel = 3;

// What a long command shows it is doing: looking for files in the catalog,
// or reading the computer's drives.
enum class AnimationKind { kFindFile, kFindComputer };

class UiServices {
 public:
  virtual ~UiServices() = default;

  // A modal message box; returns the button pressed.
  virtual Answer ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                             std::string_view title = kProgramTitle) = 0;
  // A modal message with a list below its text that the user can scroll (the
  // changes a command is about to make), one line each.
  virtual Answer ShowMessageWithList(std::string_view text, const std::vector<std::string>& lines,
                                     Buttons buttons, Icon icon, std::string_view title) = 0;
  // The text typed, or empty when cancelled (which abandons the command).
  virtual std::string AskText(std::string_view prompt, std::string_view title,
                              std::string_view default_text) = 0;
  // A native file path, or nothing when cancelled. The filter is a pattern
  // such as "*.mpd"; the initial name fills the name field, and its folder,
  // when it has one ("/home/me/Music/*.mpd"), is where the dialog starts.
  virtual std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                                    std::string_view initial_name) = 0;
  virtual std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                                    std::string_view initial_name) = 0;
  // A drive root or folder as a catalog path ("C:\" or "C:\Music"), or empty.
  // The dialog starts in start_folder (a native path) when one is given.
  virtual std::string BrowseForFolder(std::string_view title,
                                      std::string_view start_folder = {}) = 0;
  // A folder of this machine as a native path, wherever it lies (a shelf of
  // data files need not be on any drive of the map); nothing when cancelled.
  virtual std::optional<std::string> ChooseNativeFolder(std::string_view title,
                                                        std::string_view start_folder = {}) = 0;
  // A colour number 0x00BBGGRR. The dialog starts at `initial`, the colour
  // being changed, so after Cancel it reports that colour unchanged.
  virtual uint32_t ChooseColor(std::string_view title, uint32_t initial) = 0;

  // Status-bar panels are numbered 1 to 3.
  virtual void SetStatus(int panel, std::string_view text) = 0;
  // Starts or stops the animation of a long command; the desktop shows an
  // indeterminate progress indicator.
  virtual void Animation(AnimationKind kind, bool start) = 0;
  virtual void BusyPointer(bool on) = 0;
  // Lets the window repaint and move while a long command runs.
  virtual void YieldToUi() = 0;
  virtual void CopyToClipboard(std::string_view text) = 0;

  // Opens a native path with its associated program.
  virtual ShellResult ShellOpen(std::string_view verb, std::string_view path,
                                std::string_view parameters, std::string_view folder,
                                int show_state) = 0;
  virtual ShellResult ShowProperties(std::string_view path) = 0;
};

}  // namespace tallymere
