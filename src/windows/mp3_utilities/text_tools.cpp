// The text tools of MP3 Utilities: each edits column New (of every entry
// with optAll, of the current entry with optSelect) as one naming step with
// its own snapshot, so Oops! takes back exactly one tool. No file is touched.

#include <string_view>

#include "mp3/search_and_replace.h"
#include "windows/mp3_utilities/frm_id3.h"

namespace tallymere {
namespace {

// Auto: the tools it chains, in order, each with the text it sets first.
enum class AutoTool { kTrimMethod1, kTrimMethod2, kTrimSpace, kProperCase };
struct AutoStep {
  AutoTool tool;
  std::string_view text;  // ignored by Trim space and proper case
};
constexpr AutoStep kAutoSteps[] = {
    {AutoTool::kTrimMethod1, "_"}, {AutoTool::kTrimMethod1, "20%"}, {AutoTool::kTrimMethod1, "%"},
    {AutoTool::kTrimMethod1, "."}, {AutoTool::kTrimMethod1, ";"},   {AutoTool::kTrimMethod1, "="},
    {AutoTool::kTrimMethod1, "+"}, {AutoTool::kTrimMethod1, "^"},   {AutoTool::kTrimMethod1, "$"},
    {AutoTool::kTrimMethod1, "#"}, {AutoTool::kTrimMethod1, "@"},   {AutoTool::kTrimMethod1, "~"},
    {AutoTool::kTrimMethod2, "{"}, {AutoTool::kTrimMethod2, "}"},   {AutoTool::kTrimSpace, ""},
    {AutoTool::kProperCase, ""},   {AutoTool::kTrimMethod1, "  "},  {AutoTool::kTrimMethod1, "  "},
};

constexpr std::string_view kTextControl = "txtText";

}  // namespace

void FrmID3::ApplyTool(const std::function<std::string(const std::string&)>& rule) {
  if (m_LvOld.row_count() == 0) return;
  TakeNameSnapshot();
  if (m_optAll) {
    for (int row = 0; row < m_LvOld.row_count(); ++row) {
      m_LvOld.SetCell(row, kBatchNew, rule(m_LvOld.Cell(row, kBatchNew)));
    }
  } else if (const int row = m_LvOld.current(); row >= 0) {
    m_LvOld.SetCell(row, kBatchNew, rule(m_LvOld.Cell(row, kBatchNew)));
  }
  StoreCurNames();
  ShowNewName();
  EnableNamingStep();
}

void FrmID3::TrimMethod1() {
  // An empty text or one space would never be used up.
  if (m_txtText.empty() || m_txtText == " ") return;
  const std::string cut = m_txtText;
  ApplyTool([&cut](const std::string& s) { return TrimToSpace(s, cut); });
  m_txtText.clear();
  m_focus_request = kTextControl;
}

void FrmID3::TrimMethod2() {
  if (m_txtText.empty()) return;
  const std::string cut = m_txtText;
  ApplyTool([&cut](const std::string& s) { return TrimOut(s, cut); });
  m_txtText.clear();
  m_focus_request = kTextControl;
}

void FrmID3::cmdTrim_Click() {
  const StateNotice notice(*this);
  TrimMethod1();
}

void FrmID3::cmdTrim2_Click() {
  const StateNotice notice(*this);
  TrimMethod2();
}

void FrmID3::cmdTrimNum_Click() {
  const StateNotice notice(*this);
  ApplyTool([](const std::string& s) { return TrimNumbers(s); });
}

void FrmID3::cmdTrimspace_Click() {
  const StateNotice notice(*this);
  ApplyTool([](const std::string& s) { return TrimSpaces(s); });
}

void FrmID3::cmdUpper_Click() {
  const StateNotice notice(*this);
  ApplyTool([](const std::string& s) { return ProperCaseWithBrackets(s); });
}

void FrmID3::cmdLower_Click() {
  const StateNotice notice(*this);
  ApplyTool([](const std::string& s) { return LowerCase(s); });
}

void FrmID3::cmdReplace_Click() {
  const StateNotice notice(*this);
  if (m_txtWith.empty()) {
    m_ui.ShowMessage("Can not replace with nothing.", Buttons::kOk, Icon::kInformation,
                     kMp3UtilitiesTitle);
    return;
  }
  ApplyTool([this](const std::string& s) { return ReplaceAll(s, m_txtReplace, m_txtWith); });
}

void FrmID3::cmdReplace1_Click() {
  const StateNotice notice(*this);
  ApplyTool([this](const std::string& s) { return ReplaceOnce(s, m_txtReplace, m_txtWith); });
}

void FrmID3::cmdInsert_Click() {
  const StateNotice notice(*this);
  const int location = m_insert_location;
  ApplyTool([this, location](const std::string& s) {
    if (!m_optAll) return InsertAt(m_txtDisplay, location, m_txtText);
    // Names no longer than the location are left alone.
    return CharacterCount(s) > location ? InsertAt(s, location, m_txtText) : s;
  });
}

void FrmID3::cmdSwap_Click() {
  const StateNotice notice(*this);
  ApplyTool([](const std::string& s) { return SwapArtistTitle(s); });
}

void FrmID3::cmdAuto_Click() {
  const StateNotice notice(*this);
  for (const AutoStep& step : kAutoSteps) {
    switch (step.tool) {
      case AutoTool::kTrimMethod1:
        m_txtText = step.text;
        TrimMethod1();
        break;
      case AutoTool::kTrimMethod2:
        m_txtText = step.text;
        TrimMethod2();
        break;
      case AutoTool::kTrimSpace:
        ApplyTool([](const std::string& s) { return TrimSpaces(s); });
        break;
      case AutoTool::kProperCase:
        ApplyTool([](const std::string& s) { return ProperCaseWithBrackets(s); });
        break;
    }
  }
  m_txtText.clear();
}

}  // namespace tallymere
