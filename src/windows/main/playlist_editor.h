#pragma once
// The Playlist Editor, the second tab of the main window's side panel: the
// ordered song list LVP, filled from the file list or from an M3U file,
// sorted by a column, saved as an M3U file, played song by song or whole.
// FrmMain owns it; its handlers carry the names of its controls. The playlist
// lives only here: it is no part of the catalog.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lists/m3u.h"
#include "ports/platform.h"
#include "ports/ui_services.h"
#include "views/list_model.h"

namespace tallymere {

// Columns of LVP.
enum PlaylistColumn { kPlayPath, kPlaySongTitle, kPlayTime, kPlaySize, kPlaylistColumns };

// Play All writes the playlist here, in the program folder, every time.
inline constexpr std::string_view kPlayAllFile = "temp.m3u";

class PlaylistEditor {
 public:
  PlaylistEditor(UiServices& ui, const Platform& platform);
  PlaylistEditor(const PlaylistEditor&) = delete;
  PlaylistEditor& operator=(const PlaylistEditor&) = delete;

  // --- Handlers ---------------------------------------------------------------
  // The first two steps of Send to Playlist Editor: the file list's selected
  // rows after the duplicate questions, each deselected as it is added.
  // False when the command ended there (Cancel, or a file that is not MP3).
  bool AddFromFileList(ListModel& file_list);
  void cmdOpenPlay_Click();          // "Open a Playlist"
  void cmdPlay_Click();              // "Save Playlist"
  void cmdPlaylist_Click();          // "Play All"
  void cmdDelItem_Click();           // "Delete Selected"
  void cmdClearAll_Click();          // "Clear All"
  void LVP_ColumnClick(int column);  // 1-based, as the header reports it
  void LVP_DblClick();
  void LVP_GotFocus();
  // Gives LVP the input focus, which shows the totals.
  void SetFocus();

  // --- State the view shows ------------------------------------------------------
  ListModel& LVP() { return m_LVP; }
  const ListModel& LVP() const { return m_LVP; }
  // The songs in list order.
  std::vector<PlaylistSong> Songs() const;
  // The playlist file last opened or saved, a native path; empty at first.
  const std::string& playlist_path() const { return m_playlist_path; }
  std::optional<int> last_sort_column() const { return m_last_sort_column; }
  // True once after a handler gave LVP the focus; the view moves it there.
  bool TakeFocusRequest() { return std::exchange(m_focus_requested, false); }

 private:
  // The three places that show totals, each in its own words.
  enum class TotalsFor { kFocus, kOpening, kDeleting };
  void ShowTotals(TotalsFor place);
  // Writes the playlist file; a failure is shown and leaves any older file.
  bool WritePlaylist(const std::string& native_path);

  UiServices& m_ui;
  const Platform& m_platform;
  ListModel m_LVP;
  std::string m_playlist_path;
  std::optional<int> m_last_sort_column;
  bool m_focus_requested = false;
};

}  // namespace tallymere
