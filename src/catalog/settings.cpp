#include "catalog/settings.h"

#include <charconv>
#include <limits>

#include "catalog/text_file.h"

namespace tallymere {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The line as an integer of type T, or the default when it is missing, not a
// whole number or out of range.
template <typename T>
T NumberLine(const std::vector<std::string>& lines, std::size_t index, T fallback) {
  if (index >= lines.size()) return fallback;
  const std::string_view text = TrimBlanks(lines[index]);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return fallback;
  if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
    return fallback;
  return static_cast<T>(value);
}

std::string TextLine(const std::vector<std::string>& lines, std::size_t index,
                     const std::string& fallback) {
  return index < lines.size() ? lines[index] : fallback;
}

}  // namespace

Settings ParseSettings(const std::vector<std::string>& lines) {
  const Settings d;
  Settings s;
  s.optOne = TextLine(lines, 0, d.optOne);
  s.optSeperate = TextLine(lines, 1, d.optSeperate);
  s.chkPath = NumberLine(lines, 2, d.chkPath);
  s.chkSize = NumberLine(lines, 3, d.chkSize);
  s.chkBitRate = NumberLine(lines, 4, d.chkBitRate);
  s.chkHeader = NumberLine(lines, 5, d.chkHeader);
  s.chkSum = NumberLine(lines, 6, d.chkSum);
  s.txtType = TextLine(lines, 7, d.txtType);
  s.chkHtml = NumberLine(lines, 8, d.chkHtml);
  s.chkM3U = NumberLine(lines, 9, d.chkM3U);
  s.TBcolor = NumberLine(lines, 10, d.TBcolor);
  s.PGcolor = NumberLine(lines, 11, d.PGcolor);
  s.txtTW = TextLine(lines, 12, d.txtTW);
  s.cmbBW = NumberLine(lines, 13, d.cmbBW);
  s.cmbAlign = TextLine(lines, 14, d.cmbAlign);
  s.txtCol = NumberLine(lines, 15, d.txtCol);
  return s;
}

std::vector<std::string> SettingsLines(const Settings& s) {
  return {s.optOne,
          s.optSeperate,
          std::to_string(s.chkPath),
          std::to_string(s.chkSize),
          std::to_string(s.chkBitRate),
          std::to_string(s.chkHeader),
          std::to_string(s.chkSum),
          s.txtType,
          std::to_string(s.chkHtml),
          std::to_string(s.chkM3U),
          std::to_string(s.TBcolor),
          std::to_string(s.PGcolor),
          s.txtTW,
          std::to_string(s.cmbBW),
          s.cmbAlign,
          std::to_string(s.txtCol)};
}

std::string SettingsPath(const std::string& program_folder) {
  return program_folder + "/Data/" + kSettingsFileName;
}

Status LoadSettings(const Platform& platform, Settings* settings) {
  const std::string program_folder = platform.ProgramFolder();
  *settings = Settings();
  if (Status status = platform.CreateNativeFolders(program_folder + "/Data"); !status) {
    return status;
  }
  const std::string path = SettingsPath(program_folder);
  if (!platform.NativePathExists(path)) {
    Status written = WriteTextFile(platform, path, SettingsLines(Settings()));
    if (!written) return written;
  }
  return ReadSettings(platform, settings);
}

Status ReadSettings(const Platform& platform, Settings* settings) {
  *settings = Settings();
  Result<std::vector<std::string>> lines =
      ReadTextLines(platform, SettingsPath(platform.ProgramFolder()));
  if (lines.code() == StatusCode::kNotFound) return Status::Ok();
  if (!lines) return lines.status();
  *settings = ParseSettings(*lines);
  return Status::Ok();
}

Status SaveSettings(const Platform& platform, const Settings& settings) {
  const std::string program_folder = platform.ProgramFolder();
  if (Status status = platform.CreateNativeFolders(program_folder + "/Data"); !status) {
    return status;
  }
  return WriteTextFile(platform, SettingsPath(program_folder), SettingsLines(settings));
}

}  // namespace tallymere
