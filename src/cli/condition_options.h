#pragma once
// The options of find that say what a record must hold: the text and the
// field it is looked for in, the type, the drive, and bounds on size,
// bitrate, playing time and date.

#include <string>

#include "search/catalog_condition.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace tallymere::cli {

struct ConditionOptions {
  CatalogCondition condition;
  // As typed, turned into the condition's moments and seconds once parsed.
  std::string field = "name";
  std::string min_size;
  std::string max_size;
  std::string min_time;
  std::string max_time;
  std::string after;
  std::string before;
};

// The options that choose records by their texts; --under excludes them.
struct TextOptions {
  CLI::Option* text = nullptr;
  CLI::Option* type = nullptr;
  CLI::Option* drive = nullptr;
  CLI::Option* field = nullptr;
};

// Adds --text, --in, --type, --drive and the bounds.
TextOptions AddConditionOptions(CLI::App* command, ConditionOptions* options);

// Fills the condition's field, times and dates from what was typed (already
// checked when parsed).
void CompleteCondition(ConditionOptions* options);

}  // namespace tallymere::cli
