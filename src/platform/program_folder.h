#pragma once
// Where the program keeps Data/lists.dat, Header.txt, Footer.txt and the like.

#include <string>

namespace tallymere {

// The executable's folder when it is writable (a copy unpacked in the user's
// own folder) and not a system folder (/usr, /bin, /sbin, /lib); else $XDG_DATA_HOME/tallymere, by
// default
// ~/.local/share/tallymere, created when missing. No trailing "/".
std::string FindProgramFolder();

// The same choice for a given executable folder, reading $XDG_DATA_HOME and
// $HOME.
std::string ProgramFolderFor(const std::string& executable_folder);

// $HOME, else the user's home folder from the password database; empty when
// neither knows it.
std::string UserHomeFolder();

// Where the user's own settings and the window layout live:
// $XDG_CONFIG_HOME/tallymere, by default ~/.config/tallymere; not created
// here. No trailing "/".
std::string UserConfigFolder();

}  // namespace tallymere
