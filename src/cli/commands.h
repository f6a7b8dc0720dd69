#pragma once
// The subcommands of tallymere-cli. Each gets the arguments after its name and
// returns the exit status; errors go to stderr and leave stdout empty.

#include <string>
#include <vector>

namespace tallymere::cli {

using Arguments = std::vector<std::string>;

int RunDump(const Arguments& args);
int RunInfo(const Arguments& args);
int RunDrives(const Arguments& args);
int RunMp3Info(const Arguments& args);
int RunScan(const Arguments& args);

}  // namespace tallymere::cli
