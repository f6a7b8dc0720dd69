#pragma once
// --id3v1-encoding NAME of the commands that read ID3v1 tags: the code page
// their texts were written in, for one run; without it, the user's setting.

#include <string>
#include <string_view>

#include "common/code_page.h"
#include "ports/platform.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tallymere::cli {

// Adds the option; a name that is not one of kCodePageNames is a usage error.
void AddId3v1EncodingOption(CLI::App* command, std::string* name);

// The code page given, else the setting of settings.conf in the user's
// configuration folder; a setting that cannot be used is said on stderr
// after prefix, and Automatic stands for it.
CodePage Id3v1CodePage(const std::string& given, const Platform& platform, std::string_view prefix);

}  // namespace tallymere::cli
