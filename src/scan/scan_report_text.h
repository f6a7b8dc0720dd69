#pragma once
// What a scan says of the folders and names it had to leave out, in the
// words the window's message and the command line's summary both use.

#include <string>
#include <vector>

#include "scan/scan_request.h"

namespace tallymere {

struct SkippedText {
  // "3 folders could not be read and were left out of the catalog:", the
  // folders named (the last "..." when there were more), and what to do;
  // all empty when every folder was read.
  std::string folders_headline;
  std::vector<std::string> folders;
  std::string folders_advice;
  // "2 files or folders were left out because ..."; empty when none was.
  std::string names;

  bool empty() const { return folders_headline.empty() && names.empty(); }
};

SkippedText SkippedTextOf(const ScanReport& report);

// "1,204 folders and 388 files left out by the rules"; empty when the rules
// left nothing out.
std::string LeftOutText(const ScanReport& report);

}  // namespace tallymere
