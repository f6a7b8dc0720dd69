#pragma once
// M3U playlists as the Playlist Editor saves and opens them.
//
// Written (Save Playlist, Play All):
//   #EXTM3U
//   #EXTINF:225,Song          seconds, then the Song Title without its extension
//   /home/me/Music/Song.mp3   the native path, so players on this machine find it
// A song whose drive maps to no folder now (a disk not mounted) keeps its
// catalog path (C:\Music\Song.mp3), which names it again once the disk is back.
//
// Read: "#EXTINF:" lines give the time of the path lines after them. A path
// line is a catalog path with a drive letter, an absolute native path, or a
// file:// address; the native ones become catalog paths through the drive
// map, so playlists written by other players open too. Other lines (the
// header, comments, relative paths, other addresses) are passed over.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/platform.h"

namespace tallymere {

inline constexpr std::string_view kM3uHeader = "#EXTM3U";
inline constexpr std::string_view kExtInf = "#EXTINF:";

// One song of a playlist, by its catalog path.
struct PlaylistSong {
  std::string path;        // folder with drive and trailing "\": C:\Music\Pop\ .
  std::string song_title;  // file name with extension: Song.mp3
  std::string time;        // minutes ":" seconds ("03:45"), or empty when unknown
  bool operator==(const PlaylistSong&) const = default;
};

// Seconds as minutes ":" seconds, each at least two digits: 225 gives
// "03:45", 7387 gives "123:07". A time below zero shows "00:00".
std::string SecToMin(int64_t seconds);

// minutes ":" seconds as seconds: "03:45" gives 225. "---", an empty text and
// any text that is not two whole numbers around a ":" give 0, so a song
// without a known time is saved as #EXTINF:0.
int64_t MinToSec(std::string_view time);

// The seconds of an "#EXTINF:" line: the number between the tag and the first
// ",". A line without a comma, or whose seconds are no number, gives 0 rather
// than ending the reading; so does -1, which players write for "unknown". A
// fraction of a second is dropped.
int64_t ExtInfSeconds(std::string_view line);

// The native path of a file:// address (percent escapes decoded), or nothing
// for another address or a host other than this one.
std::optional<std::string> FilePathOfUrl(std::string_view url);

// The lines of the playlist file for these songs, in their order.
std::vector<std::string> M3uLines(const std::vector<PlaylistSong>& songs, const Platform& platform);

// The songs a playlist file's lines name, in file order. A native path that
// no drive maps is passed over.
std::vector<PlaylistSong> SongsOfM3u(const std::vector<std::string>& lines,
                                     const Platform& platform);

}  // namespace tallymere
