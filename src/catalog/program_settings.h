#pragma once
// The program's own settings, those Data/lists.dat has no line for: its
// sixteen lines stay as other installations read them. They live beside the
// remembered window layout, in settings.conf of the user's configuration
// folder, one "Key=Value" per line. Lines this version does not know are
// kept when it writes, so what a newer version stored there survives.

#include <string>
#include <string_view>
#include <vector>

#include "common/code_page.h"
#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::string_view kProgramSettingsFileName = "settings.conf";

// The rules a new installation leaves out of every scan: what programs,
// file systems and other systems leave on a disk that nobody looks for.
inline const std::vector<std::string>& DefaultLeaveOutRules() {
  static const std::vector<std::string> kRules = {
      "node_modules/", "__pycache__/",  "lost+found/",
      "@eaDir/",       "$RECYCLE.BIN/", "System Volume Information/",
      ".git/",         ".Trash-*/",     "Thumbs.db",
      "desktop.ini",   ".DS_Store",     "._*"};
  return kRules;
}

struct ProgramSettings {
  CodePage id3v1_code_page;  // the code page the user's ID3v1 tags were written in
  // The shelf Find in Catalogs searches: native folders, and whether their
  // subfolders count too. No folder: the shelf of the moment (the open data
  // file's folder).
  std::vector<std::string> shelf_folders;
  bool shelf_subfolders = false;
  // Lists name the disk of each file (Options: "Show disk labels").
  bool show_disk_labels = false;
  // What every scan leaves out, one rule a line as in .gitignore (Options:
  // "Leave out"), and whether hidden (dot) entries are catalogued.
  std::vector<std::string> leave_out = DefaultLeaveOutRules();
  bool include_hidden = false;
  // Write Tag also writes its fields into a file's existing ID3v2 tag
  // (Options: "Write Tag also writes an existing ID3v2 tag").
  bool write_id3v2 = true;
};

// The settings file's native path.
std::string ProgramSettingsPath(const Platform& platform);

// The settings as stored; a missing file gives the defaults. What cannot be
// used (a file that cannot be read, a value not understood) keeps its
// default and adds a sentence to *problems.
ProgramSettings ReadProgramSettings(const Platform& platform, std::vector<std::string>* problems);

// Stores the settings, creating the folder when needed; the other lines of
// the file are kept.
Status SaveProgramSettings(const Platform& platform, const ProgramSettings& settings);

}  // namespace tallymere
