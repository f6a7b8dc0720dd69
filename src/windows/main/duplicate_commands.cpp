// The four duplicate commands of the View menu: each lists the pairs of file
// records whose names (or, for Same Audio, fingerprints) match by its rule,
// a pair's two rows and a blank one, every other pair in blue.

#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

constexpr int kSearchPathWidth = 2500;
constexpr uint32_t kBlue = 0x00FF0000;  // 0x00BBGGRR

}  // namespace

void FrmMain::mnuDuplicate1_Click() { ListDuplicates(DuplicateRule::kExact); }

void FrmMain::mnuDuplicate2_Click() { ListDuplicates(DuplicateRule::kNotSoExact); }

void FrmMain::mnuDuplicate3_Click() { ListDuplicates(DuplicateRule::kAnyPossible); }

void FrmMain::mnuDuplicate4_Click() { ListDuplicates(DuplicateRule::kSameAudio); }

void FrmMain::ListDuplicates(DuplicateRule rule) {
  BusyScope busy_pointer(m_ui);
  const CatalogTable& catalog = m_session.catalog();
  const int file_count = catalog.FileCount();
  DuplicateSets sets;
  {
    AnimationScope animation(m_ui, AnimationKind::kFindFile);
    m_LV.Clear();
    m_LV.SetSorted(false);
    m_ui.SetStatus(kStatusPanel, "Searching . . . ");
    m_ui.SetStatus(kCountPanel, "");
    m_ui.SetStatus(kSizePanel, "");
    m_ui.YieldToUi();
    sets = FindDuplicates(catalog, file_count, rule);
  }

  const int icon = FileListIcon(m_session.settings().txtType);
  std::vector<ListRow> rows;
  rows.reserve(sets.pairs.size() * 3);
  // A record stands in many sets; its texts are made once, then copied.
  std::vector<std::size_t> made_at(static_cast<std::size_t>(catalog.HeldCount()) + 1, SIZE_MAX);
  for (std::size_t set = 0; set < sets.pairs.size(); ++set) {
    for (int index : {sets.pairs[set].first, sets.pairs[set].second}) {
      std::size_t& made = made_at[static_cast<std::size_t>(index)];
      if (made == SIZE_MAX) {
        made = rows.size();
        rows.push_back(FileListRow(catalog.Record(index), icon));
      } else {
        rows.push_back(rows[made]);
      }
      // The 1st, 3rd, 5th ... set in blue.
      rows.back().text_color = set % 2 == 0 ? kBlue : 0;
    }
    rows.emplace_back();  // a blank row after each set
  }
  m_LV.AddRows(std::move(rows));

  m_ui.SetStatus(kStatusPanel, DuplicateStatus(rule, sets, file_count));
  m_LV.SetWidth(kColPath, kSearchPathWidth);
}

}  // namespace tallymere
