#pragma once
// The sixteen settings of Data/lists.dat, one value per line in this order,
// named after the Options controls that edit them.

#include <cstdint>
#include <string>
#include <vector>

#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

struct Settings {
  std::string optOne = "False";      // 1  lists as one sorted list ("True"/"False")
  std::string optSeperate = "True";  // 2  lists by folder ("True"/"False")
  int chkPath = 0;                   // 3  lists show the path
  int chkSize = 1;                   // 4  lists show the size
  int chkBitRate = 1;                // 5  the MP3-information flag: scans read bitrate and tag
  int chkHeader = 1;                 // 6  lists have header and footer texts
  int chkSum = 1;                    // 7  lists end with totals
  std::string txtType = "mp3";       // 8  the file type setting: "*.*" or an extension, lower case
  int chkHtml = 0;                   // 9  lists as HTML
  int chkM3U = 0;                    // 10 lists as M3U playlists
  int32_t TBcolor = 11599871;        // 11 HTML table background, 0x00BBGGRR
  int32_t PGcolor = 13828095;        // 12 HTML page background, 0x00BBGGRR
  std::string txtTW = "89";          // 13 HTML table width in percent
  int16_t cmbBW = 1;                 // 14 HTML table border width
  std::string cmbAlign = "Left";     // 15 HTML table alignment
  int16_t txtCol = 75;               // 16 text list column width in characters

  bool operator==(const Settings&) const = default;
};

inline constexpr int kSettingsLineCount = 16;
inline constexpr const char* kSettingsFileName = "lists.dat";

// The settings from the lines of the file. A missing line or one that is not a
// number where a number belongs takes that line's default; blanks around
// numbers are ignored; lines after the sixteenth are ignored.
Settings ParseSettings(const std::vector<std::string>& lines);

// The sixteen lines of the file.
std::vector<std::string> SettingsLines(const Settings& settings);

// program_folder/Data/lists.dat
std::string SettingsPath(const std::string& program_folder);

// Creates the Data folder of the platform's program folder and the default
// file when they are missing, then reads the file. A file that cannot be read
// gives the defaults and a Status saying why, so start-up can go on.
Status LoadSettings(const Platform& platform, Settings* settings);

// Reads the file without creating anything, for tools that only read the
// program folder: a missing file gives the defaults and no complaint; one
// that cannot be read gives the defaults and a Status saying why.
Status ReadSettings(const Platform& platform, Settings* settings);

// Writes the sixteen lines (the Options dialog's Save).
Status SaveSettings(const Platform& platform, const Settings& settings);

}  // namespace tallymere
