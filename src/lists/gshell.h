#pragma once
// GShell: the one way commands hand a file or address to the desktop to be
// opened with its associated program. It wraps UiServices::ShellOpen and turns
// a shell result that is no start into an error number and text that callers
// may look at or ignore; it never shows anything itself.

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/ui_services.h"

namespace tallymere {

// Show states a caller may pass.
inline constexpr int32_t kShowHidden = 0;
inline constexpr int32_t kShowNormal = 1;
inline constexpr int32_t kShowDefault = 10;

// The number given to shell results that have no number of their own is this
// base plus the result.
inline constexpr int32_t kShellErrorBase = -2147220456;

struct ShellError {
  int32_t number = 0;
  std::string description;
  std::string source;  // the program's name followed by ".GShell"
};

// The error for a shell result that is no start.
ShellError ShellErrorFor(ShellResult result);

// Opens file_name through ui (which stands for the owner window). With no
// parameters and no folder the file opens in a normal window whatever
// show_state says; otherwise show_state is used, made hidden for any name that
// contains ".EXE" in any letter case. Returns true when the shell accepted the
// request; on failure fills *error when given.
bool GShell(UiServices& ui, std::string_view file_name, int32_t show_state,
            std::string_view parameters, std::string_view folder, std::string_view verb,
            ShellError* error = nullptr);

}  // namespace tallymere
