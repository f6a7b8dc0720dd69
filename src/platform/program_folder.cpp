#include "platform/program_folder.h"

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>

namespace tallymere {
namespace {

constexpr std::string_view kProgramName = "tallymere";
constexpr std::string_view kDefaultDataHome = "/.local/share";
constexpr std::string_view kDefaultConfigHome = "/.config";
// Installed copies live here; even when the administrator runs the program
// (and so may write anywhere), its data must not land among system files.
constexpr std::string_view kSystemFolders[] = {"/usr", "/bin", "/sbin", "/lib"};

std::string ExecutableFolder() {
  std::string path(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return "";
  path.resize(static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p; errors show up later when files are written there.
void MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return;
    if (slash == std::string::npos) return;
  }
}

// $name when it is absolute (the base directory rules ignore a relative
// one), else the home folder with fallback after it; no trailing "/".
std::string BaseFolder(const char* name, std::string_view fallback) {
  std::string folder;
  if (const char* xdg = getenv(name); xdg != nullptr && xdg[0] == '/') {
    folder = xdg;
  } else {
    folder = UserHomeFolder() + std::string(fallback);
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool IsSystemFolder(std::string_view folder) {
  for (std::string_view system : kSystemFolders) {
    if (folder.starts_with(system) &&
        (folder.size() == system.size() || folder[system.size()] == '/')) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ProgramFolderFor(const std::string& executable_folder) {
  if (!executable_folder.empty() && !IsSystemFolder(executable_folder) &&
      access(executable_folder.c_str(), W_OK) == 0) {
    return executable_folder;
  }
  std::string folder =
      BaseFolder("XDG_DATA_HOME", kDefaultDataHome) + "/" + std::string(kProgramName);
  MakeFolders(folder);
  return folder;
}

std::string FindProgramFolder() { return ProgramFolderFor(ExecutableFolder()); }

std::string UserConfigFolder() {
  return BaseFolder("XDG_CONFIG_HOME", kDefaultConfigHome) + "/" + std::string(kProgramName);
}

std::string UserHomeFolder() {
  if (const char* home = getenv("HOME"); home != nullptr && home[0] == '/') return home;
  if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return "";
}

}  // namespace tallymere
