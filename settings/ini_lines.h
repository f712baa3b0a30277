// The line rules of profile (INI) text, shared by the store's own editing
// (settings/ini_text.cpp) and the judgement of a staged save
// (settings/save_check.cpp): how text splits into lines, which blanks around a
// line, name or value do not count, and when two names are the same.
#pragma once

#include <cstddef>
#include <string_view>

namespace zemlo {

// One line of the text: its own characters run [begin, end), its break [end, next).
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
  bool hasBreak() const { return next > end; }
  std::string_view in(std::string_view text) const { return text.substr(begin, end - begin); }
};

// The line that starts at `begin`. CRLF, LF and a lone CR all end a line; the
// last line may have no break.
inline Line lineAt(std::string_view text, std::size_t begin) {
  Line line{begin, text.size(), text.size()};
  // A plain loop: find_first_of tests every byte against the set one by one.
  std::size_t brk = begin;
  while (brk < text.size() && text[brk] != '\n' && text[brk] != '\r') ++brk;
  if (brk == text.size()) return line;
  line.end = brk;
  line.next = brk + 1;
  if (text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n') ++line.next;
  return line;
}

// Two sets of blanks. A read skips spaces, tabs and vertical tabs around a
// line, a name or a value, and no more. The profile API, rewriting the file
// in its own form, may drop more: every control character from tab to
// carriage return, and ^Z (an old end-of-file mark). So a rewrite is judged
// by the wider set, and a value read keeps what only the wider set holds.
inline bool isReadBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }
inline bool isRewriteBlank(char c) { return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1a'; }

template <bool (*isBlank)(char)>
std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}
// `text` without what a read ignores at either end.
inline std::string_view trimReadBlanks(std::string_view text) { return trimmed<isReadBlank>(text); }
// `text` without what a rewrite may drop at either end.
inline std::string_view trimRewriteBlanks(std::string_view text) {
  return trimmed<isRewriteBlank>(text);
}

// Section and key names are the same without regard to ASCII case.
inline bool sameIniName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace zemlo
