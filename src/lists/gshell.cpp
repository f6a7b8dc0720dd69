#include "lists/gshell.h"

#include <errno.h>

#include <array>
#include <cctype>

#include "common/ascii_case.h"

namespace tallymere {

namespace {

constexpr int32_t kDefaultNumber = 0;  // marks "kShellErrorBase + result"

struct ErrorRow {
  int result;
  int32_t number;
  std::string_view text;
};

constexpr std::array<ErrorRow, 13> kErrorTable = {{
    {0, 7, "Out of memory"},
    {8, 7, "Out of memory"},
    {2, 53, "File not found"},
    {3, 76, "Path not found"},
    {5, 75, "Path/file access error"},
    {11, kDefaultNumber, "The executable file is invalid or corrupt"},
    {26, 75, "A sharing violation occurred."},
    {27, kDefaultNumber, "This file type does not have a valid file association."},
    {28, 286, "The file could not be opened due to time out.  Please try again in a moment."},
    {29, 285,
     "The file could not be opened because the DDE transaction failed.  Please try again in a "
     "moment."},
    {30, 285,
     "The file could not be opened because the target application is busy.  Please try again in "
     "a moment."},
    {31, kDefaultNumber, "No application is associated with this file type."},
    {32, 48, "The specified dynamic-link library was not found."},
}};

constexpr std::string_view kOtherError =
    "An error occurred occurred whilst trying to open or print the selected file.";

std::string ErrorSource() { return std::string(program_invocation_short_name) + ".GShell"; }

bool ContainsExe(std::string_view name) { return ContainsNoCase(name, ".EXE"); }

}  // namespace

ShellError ShellErrorFor(ShellResult result) {
  const int shell_result = static_cast<int>(result);
  ShellError error;
  error.source = ErrorSource();
  error.number = kShellErrorBase + shell_result;
  error.description = std::string(kOtherError);
  for (const ErrorRow& row : kErrorTable) {
    if (row.result == shell_result) {
      if (row.number != kDefaultNumber) error.number = row.number;
      error.description = std::string(row.text);
      break;
    }
  }
  return error;
}

bool GShell(UiServices& ui, std::string_view file_name, int32_t show_state,
            std::string_view parameters, std::string_view folder, std::string_view verb,
            ShellError* error) {
  if (ContainsExe(file_name)) show_state = kShowHidden;
  const ShellResult result = !parameters.empty() || !folder.empty()
                                 ? ui.ShellOpen(verb, file_name, parameters, folder, show_state)
                                 : ui.ShellOpen(verb, file_name, "", "", kShowNormal);
  if (Started(result)) return true;
  if (error != nullptr) *error = ShellErrorFor(result);
  return false;
}

}  // namespace tallymere
