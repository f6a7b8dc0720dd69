#pragma once
// The two doors through which the core reaches the outside world. UiServices
// is the desktop: dialogs, messages, status bar, pointer, clipboard and shell.
// Platform is the machine: the drive map, the file system in catalog paths
// ("C:\Music\"), the program folder and the clock. The desktop program
// implements them with Qt and the Linux layer; tests use a scripted fake and
// the Linux layer over a temporary program folder.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"

namespace tallymere {

enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Icon { kNone, kStop, kQuestion, kWarning, kInformation };
enum class Answer { kOk, kCancel, kYes, kNo };

inline constexpr std::string_view kProgramTitle = "Tallymere";

class UiServices {
 public:
  virtual ~UiServices() = default;

  // A modal message box; returns the button pressed.
  virtual Answer ShowMessage(std::string_view text, Buttons buttons, Icon icon,
                             std::string_view title = kProgramTitle) = 0;
  // The text typed, or empty when cancelled (which abandons the command).
  virtual std::string AskText(std::string_view prompt, std::string_view title,
                              std::string_view default_text) = 0;
  // A native file path, or nothing when cancelled. The filter is a pattern
  // such as "*.mpd"; the initial name fills the name field.
  virtual std::optional<std::string> ChooseSaveFile(std::string_view title,
                                                    std::string_view filter,
                                                    std::string_view initial_name) = 0;
  virtual std::optional<std::string> ChooseOpenFile(std::string_view title,
                                                    std::string_view filter,
                                                    std::string_view initial_name) = 0;
  // A drive root or folder as a catalog path ("C:\" or "C:\Music"), or empty.
  virtual std::string BrowseForFolder(std::string_view title) = 0;
  // A colour number 0x00BBGGRR; after Cancel the colour the dialog last held.
  virtual uint32_t ChooseColor(std::string_view title) = 0;

  // Status-bar panels are numbered 1 to 3.
  virtual void SetStatus(int panel, std::string_view text) = 0;
  // file is "Findfile.avi" or "Findcomp.avi"; the desktop shows an
  // indeterminate progress indicator instead of playing it.
  virtual void Animation(std::string_view file, bool start) = 0;
  virtual void BusyPointer(bool on) = 0;
  // Lets the window repaint and move while a long command runs.
  virtual void YieldToUi() = 0;
  virtual void CopyToClipboard(std::string_view text) = 0;

  // Opens a native path with its associated program. Above 32 is success;
  // 2 missing file, 3 missing folder, 5 no access, 31 no application.
  virtual int ShellOpen(std::string_view verb, std::string_view path,
                        std::string_view parameters, std::string_view folder,
                        int show_state) = 0;
  // 32 or less is failure.
  virtual int ShowProperties(std::string_view path) = 0;
  // Moves native paths to the trash after asking; zero on success.
  virtual int RecycleFiles(const std::vector<std::string>& paths) = 0;
};

// Drive types as the drive-type query reports them.
inline constexpr int kDriveNone = 1;
inline constexpr int kDriveRemovable = 2;
inline constexpr int kDriveFixed = 3;
inline constexpr int kDriveRemote = 4;
inline constexpr int kDriveCdRom = 5;
inline constexpr int kDriveRamDisk = 6;

struct FolderEntry {
  std::string name;  // as on disk, without folder
  bool is_folder = false;
  // Filled only when the listing asks for file facts.
  bool read_only = false;
  int64_t size = 0;
  std::time_t modified = 0;
};

struct FolderListing {
  std::vector<FolderEntry> entries;  // in the order the file system returns them
  // Names holding "\" cannot be written into a catalog path; they are left out
  // and counted here.
  int skipped_names = 0;
};

struct DriveInfo {
  char letter = 'C';
  int type = kDriveNone;
  std::string native_folder;  // where the drive's root is mounted
  std::string label;          // volume label, may be empty
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Drive map -----------------------------------------------------------
  // Every mapped drive in letter order.
  virtual std::vector<DriveInfo> Drives() const = 0;
  // kDriveRemovable ... kDriveRamDisk, or 0/kDriveNone for no such drive.
  // A longer text ("C:\Music\") reports the type of its drive, except below a
  // removable or CD-ROM drive, where it reports kDriveNone: the tree takes
  // "E:\MyCD\" to be a disk's label, never a drive.
  virtual int DriveType(std::string_view drive_root) const = 0;
  // The volume label of a drive, empty when it has none.
  virtual std::string VolumeLabel(std::string_view drive_root) const = 0;
  // "C:\Music\a.mp3" to "/Music/a.mp3" and back; nothing when no drive maps it.
  virtual std::optional<std::string> ToNative(std::string_view catalog_path) const = 0;
  virtual std::optional<std::string> ToCatalog(std::string_view native_path) const = 0;

  // --- File system, in catalog paths ----------------------------------------
  // The visible entries of a folder: hidden (dot) names, symbolic links,
  // devices, fifos, sockets, pseudo file systems and other drives' mount points
  // are never returned. Fails when the folder cannot be listed (drive not
  // ready, path missing, no permission).
  virtual Result<FolderListing> ListFolder(std::string_view folder, bool with_file_facts) const = 0;
  virtual bool FileExists(std::string_view path) const = 0;
  virtual bool FolderExists(std::string_view path) const = 0;
  // The length in bytes, 64-bit.
  virtual Result<int64_t> FileLength(std::string_view path) const = 0;
  // The last-modified time as the Modified text.
  virtual Result<std::string> ModifiedText(std::string_view path) const = 0;
  // Read-only means the owner may not write; resetting gives the owner write
  // permission.
  virtual Result<bool> IsReadOnly(std::string_view path) const = 0;
  virtual Status ResetAttributes(std::string_view path) const = 0;
  virtual Status RenameFile(std::string_view from, std::string_view to) const = 0;
  virtual Status DeleteFile(std::string_view path) const = 0;
  virtual Status CreateFolder(std::string_view path) const = 0;

  // --- Program folder, clock and CD tray ------------------------------------
  // Native folder holding Data/lists.dat, Header.txt and the like, no trailing "/".
  virtual std::string ProgramFolder() const = 0;
  virtual std::time_t Now() const = 0;
  // Sends a CD-audio command text; errors are ignored by design.
  virtual void CdDoor(std::string_view command) const = 0;
};

}  // namespace tallymere
