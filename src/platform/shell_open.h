#pragma once
// Opening a file or address with the program the desktop associates with it.
//
// The result is decided before anything starts: the file or its folder is
// missing, it cannot be read, no program is registered for its MIME type or
// any type it derives from, or the opener was started. The opener (xdg-open) may wait until the
// program it started exits, so it runs detached in its own session and is
// never waited for on the caller's thread; a watcher thread reaps it and
// reports a failure exit through a callback.
//
// The tools that query and start programs are injectable, so tests can fake
// the desktop's answers.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "ports/ui_services.h"

namespace tallymere {

struct CommandOutput {
  bool started = false;  // false when the program could not be run at all
  int exit_code = -1;    // -1 when it was stopped or killed
  std::string output;    // what it wrote to standard output
};

// Runs a short command to its end and returns what it printed.
using CommandRunner = std::function<CommandOutput(const std::vector<std::string>& argv)>;
// Told the exit code (128 + signal for a killed process) when a started
// opener ends in failure. Called on a watcher thread, never on the caller's.
using OpenFailed = std::function<void(int exit_code)>;
// Starts argv detached in folder (the current folder when empty) and returns at
// once; fails only when the program cannot be started.
using DetachedLauncher = std::function<Status(const std::vector<std::string>& argv,
                                              const std::string& folder, OpenFailed on_failure)>;

struct ShellTools {
  CommandRunner run;
  DetachedLauncher launch;
  // Data folders whose mime/subclasses files name each type's parent types.
  std::vector<std::string> mime_folders;
};

// The real tools: RunCommand, StartDetached and the XDG data folders
// ($XDG_DATA_HOME, then $XDG_DATA_DIRS or /usr/local/share:/usr/share).
ShellTools SystemShellTools();

// Opens a native path, or an address with a scheme ("https://..."), with its
// associated program. folder, when it names a folder, becomes the program's
// working folder. type_hint ("text/plain"), when given, is the type to open a
// file as when its own type has no program: an empty text file's content
// says nothing, its name does.
ShellResult ShellOpenPath(std::string_view path, std::string_view folder, const ShellTools& tools,
                          OpenFailed on_failure, std::string_view type_hint = {});

// --- The pieces, exposed for tests ----------------------------------------------

// Runs argv (looked up on PATH) with standard input from /dev/null and waits at
// most timeout_ms for it; a command that takes longer is killed.
CommandOutput RunCommand(const std::vector<std::string>& argv, int timeout_ms = 5000);

// Starts argv in a new session with standard input and output on /dev/null and
// reaps it on a detached watcher thread, which calls on_failure (when set) for
// a non-zero exit.
Status StartDetached(const std::vector<std::string>& argv, const std::string& folder,
                     OpenFailed on_failure);

// The types a MIME type derives from, nearest first: parents named in the
// subclasses files (transitively), text/plain for text types, and last
// application/octet-stream for every type that is not a folder or other inode.
std::vector<std::string> MimeAncestors(std::string_view mime_type,
                                       const std::vector<std::string>& mime_folders);

// True when the text starts with a URL scheme ("https:", "mailto:").
bool HasUrlScheme(std::string_view text);

// The command a desktop entry (applications/<desktop_id> in the first data
// folder that has it) runs for one file, by its Exec key; empty when there is
// no such entry.
std::vector<std::string> DesktopEntryCommand(const std::string& desktop_id, const std::string& path,
                                             const std::vector<std::string>& data_folders);

}  // namespace tallymere
