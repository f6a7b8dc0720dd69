#pragma once
// The conditions of the find commands, as functions over the catalog table.
// "Find in Drive" and "Find in All" choose records by name, type and drive;
// "Show All Files in Selected" by the tree node they lie under. Every
// comparison ignores letter case. A walk visits records from 1 while a record
// has a File name, so the trailer never matches.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"
#include "catalog/node_key.h"

namespace tallymere {

// Find in Drive / Find in All.
struct FindQuery {
  std::string text;          // contained in the File name, as typed; empty matches every name
  std::string type_pattern;  // "*.*" for any type, else "*.mp3" and the like
  std::string drive;         // "c:"; ignored when all_drives
  bool all_drives = false;   // the Path need only be non-empty
};

// The extension a type pattern stands for: the pattern from its third
// character on, in lower case ("*.mp3" gives "mp3"); empty for "*.*".
std::string FindExtension(std::string_view type_pattern);

// The type condition alone, for an extension FindExtension gave: the last
// three characters of the name contain it ("" always passes); a longer one
// must end the name.
bool MatchesFindType(std::string_view name, std::string_view extension);

// A reader without the machine's drive map (the command line) cannot ask
// whether a node's drive holds labelled disks, so it looks at the records
// under the node: LiesUnderKey tells which those are.

// True when the record lies under the tree node with this key: its folder key
// (FolderKey: the Path, with a labelled disk's label after the drive root)
// begins with the key, letters compared without regard to case.
bool LiesUnderKey(const CatalogRecord& record, std::string_view key);

// The indices of the records that match, in record order.
std::vector<int> FindRecords(const CatalogTable& table, const FindQuery& query);
// Show All Files in Selected: the records under the node, at any depth.
std::vector<int> FindRecords(const CatalogTable& table, const NodeKey& node);

}  // namespace tallymere
