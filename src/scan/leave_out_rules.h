#pragma once
// The rules that leave files and folders out of every scan, written as in a
// .gitignore file, one a line:
//
//   Thumbs.db    a name or glob (*, ?, [a-z]) matches an entry of that name
//                anywhere below a scan root
//   @eaDir/      a trailing "/" matches folders only
//   Music/tmp    a "/" elsewhere anchors the rule at the scan root ("**"
//                then spans folders: Photos/**/cache)
//   !keep.tmp    brings back what an earlier rule left out
//   # comment    as is an empty line
//
// The last rule that matches an entry decides. Names match without regard
// to letter case, as the file type does. A folder left out is never listed,
// so nothing below it can be brought back.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

class LeaveOutRules {
 public:
  // Guards against a settings file that is no rule list at all.
  static constexpr std::size_t kMostRules = 1000;
  static constexpr std::size_t kLongestRule = 1000;

  LeaveOutRules() = default;
  // The rules of these lines; a line that cannot be a rule is passed over
  // with a sentence naming it in *problems (when given).
  static LeaveOutRules Parse(const std::vector<std::string>& lines,
                             std::vector<std::string>* problems = nullptr);

  bool empty() const { return m_rules.empty(); }

  // The rule (as written) that leaves out the entry `name` at `relative`
  // (its path below the scan root, folders joined with "\", the name last);
  // nullptr when it stays in.
  const std::string* LeftOutBy(std::string_view relative, std::string_view name,
                               bool is_folder) const;
  // The rule that leaves out a file at `relative` (below the scan root,
  // "Sub\\name.mp3"), by its own name or by one of its folders'.
  const std::string* LeftOutFile(std::string_view relative) const;

 private:
  struct Glob;  // a pattern taken apart once
  struct Rule {
    std::string text;     // as written, for the user
    std::string pattern;  // lower case, without "!", the anchoring "/" and a trailing "/"
    bool negated = false;
    bool folders_only = false;
    bool anchored = false;
    bool literal = false;  // no wildcard: compared as it is
    // What every match begins and ends with (the glob's text before its
    // first and after its last wildcard): most names fail on these alone.
    std::string head;
    std::string tail;
    std::shared_ptr<const Glob> glob;
  };
  std::vector<Rule> m_rules;
};

// Whether a glob (lower case) matches a text (compared in lower case):
// "*" any characters but "\", "**" any at all, "?" one character but "\",
// "[...]" one of a set ("[!...]" or "[^...]": one not in it).
bool GlobMatches(std::string_view glob, std::string_view text);

}  // namespace tallymere
