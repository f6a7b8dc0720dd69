// tallymere-cli info: what the Data File Info window shows for a data file.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "catalog/data_file.h"
#include "catalog/data_file_info.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/output.h"
#include "platform/read_file.h"

namespace tallymere::cli {
namespace {

int RunInfo(const std::string& file) {
  const std::string path = std::filesystem::absolute(file).string();
  // The tool names files by their native paths and needs no drive map for
  // them, so it reads the bytes itself; the figures come record by record from
  // a private copy, so a full catalog is never built in memory and a file
  // changed meanwhile cannot pull the bytes away.
  Result<std::string> bytes = ReadWholeFile(path, kDataFileLimit);
  DataFileFacts facts;
  Status status = bytes ? ReadDataFileFacts(*bytes, path, &facts) : bytes.status();
  const auto say = [](const Status& said) {
    std::fprintf(stderr, "tallymere-cli: %s\n", said.message().c_str());
  };
  if (!RecordsWereRead(status)) {
    say(status);
    return 1;
  }
  std::error_code error;
  const auto length = std::filesystem::file_size(path, error);
  // Opening a data file takes its file type from the trailer; without one the
  // program keeps its setting, which the command line does not have.
  const std::string file_type = facts.trailer_file_type.value_or("");
  for (const std::string& label : DataFileInfoLabels(
           path, error ? std::nullopt : std::optional<int64_t>(length), file_type, facts)) {
    std::cout << label << "\n";
  }
  const bool written = FinishStandardOutput("tallymere-cli info");
  if (!status) say(status);  // cut short: what was read is shown, then why it is not all
  return written && status.ok() ? 0 : 1;
}

}  // namespace

Command AddInfoCommand(CLI::App& tool) {
  CLI::App* command = AddCommand(tool, "info", "Print what Data File Info shows for a data file");
  auto file = std::make_shared<std::string>();
  command->add_option("FILE.mpd", *file, "The data file")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  return {command, [file] { return RunInfo(*file); }};
}

}  // namespace tallymere::cli
