#pragma once
// What every window's Qt view does with its command table: put the actions of
// one place into a menu, and find an action by its command's name.

#include <QAction>
#include <QMenu>
#include <map>
#include <string_view>

#include "windows/command_table.h"

namespace tallymere {

// The actions of the table's commands at `place`, in table order, with the
// separators the table asks for.
template <typename Table, typename Id>
void AddPlaceActions(QMenu* menu, const Table& table, const std::map<Id, QAction*>& actions,
                     std::string_view place) {
  bool first = true;
  for (const auto& entry : table) {
    if (entry.place != place) continue;
    if (entry.separator && !first) menu->addSeparator();
    menu->addAction(actions.at(entry.id));
    first = false;
  }
}

// The action of the command named `name`; nullptr when no such command has one.
template <typename Table, typename Id>
QAction* ActionNamed(const Table& table, const std::map<Id, QAction*>& actions,
                     std::string_view name) {
  const std::optional<Id> command = CommandNamed(table, name);
  if (!command) return nullptr;
  const auto found = actions.find(*command);
  return found != actions.end() ? found->second : nullptr;
}

}  // namespace tallymere
