#include "windows/main/playlist_editor.h"

#include <charconv>

#include "catalog/text_file.h"
#include "common/format.h"
#include "lists/gshell.h"
#include "mp3/search_and_replace.h"
#include "views/file_list_row.h"
#include "windows/main/song_names.h"
#include "windows/ui_scopes.h"

namespace tallymere {
namespace {

constexpr std::string_view kPlaylistExtension = ".m3u";
constexpr std::string_view kNoTime = "---";
constexpr std::string_view kZeroTime = "00:00";

int64_t SizeOf(const std::string& text) {
  int64_t size = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  return error == std::errc() && end == text.data() + text.size() ? size : 0;
}

ListRow PlaylistRow(std::string path, std::string song_title, std::string time, std::string size) {
  ListRow row;
  row.text = std::move(path);
  row.sub_items = {std::move(song_title), std::move(time), std::move(size)};
  return row;
}

}  // namespace

PlaylistEditor::PlaylistEditor(UiServices& ui, const Platform& platform)
    : m_ui(ui),
      m_platform(platform),
      m_LVP({"Path", "Song Title", "Time", "Size"}, {1500, 2200, 700, 1000}) {
  m_LVP.SetColumnKind(kPlayTime, ColumnKind::kDuration);
  m_LVP.SetColumnKind(kPlaySize, ColumnKind::kNumber);
  m_LVP.SetColumnSample(kPlayTime, "00:00");
  m_LVP.SetColumnSample(kPlaySize, "12345678");
}

std::vector<PlaylistSong> PlaylistEditor::Songs() const {
  std::vector<PlaylistSong> songs;
  songs.reserve(m_LVP.row_count());
  for (int row = 0; row < m_LVP.row_count(); ++row) {
    songs.push_back(
        {m_LVP.Cell(row, kPlayPath), m_LVP.Cell(row, kPlaySongTitle), m_LVP.Cell(row, kPlayTime)});
  }
  return songs;
}

bool PlaylistEditor::AddFromFileList(ListModel& file_list) {
  const std::vector<int> rows = file_list.SelectedRows();
  if (m_LVP.row_count() > 0) {
    for (int row : rows) {
      const std::string& name = file_list.Cell(row, kColFileName);
      const std::string lower = LowerCase(name);
      for (int entry = 0; entry < m_LVP.row_count(); ++entry) {
        if (LowerCase(m_LVP.Cell(entry, kPlaySongTitle)) != lower) continue;
        const Answer answer =
            m_ui.ShowMessage(name + " is a duplicate, proceed anyway?", Buttons::kYesNoCancel,
                             Icon::kQuestion, kProgramTitle);
        if (answer == Answer::kCancel) return false;
        if (answer == Answer::kNo) {
          file_list.SetSelected(row, false);
          break;
        }
      }
    }
  }
  for (int row : rows) {
    if (!file_list.row(row).selected) continue;
    const std::string& name = file_list.Cell(row, kColFileName);
    if (!EndsInMp3(name)) {
      m_ui.ShowMessage("Selected is not a MP3 file.", Buttons::kOk, Icon::kStop, kProgramTitle);
      return false;
    }
    const std::string& time = file_list.Cell(row, kColTime);
    m_LVP.AddRow(PlaylistRow(file_list.Cell(row, kColPath), name,
                             time == kNoTime ? std::string(kZeroTime) : time,
                             file_list.Cell(row, kColSize)));
    file_list.SetSelected(row, false);
  }
  return true;
}

void PlaylistEditor::cmdOpenPlay_Click() {
  const std::optional<std::string> chosen =
      m_ui.ChooseOpenFile("Open A List File", "*.m3u", "*.m3u");
  if (!chosen) return;
  m_LVP.Clear();
  m_playlist_path = *chosen;
  {
    const BusyScope busy(m_ui);
    const Result<std::vector<std::string>> lines =
        ReadTextLines(m_platform, *chosen, kPlaylistLimit);
    if (!lines.ok()) {
      m_ui.ShowMessage(lines.status().message() + "\n\nThe playlist was not opened.", Buttons::kOk,
                       Icon::kStop, kProgramTitle);
      return;
    }
    std::vector<ListRow> rows;
    for (PlaylistSong& song : SongsOfM3u(*lines, m_platform)) {
      // The sizes are read afresh: the files may have changed since the list was made.
      const Result<int64_t> length = m_platform.FileLength(song.path + song.song_title);
      rows.push_back(PlaylistRow(std::move(song.path), std::move(song.song_title),
                                 std::move(song.time),
                                 length.ok() ? std::to_string(*length) : std::string("0")));
    }
    m_LVP.AddRows(std::move(rows));
  }
  ShowTotals(TotalsFor::kOpening);
  SetFocus();
}

void PlaylistEditor::cmdPlay_Click() {
  if (m_LVP.row_count() == 0) {
    m_ui.ShowMessage("List is empty.", Buttons::kOk, Icon::kWarning, kProgramTitle);
    return;
  }
  // The remembered path carries both the folder and the name to start from.
  const std::optional<std::string> chosen =
      m_ui.ChooseSaveFile("Save Playlist", "*.m3u", m_playlist_path);
  if (!chosen) return;
  m_playlist_path = *chosen;
  // The comparison is exact: "LIST.M3U" gets ".m3u" appended.
  if (!m_playlist_path.ends_with(kPlaylistExtension)) m_playlist_path += kPlaylistExtension;
  if (m_platform.NativePathExists(m_playlist_path) &&
      m_ui.ShowMessage("File name already exist, replace it?.", Buttons::kOkCancel,
                       Icon::kInformation, "Save Playlist") == Answer::kCancel) {
    return;
  }
  if (!WritePlaylist(m_playlist_path)) return;
  m_ui.ShowMessage("Playlist has been saved as " + m_playlist_path, Buttons::kOk,
                   Icon::kInformation, kProgramTitle);
}

void PlaylistEditor::cmdPlaylist_Click() {
  if (m_LVP.row_count() == 0) return;
  const std::string path = m_platform.ProgramFolder() + "/" + std::string(kPlayAllFile);
  if (!WritePlaylist(path)) return;
  if (!GShell(m_ui, path, kShowDefault, "", "", "open")) {
    m_ui.ShowMessage("An error occured.", Buttons::kOk, Icon::kStop, kProgramTitle);
  }
}

bool PlaylistEditor::WritePlaylist(const std::string& native_path) {
  Status status;
  {
    const BusyScope busy(m_ui);
    status = WriteTextFile(m_platform, native_path, M3uLines(Songs(), m_platform));
  }
  if (!status) {
    m_ui.ShowMessage(status.message() +
                         "\n\nThe playlist was not written; an older file of that name is "
                         "unchanged.",
                     Buttons::kOk, Icon::kStop, kProgramTitle);
  }
  return status.ok();
}

void PlaylistEditor::LVP_DblClick() {
  const int row = m_LVP.FirstSelected();
  if (row < 0) return;
  const std::optional<std::string> native =
      m_platform.ToNative(m_LVP.Cell(row, kPlayPath) + m_LVP.Cell(row, kPlaySongTitle));
  if (!native || !GShell(m_ui, *native, kShowDefault, "", "", "open")) {
    m_ui.ShowMessage("An error occured. Please make sure file exists on path.", Buttons::kOk,
                     Icon::kStop, kProgramTitle);
  }
}

void PlaylistEditor::cmdDelItem_Click() {
  std::vector<bool> doomed(static_cast<std::size_t>(m_LVP.row_count()), false);
  for (int row : m_LVP.SelectedRows()) doomed[static_cast<std::size_t>(row)] = true;
  m_LVP.RemoveRows(doomed);
  ShowTotals(TotalsFor::kDeleting);
}

void PlaylistEditor::cmdClearAll_Click() { m_LVP.Clear(); }

void PlaylistEditor::LVP_ColumnClick(int column) {
  const int key = column - 1;
  if (key < 0 || key >= m_LVP.column_count()) return;
  if (m_last_sort_column != key) {
    m_LVP.SetSortOrder(SortOrder::kAscending);
  } else {
    m_LVP.SetSortOrder(m_LVP.sort_order() == SortOrder::kAscending ? SortOrder::kDescending
                                                                   : SortOrder::kAscending);
  }
  m_LVP.SetSortKey(key);
  m_LVP.SetSorted(true);
  m_last_sort_column = key;
}

void PlaylistEditor::LVP_GotFocus() { ShowTotals(TotalsFor::kFocus); }

void PlaylistEditor::SetFocus() {
  m_focus_requested = true;
  LVP_GotFocus();
}

void PlaylistEditor::ShowTotals(TotalsFor place) {
  int64_t bytes = 0;
  int64_t seconds = 0;
  bool time_missing = false;
  for (int row = 0; row < m_LVP.row_count(); ++row) {
    const std::string& time = m_LVP.Cell(row, kPlayTime);
    // "---" and other texts that hold no time add nothing.
    seconds += MinToSec(time);
    time_missing = time_missing || time == kZeroTime;
    bytes += SizeOf(m_LVP.Cell(row, kPlaySize));
  }
  const std::string count = std::to_string(m_LVP.row_count());
  const std::string megabytes = FormatMegabytes(static_cast<double>(bytes));
  std::string time_text =
      "Time: " + std::to_string(seconds / 60) + ":" + FormatTwoDigits(seconds % 60);
  switch (place) {
    case TotalsFor::kFocus:
      m_ui.SetStatus(kStatusPanel, "Total: " + count + " songs in playlist.");
      m_ui.SetStatus(kCountPanel, "Total : " + megabytes + " MB");
      break;
    case TotalsFor::kOpening:
      m_ui.SetStatus(kStatusPanel, "Total: " + count + " songs. ");
      m_ui.SetStatus(kCountPanel, "Total: " + megabytes + " MB");
      break;
    case TotalsFor::kDeleting:
      m_ui.SetStatus(kStatusPanel, "Total: " + count + " songs. ");
      m_ui.SetStatus(kCountPanel, megabytes + " MB");
      break;
  }
  if (place != TotalsFor::kDeleting && time_missing) time_text += " + ?";
  m_ui.SetStatus(kSizePanel, time_text);
}

}  // namespace tallymere
