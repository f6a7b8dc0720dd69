#include "scan/leave_out_rules.h"

#include <algorithm>

#include "common/ascii_case.h"
#include "common/format.h"
#include "common/text_encoding.h"

namespace tallymere {
namespace {

constexpr char kSeparator = '\\';

// One piece of a glob.
struct Token {
  enum Kind { kChar, kAny, kStar, kAnyDepth, kSet } kind = kChar;
  char c = 0;
  bool negated = false;
  std::string set;  // pairs of characters: each an inclusive range
};

bool InSet(const Token& token, char c) {
  bool found = false;
  for (std::size_t i = 0; i + 1 < token.set.size(); i += 2) {
    found = found || (c >= token.set[i] && c <= token.set[i + 1]);
  }
  return found != token.negated;
}

// The tokens of a glob, or false when a "[" does not close.
bool Tokens(std::string_view glob, std::vector<Token>* tokens) {
  for (std::size_t i = 0; i < glob.size(); ++i) {
    Token token;
    if (glob[i] == '*') {
      const bool any_depth = i + 1 < glob.size() && glob[i + 1] == '*';
      token.kind = any_depth ? Token::kAnyDepth : Token::kStar;
      while (i + 1 < glob.size() && glob[i + 1] == '*') ++i;
    } else if (glob[i] == '?') {
      token.kind = Token::kAny;
    } else if (glob[i] == '[') {
      std::size_t at = i + 1;
      token.kind = Token::kSet;
      if (at < glob.size() && (glob[at] == '!' || glob[at] == '^')) token.negated = true, ++at;
      const std::size_t first = at;
      for (; at < glob.size() && (glob[at] != ']' || at == first); ++at) {
        const bool range = at + 2 < glob.size() && glob[at + 1] == '-' && glob[at + 2] != ']';
        token.set += glob[at];
        token.set += range ? glob[at + 2] : glob[at];
        if (range) at += 2;
      }
      if (at >= glob.size()) return false;
      i = at;
    } else {
      token.c = glob[i] == '/' ? kSeparator : glob[i];
      if (glob[i] == '\\' && i + 1 < glob.size()) token.c = glob[++i];  // an escaped character
    }
    tokens->push_back(std::move(token));
  }
  return true;
}

// Marks the states reached from those marked without taking a character:
// a star may match nothing, and "**/" no folder at all ("a/**/b" takes a\b).
void Close(const std::vector<Token>& tokens, std::vector<char>* states) {
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (!(*states)[i]) continue;
    const Token::Kind kind = tokens[i].kind;
    if (kind == Token::kStar || kind == Token::kAnyDepth) (*states)[i + 1] = 1;
    if (kind == Token::kAnyDepth && i + 1 < tokens.size() && tokens[i + 1].kind == Token::kChar &&
        tokens[i + 1].c == kSeparator) {
      (*states)[i + 2] = 1;
    }
  }
}

bool TokensMatch(const std::vector<Token>& tokens, std::string_view text) {
  // The states of the pattern a prefix of the text can reach, taken one
  // character at a time: no backtracking, so no glob can take long. Every
  // entry of a scan is matched, so the states are made once per thread.
  thread_local std::vector<char> states, next;
  states.assign(tokens.size() + 1, 0);
  next.assign(tokens.size() + 1, 0);
  states[0] = 1;
  Close(tokens, &states);
  for (char raw : text) {
    const char c = AsciiLower(raw);
    std::fill(next.begin(), next.end(), 0);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      if (!states[i]) continue;
      const Token& token = tokens[i];
      switch (token.kind) {
        case Token::kChar:
          if (token.c == c) next[i + 1] = 1;
          break;
        case Token::kAny:
          if (c != kSeparator) next[i + 1] = 1;
          break;
        case Token::kSet:
          if (c != kSeparator && InSet(token, c)) next[i + 1] = 1;
          break;
        case Token::kStar:
          if (c != kSeparator) next[i] = 1;
          break;
        case Token::kAnyDepth:
          next[i] = 1;
          break;
      }
    }
    Close(tokens, &next);
    states.swap(next);
    if (std::find(states.begin(), states.end(), 1) == states.end()) return false;
  }
  return states[tokens.size()] != 0;
}

std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  return "\"" + shown + "\"";
}

}  // namespace

struct LeaveOutRules::Glob {
  std::vector<Token> tokens;
};

bool GlobMatches(std::string_view glob, std::string_view text) {
  std::vector<Token> tokens;
  return Tokens(glob, &tokens) && TokensMatch(tokens, text);
}

LeaveOutRules LeaveOutRules::Parse(const std::vector<std::string>& lines,
                                   std::vector<std::string>* problems) {
  LeaveOutRules rules;
  const auto problem = [&](std::size_t line, const std::string& what) {
    if (problems != nullptr) {
      problems->push_back("Leave-out rule " + std::to_string(line + 1) + " " + what +
                          "; the other rules are used.");
    }
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view text = lines[i];
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
      text.remove_suffix(1);
    }
    if (text.empty() || text.front() == '#') continue;
    if (rules.m_rules.size() >= kMostRules) {
      problem(i, "and those after it go past the " + FormatCount(kMostRules) +
                     " rules a list may hold, and are not used");
      break;
    }
    if (!IsValidUtf8(text)) {
      problem(i, "is not UTF-8 text and is not used");
      continue;
    }
    if (text.size() > kLongestRule) {
      problem(i, Quoted(text) + " is longer than " + FormatCount(kLongestRule) +
                     " characters and is not used");
      continue;
    }
    Rule rule;
    rule.text = std::string(text);
    if (text.front() == '!') rule.negated = true, text.remove_prefix(1);
    if (!text.empty() && text.back() == '/') rule.folders_only = true, text.remove_suffix(1);
    rule.anchored = text.find('/') != std::string_view::npos;
    if (!text.empty() && text.front() == '/') text.remove_prefix(1);
    rule.pattern = AsciiLower(text);
    std::vector<Token> tokens;
    if (rule.pattern.empty()) {
      problem(i, Quoted(rule.text) + " names nothing and is not used");
    } else if (!Tokens(rule.pattern, &tokens)) {
      problem(i, Quoted(rule.text) + " has a \"[\" that does not close and is not used");
    } else if (!rule.negated && std::all_of(tokens.begin(), tokens.end(), [](const Token& t) {
                 return t.kind == Token::kStar || t.kind == Token::kAnyDepth;
               })) {
      problem(i, Quoted(rule.text) + " would leave out everything and is not used");
    } else {
      rule.literal = rule.pattern.find_first_of("*?[\\") == std::string::npos;
      if (rule.literal) std::replace(rule.pattern.begin(), rule.pattern.end(), '/', kSeparator);
      if (!rule.literal) {
        const std::size_t first = rule.pattern.find_first_of("*?[\\");
        const std::size_t last = rule.pattern.find_last_of("*?]");
        rule.head = rule.pattern.substr(0, first);
        if (last != std::string::npos && rule.pattern.find('\\', last) == std::string::npos) {
          rule.tail = rule.pattern.substr(last + 1);
        }
        std::replace(rule.head.begin(), rule.head.end(), '/', kSeparator);
        std::replace(rule.tail.begin(), rule.tail.end(), '/', kSeparator);
      }
      rule.glob = std::make_shared<const Glob>(Glob{std::move(tokens)});
      rules.m_rules.push_back(std::move(rule));
    }
  }
  return rules;
}

const std::string* LeaveOutRules::LeftOutBy(std::string_view relative, std::string_view name,
                                            bool is_folder) const {
  const std::string* deciding = nullptr;
  bool left_out = false;
  std::string lower_name, lower_relative;
  for (const Rule& rule : m_rules) {
    if (rule.negated != left_out) continue;  // it cannot change the outcome
    if (rule.folders_only && !is_folder) continue;
    const std::string_view text = rule.anchored ? relative : name;
    std::string& lower = rule.anchored ? lower_relative : lower_name;
    if (lower.empty()) lower = AsciiLower(text);
    // A match begins with the head and ends with the tail, so most names
    // are told apart there; "**/" may match no folder, so the two may overlap.
    const bool matches = rule.literal
                             ? lower == rule.pattern
                             : lower.starts_with(rule.head) && lower.ends_with(rule.tail) &&
                                   TokensMatch(rule.glob->tokens, lower);
    if (!matches) continue;
    left_out = !rule.negated;
    deciding = &rule.text;
  }
  return left_out ? deciding : nullptr;
}

const std::string* LeaveOutRules::LeftOutFile(std::string_view relative) const {
  if (m_rules.empty()) return nullptr;
  std::size_t start = 0;
  for (std::size_t end; (end = relative.find(kSeparator, start)) != std::string_view::npos;
       start = end + 1) {
    const std::string_view folder = relative.substr(start, end - start);
    if (const std::string* rule = LeftOutBy(relative.substr(0, end), folder, true)) return rule;
  }
  return LeftOutBy(relative, relative.substr(start), false);
}

}  // namespace tallymere
