#include "cli/scan_arguments.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "catalog/file_type.h"
#include "catalog/settings.h"
#include "cli/code_page_option.h"
#include "cli/command_line.h"
#include "common/ascii_case.h"

namespace tallymere::cli {

Result<std::string> CatalogRoot(const Platform& platform, const std::string& root) {
  // "C:" alone stands for its drive's root.
  const bool drive_alone = root.size() == 2 && IsDriveLetter(root[0]) && root[1] == ':';
  if (drive_alone || IsCatalogPath(root)) {
    std::string catalog = root;
    catalog[0] = AsciiUpper(catalog[0]);
    return catalog;
  }
  char resolved[PATH_MAX];
  if (realpath(root.c_str(), resolved) == nullptr) {
    return Status::Error("cannot scan \"" + root + "\": " + std::strerror(errno));
  }
  const std::optional<std::string> catalog = platform.ToCatalog(resolved);
  if (!catalog) {
    return Status::Error("cannot scan \"" + root + "\": no drive holds the folder " + resolved);
  }
  return *catalog;
}

ScanSettings StoredScanSettings(const Platform& platform, const char* prefix) {
  Settings stored;
  if (Status status = ReadSettings(platform, &stored); !status) {
    std::fprintf(stderr, "%s: %s; using the default settings\n", prefix, status.message().c_str());
  }
  ScanSettings settings;
  settings.file_type = stored.txtType;
  settings.mp3_info_flag = stored.chkBitRate;
  return settings;
}

void AddReplacementOutputOption(CLI::App* command, std::string* output) {
  command
      ->add_option("-o,--output", *output,
                   "Write the catalog here and leave FILE.mpd as it is\n"
                   "(default: replace FILE.mpd)")
      ->type_name("OUT.mpd")
      ->check(NotEmpty());
}

Status OpenToRescan(CatalogSession* session, const std::string& file,
                    const std::string& id3v1_encoding, const char* prefix) {
  if (Status opened = session->Open(file); !opened) return opened;
  if (session->catalog().LastTrailer() == nullptr) {
    if (Status read = session->ReadStoredSettings(); !read) {
      std::fprintf(stderr, "%s: %s; using the default settings\n", prefix, read.message().c_str());
    }
  }
  session->KeepInfoForMusicOnly();
  session->program_settings().id3v1_code_page =
      Id3v1CodePage(id3v1_encoding, session->platform(), prefix);
  return Status::Ok();
}

void AddLeaveOutOptions(CLI::App* command, LeaveOutOptions* options, bool with_explain) {
  command
      ->add_option("--exclude", options->exclude,
                   "Leave out what PATTERN matches, as a line of .gitignore does (Thumbs.db,\n"
                   "*.tmp, cache/, Music/tmp, !keep.tmp); may be given again")
      ->type_name("PATTERN")
      ->check(NotEmpty());
  command->add_flag("--no-default-excludes", options->no_default_excludes,
                    "Do not use the leave-out rules of the settings, only --exclude");
  if (with_explain) {
    command->add_flag("--explain-excludes", options->explain,
                      "Print each file and folder left out, with the rule that matched");
  }
}

void UseLeaveOutRules(CatalogSession* session, const LeaveOutOptions& options, const char* prefix) {
  std::vector<std::string> problems;
  ProgramSettings settings = ReadProgramSettings(session->platform(), &problems);
  if (options.no_default_excludes) settings.leave_out.clear();
  settings.leave_out.insert(settings.leave_out.end(), options.exclude.begin(),
                            options.exclude.end());
  (void)LeaveOutRules::Parse(settings.leave_out, &problems);
  for (const std::string& problem : problems)
    std::fprintf(stderr, "%s: %s\n", prefix, problem.c_str());
  session->program_settings().leave_out = std::move(settings.leave_out);
  session->program_settings().include_hidden = settings.include_hidden;
  session->set_explain_left_out(options.explain);
}

}  // namespace tallymere::cli
