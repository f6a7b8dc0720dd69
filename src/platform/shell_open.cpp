#include "platform/shell_open.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <deque>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

extern char** environ;

namespace tallymere {

namespace {

constexpr std::string_view kOpener = "xdg-open";
constexpr std::string_view kMimeTool = "xdg-mime";
constexpr std::string_view kOctetStream = "application/octet-stream";
constexpr std::string_view kTextPlain = "text/plain";
// Exit status of a process ended by a signal, as shells report it.
constexpr int kSignalExitBase = 128;

std::string Trim(std::string_view text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(start, end - start));
}

std::string ParentOf(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

int ExitCodeOf(int wait_status) {
  if (WIFEXITED(wait_status)) return WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) return kSignalExitBase + WTERMSIG(wait_status);
  return -1;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return ExitCodeOf(status);
}

// argv as the C array posix_spawn wants; the strings must outlive it.
std::vector<char*> CArguments(const std::vector<std::string>& argv) {
  std::vector<char*> arguments;
  for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  return arguments;
}

// A child starts with default signal handling and nothing blocked, whatever
// the calling program has set up.
class SpawnSetup {
 public:
  explicit SpawnSetup(short extra_flags) {
    posix_spawn_file_actions_init(&m_actions);
    posix_spawnattr_init(&m_attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&m_attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGQUIT);
    posix_spawnattr_setsigdefault(&m_attributes, &defaults);
    posix_spawnattr_setflags(
        &m_attributes,
        static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | extra_flags));
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&m_actions);
    posix_spawnattr_destroy(&m_attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawn_file_actions_t* actions() { return &m_actions; }
  // Returns 0 or an errno value.
  int Spawn(const std::vector<std::string>& argv, pid_t* pid) {
    if (argv.empty()) return EINVAL;
    std::vector<char*> arguments = CArguments(argv);
    return posix_spawnp(pid, arguments[0], &m_actions, &m_attributes, arguments.data(), environ);
  }

 private:
  posix_spawn_file_actions_t m_actions;
  posix_spawnattr_t m_attributes;
};

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The first word of xdg-mime's answer: "text/plain; charset=utf-8" gives
// "text/plain".
std::string MimeTypeOf(const CommandOutput& answer) {
  std::string type = Trim(answer.output);
  const size_t end = type.find_first_of("; \t\n");
  return end == std::string::npos ? type : type.substr(0, end);
}

enum class Association { kFound, kNone, kUnknown };

// The default program (its desktop file's name) the desktop names for a type
// or one of the types it derives from; empty for none. kUnknown when the
// desktop cannot be asked.
Association DefaultProgram(const std::string& type, const ShellTools& tools, std::string* program) {
  std::vector<std::string> candidates = {type};
  for (std::string& ancestor : MimeAncestors(type, tools.mime_folders)) {
    candidates.push_back(std::move(ancestor));
  }
  for (const std::string& candidate : candidates) {
    const CommandOutput answer = tools.run({std::string(kMimeTool), "query", "default", candidate});
    if (!answer.started || answer.exit_code != 0) return Association::kUnknown;
    *program = Trim(answer.output);
    if (!program->empty()) return Association::kFound;
  }
  return Association::kNone;
}

// Whether the desktop names a default program for the file's type or one of
// the types it derives from.
Association FindAssociation(const std::string& path, const ShellTools& tools) {
  if (!tools.run) return Association::kUnknown;
  const CommandOutput type_answer = tools.run({std::string(kMimeTool), "query", "filetype", path});
  if (!type_answer.started || type_answer.exit_code != 0) return Association::kUnknown;
  const std::string type = MimeTypeOf(type_answer);
  if (type.empty()) return Association::kUnknown;
  std::string program;
  return DefaultProgram(type, tools, &program);
}

// Starts the default program of type_hint on the file directly, by its
// desktop entry: the opener would judge the file by its content again, and an
// empty file has none to judge.
bool LaunchAs(std::string_view type_hint, const std::string& path, std::string_view folder,
              const ShellTools& tools, OpenFailed on_failure) {
  std::string program;
  if (!tools.run || !tools.launch ||
      DefaultProgram(std::string(type_hint), tools, &program) != Association::kFound) {
    return false;
  }
  const std::vector<std::string> command = DesktopEntryCommand(program, path, tools.mime_folders);
  if (command.empty()) return false;
  const std::string working = IsFolder(std::string(folder)) ? std::string(folder) : std::string();
  return tools.launch(command, working, std::move(on_failure)).ok();
}

ShellResult Launch(const std::string& target, std::string_view folder, const ShellTools& tools,
                   OpenFailed on_failure) {
  if (!tools.launch) return ShellResult::kNoAssociation;
  const std::string working = IsFolder(std::string(folder)) ? std::string(folder) : std::string();
  const Status started =
      tools.launch({std::string(kOpener), target}, working, std::move(on_failure));
  // Without a working opener nothing can open the file.
  return started.ok() ? ShellResult::kStarted : ShellResult::kNoAssociation;
}

std::vector<std::string> XdgDataFolders() {
  std::vector<std::string> folders;
  const char* data_home = getenv("XDG_DATA_HOME");
  const char* home = getenv("HOME");
  if (data_home != nullptr && data_home[0] == '/') {
    folders.emplace_back(data_home);
  } else if (home != nullptr && home[0] == '/') {
    folders.push_back(std::string(home) + "/.local/share");
  }
  const char* data_dirs = getenv("XDG_DATA_DIRS");
  std::string list =
      data_dirs != nullptr && data_dirs[0] != '\0' ? data_dirs : "/usr/local/share:/usr/share";
  std::stringstream stream(list);
  std::string folder;
  while (std::getline(stream, folder, ':')) {
    if (!folder.empty() && folder[0] == '/') folders.push_back(folder);
  }
  return folders;
}

}  // namespace

bool HasUrlScheme(std::string_view text) {
  const size_t colon = text.find(':');
  // Two letters at least, so a drive letter ("C:") is no scheme.
  if (colon == std::string_view::npos || colon < 2) return false;
  if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  for (size_t i = 1; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

std::vector<std::string> MimeAncestors(std::string_view mime_type,
                                       const std::vector<std::string>& mime_folders) {
  std::vector<std::pair<std::string, std::string>> parents;  // child, parent
  for (const std::string& folder : mime_folders) {
    std::ifstream file(folder + "/mime/subclasses");
    std::string child;
    std::string parent;
    while (file >> child >> parent) parents.emplace_back(child, parent);
  }

  std::vector<std::string> ancestors;
  auto add = [&](const std::string& type) {
    if (type == mime_type) return false;
    for (const std::string& known : ancestors) {
      if (known == type) return false;
    }
    ancestors.push_back(type);
    return true;
  };
  // Nearest first; the visited check keeps a cyclic table from looping.
  std::deque<std::string> work = {std::string(mime_type)};
  while (!work.empty()) {
    const std::string type = work.front();
    work.pop_front();
    for (const auto& [child, parent] : parents) {
      if (child == type && add(parent)) work.push_back(parent);
    }
  }
  if (mime_type.substr(0, 5) == "text/") add(std::string(kTextPlain));
  if (mime_type.substr(0, 6) != "inode/") add(std::string(kOctetStream));
  return ancestors;
}

CommandOutput RunCommand(const std::vector<std::string>& argv, int timeout_ms) {
  CommandOutput result;
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return result;
  SpawnSetup setup(0);
  posix_spawn_file_actions_addopen(setup.actions(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(setup.actions(), pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(setup.actions(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int error = setup.Spawn(argv, &pid);
  close(pipe_fds[1]);
  if (error != 0) {
    close(pipe_fds[0]);
    return result;
  }
  result.started = true;

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  bool killed = false;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd wait{pipe_fds[0], POLLIN, 0};
    const int ready = left.count() > 0 ? poll(&wait, 1, static_cast<int>(left.count())) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      kill(pid, SIGKILL);
      killed = true;
      break;
    }
    const ssize_t count = read(pipe_fds[0], buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    result.output.append(buffer, static_cast<size_t>(count));
  }
  close(pipe_fds[0]);
  const int exit_code = WaitFor(pid);
  result.exit_code = killed ? -1 : exit_code;
  return result;
}

Status StartDetached(const std::vector<std::string>& argv, const std::string& folder,
                     OpenFailed on_failure) {
  // Its own session: the opener and what it starts live on when we quit, and
  // no terminal signal of ours reaches them.
  SpawnSetup setup(POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_addopen(setup.actions(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(setup.actions(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(setup.actions(), folder.c_str());
  pid_t pid = 0;
  const int error = setup.Spawn(argv, &pid);
  if (error != 0) {
    return Status::Error("Cannot start " + (argv.empty() ? std::string("a program") : argv[0]) +
                         ": " + strerror(error));
  }
  try {
    std::thread([pid, report = std::move(on_failure)] {
      const int exit_code = WaitFor(pid);
      if (exit_code != 0 && report) report(exit_code);
    }).detach();
  } catch (const std::system_error&) {
    // No thread for the watcher: the program still runs; its exit goes
    // unreported and it is reaped when we end.
  }
  return Status::Ok();
}

ShellTools SystemShellTools() {
  ShellTools tools;
  tools.run = [](const std::vector<std::string>& argv) { return RunCommand(argv); };
  tools.launch = StartDetached;
  tools.mime_folders = XdgDataFolders();
  return tools;
}

ShellResult ShellOpenPath(std::string_view path, std::string_view folder, const ShellTools& tools,
                          OpenFailed on_failure, std::string_view type_hint) {
  if (path.empty()) return ShellResult::kFileNotFound;
  const std::string target(path);
  if (target[0] != '/' && HasUrlScheme(target)) {
    return Launch(target, folder, tools, std::move(on_failure));
  }

  struct stat info;
  if (stat(target.c_str(), &info) != 0) {
    const int error = errno;
    if (error == EACCES) return ShellResult::kAccessDenied;
    if (error == ENOTDIR) return ShellResult::kPathNotFound;
    struct stat parent;
    if (stat(ParentOf(target).c_str(), &parent) != 0) {
      return errno == EACCES ? ShellResult::kAccessDenied : ShellResult::kPathNotFound;
    }
    return S_ISDIR(parent.st_mode) ? ShellResult::kFileNotFound : ShellResult::kPathNotFound;
  }
  if (access(target.c_str(), R_OK) != 0) return ShellResult::kAccessDenied;

  if (FindAssociation(target, tools) == Association::kNone) {
    if (!type_hint.empty() && LaunchAs(type_hint, target, folder, tools, std::move(on_failure))) {
      return ShellResult::kStarted;
    }
    return ShellResult::kNoAssociation;
  }
  return Launch(target, folder, tools, std::move(on_failure));
}

std::vector<std::string> DesktopEntryCommand(const std::string& desktop_id, const std::string& path,
                                             const std::vector<std::string>& data_folders) {
  std::string exec;
  for (const std::string& folder : data_folders) {
    std::ifstream entry(folder + "/applications/" + desktop_id);
    bool in_main_group = false;
    for (std::string line; exec.empty() && std::getline(entry, line);) {
      if (!line.empty() && line[0] == '[') in_main_group = line == "[Desktop Entry]";
      if (in_main_group && line.starts_with("Exec=")) exec = line.substr(5);
    }
    if (!exec.empty()) break;
  }
  // Words split at blanks outside double quotes, where a backslash escapes
  // the next character; field codes: %f %F %u %U take the file, %% is a %,
  // the rest go.
  std::vector<std::string> command;
  std::string word;
  bool quoted = false;
  bool has_word = false;
  bool file_given = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted && c == '\\' && i + 1 < exec.size()) {
      word += exec[++i];
    } else if (c == '"') {
      quoted = !quoted;
      has_word = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (has_word) command.push_back(std::move(word));
      word.clear();
      has_word = false;
    } else if (c == '%' && i + 1 < exec.size()) {
      const char code = exec[++i];
      if (code == '%') {
        word += '%';
      } else if ((code == 'f' || code == 'F' || code == 'u' || code == 'U') && !file_given) {
        word += path;
        file_given = true;
      }
      has_word = has_word || !word.empty();
    } else {
      word += c;
      has_word = true;
    }
  }
  if (has_word) command.push_back(std::move(word));
  if (command.empty()) return {};
  if (!file_given) command.push_back(path);
  return command;
}

}  // namespace tallymere
