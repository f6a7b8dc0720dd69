#include "support/faulty_platform.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace tallymere::testing {
namespace {

// The cause the system gives for a failure of that kind, in the words the
// Linux platform uses.
std::string CauseOf(StatusCode code) {
  switch (code) {
    case StatusCode::kNotFound:
      return "File not found";
    case StatusCode::kNoAccess:
      return "Permission denied";
    case StatusCode::kNoSpace:
      return std::strerror(ENOSPC);
    case StatusCode::kDamaged:
      return "the file is damaged";
    case StatusCode::kCancelled:
      return "cancelled";
    case StatusCode::kUnsupported:
      return "the disk has no usable trash";
    case StatusCode::kNotAFile:
      return "it is a pipe, not a file";
    case StatusCode::kTooLarge:
      return "it is larger than a file of its kind ever holds";
    case StatusCode::kChanged:
      return "the file changed while it was read";
    case StatusCode::kIncomplete:
      return "the file ends before its last part";
    case StatusCode::kOk:
    case StatusCode::kOther:
      break;
  }
  return std::strerror(EIO);
}

// Forwards to the real open file, failing the writes and the closing the
// platform planned to fail.
class FaultyFile : public RandomAccessFile {
 public:
  FaultyFile(std::unique_ptr<RandomAccessFile> real, const FaultyPlatform& platform,
             std::string path)
      : m_real(std::move(real)), m_platform(platform), m_path(std::move(path)) {}

  Result<int64_t> Length() const override { return m_real->Length(); }
  Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) const override {
    return m_real->ReadAt(offset, size, bytes);
  }
  Status WriteAt(int64_t offset, std::string_view bytes) override {
    if (Status planned = m_platform.Check(PlatformCall::kWriteAt, m_path); !planned) {
      return planned;
    }
    return m_real->WriteAt(offset, bytes);
  }
  Status Close() override {
    Status closed = m_real->Close();
    if (Status planned = m_platform.Check(PlatformCall::kClose, m_path); !planned) return planned;
    return closed;
  }

 private:
  std::unique_ptr<RandomAccessFile> m_real;
  const FaultyPlatform& m_platform;
  std::string m_path;
};

// Failures read as the platform's own: an open file's failures are the cause
// alone, the others name the action and the path.
std::string MessageOf(PlatformCall call, std::string_view path, const std::string& cause) {
  std::string action;
  switch (call) {
    case PlatformCall::kOpenFile:
    case PlatformCall::kWriteAt:
    case PlatformCall::kClose:
      return cause;
    case PlatformCall::kListFolder:
      action = "Cannot list";
      break;
    case PlatformCall::kFileLength:
    case PlatformCall::kModifiedText:
    case PlatformCall::kReadFile:
      action = "Cannot read";
      break;
    case PlatformCall::kResetAttributes:
      action = "Cannot reset the attributes of";
      break;
    case PlatformCall::kRenameFile:
      action = "Cannot rename";
      break;
    case PlatformCall::kDeleteFile:
    case PlatformCall::kDeletePermanently:
      action = "Cannot delete";
      break;
    case PlatformCall::kCreateFolder:
      action = "Cannot create the folder";
      break;
    case PlatformCall::kWriteFile:
      action = "Cannot write";
      break;
    case PlatformCall::kMoveToTrash:
      action = "Cannot move";
      break;
  }
  return action + " \"" + std::string(path) + "\": " + cause;
}

}  // namespace

void FaultyPlatform::Fail(PlatformCall call, StatusCode code, int nth, std::string path_part) {
  const std::lock_guard<std::mutex> held(m_lock);
  m_planned.emplace(call, Planned{code, nth, std::move(path_part)});
}

int FaultyPlatform::Calls(PlatformCall call) const {
  const std::lock_guard<std::mutex> held(m_lock);
  const auto it = m_calls.find(call);
  return it == m_calls.end() ? 0 : it->second;
}

Status FaultyPlatform::Check(PlatformCall call, std::string_view path) const {
  const std::lock_guard<std::mutex> held(m_lock);
  ++m_calls[call];
  const auto [first, last] = m_planned.equal_range(call);
  for (auto it = first; it != last; ++it) {
    Planned& planned = it->second;
    if (path.find(planned.path_part) == std::string_view::npos) continue;
    ++planned.matched;
    if (planned.nth == 0 || planned.matched == planned.nth) {
      return Status::Error(planned.code, MessageOf(call, path, CauseOf(planned.code)));
    }
  }
  return Status::Ok();
}

Result<FolderListing> FaultyPlatform::ListFolder(std::string_view folder, bool with_file_facts,
                                                 bool with_hidden) const {
  if (Status planned = Check(PlatformCall::kListFolder, folder); !planned) return planned;
  return m_real.ListFolder(folder, with_file_facts, with_hidden);
}

Result<int64_t> FaultyPlatform::FileLength(std::string_view path) const {
  if (Status planned = Check(PlatformCall::kFileLength, path); !planned) return planned;
  return m_real.FileLength(path);
}

Result<std::string> FaultyPlatform::ModifiedText(std::string_view path) const {
  if (Status planned = Check(PlatformCall::kModifiedText, path); !planned) return planned;
  return m_real.ModifiedText(path);
}

Status FaultyPlatform::ResetAttributes(std::string_view path) const {
  if (Status planned = Check(PlatformCall::kResetAttributes, path); !planned) return planned;
  return m_real.ResetAttributes(path);
}

Status FaultyPlatform::RenameFile(std::string_view from, std::string_view to) const {
  if (Status planned = Check(PlatformCall::kRenameFile, from); !planned) return planned;
  return m_real.RenameFile(from, to);
}

Status FaultyPlatform::ReplaceFile(std::string_view from, std::string_view to) const {
  if (Status planned = Check(PlatformCall::kRenameFile, from); !planned) return planned;
  return m_real.ReplaceFile(from, to);
}

Status FaultyPlatform::DeleteFile(std::string_view path) const {
  if (Status planned = Check(PlatformCall::kDeleteFile, path); !planned) return planned;
  return m_real.DeleteFile(path);
}

Status FaultyPlatform::CreateFolder(std::string_view path) const {
  if (Status planned = Check(PlatformCall::kCreateFolder, path); !planned) return planned;
  return m_real.CreateFolder(path);
}

Status FaultyPlatform::ReadFileInto(const std::string& native_path, std::size_t max_bytes,
                                    std::string* bytes) const {
  if (Status planned = Check(PlatformCall::kReadFile, native_path); !planned) return planned;
  return m_real.ReadFileInto(native_path, max_bytes, bytes);
}

Status FaultyPlatform::WriteFileAtomically(const std::string& native_path,
                                           std::string_view bytes) const {
  if (Status planned = Check(PlatformCall::kWriteFile, native_path); !planned) return planned;
  return m_real.WriteFileAtomically(native_path, bytes);
}

Result<std::unique_ptr<RandomAccessFile>> FaultyPlatform::OpenFile(const std::string& native_path,
                                                                   OpenMode mode) const {
  if (Status planned = Check(PlatformCall::kOpenFile, native_path); !planned) return planned;
  Result<std::unique_ptr<RandomAccessFile>> file = m_real.OpenFile(native_path, mode);
  if (!file) return file;
  return std::unique_ptr<RandomAccessFile>(
      std::make_unique<FaultyFile>(std::move(*file), *this, native_path));
}

Status FaultyPlatform::MoveToTrash(const std::string& native_path) const {
  if (Status planned = Check(PlatformCall::kMoveToTrash, native_path); !planned) return planned;
  return m_real.MoveToTrash(native_path);
}

Status FaultyPlatform::DeletePermanently(const std::string& native_path) const {
  if (Status planned = Check(PlatformCall::kDeletePermanently, native_path); !planned) {
    return planned;
  }
  return m_real.DeletePermanently(native_path);
}

}  // namespace tallymere::testing
