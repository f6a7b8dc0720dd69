#include "cli/file_list_lines.h"

#include <cstdio>

#include "cli/json_lines.h"
#include "cli/output.h"

namespace tallymere::cli {
namespace {

// Output goes out in pieces of this size.
constexpr std::size_t kOutputPiece = 64 * 1024;

// The Time column's text, as ShownTime makes it without building a string.
std::string_view ShownTimeView(std::string_view time) {
  return time.starts_with('-') ? std::string_view("00:00") : time;
}

}  // namespace

std::string_view Shown(std::string_view text) { return text.substr(0, text.find('\0')); }

void AppendTableCell(std::string_view text, std::string* out, bool raw) {
  if (!raw) text = Shown(text);
  const std::size_t start = out->size();
  out->append(text);
  for (std::size_t i = start; i < out->size(); ++i) {
    char& c = (*out)[i];
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
}

void AppendTableRow(const CatalogRecord& r, std::string* out) {
  AppendTableCell(r.file_name, out);
  out->push_back('\t');
  AppendTableCell(r.path, out);
  out->push_back('\t');
  out->append(std::to_string(r.size));
  for (const std::string_view cell :
       {std::string_view(r.modified), std::string_view(r.bitrate), ShownTimeView(r.time),
        std::string_view(r.artist), std::string_view(r.title), std::string_view(r.album),
        std::string_view(r.disk_label)}) {
    out->push_back('\t');
    AppendTableCell(cell, out);
  }
  out->push_back('\n');
}

void AppendJsonRowMembers(const CatalogRecord& r, std::string* out) {
  const auto text = [&](const char* member, std::string_view value) {
    out->append(member);
    AppendJsonString(value, out);
  };
  text("\"file_name\":", r.file_name);
  text(",\"path\":", r.path);
  out->append(",\"size\":").append(std::to_string(r.size));
  text(",\"modified\":", r.modified);
  text(",\"bitrate\":", r.bitrate);
  text(",\"time\":", ShownTimeView(r.time));
  text(",\"artist\":", Shown(r.artist));
  text(",\"title\":", Shown(r.title));
  text(",\"album\":", Shown(r.album));
  text(",\"disk_label\":", r.disk_label);
  out->append("}\n");
}

std::vector<std::string_view> PackedTexts::Views() const {
  std::vector<std::string_view> views;
  views.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) views.push_back((*this)[i]);
  return views;
}

void PiecewiseOutput::WriteWhenFull() {
  if (m_text.size() < kOutputPiece) return;
  WriteStandardOutput(m_text);
  m_text.clear();
}

void PiecewiseOutput::Finish() {
  WriteStandardOutput(m_text);
  m_text.clear();
}

}  // namespace tallymere::cli
