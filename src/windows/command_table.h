#pragma once
// A window's commands as one table: each row holds a command's identity (an
// enum), its described name, the handler it runs, its caption, the place it
// stands (a menu, a pop-up, a pane's buttons) with a separator before it or
// not, its toolbar button and its shortcut. The controller runs a command by
// its row and keeps the enabled state by its enum; the view builds its menus,
// toolbar and buttons by walking the table. So a command is named once: its
// enum, its row and its handler stand together, and the checks below refuse
// at compile time a row whose handler is missing or is another command's.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace tallymere {

// What a row runs: a call on the window's controller, and that call as it is
// written in the row ("mnuScan_Click", "m_playlist.cmdPlay_Click").
template <typename Controller>
struct CommandHandler {
  void (*run)(Controller&) = nullptr;
  std::string_view runs;
  // A pop-up item or button that runs another command's handler, as the
  // file list's p1 runs mnuClip_Click: its name and its handler differ.
  bool stands_for_another = false;
};

// The handler of a row: the controller's call whose name is the row's name
// followed by "_Click".
#define TALLYMERE_RUNS(Controller, call)          \
  ::tallymere::CommandHandler<Controller> {       \
    [](Controller& c) { c.call(); }, #call, false \
  }
// The handler of a row that stands for another command.
#define TALLYMERE_RUNS_AS(Controller, call)      \
  ::tallymere::CommandHandler<Controller> {      \
    [](Controller& c) { c.call(); }, #call, true \
  }

template <typename Id, typename Controller>
struct CommandEntry {
  Id id;
  std::string_view name;  // "mnuScan"
  CommandHandler<Controller> handler;
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

template <typename Id, std::size_t N, typename Controller>
using CommandTable = std::array<CommandEntry<Id, Controller>, N>;

// Two tables one after the other, for a table written in parts.
template <typename Entry, std::size_t N, std::size_t M>
constexpr std::array<Entry, N + M> JoinedRows(const std::array<Entry, N>& first,
                                              const std::array<Entry, M>& second) {
  return [&]<std::size_t... I, std::size_t... J>(std::index_sequence<I...>,
                                                 std::index_sequence<J...>) {
    return std::array<Entry, N + M>{first[I]..., second[J]...};
  }
  (std::make_index_sequence<N>(), std::make_index_sequence<M>());
}

// True when every entry stands at the index of its enum value, so the table
// can be indexed by command.
template <typename Table>
constexpr bool InEnumOrder(const Table& table) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (static_cast<std::size_t>(table[i].id) != i) return false;
  }
  return true;
}

// True when every row has a handler, and each row that stands for no other
// command runs the handler named after it: name + "_Click", on the
// controller or on one of its panes ("m_playlist.cmdPlay_Click").
template <typename Table>
constexpr bool RunsItsOwnHandlers(const Table& table) {
  constexpr std::string_view kClick = "_Click";
  for (const auto& entry : table) {
    // A row without a handler names no call. (The pointer itself is not
    // compared: a sanitizing compiler cannot compare it while compiling.)
    if (entry.handler.runs.empty()) return false;
    if (entry.handler.stands_for_another) continue;
    std::string_view call = entry.handler.runs;
    if (const std::size_t dot = call.rfind('.'); dot != std::string_view::npos) {
      call.remove_prefix(dot + 1);
    }
    if (call.size() != entry.name.size() + kClick.size() || !call.starts_with(entry.name) ||
        !call.ends_with(kClick)) {
      return false;
    }
  }
  return true;
}

template <typename Table, typename Id>
constexpr const auto& EntryOf(const Table& table, Id id) {
  return table[static_cast<std::size_t>(id)];
}

// The command a toolbar button runs; nothing for a button that only separates.
template <typename Table>
constexpr auto CommandOfButton(const Table& table, int button)
    -> std::optional<decltype(table[0].id)> {
  for (const auto& entry : table) {
    if (entry.button == button) return entry.id;
  }
  return std::nullopt;
}

// The command of a described name ("mnuScan"); nothing for another name.
template <typename Table>
constexpr auto CommandNamed(const Table& table, std::string_view name)
    -> std::optional<decltype(table[0].id)> {
  for (const auto& entry : table) {
    if (entry.name == name) return entry.id;
  }
  return std::nullopt;
}

}  // namespace tallymere
