#pragma once
// Names written on disk by older systems in Windows-1252 ("caf\xE9.mp3")
// are byte strings that are not UTF-8. A scan catalogues them as they are,
// but a data file stores texts in Windows-1252 or UTF-8 and reads them back
// as UTF-8, so after Save and Open such a name reads "café.mp3" in UTF-8,
// whose bytes are not the ones on disk. These files must stay reachable.

#include <string>

namespace tallymere {

// The native path as it exists on disk: the path itself when it exists or
// holds only ASCII; else, name by name below the drive's folder, each name
// as it is or, when only that exists, in its Windows-1252 bytes. A path that
// exists in neither form comes back as given, so failures name it as the
// catalog does.
std::string ReachableNativePath(const std::string& drive_folder, std::string native_path);

}  // namespace tallymere
