#include "windows/main/find_panel.h"

namespace tallymere {
namespace {

// "*.*" appears twice: once as the list's text, once among its choices.
// "*.audio" is every audio format; the formats of today follow the others.
const std::vector<std::string> kFindTypes = {
    "*.mp3", "*.audio", "*.mp2",  "*.mp1", "*.zip",  "*.wav", "*.*",    "*.jpg",
    "*.gif", "*.txt",   "*.html", "*.doc", "*.xls",  "*.exe", "*.diz",  "*.nfo",
    "*.m3u", "*.bmp",   "*.sfv",  "*.vqf", "*.flac", "*.ogg", "*.opus", "*.m4a"};

}  // namespace

const std::vector<std::string>& FindTypeChoices() { return kFindTypes; }

void FindPanel::Reset() {
  m_txtFind.clear();
  m_cmbType = "*.*";
  m_cmbType_items = kFindTypes;
  m_Drive1.clear();
  m_search_all = false;
}

}  // namespace tallymere
