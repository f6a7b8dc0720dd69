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

bool MatchesFind(const CatalogRecord& record, const FindQuery& query);

// Show All Files in Selected, for the node with this key and text. A node on
// a fixed drive takes every record whose Path begins with the key; a node of
// a labelled disk, its records; a folder on a labelled disk, the records of
// that disk whose Path begins with the folder.
class NodeCondition {
 public:
  NodeCondition(std::string_view key, std::string_view text, bool fixed_drive);
  bool Matches(const CatalogRecord& record) const;

 private:
  bool m_fixed_drive;
  std::string m_path_prefix;  // the key, or the drive root and the folder below the label
  std::string m_label;        // the disk label, on a labelled disk
};

// A reader without the machine's drive map (the command line) cannot ask
// whether a node's drive is fixed, so it looks at the records under the node:
// LiesUnderKey tells which those are, NodeTextOfKey gives the text the tree
// shows for the key.

// True when the record lies under the tree node with this key: its folder key
// (FolderKey: the Path, with a labelled disk's label after the drive root)
// begins with the key, letters compared without regard to case.
bool LiesUnderKey(const CatalogRecord& record, std::string_view key);

// The text of the node with this key: its last folder name, or the label of
// a labelled disk's own node ("E:\MyCD\" gives "MyCD"); a drive root's key
// is its own text.
std::string_view NodeTextOfKey(std::string_view key);

// The indices of the records that match, in record order.
std::vector<int> FindRecords(const CatalogTable& table, const FindQuery& query);
std::vector<int> FindRecords(const CatalogTable& table, const NodeCondition& condition);

// True when text contains part, letters compared without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view part);

}  // namespace tallymere
