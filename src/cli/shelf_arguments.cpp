#include "cli/shelf_arguments.h"

#include <sys/stat.h>

#include <CLI/CLI.hpp>

#include "cli/command_line.h"
#include "search/shelf.h"

namespace tallymere::cli {

void AddShelfArguments(CLI::App* command, ShelfArguments* arguments) {
  command
      ->add_option("FILE.mpd", arguments->paths,
                   "Data files (*.mpd), and folders whose data files are all read")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  command->add_flag("--recursive", arguments->recursive,
                    "Read the data files of the named folders' subfolders too");
}

NamedDataFiles ResolveDataFiles(const Platform& platform, const ShelfArguments& arguments) {
  NamedDataFiles named;
  for (const std::string& path : arguments.paths) {
    struct stat facts;
    if (stat(path.c_str(), &facts) != 0 || !S_ISDIR(facts.st_mode)) {
      // A file that cannot be read is named when it is read.
      named.files.push_back(path);
      continue;
    }
    named.name_catalogs = true;
    ShelfFiles shelf = ListShelf(platform, {{path}, arguments.recursive});
    named.files.insert(named.files.end(), shelf.files.begin(), shelf.files.end());
    named.problems.insert(named.problems.end(), shelf.problems.begin(), shelf.problems.end());
  }
  named.name_catalogs = named.name_catalogs || named.files.size() > 1;
  return named;
}

}  // namespace tallymere::cli
