#include "cli/condition_options.h"

#include <CLI/CLI.hpp>
#include <optional>

#include "cli/scan_arguments.h"
#include "common/format.h"
#include "common/number_text.h"

namespace tallymere::cli {
namespace {

CLI::Validator Check(std::function<bool(const std::string&)> sound, std::string what) {
  return CLI::Validator(
      [sound = std::move(sound), what = std::move(what)](const std::string& text) {
        return sound(text) ? std::string() : "\"" + text + "\" is no " + what;
      },
      "");
}

// A count that cannot be below zero; the help names the option's value only.
CLI::Validator NotNegative() { return CLI::Validator(CLI::NonNegativeNumber).description(""); }

}  // namespace

TextOptions AddConditionOptions(CLI::App* command, ConditionOptions* options) {
  CatalogCondition& c = options->condition;
  TextOptions text;
  text.text = command
                  ->add_option("--text", c.text,
                               "Find the files whose field (--in) contains TEXT, letter case\n"
                               "ignored (default: every file)")
                  ->type_name("TEXT");
  std::vector<std::string> fields;
  for (const SearchFieldName& field : kSearchFields) fields.emplace_back(field.option);
  text.field = command
                   ->add_option("--in", options->field,
                                "The field --text is looked for in: name, artist, title, album,\n"
                                "path, label, or any of them (default: name)")
                   ->type_name("FIELD")
                   ->check(CLI::IsMember(fields));
  text.type =
      command
          ->add_option("--type", c.type_pattern,
                       "\"*.*\" for every file, or \"*.mp3\" and the like: the last three\n"
                       "characters of the name contain the extension (a longer one\n"
                       "such as \"*.html\": the name ends with it), letter case ignored\n"
                       "(default: \"*.*\")")
          ->type_name("TYPE")
          ->check(Check([](const std::string& t) { return t.size() > 2 && t.starts_with("*."); },
                        "file type: \"*.*\" or \"*.\" and an extension"));
  text.drive = command
                   ->add_option("--drive", c.drive,
                                "Find in Drive: only files whose path begins with the\n"
                                "drive, such as D: or d: (default: Find in All, every drive)")
                   ->type_name("D:")
                   ->check(Check(
                       [](const std::string& d) {
                         return d.size() == 2 && IsDriveLetter(d[0]) && d[1] == ':';
                       },
                       "drive: a letter and a colon, such as D:"));
  const auto size_check = Check([](const std::string& t) { return ParseByteCount(t).has_value(); },
                                "size: bytes, or a number with KB, MB or GB");
  command->add_option("--min-size", options->min_size, "Files of at least SIZE (bytes, or 4.5MB)")
      ->type_name("SIZE")
      ->check(size_check);
  command->add_option("--max-size", options->max_size, "Files of at most SIZE")
      ->type_name("SIZE")
      ->check(size_check);
  command->add_option("--min-bitrate", c.min_bitrate, "Files of at least KBPS")
      ->type_name("KBPS")
      ->check(NotNegative());
  const auto time_check =
      Check([](const std::string& t) { return ParsePlayingTime(t).has_value(); },
            "playing time: mm:ss or seconds");
  command->add_option("--min-time", options->min_time, "Files that play at least TIME (mm:ss)")
      ->type_name("TIME")
      ->check(time_check);
  command->add_option("--max-time", options->max_time, "Files that play at most TIME (mm:ss)")
      ->type_name("TIME")
      ->check(time_check);
  const auto day_check =
      Check([](const std::string& d) { return ParseDay(d).has_value(); }, "date: YYYY-MM-DD");
  command->add_option("--after", options->after, "Files modified on DATE or later")
      ->type_name("DATE")
      ->check(day_check);
  command->add_option("--before", options->before, "Files modified on DATE or earlier")
      ->type_name("DATE")
      ->check(day_check);
  return text;
}

void CompleteCondition(ConditionOptions* options) {
  CatalogCondition& c = options->condition;
  for (const SearchFieldName& field : kSearchFields) {
    if (field.option == options->field) c.field = field.field;
  }
  if (!options->min_size.empty()) c.min_size = ParseByteCount(options->min_size);
  if (!options->max_size.empty()) c.max_size = ParseByteCount(options->max_size);
  if (!options->min_time.empty()) c.min_seconds = ParsePlayingTime(options->min_time);
  if (!options->max_time.empty()) c.max_seconds = ParsePlayingTime(options->max_time);
  if (!options->after.empty()) c.modified_from = ParseDay(options->after);
  // On DATE or earlier: before the first moment of the day after.
  if (!options->before.empty()) c.modified_until = ParseDay(options->before, 1);
}

}  // namespace tallymere::cli
