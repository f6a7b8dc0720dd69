#pragma once
// Renaming without replacing, as on Windows: a rename onto a name that is
// taken fails instead of destroying the file that holds it.

#include <string>

namespace tallymere {

// Returns 0, or an errno (EEXIST when the new name is taken). A rename that
// changes only the case of a name on a file system that ignores case (the
// old and new names are one file) is carried out through a temporary name.
int RenameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace tallymere
