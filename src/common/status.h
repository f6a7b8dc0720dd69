#pragma once
// Errors as values: a Status says what went wrong in words a person can act
// on, naming the file when there is one, and carries a small code so callers
// can tell a missing file from a refused one or a full disk without parsing
// the words. Result<T> carries a value or a Status.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace tallymere {

enum class StatusCode {
  kOk,
  kNotFound,     // the file, folder or drive is not there (or no disk is in)
  kNoAccess,     // permission denied, read-only medium, file in use
  kNoSpace,      // the disk or the user's quota is full, or the file too large
  kDamaged,      // the bytes are not what the format says
  kCancelled,    // the user said no
  kUnsupported,  // this medium cannot do it (a disk without a usable trash)
  kNotAFile,     // a pipe, device or folder where a regular file was wanted
  kTooLarge,     // larger than any file of its kind, so it is not read
  kChanged,      // the file changed while it was read
  kIncomplete,   // read, but its end is missing (a data file without its trailer)
  kOther,
};

class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(std::string message) { return Error(StatusCode::kOther, std::move(message)); }
  static Status Error(StatusCode code, std::string message) {
    return Status(code == StatusCode::kOk ? StatusCode::kOther : code, std::move(message));
  }
  // A failure of a system call: the code follows the error number.
  static Status FromErrno(int error_number, std::string message) {
    return Error(CodeOfErrno(error_number), std::move(message));
  }
  static StatusCode CodeOfErrno(int error_number);

  bool ok() const { return m_code == StatusCode::kOk; }
  explicit operator bool() const { return ok(); }
  StatusCode code() const { return m_code; }
  // Empty for a success.
  const std::string& message() const {
    static const std::string kEmpty;
    return m_message ? *m_message : kEmpty;
  }
  // Marks a status as deliberately not looked at, where a failure changes
  // nothing for the caller (a best-effort clean-up).
  void IgnoreError() const {}

 private:
  Status(StatusCode code, std::string message) : m_code(code), m_message(std::move(message)) {}
  StatusCode m_code = StatusCode::kOk;
  std::optional<std::string> m_message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_value(std::move(value)) {}       // NOLINT: implicit by design
  Result(Status error) : m_value(std::move(error)) {}  // NOLINT

  bool ok() const { return std::holds_alternative<T>(m_value); }
  explicit operator bool() const { return ok(); }
  const T& value() const& { return std::get<T>(m_value); }
  T& value() & { return std::get<T>(m_value); }
  T&& value() && { return std::get<T>(std::move(m_value)); }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }
  Status status() const { return ok() ? Status::Ok() : std::get<Status>(m_value); }
  StatusCode code() const { return ok() ? StatusCode::kOk : std::get<Status>(m_value).code(); }

 private:
  std::variant<T, Status> m_value;
};

}  // namespace tallymere
