#include "support/unprivileged.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace tallymere::testing {
namespace {

void HandOver(const std::string& folder) {
  namespace fs = std::filesystem;
  lchown(folder.c_str(), kUnprivilegedId, kUnprivilegedId);
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    lchown(it->path().c_str(), kUnprivilegedId, kUnprivilegedId);
  }
}

}  // namespace

void RunAsUnprivileged(const std::vector<std::string>& folders,
                       const std::function<void()>& checks) {
  std::fflush(stdout);
  const pid_t child = fork();
  ASSERT_NE(child, -1) << "cannot start a child process";
  if (child == 0) {
    if (geteuid() == 0) {
      for (const std::string& folder : folders) HandOver(folder);
      if (setgroups(0, nullptr) != 0 || setgid(kUnprivilegedId) != 0 ||
          setuid(kUnprivilegedId) != 0) {
        std::fprintf(stderr, "cannot become an ordinary user\n");
        _exit(2);
      }
    }
    checks();
    std::fflush(stdout);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the unprivileged checks crashed";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged checks failed (see above)";
}

}  // namespace tallymere::testing
