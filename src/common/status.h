#pragma once
// Errors as values: a Status says what went wrong in words a person can act
// on, naming the file when there is one. Result<T> carries a value or a Status.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace tallymere {

class Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(std::string message) { return Status(std::move(message)); }

  bool ok() const { return !m_message.has_value(); }
  explicit operator bool() const { return ok(); }
  // Empty for a success.
  const std::string& message() const {
    static const std::string kEmpty;
    return m_message ? *m_message : kEmpty;
  }

 private:
  explicit Status(std::string message) : m_message(std::move(message)) {}
  std::optional<std::string> m_message;
};

template <typename T>
class Result {
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

 private:
  std::variant<T, Status> m_value;
};

}  // namespace tallymere
