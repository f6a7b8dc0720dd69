#pragma once
// The find panel of the main window's side panel: what the find commands
// read. The view binds its inputs here; "Containing:" is txtFind, "File
// Type:" is cmbType (an editable list of patterns), "Look in:" is Drive1.

#include <string>
#include <vector>

namespace tallymere {

// The choices of "File Type:" in list order.
const std::vector<std::string>& FindTypeChoices();

class FindPanel {
 public:
  // As the window opens: no text, the type "*.*" with its list of choices,
  // no drive chosen.
  void Reset();

  const std::string& txtFind() const { return m_txtFind; }
  void set_txtFind(std::string text) { m_txtFind = std::move(text); }
  // The pattern typed or chosen ("*.*", "*.mp3").
  const std::string& cmbType() const { return m_cmbType; }
  void set_cmbType(std::string pattern) { m_cmbType = std::move(pattern); }
  const std::vector<std::string>& cmbType_items() const { return m_cmbType_items; }
  // The drive chosen in "Look in:", as its letter and colon ("c:").
  const std::string& Drive1() const { return m_Drive1; }
  void set_Drive1(std::string drive) { m_Drive1 = std::move(drive); }
  // Set by Find in All for the length of the search it runs.
  bool search_all() const { return m_search_all; }
  void set_search_all(bool all) { m_search_all = all; }

 private:
  std::string m_txtFind;
  std::string m_cmbType;
  std::vector<std::string> m_cmbType_items;
  std::string m_Drive1;
  bool m_search_all = false;
};

}  // namespace tallymere
