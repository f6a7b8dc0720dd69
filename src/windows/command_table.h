#pragma once
// A window's commands as one table: each command has an identity (an enum),
// its described name, its caption, the place it stands (a menu, a pop-up, a
// pane's buttons) with a separator before it or not, its toolbar button and
// its shortcut. The controller dispatches by the enum and keeps the enabled
// state by it; the view builds its menus, toolbar and buttons by walking the
// table, so names and captions are written once.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tallymere {

template <typename Id>
struct CommandEntry {
  Id id;
  std::string_view name;     // "mnuScan": the handler is name + "_Click"
  std::string_view caption;  // "&" marks the Alt key
  // The menu, pop-up or pane the command stands in ("File", "mnuPop"), in
  // table order; empty for a command with no place of its own.
  std::string_view place = {};
  bool separator = false;  // a separator comes before it in its place
  int button = 0;          // its toolbar button, 0 for none
  std::string_view shortcut = {};
  std::string_view tip = {};  // of its toolbar button or pane button
  bool checkable = false;
  // The shortcut works only while the file list has the focus.
  bool list_shortcut = false;
};

template <typename Id, std::size_t N>
using CommandTable = std::array<CommandEntry<Id>, N>;

// True when every entry stands at the index of its enum value, so the table
// can be indexed by command.
template <typename Id, std::size_t N>
constexpr bool InEnumOrder(const CommandTable<Id, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(table[i].id) != i) return false;
  }
  return true;
}

template <typename Id, std::size_t N>
constexpr const CommandEntry<Id>& EntryOf(const CommandTable<Id, N>& table, Id id) {
  return table[static_cast<std::size_t>(id)];
}

// The command a toolbar button runs; nothing for a button that only separates.
template <typename Id, std::size_t N>
constexpr std::optional<Id> CommandOfButton(const CommandTable<Id, N>& table, int button) {
  for (const CommandEntry<Id>& entry : table) {
    if (entry.button == button) return entry.id;
  }
  return std::nullopt;
}

// The command of a described name ("mnuScan"); nothing for another name.
template <typename Id, std::size_t N>
constexpr std::optional<Id> CommandNamed(const CommandTable<Id, N>& table, std::string_view name) {
  for (const CommandEntry<Id>& entry : table) {
    if (entry.name == name) return entry.id;
  }
  return std::nullopt;
}

}  // namespace tallymere
