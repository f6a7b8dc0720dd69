#include "platform/linux_platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/ascii_case.h"
#include "common/format.h"
#include "platform/atomic_file.h"
#include "platform/binary_file.h"
#include "platform/catalog_path.h"
#include "platform/cd_door.h"
#include "platform/file_hold.h"
#include "platform/folder_listing.h"
#include "platform/legacy_names.h"
#include "platform/open_folder.h"
#include "platform/program_folder.h"
#include "platform/read_file.h"
#include "platform/rename_file.h"
#include "platform/trash.h"

namespace tallymere {
namespace {

constexpr std::string_view kDataFolderName = "Data";
constexpr const char* kDefaultCdDevice = "/dev/cdrom";
// The way down from /run to the disks desktops mount there.
constexpr std::string_view kRunFolder = "/run";
constexpr std::string_view kRunMediaName = "media";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

Status Failure(std::string_view action, std::string_view path, std::string_view cause,
               StatusCode code = StatusCode::kOther) {
  return Status::Error(code, std::string(action) + " " + Quoted(path) + ": " + std::string(cause));
}

Status Failure(std::string_view action, std::string_view path, int error) {
  return Failure(action, path, std::strerror(error), Status::CodeOfErrno(error));
}

Status NoSuchDrive(std::string_view action, std::string_view path) {
  return Failure(action, path, "no such drive", StatusCode::kNotFound);
}

bool IsDriveRoot(std::string_view text) {
  return text.size() == 2 || (text.size() == 3 && (text[2] == '\\' || text[2] == '/'));
}

}  // namespace

LinuxPlatform::LinuxPlatform(std::string program_folder, Clock clock)
    : LinuxPlatform(std::move(program_folder), std::move(clock), MakeLinuxMachineProbe()) {}

LinuxPlatform::LinuxPlatform(std::string program_folder, Clock clock,
                             std::unique_ptr<MachineProbe> probe)
    : m_program_folder(TrimTrailingSlashes(program_folder)),
      m_config_folder(UserConfigFolder()),
      m_clock(std::move(clock)),
      m_probe(std::move(probe)) {}

LinuxPlatform::~LinuxPlatform() = default;

std::string LinuxPlatform::FindProgramFolder() { return tallymere::FindProgramFolder(); }

void LinuxPlatform::Refresh() { Rebuild(); }

void LinuxPlatform::MountDriveAt(char letter, std::string native_folder) {
  m_run_mounts.emplace_back(AsciiUpper(letter), std::move(native_folder));
  m_map_built = false;
}

void LinuxPlatform::ApplyRunMounts() const {
  for (const auto& [letter, folder] : m_run_mounts) {
    auto drive = std::find_if(m_map.drives.begin(), m_map.drives.end(),
                              [&](const MappedDrive& d) { return d.info.letter == letter; });
    if (drive == m_map.drives.end()) {
      MappedDrive added;
      added.info.letter = letter;
      added.info.type = kDriveRemovable;
      drive = m_map.drives.insert(
          std::find_if(m_map.drives.begin(), m_map.drives.end(),
                       [&](const MappedDrive& d) { return d.info.letter > letter; }),
          std::move(added));
    }
    drive->info.native_folder = folder;
  }
}

void LinuxPlatform::Rebuild() const {
  BuildMap();
  ApplyRunMounts();
}

void LinuxPlatform::BuildMap() const {
  m_map_built = true;
  const std::vector<MountEntry> mounts = ParseMountInfo(m_probe->MountInfoText());
  const std::string drives_file = m_program_folder + "/" + std::string(kDrivesFileName);
  m_map_problems.clear();
  const Result<std::string> overrides = ReadWholeFile(drives_file, kSmallTextFileLimit);
  if (overrides.ok()) {
    std::vector<std::string> problems;
    m_map = BuildOverrideDriveMap(ParseDrivesFile(*overrides, &problems), mounts);
    for (const std::string& problem : problems) {
      m_map_problems.push_back("\"" + drives_file + "\", " + problem + "; the line was left out.");
    }
    return;
  }
  // A drives.dat that is there but cannot be read stands for a map nobody can
  // see: no drive rather than the machine's own letters, which may differ.
  if (overrides.code() != StatusCode::kNotFound) {
    m_map = BuildOverrideDriveMap({}, mounts);
    m_map_problems.push_back(overrides.status().message() + "; no drive is mapped until it is " +
                             "mended or removed.");
    return;
  }

  const std::string letters_file = m_program_folder + "/" + std::string(kDriveLettersFileName);
  const Result<std::string> letters_text = ReadWholeFile(letters_file, kSmallTextFileLimit);
  RememberedLetters remembered =
      ParseRememberedLetters(letters_text.ok() ? *letters_text : std::string());
  bool changed = false;
  m_map = BuildAutomaticDriveMap(mounts, *m_probe, &remembered, &changed);
  if (changed) {
    // Without a writable program folder the letters still work for this run;
    // they just may differ next time.
    mkdir((m_program_folder + "/" + std::string(kDataFolderName)).c_str(), 0777);
    tallymere::WriteFileAtomically(letters_file, FormatRememberedLetters(remembered)).IgnoreError();
  }
}

std::optional<ResolvedPath> LinuxPlatform::Resolve(const DriveMap& map,
                                                   std::string_view catalog_path) const {
  std::optional<ResolvedPath> resolved = ResolveCatalogPath(map, catalog_path);
  if (resolved && !resolved->native.empty()) {
    resolved->native =
        ReachableNativePath(resolved->drive->info.native_folder, std::move(resolved->native));
  }
  return resolved;
}

const DriveMap& LinuxPlatform::Map() const {
  // Built at the first question, so a command that never asks about drives
  // (a search of data files, mp3info) reads no mount table and writes nothing.
  if (!m_map_built || m_probe->MountsChanged()) Rebuild();
  return m_map;
}

Result<std::string> LinuxPlatform::Native(std::string_view action, std::string_view path) const {
  std::optional<ResolvedPath> resolved = Resolve(Map(), path);
  if (!resolved) return NoSuchDrive(action, path);
  if (resolved->native.empty()) return Failure(action, path, ENOMEDIUM);
  return std::move(resolved->native);
}

std::vector<DriveInfo> LinuxPlatform::Drives() const {
  std::vector<DriveInfo> drives;
  for (const MappedDrive& drive : Map().drives) drives.push_back(drive.info);
  return drives;
}

int LinuxPlatform::DriveType(std::string_view drive_root) const {
  if (drive_root.size() < 2 || drive_root[1] != ':') return kDriveNone;
  const MappedDrive* drive = FindDrive(Map(), drive_root[0]);
  if (drive == nullptr) return kDriveNone;
  const int type = drive->info.type;
  if (!IsDriveRoot(drive_root) && (type == kDriveRemovable || type == kDriveCdRom)) {
    return kDriveNone;
  }
  return type;
}

std::vector<std::string> LinuxPlatform::DriveMapProblems() const {
  Map();
  return m_map_problems;
}

std::string LinuxPlatform::VolumeLabel(std::string_view drive_root) const {
  if (drive_root.size() < 2 || drive_root[1] != ':') return "";
  const MappedDrive* drive = FindDrive(Map(), drive_root[0]);
  return drive == nullptr ? "" : drive->info.label;
}

std::optional<std::string> LinuxPlatform::ToNative(std::string_view catalog_path) const {
  std::optional<ResolvedPath> resolved = Resolve(Map(), catalog_path);
  if (!resolved || resolved->native.empty()) return std::nullopt;
  return std::move(resolved->native);
}

std::optional<std::string> LinuxPlatform::ToCatalog(std::string_view native_path) const {
  return NativeToCatalog(Map(), native_path);
}

Result<FolderListing> LinuxPlatform::ListFolder(std::string_view folder, bool with_file_facts,
                                                bool with_hidden) const {
  constexpr std::string_view kAction = "Cannot list";
  const DriveMap& map = Map();
  std::optional<ResolvedPath> resolved = Resolve(map, folder);
  if (!resolved) return NoSuchDrive(kAction, folder);
  if (resolved->native.empty()) return Failure(kAction, folder, ENOMEDIUM);

  const std::string key = TrimTrailingSlashes(resolved->native);
  ListingFilter filter;
  filter.with_hidden = with_hidden;
  if (const auto fenced = map.fenced_children.find(key); fenced != map.fenced_children.end()) {
    filter.fenced_folders = &fenced->second;
  }
  // A drive someone deliberately mapped inside /dev or /run stays listable.
  if (IsKernelArea(key) && !IsKernelArea(resolved->drive->info.native_folder)) {
    filter.kernel_area = true;
    if (key == kRunFolder) filter.kernel_area_exception = kRunMediaName;
  }

  FolderListing listing;
  if (const int error = tallymere::ListNativeFolder(key, filter, with_file_facts, &listing);
      error != 0) {
    return Failure(kAction, folder, error);
  }
  return listing;
}

Result<FolderListing> LinuxPlatform::ListNativeFolder(const std::string& native_folder) const {
  FolderListing listing;
  if (const int error = tallymere::ListNativeFolder(native_folder, {}, false, &listing);
      error != 0) {
    return Failure("Cannot list", native_folder, error);
  }
  return listing;
}

std::unique_ptr<FolderFiles> LinuxPlatform::OpenFolderFiles(std::string_view folder) const {
  const std::optional<std::string> native = ToNative(folder);
  if (!native) return nullptr;
  auto open_folder = std::make_unique<OpenFolder>(*native);
  if (!open_folder->ok()) return nullptr;
  return open_folder;
}

bool LinuxPlatform::FileExists(std::string_view path) const {
  const std::optional<std::string> native = ToNative(path);
  struct stat info;
  return native && stat(native->c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool LinuxPlatform::FolderExists(std::string_view path) const {
  const std::optional<std::string> native = ToNative(path);
  struct stat info;
  return native && stat(native->c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Result<int64_t> LinuxPlatform::FileLength(std::string_view path) const {
  constexpr std::string_view kAction = "Cannot read";
  const Result<std::string> native = Native(kAction, path);
  if (!native.ok()) return native.status();
  struct stat info;
  if (stat(native->c_str(), &info) != 0) return Failure(kAction, path, errno);
  if (S_ISDIR(info.st_mode)) return Failure(kAction, path, EISDIR);
  return static_cast<int64_t>(info.st_size);
}

Result<std::string> LinuxPlatform::ModifiedText(std::string_view path) const {
  constexpr std::string_view kAction = "Cannot read";
  const Result<std::string> native = Native(kAction, path);
  if (!native.ok()) return native.status();
  struct stat info;
  if (stat(native->c_str(), &info) != 0) return Failure(kAction, path, errno);
  return FormatDateTime(info.st_mtim.tv_sec);
}

Result<bool> LinuxPlatform::IsReadOnly(std::string_view path) const {
  constexpr std::string_view kAction = "Cannot read the attributes of";
  const Result<std::string> native = Native(kAction, path);
  if (!native.ok()) return native.status();
  struct stat info;
  if (stat(native->c_str(), &info) != 0) return Failure(kAction, path, errno);
  return (info.st_mode & S_IWUSR) == 0;
}

Status LinuxPlatform::ResetAttributes(std::string_view path) const {
  constexpr std::string_view kAction = "Cannot reset the attributes of";
  const Result<std::string> native = Native(kAction, path);
  if (!native.ok()) return native.status();
  struct stat info;
  if (stat(native->c_str(), &info) != 0) return Failure(kAction, path, errno);
  if ((info.st_mode & S_IWUSR) != 0) return Status::Ok();
  if (chmod(native->c_str(), (info.st_mode & 07777) | S_IWUSR) != 0) {
    return Failure(kAction, path, errno);
  }
  return Status::Ok();
}

Status LinuxPlatform::RenameFile(std::string_view from, std::string_view to) const {
  const std::string action = "Cannot rename " + Quoted(from) + " to";
  const Result<std::string> native_from = Native("Cannot rename", from);
  if (!native_from.ok()) return native_from.status();
  const Result<std::string> native_to = Native(action, to);
  if (!native_to.ok()) return native_to.status();
  const int error = RenameWithoutReplacing(*native_from, *native_to);
  if (error == EEXIST) return Failure(action, to, Quoted(to) + " already exists");
  if (error != 0) return Failure(action, to, error);
  return Status::Ok();
}

Status LinuxPlatform::ReplaceFile(std::string_view from, std::string_view to) const {
  const std::string action = "Cannot rename " + Quoted(from) + " to";
  const Result<std::string> native_from = Native("Cannot rename", from);
  if (!native_from.ok()) return native_from.status();
  const Result<std::string> native_to = Native(action, to);
  if (!native_to.ok()) return native_to.status();
  if (rename(native_from->c_str(), native_to->c_str()) != 0) return Failure(action, to, errno);
  return Status::Ok();
}

Status LinuxPlatform::DeleteFile(std::string_view path) const {
  constexpr std::string_view kAction = "Cannot delete";
  const Result<std::string> native = Native(kAction, path);
  if (!native.ok()) return native.status();
  if (unlink(native->c_str()) != 0) return Failure(kAction, path, errno);
  return Status::Ok();
}

Status LinuxPlatform::CreateFolder(std::string_view path) const {
  constexpr std::string_view kAction = "Cannot create the folder";
  const Result<std::string> native = Native(kAction, path);
  if (!native.ok()) return native.status();
  if (mkdir(native->c_str(), 0777) != 0) return Failure(kAction, path, errno);
  return Status::Ok();
}

bool LinuxPlatform::NativePathExists(const std::string& native_path) const {
  struct stat info;
  return lstat(native_path.c_str(), &info) == 0;
}

Status LinuxPlatform::CreateNativeFolders(const std::string& native_folder) const {
  std::error_code error;
  std::filesystem::create_directories(native_folder, error);
  if (!error) return Status::Ok();
  return Status::FromErrno(
      error.value(), "Cannot create the folder \"" + native_folder + "\": " + error.message());
}

Status LinuxPlatform::ReadFileInto(const std::string& native_path, std::size_t max_bytes,
                                   std::string* bytes) const {
  return ReadWholeFileInto(native_path, max_bytes, bytes);
}

Status LinuxPlatform::WriteFileAtomically(const std::string& native_path,
                                          std::string_view bytes) const {
  return tallymere::WriteFileAtomically(native_path, bytes);
}

std::optional<FileVersion> LinuxPlatform::FileVersionAt(const std::string& native_path) const {
  return NativeFileVersion(native_path);
}

Result<std::unique_ptr<FileHold>> LinuxPlatform::HoldFile(
    const std::string& native_path, const std::function<bool()>& on_busy) const {
  return HoldFileExclusively(native_path, on_busy);
}

Result<std::unique_ptr<RandomAccessFile>> LinuxPlatform::OpenFile(const std::string& native_path,
                                                                  OpenMode mode) const {
  auto file = std::make_unique<BinaryFile>();
  if (Status opened = file->Open(native_path, mode); !opened) return opened;
  return std::unique_ptr<RandomAccessFile>(std::move(file));
}

Status LinuxPlatform::MoveToTrash(const std::string& native_path) const {
  return tallymere::MoveToTrash(native_path);
}

Status LinuxPlatform::DeletePermanently(const std::string& native_path) const {
  return DeleteTree(native_path);
}

std::string LinuxPlatform::ProgramFolder() const { return m_program_folder; }

std::string LinuxPlatform::HomeFolder() const { return UserHomeFolder(); }

std::time_t LinuxPlatform::Now() const { return m_clock ? m_clock() : std::time(nullptr); }

void LinuxPlatform::CdDoor(CdDoorMove move) const {
  std::string device;
  for (const MappedDrive& drive : Map().drives) {
    if (!drive.device.empty()) {
      device = drive.device;
      break;
    }
  }
  // drives.dat names folders, not devices: take the machine's first drive.
  if (device.empty()) {
    const std::vector<std::string> optical = m_probe->OpticalDevices();
    device = optical.empty() ? kDefaultCdDevice : optical.front();
  }
  MoveCdDoor(device, move);
}

}  // namespace tallymere
