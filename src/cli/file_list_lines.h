#pragma once
// The rows of the file list as printed lines, for the commands that print what
// the window lists (find, dupes): the list's ten columns in its order, each
// cell as the list shows it (a tag field up to its first NUL, a playing time
// below zero as 00:00), as a tab-separated line under a header line or as the
// members of a JSON object.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_record.h"

namespace tallymere::cli {

// The header line of the tab-separated form.
inline constexpr std::string_view kFileListHeader =
    "file_name\tpath\tsize\tmodified\tbitrate\ttime\tartist\ttitle\talbum\tdisk_label\n";

// What the views show of a stored text: the part before the first NUL (an
// ID3v1 field's padding).
std::string_view Shown(std::string_view text);

// A cell of a tab-separated line: tabs and line breaks would break the table,
// so they become blanks, and NUL padding ends the text as every view shows it
// (raw: the text keeps every byte it has but those).
void AppendTableCell(std::string_view text, std::string* out, bool raw = false);

// The row of a record as one tab-separated line, line break included.
void AppendTableRow(const CatalogRecord& record, std::string* out);

// The row as the members of a JSON object, keys named as in the header line,
// the size a number, followed by the closing brace and a line break: the
// caller writes the opening brace and any members of its own before them.
void AppendJsonRowMembers(const CatalogRecord& record, std::string* out);

// Texts kept one after another in one buffer: tens of thousands of rows cost
// a few large blocks instead of one block each.
class PackedTexts {
 public:
  void Add(std::string_view text) {
    m_text.append(text);
    Close();
  }
  // Room for the rows of records read from a data file of file_bytes bytes,
  // so a buffer of megabytes is not copied over and over as it grows: a row
  // takes about the bytes of its record, its JSON names each cell too. Only
  // what is written to is ever touched; an unusually large file gets room
  // for a normal one and grows from there.
  void ReserveRows(std::size_t file_bytes, bool json) {
    constexpr std::size_t kLargestReserve = 64 * 1024 * 1024;
    m_text.reserve(std::min(json ? 2 * file_bytes : file_bytes, kLargestReserve));
  }
  // The buffer to append an entry to; Close ends the entry.
  std::string* open() { return &m_text; }
  void Close() { m_ends.push_back(m_text.size()); }

  std::size_t size() const { return m_ends.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : m_ends[i - 1];
    return std::string_view(m_text).substr(start, m_ends[i] - start);
  }
  // Every entry; valid until the next one is added.
  std::vector<std::string_view> Views() const;

 private:
  std::string m_text;
  std::vector<std::size_t> m_ends;
};

// Standard output written in pieces: text gathers in a buffer that goes out
// whenever it holds a piece, so the output never has to fit in memory.
class PiecewiseOutput {
 public:
  std::string* text() { return &m_text; }
  // Writes the buffer once it holds a piece or more.
  void WriteWhenFull();
  // Writes what is left; FinishStandardOutput tells whether all of it arrived.
  void Finish();

 private:
  std::string m_text;
};

}  // namespace tallymere::cli
