#include "cli/code_page_option.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <vector>

#include "catalog/program_settings.h"

namespace tallymere::cli {

void AddId3v1EncodingOption(CLI::App* command, std::string* name) {
  std::string names;
  for (std::string_view each : kCodePageNames)
    names += (names.empty() ? "" : ", ") + std::string(each);
  command
      ->add_option("--id3v1-encoding", *name,
                   "The code page of the ID3v1 tags: " + names +
                       "\n(default: the setting of ~/.config/tallymere/settings.conf, else "
                       "Automatic)")
      ->type_name("NAME")
      ->check(CLI::Validator(
          [names](const std::string& text) {
            return CodePage::Named(text)
                       ? std::string()
                       : "is no code page Tallymere knows; choose one of " + names;
          },
          ""));
}

CodePage Id3v1CodePage(const std::string& given, const Platform& platform,
                       std::string_view prefix) {
  if (!given.empty()) {
    if (std::optional<CodePage> page = CodePage::Named(given)) return *page;
  }
  std::vector<std::string> problems;
  const ProgramSettings settings = ReadProgramSettings(platform, &problems);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "%.*s: %s: %s\n", static_cast<int>(prefix.size()), prefix.data(),
                 ProgramSettingsPath(platform).c_str(), problem.c_str());
  }
  return settings.id3v1_code_page;
}

}  // namespace tallymere::cli
