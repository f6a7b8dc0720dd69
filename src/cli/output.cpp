#include "cli/output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace tallymere::cli {
namespace {

// The errno of the first write to standard output that failed, 0 while none
// has. Later calls may clear errno, so it is kept as it was then.
int g_first_output_error = 0;

}  // namespace

void WriteStandardOutput(std::string_view bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() &&
      g_first_output_error == 0) {
    g_first_output_error = errno != 0 ? errno : EIO;
  }
}

bool FinishStandardOutput(std::string_view prefix, std::string_view note) {
  // Text goes out through both stdio and iostreams; the stream shares stdio's
  // buffer, so its own flag and stdio's together say whether all arrived.
  errno = 0;
  std::cout.flush();
  const bool flushed = std::fflush(stdout) == 0;
  const int error = g_first_output_error != 0 ? g_first_output_error : errno;
  if (flushed && !std::cout.fail() && std::ferror(stdout) == 0) return true;
  std::string message = std::string(prefix) + ": cannot write to standard output: " +
                        (error != 0 ? std::strerror(error) : "the output was not taken");
  if (!note.empty()) message.append("; ").append(note);
  std::fprintf(stderr, "%s\n", message.c_str());
  return false;
}

void ReportDriveMapProblems(const Platform& platform, std::string_view prefix) {
  for (const std::string& problem : platform.DriveMapProblems()) {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(prefix.size()), prefix.data(),
                 problem.c_str());
  }
}

}  // namespace tallymere::cli
