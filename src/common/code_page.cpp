#include "common/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

#include "common/ascii_case.h"
#include "common/text_encoding.h"

namespace tallymere {
namespace {

// The names iconv knows the code pages by, in the order of kCodePageNames
// (the first, Automatic, has none).
constexpr std::array<const char*, kCodePageNames.size()> kIconvNames = {
    nullptr,      "CP1250",     "CP1251", "CP1252",    "CP1253", "CP1254", "CP1257",
    "ISO-8859-2", "ISO-8859-5", "KOI8-R", "SHIFT_JIS", "GBK",    "BIG5",   "EUC-KR"};

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // what iconv_open gives on failure

// Converts all of input with cd, or nothing when a sequence does not convert.
std::optional<std::string> Convert(iconv_t cd, std::string_view input) {
  std::string output(input.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  char* out = output.data();
  std::size_t out_left = output.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
  if (iconv(cd, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1) ||
      iconv(cd, nullptr, nullptr, &out, &out_left) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  output.resize(output.size() - out_left);
  return output;
}

}  // namespace

// The two directions of one code page. iconv keeps state in its handles, so
// each use holds the lock; converting a few short texts per file costs
// nothing next to reading the file.
struct CodePage::Converter {
  iconv_t to_utf8 = kNoConverter;
  iconv_t from_utf8 = kNoConverter;
  std::mutex lock;
  ~Converter() {
    if (to_utf8 != kNoConverter) iconv_close(to_utf8);
    if (from_utf8 != kNoConverter) iconv_close(from_utf8);
  }
};

CodePage::CodePage() : m_name(kCodePageNames[0]) {}

std::optional<CodePage> CodePage::Named(std::string_view name) {
  const auto found = std::find_if(kCodePageNames.begin(), kCodePageNames.end(),
                                  [&](std::string_view each) { return EqualNoCase(each, name); });
  if (found == kCodePageNames.end()) return std::nullopt;
  CodePage page;
  page.m_name = *found;
  const char* iconv_name = kIconvNames[static_cast<std::size_t>(found - kCodePageNames.begin())];
  if (iconv_name == nullptr) return page;
  auto converter = std::make_shared<Converter>();
  converter->to_utf8 = iconv_open("UTF-8", iconv_name);
  converter->from_utf8 = iconv_open(iconv_name, "UTF-8");
  if (converter->to_utf8 == kNoConverter || converter->from_utf8 == kNoConverter) {
    return std::nullopt;
  }
  page.m_converter = std::move(converter);
  return page;
}

std::string CodePage::Decode(std::string_view bytes) const {
  if (automatic() || IsAscii(bytes)) return DecodeText(bytes);
  std::lock_guard<std::mutex> hold(m_converter->lock);
  std::optional<std::string> text = Convert(m_converter->to_utf8, bytes);
  return text ? std::move(*text) : DecodeText(bytes);
}

Result<std::string> CodePage::Encode(std::string_view utf8) const {
  if (automatic() || IsAscii(utf8)) return EncodeText(utf8);
  std::lock_guard<std::mutex> hold(m_converter->lock);
  if (std::optional<std::string> bytes = Convert(m_converter->from_utf8, utf8)) return *bytes;
  // Character by character, to name the first that does not fit.
  char32_t c = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = DecodeUtf8At(utf8, pos, &c);
    const std::string_view character = utf8.substr(pos, length == 0 ? 1 : length);
    if (length == 0 || !Convert(m_converter->from_utf8, character)) {
      return Status::Error(StatusCode::kOther, "The character \"" + std::string(character) +
                                                   "\" cannot be written in the code page " +
                                                   m_name + ".");
    }
    pos += length;
  }
  return Status::Error(StatusCode::kOther,
                       "The text cannot be written in the code page " + m_name + ".");
}

std::string CodePage::CutToWidth(std::string_view utf8, std::size_t max_bytes) const {
  if (automatic()) return CutToStoredWidth(utf8, max_bytes);
  std::string kept;
  char32_t c = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = std::max<std::size_t>(DecodeUtf8At(utf8, pos, &c), 1);
    const std::string longer = kept + std::string(utf8.substr(pos, length));
    const Result<std::string> stored = Encode(longer);
    // A character the page cannot hold takes no room: Encode refuses it later.
    if (stored && stored->size() > max_bytes) break;
    kept = longer;
    pos += length;
  }
  return kept;
}

}  // namespace tallymere
