#include "windows/find_catalogs/frm_find_catalogs.h"

#include <algorithm>

#include "catalog/program_settings.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "common/number_text.h"
#include "search/shelf.h"

namespace tallymere {
namespace {

// A status line names at most this many data files that could not be read.
constexpr std::size_t kNamedProblems = 5;

ListModel MakeResultsList() {
  const ListModel file_list = MakeFileList();
  std::vector<std::string> headers = file_list.headers();
  std::vector<int> widths;
  for (int column = 0; column < file_list.column_count(); ++column) {
    widths.push_back(file_list.width(column));
  }
  headers.insert(headers.end(), {"Catalog", "Catalog File"});
  widths.insert(widths.end(), {1800, 0});
  ListModel results(std::move(headers), std::move(widths));
  for (int column : {kColSize, kColModified, kColBitrate, kColTime}) {
    results.SetColumnKind(column, file_list.column_kind(column));
    results.SetColumnSample(column, file_list.column_sample(column));
  }
  return results;
}

// "1 data file could not be read: X.mpd (damaged)", the files named up to
// kNamedProblems.
std::string ProblemText(const std::vector<std::string>& named, std::string_view what) {
  if (named.empty()) return {};
  std::string text = " " + std::to_string(named.size()) + " " + std::string(what) +
                     (named.size() == 1 ? "" : "s") + " could not be read: ";
  for (std::size_t i = 0; i < std::min(named.size(), kNamedProblems); ++i) {
    text += (i > 0 ? ", " : "") + named[i];
  }
  if (named.size() > kNamedProblems) {
    text += " and " + std::to_string(named.size() - kNamedProblems) + " more";
  }
  return text + ".";
}

template <typename Value>
Status Bound(const std::string& text, std::optional<Value>* bound,
             const std::function<std::optional<Value>(const std::string&)>& parse,
             std::string_view what) {
  if (text.find_first_not_of(' ') == std::string::npos) return Status::Ok();
  *bound = parse(text);
  if (*bound) return Status::Ok();
  return Status::Error("\"" + text + "\" is no " + std::string(what));
}

}  // namespace

FrmFindCatalogs::FrmFindCatalogs(CatalogSession& session, WindowServices& services,
                                 CatalogNavigator& navigator)
    : m_session(session),
      m_services(services),
      m_navigator(navigator),
      m_results(MakeResultsList()) {}

void FrmFindCatalogs::Form_Load() {
  const ProgramSettings& settings = m_session.program_settings();
  m_subfolders = settings.shelf_subfolders;
  m_shelf = settings.shelf_folders;
  if (m_shelf.empty()) {
    // The shelf of the moment: the open catalog's folder, else the
    // program's own data folder.
    const std::string& open = m_session.data_file_path();
    const std::size_t slash = open.rfind('/');
    m_shelf.push_back(open != kUntitledDataFile && slash != std::string::npos
                          ? open.substr(0, std::max<std::size_t>(slash, 1))
                          : m_session.platform().ProgramFolder() + "/Data");
  }
  m_shelf_selected = m_shelf.empty() ? -1 : 0;
  Changed();
}

void FrmFindCatalogs::Form_Unload() { m_search.Cancel(); }

void FrmFindCatalogs::Run(FindCatalogsCommand command) {
  EntryOf(kCommands, command).handler.run(*this);
}

bool FrmFindCatalogs::Enabled(FindCatalogsCommand command) const {
  using enum FindCatalogsCommand;
  switch (command) {
    case kFind:
    case kAddFolder:
      return true;
    case kStop:
      return m_search.running();
    case kRemoveFolder:
      return m_shelf_selected >= 0 && m_shelf_selected < static_cast<int>(m_shelf.size());
    case kShowInCatalog:
    case kOpenFile:
    case kCopyName:
    case kSendToPlaylist:
      return SelectedRow() >= 0;
  }
  return false;
}

Result<CatalogCondition> FrmFindCatalogs::Condition() const {
  const Controls& c = m_controls;
  CatalogCondition condition;
  condition.text = c.txtFind;
  condition.field =
      kSearchFields[static_cast<std::size_t>(std::clamp<int>(c.cmbIn, 0, kSearchFields.size() - 1))]
          .field;
  condition.type_pattern = c.cmbType.empty() ? "*.*" : c.cmbType;
  const auto seconds = [](const std::string& t) { return ParsePlayingTime(t); };
  const auto bitrate = [](const std::string& text) -> std::optional<int64_t> {
    const std::optional<int64_t> kbps = ParseWholeNumber(text);
    return kbps && *kbps >= 0 ? kbps : std::nullopt;
  };
  const auto size = [](const std::string& t) { return ParseByteCount(t); };
  const auto day = [](const std::string& t) { return ParseDay(t); };
  const auto day_after = [](const std::string& t) { return ParseDay(t, 1); };
  constexpr std::string_view kSize = "size: give bytes, or a number with KB, MB or GB.";
  constexpr std::string_view kTime = "playing time: give mm:ss, such as 3:30.";
  constexpr std::string_view kDate = "date: give it as YYYY-MM-DD, such as 2024-05-31.";
  for (const Status& checked :
       {Bound<int64_t>(c.txtMinSize, &condition.min_size, size, kSize),
        Bound<int64_t>(c.txtMaxSize, &condition.max_size, size, kSize),
        Bound<int64_t>(c.txtMinBitrate, &condition.min_bitrate, bitrate,
                       "bitrate: give kbps, such as 192."),
        Bound<int64_t>(c.txtMinTime, &condition.min_seconds, seconds, kTime),
        Bound<int64_t>(c.txtMaxTime, &condition.max_seconds, seconds, kTime),
        Bound<std::time_t>(c.txtAfter, &condition.modified_from, day, kDate),
        Bound<std::time_t>(c.txtBefore, &condition.modified_until, day_after, kDate)}) {
    if (!checked) return checked;
  }
  return condition;
}

void FrmFindCatalogs::cmdFind_Click() {
  Result<CatalogCondition> condition = Condition();
  if (!condition) {
    m_services.ui().ShowMessage(condition.status().message(), Buttons::kOk, Icon::kWarning,
                                kFindCatalogsCaption);
    return;
  }
  m_search.Cancel();
  ShelfFiles shelf = ListShelf(m_session.platform(), {m_shelf, m_subfolders});
  m_searched = std::move(shelf.files);
  m_shelf_problems = std::move(shelf.problems);
  m_results.Clear();
  m_results.SetSorted(false);
  m_matched = 0;
  m_status = "Searching " + std::to_string(m_searched.size()) + " data file(s) . . .";
  // Each row names its data file; the rows are made on the search's thread.
  m_search.Start(m_session.platform(), m_searched, std::move(*condition),
                 [files = m_searched](const ShelfRow& found) {
                   const CatalogRecord& record = found.record;
                   ListRow row = FileListRow(
                       record, EndsWithNoCase(record.file_name, ".mp3") ? kMp3Icon : kFileIcon);
                   const std::string& file = files[static_cast<std::size_t>(found.catalog)];
                   row.sub_items.emplace_back(CatalogName(file));
                   row.sub_items.push_back(file);
                   return row;
                 });
  Changed();
}

void FrmFindCatalogs::cmdStop_Click() {
  if (!m_search.running()) return;
  // Not waited for: the window goes on at once, and a later Poll takes the
  // search's end.
  m_search.RequestCancel();
  m_status = "Stopping . . .";
  Changed();
}

void FrmFindCatalogs::txtFind_Change(std::string text) {
  m_controls.txtFind = std::move(text);
  if (m_search.running()) cmdStop_Click();
}

bool FrmFindCatalogs::Poll() {
  BackgroundSearch::Progress progress = m_search.Take();
  if (!progress.rows.empty()) m_results.AddRows(std::move(progress.rows));
  m_matched += progress.matched;
  if (progress.finished) {
    ShowResult(*progress.finished);
  } else if (progress.catalogs_done > 0) {
    m_status = "Searching . . . " + std::to_string(m_matched) + " file(s) found so far";
    Changed();
  }
  return m_search.running();
}

void FrmFindCatalogs::FinishSearch() {
  m_search.Wait();
  Poll();
}

void FrmFindCatalogs::ShowResult(const ShelfSearchResult& result) {
  std::string text = result.cancelled ? "Stopped. " : "";
  text += std::to_string(result.matched) + " file(s) found in " + std::to_string(result.searched) +
          " data file(s), " + FormatMegabytes(static_cast<double>(result.total_size)) + " MB.";
  if (result.cut) text += " The first " + std::to_string(kMaxShelfRows) + " are listed.";
  std::vector<std::string> unread;
  for (const ShelfProblem& problem : result.problems) {
    unread.push_back(
        std::string(CatalogName(m_searched[static_cast<std::size_t>(problem.catalog)])) + " (" +
        ShortCause(problem.status) + ")");
  }
  text += ProblemText(unread, "data file");
  std::vector<std::string> unlisted;
  for (const Status& problem : m_shelf_problems) unlisted.push_back(problem.message());
  text += ProblemText(unlisted, "shelf folder");
  m_status = std::move(text);
  // Listed as the main window lists a find: by File name, unless the user
  // chose another column meanwhile.
  m_results.SetSortKey(m_sort_column);
  m_results.SetSorted(true);
  Changed();
}

void FrmFindCatalogs::lstResults_ColumnClick(int column) {
  const int key = column - 1;
  m_results.SetSortOrder(key == m_sort_column && m_results.sort_order() == SortOrder::kAscending
                             ? SortOrder::kDescending
                             : SortOrder::kAscending);
  m_sort_column = key;
  m_results.SetSortKey(key);
  m_results.SetSorted(true);
}

void FrmFindCatalogs::cmdAddFolder_Click() {
  const std::optional<std::string> folder =
      m_services.ui().ChooseNativeFolder("Add a Folder of Data Files");
  if (!folder) return;
  if (std::find(m_shelf.begin(), m_shelf.end(), *folder) == m_shelf.end()) {
    m_shelf.push_back(*folder);
  }
  m_shelf_selected =
      static_cast<int>(std::find(m_shelf.begin(), m_shelf.end(), *folder) - m_shelf.begin());
  SaveShelf();
}

void FrmFindCatalogs::cmdRemoveFolder_Click() {
  if (!Enabled(FindCatalogsCommand::kRemoveFolder)) return;
  m_shelf.erase(m_shelf.begin() + m_shelf_selected);
  m_shelf_selected = std::min(m_shelf_selected, static_cast<int>(m_shelf.size()) - 1);
  SaveShelf();
}

void FrmFindCatalogs::chkSubfolders_Click(bool checked) {
  m_subfolders = checked;
  SaveShelf();
}

void FrmFindCatalogs::SaveShelf() {
  ProgramSettings settings = m_session.program_settings();
  settings.shelf_folders = m_shelf;
  settings.shelf_subfolders = m_subfolders;
  m_session.program_settings() = settings;
  if (Status saved = SaveProgramSettings(m_session.platform(), settings); !saved) {
    m_services.ui().ShowMessage(saved.message() + "\n\nThe shelf is used until Tallymere ends.",
                                Buttons::kOk, Icon::kWarning, kFindCatalogsCaption);
  }
  Changed();
}

int FrmFindCatalogs::SelectedRow() const { return m_results.FirstSelected(); }

void FrmFindCatalogs::mnuShowInCatalog_Click() {
  const int row = SelectedRow();
  if (row < 0 || m_services.busy()) return;
  const std::string file = m_results.Cell(row, kColCatalogFile);
  const std::string path = m_results.Cell(row, kColPath);
  const std::string name = m_results.Cell(row, kColFileName);
  if (file != m_session.data_file_path() && !m_navigator.OpenDataFile(file)) return;
  if (!m_navigator.ShowCatalogFile(path, name)) {
    m_services.ui().ShowMessage("\"" + std::string(CatalogName(file)) + "\" holds no file \"" +
                                    path + name +
                                    "\" now: it changed after it was searched. Search again "
                                    "to see it as it is.",
                                Buttons::kOk, Icon::kInformation, kFindCatalogsCaption);
  }
  if (show_main_window) show_main_window();
}

void FrmFindCatalogs::mnuOpenFile_Click() {
  const int row = SelectedRow();
  if (row < 0 || m_services.busy()) return;
  m_navigator.OpenCatalogFile(m_results.Cell(row, kColPath), m_results.Cell(row, kColFileName),
                              m_results.Cell(row, kColDiskLabel));
}

void FrmFindCatalogs::mnuCopyName_Click() {
  const int row = SelectedRow();
  if (row >= 0) m_services.ui().CopyToClipboard(m_results.Cell(row, kColFileName));
}

void FrmFindCatalogs::mnuSendToPlaylist_Click() {
  if (SelectedRow() < 0 || m_services.busy()) return;
  m_navigator.SendToPlaylist(m_results);
  if (show_main_window) show_main_window();
}

void FrmFindCatalogs::Changed() {
  if (state_changed) state_changed();
}

}  // namespace tallymere
