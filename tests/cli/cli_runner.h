#pragma once
// Running the built tallymere-cli as a separate program and catching what it
// writes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace tallymere::testing {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// The configuration folder every run of the tool sees (XDG_CONFIG_HOME):
// one of the test program's own, empty unless a test writes its
// tallymere/settings.conf, so no user's settings decide a test.
inline const std::string& CliConfigHome() {
  static const TempFolder folder;
  static const bool set = [] {
    return ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1) == 0;
  }();
  (void)set;
  return folder.path();
}

// How long a run may take before it counts as hung and is killed.
inline constexpr int kCliRunSeconds = 60;

// A run of tallymere-cli that was started and not yet waited for.
struct StartedCli {
  pid_t pid = -1;  // -1 when it could not be started
  std::vector<std::string> args;
  std::string out_path;  // empty when its standard output goes elsewhere
  std::string err_path;
};

// Starts tallymere-cli with args in folder cwd (the current one when empty),
// its standard output and error caught in the files NAMEout.txt and
// NAMEerr.txt of scratch, or its standard output sent to stdout_path when one
// is given (as "> /dev/full" would). Runs at once take a name each.
inline StartedCli StartCli(std::vector<std::string> args, const TempFolder& scratch,
                           const std::string& cwd = "", const std::string& stdout_path = "",
                           const std::string& name = "std") {
  // A test that points XDG_CONFIG_HOME elsewhere itself keeps its choice.
  if (const char* home = std::getenv("XDG_CONFIG_HOME"); home == nullptr || *home == '\0') {
    (void)CliConfigHome();
  }
  StartedCli started;
  started.args = args;
  args.insert(args.begin(), TALLYMERE_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (stdout_path.empty()) started.out_path = scratch.Path(name + "out.txt");
  started.err_path = scratch.Path(name + "err.txt");
  const std::string& out_path = stdout_path.empty() ? started.out_path : stdout_path;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, started.err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << argv[0];
    return started;
  }
  started.pid = pid;
  return started;
}

// Waits for a started run and catches what it wrote. A run that hangs is
// killed and reported with exit code -1.
inline CliRun FinishCli(const StartedCli& started) {
  CliRun run;
  if (started.pid < 0) return run;
  int status = 0;
  // Short waits first: most runs end within milliseconds.
  useconds_t pause = 500;
  for (useconds_t waited = 0; waitpid(started.pid, &status, WNOHANG) == 0; waited += pause) {
    if (waited >= useconds_t{kCliRunSeconds} * 1000000) {
      ADD_FAILURE() << "tallymere-cli hung and was killed: "
                    << ::testing::PrintToString(started.args);
      kill(started.pid, SIGKILL);
      waitpid(started.pid, &status, 0);
      break;
    }
    usleep(pause);
    pause = std::min<useconds_t>(pause * 2, 100000);
  }
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (!started.out_path.empty()) run.out = ReadFileBytes(started.out_path);
  run.err = ReadFileBytes(started.err_path);
  return run;
}

// StartCli and FinishCli in one.
inline CliRun RunCli(std::vector<std::string> args, const TempFolder& scratch,
                     const std::string& cwd = "", const std::string& stdout_path = "") {
  return FinishCli(StartCli(std::move(args), scratch, cwd, stdout_path));
}

// A refusal: exit status 1, nothing on standard output, and error within
// what was written on standard error.
inline ::testing::AssertionResult Refused(const CliRun& run, const std::string& error) {
  if (run.exit_code == 1 && run.out.empty() && run.err.find(error) != std::string::npos) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "exit status " << run.exit_code << ", stdout \"" << run.out << "\", stderr \""
         << run.err << "\"; expected a refusal saying \"" << error << "\"";
}

// Each line of out read as JSON; a line that is no valid JSON fails the test.
inline std::vector<nlohmann::ordered_json> JsonLines(const std::string& out) {
  std::vector<nlohmann::ordered_json> values;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    values.push_back(nlohmann::ordered_json::parse(line, nullptr, false));
    EXPECT_FALSE(values.back().is_discarded()) << line;
  }
  return values;
}

}  // namespace tallymere::testing
