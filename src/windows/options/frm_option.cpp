#include "windows/options/frm_option.h"

#include <charconv>
#include <optional>

#include "catalog/file_type.h"
#include "common/ascii_case.h"
#include "scan/leave_out_rules.h"

namespace tallymere {
namespace {

// The rules as the box shows them, and back.
std::string JoinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// A whole number made of the whole text, blanks around it ignored.
std::optional<int16_t> Number(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int16_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

bool IsTrue(const std::string& text) { return text == "True"; }

}  // namespace

FrmOption::FrmOption(CatalogSession& session, UiServices& ui) : m_session(session), m_ui(ui) {
  Form_Load();
}

const std::vector<std::string>& FrmOption::txtType_items() {
  // "audio" takes every audio format; the formats of today come last.
  static const std::vector<std::string> kItems = {
      "*.*", "mp3", "audio", "mp2", "mp1", "vqf", "wav", "m3u", "mid",  "bmp", "jpg",  "gif", "txt",
      "htm", "doc", "xls",   "exe", "diz", "nfo", "sfv", "zip", "flac", "ogg", "opus", "m4a"};
  return kItems;
}

const std::vector<std::string>& FrmOption::cmbAlign_items() {
  static const std::vector<std::string> kItems = {"Left", "Center", "Right"};
  return kItems;
}

void FrmOption::Form_Load() {
  const Settings& settings = m_session.settings();
  m_controls = Controls{
      .optOne = IsTrue(settings.optOne),
      .optSeperate = IsTrue(settings.optSeperate),
      .chkPath = settings.chkPath,
      .chkSize = settings.chkSize,
      .chkBitRate = settings.chkBitRate,
      .chkHeader = settings.chkHeader,
      .chkSum = settings.chkSum,
      .chkHtml = settings.chkHtml,
      .chkM3U = settings.chkM3U,
      .txtType = settings.txtType,
      .TBcolor = settings.TBcolor,
      .PGcolor = settings.PGcolor,
      .txtTW = settings.txtTW,
      .cmbBW = std::to_string(settings.cmbBW),
      .cmbAlign = settings.cmbAlign,
      .txtCol = std::to_string(settings.txtCol),
      .cmbId3v1Encoding = m_session.program_settings().id3v1_code_page.name(),
      .chkDiskLabels = m_session.program_settings().show_disk_labels ? 1 : 0,
      .txtLeaveOut = JoinedLines(m_session.program_settings().leave_out),
      .chkHidden = m_session.program_settings().include_hidden ? 1 : 0,
      .chkWriteId3v2 = m_session.program_settings().write_id3v2 ? 1 : 0,
  };
}

Settings FrmOption::Applied() const {
  Settings settings = m_session.settings();
  settings.optOne = m_controls.optOne ? "True" : "False";
  settings.optSeperate = m_controls.optSeperate ? "True" : "False";
  settings.chkPath = m_controls.chkPath;
  settings.chkSize = m_controls.chkSize;
  settings.chkBitRate = m_controls.chkBitRate;
  settings.chkHeader = m_controls.chkHeader;
  settings.chkSum = m_controls.chkSum;
  // "*.flac" and ".FLAC" are the type flac; other text stays as typed.
  const std::string normal = NormalFileType(m_controls.txtType);
  settings.txtType = normal.empty() ? AsciiLower(m_controls.txtType) : normal;
  settings.chkHtml = m_controls.chkHtml;
  settings.chkM3U = m_controls.chkM3U;
  settings.TBcolor = m_controls.TBcolor;
  settings.PGcolor = m_controls.PGcolor;
  settings.txtTW = m_controls.txtTW;
  settings.cmbBW = Number(m_controls.cmbBW).value_or(settings.cmbBW);
  settings.cmbAlign = m_controls.cmbAlign;
  settings.txtCol = Number(m_controls.txtCol).value_or(settings.txtCol);
  return settings;
}

ProgramSettings FrmOption::AppliedProgramSettings() const {
  ProgramSettings settings = m_session.program_settings();
  // The list offers only names it knows; anything else keeps the setting.
  if (std::optional<CodePage> page = CodePage::Named(m_controls.cmbId3v1Encoding)) {
    settings.id3v1_code_page = *page;
  }
  settings.show_disk_labels = m_controls.chkDiskLabels != 0;
  settings.leave_out = Lines(m_controls.txtLeaveOut);
  settings.include_hidden = m_controls.chkHidden != 0;
  settings.write_id3v2 = m_controls.chkWriteId3v2 != 0;
  return settings;
}

void FrmOption::cmdDefaults_Click() {
  m_controls.txtLeaveOut = JoinedLines(DefaultLeaveOutRules());
}

bool FrmOption::RulesAreUsable() const {
  std::vector<std::string> problems;
  (void)LeaveOutRules::Parse(Lines(m_controls.txtLeaveOut), &problems);
  if (problems.empty()) return true;
  std::string text;
  for (const std::string& problem : problems) text += (text.empty() ? "" : "\n") + problem;
  const Answer answer = m_ui.ShowMessage(text + "\n\nKeep the options anyway?", Buttons::kYesNo,
                                         Icon::kQuestion, kOptionsCaption);
  return answer == Answer::kYes;
}

void FrmOption::Run(OptionCommand command) { EntryOf(kCommands, command).handler.run(*this); }

void FrmOption::cmdOK_Click() {
  if (!RulesAreUsable()) return;
  m_session.settings() = Applied();
  m_session.program_settings() = AppliedProgramSettings();
  Close();
}

void FrmOption::cmdSave_Click() {
  if (!RulesAreUsable()) return;
  const Settings settings = Applied();
  const ProgramSettings program_settings = AppliedProgramSettings();
  Status saved = SaveProgramSettings(m_session.platform(), program_settings);
  if (saved) saved = SaveSettings(m_session.platform(), settings);
  if (!saved) {
    m_ui.ShowMessage(saved.message() + "\n\nThe options were not saved.", Buttons::kOk, Icon::kStop,
                     kOptionsCaption);
    return;
  }
  m_session.settings() = settings;
  m_session.program_settings() = program_settings;
  Close();
}

void FrmOption::cmdCancel_Click() { Close(); }

void FrmOption::PGcolor_Click() {
  m_controls.PGcolor = static_cast<int32_t>(
      m_ui.ChooseColor("Page Background Color", static_cast<uint32_t>(m_controls.PGcolor)));
}

void FrmOption::TBcolor_Click() {
  m_controls.TBcolor = static_cast<int32_t>(
      m_ui.ChooseColor("Table Background Color", static_cast<uint32_t>(m_controls.TBcolor)));
  m_session.settings().TBcolor = m_controls.TBcolor;
}

void FrmOption::Close() {
  if (close_window) close_window();
}

}  // namespace tallymere
