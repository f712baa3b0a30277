// Shared by the fuzz targets: a failed check that libFuzzer records as a
// crash, and a reading of profile-file text written independently of
// settings/ini_text.cpp, from the rules that its header states.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/profile_store.h"

namespace zemlo::fuzz {

// ---------------------------------------------------------------- checks

// Bytes as a C-like literal, cut to a readable length.
inline std::string printable(std::string_view bytes, std::size_t limit = 400) {
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\\' || c == '"') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out += "\"";
  if (bytes.size() > limit) out += "... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
}

[[noreturn]] inline void fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
  std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", file, line, condition, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace zemlo::fuzz

// `detail` (a std::string expression) is only evaluated when the check fails.
#define ZEMLO_FUZZ_CHECK(condition, detail)                                   \
  do {                                                                        \
    if (!(condition)) ::zemlo::fuzz::fail(__FILE__, __LINE__, #condition, (detail)); \
  } while (0)

namespace zemlo::fuzz {

// ------------------------------------------------------ profile-file text

// One line: its text is [begin, end), its break (CRLF, LF, CR or none) [end, next).
struct TextLine {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

inline std::vector<TextLine> splitLines(std::string_view bytes) {
  std::vector<TextLine> lines;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    std::size_t next = end;
    if (next < bytes.size()) {
      const bool crlf = bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n';
      next += crlf ? 2 : 1;
    }
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

inline std::string_view textOf(std::string_view bytes, const TextLine& line) {
  return bytes.substr(line.begin, line.end - line.begin);
}
inline std::string_view breakOf(std::string_view bytes, const TextLine& line) {
  return bytes.substr(line.end, line.next - line.end);
}

inline std::string_view trimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v'; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Names compare without regard to ASCII case; other bytes compare as they are.
inline std::string foldCase(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}
inline bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && foldCase(a) == foldCase(b);
}

enum class LineKind { Other, Header, Entry };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section of a header, key of an entry (trimmed)
  std::string_view value;  // of an entry (trimmed, quotes still on)
};

// A header is a line whose first non-blank is '['; its name runs to the first
// ']' (or the end). An entry is any other line with an '=' whose first
// non-blank is not ';'.
inline ParsedLine parseLine(std::string_view text) {
  std::string_view lead = trimBlanks(text);
  if (!lead.empty() && lead.front() == '[') {
    lead.remove_prefix(1);
    const std::size_t close = lead.find(']');
    if (close != std::string_view::npos) lead = lead.substr(0, close);
    return {LineKind::Header, trimBlanks(lead), {}};
  }
  if (lead.empty() || lead.front() == ';') return {};
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return {};
  return {LineKind::Entry, trimBlanks(text.substr(0, eq)), trimBlanks(text.substr(eq + 1))};
}

// A value as a read returns it: one pair of enclosing quotes off, then cut.
inline std::string valueAsRead(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

// Everything a read can see in a file: for each section's first copy, the
// first line of each key. Keys are case-folded (section, key).
struct Readable {
  struct Slot {
    std::string value;         // as a read returns it
    std::string section;       // spelled as in the file
    std::string key;           // spelled as in the file
    std::size_t line = 0;      // index into splitLines()
  };
  std::map<std::pair<std::string, std::string>, Slot> slots;

  std::string lookup(std::string_view section, std::string_view key) const {
    const auto it = slots.find({foldCase(trimBlanks(section)), foldCase(trimBlanks(key))});
    return it == slots.end() ? std::string() : it->second.value;
  }
};

inline Readable readableOf(std::string_view bytes) {
  Readable readable;
  std::set<std::string> sectionsSeen;
  bool firstCopy = false;
  std::string current;
  std::string currentSpelling;
  const std::vector<TextLine> lines = splitLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine parsed = parseLine(textOf(bytes, lines[i]));
    if (parsed.kind == LineKind::Header) {
      current = foldCase(parsed.name);
      currentSpelling = std::string(parsed.name);
      firstCopy = sectionsSeen.insert(current).second;
    } else if (parsed.kind == LineKind::Entry && firstCopy) {
      readable.slots.try_emplace({current, foldCase(parsed.name)},
                                 Readable::Slot{valueAsRead(parsed.value), currentSpelling,
                                                std::string(parsed.name), i});
    }
  }
  return readable;
}

// What a write of `value` under `key` in `[section]` must turn `bytes` into:
// the key's line in the first copy of the section rewritten in place (name as
// spelled, line break kept), or a new line after the section's last entry (or
// its header), or a new section at the end; new lines end in CRLF.
inline std::string expectedAfterWrite(std::string_view bytes, std::string_view section,
                                      std::string_view key, std::string_view value) {
  section = trimBlanks(section);
  key = trimBlanks(key);
  const std::vector<TextLine> lines = splitLines(bytes);
  bool sectionFound = false;
  std::optional<std::size_t> keyLine;
  std::size_t anchor = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine parsed = parseLine(textOf(bytes, lines[i]));
    if (parsed.kind == LineKind::Header) {
      if (sectionFound) break;
      if (sameNameIgnoringCase(parsed.name, section)) {
        sectionFound = true;
        anchor = i;
      }
      continue;
    }
    if (!sectionFound || parsed.kind != LineKind::Entry) continue;
    anchor = i;
    if (sameNameIgnoringCase(parsed.name, key)) {
      keyLine = i;
      break;
    }
  }

  std::string out;
  if (keyLine) {
    const TextLine& line = lines[*keyLine];
    out.append(bytes.substr(0, line.begin));
    out.append(parseLine(textOf(bytes, line)).name).append("=").append(value);
    out.append(bytes.substr(line.end));
  } else if (sectionFound) {
    const TextLine& line = lines[anchor];
    out.append(bytes.substr(0, line.next));
    if (line.next == line.end) out.append("\r\n");
    out.append(key).append("=").append(value).append("\r\n");
    out.append(bytes.substr(line.next));
  } else {
    out.append(bytes);
    if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n') out.append("\r\n");
    out.append("[").append(section).append("]\r\n");
    out.append(key).append("=").append(value).append("\r\n");
  }
  return out;
}

// One write made by a save.
struct Write {
  std::string section;
  std::string key;
  std::string value;
};

// After a save made `writes` to `before`, giving `after`:
// - every line of `before` survives, in order and with its line break (the
//   last line may gain a CRLF), except the lines the writes replaced, which
//   are the first line of each written key in its section's first copy;
// - every line of `after` that is not such a survivor is a written key or the
//   header of a written section;
// - what a read sees is what it saw before, with the written keys set.
inline void checkSave(std::string_view before, std::string_view after,
                      const std::vector<Write>& writes) {
  const Readable old = readableOf(before);
  std::set<std::size_t> replaced;
  std::set<std::string> writtenSections;
  std::set<std::string> writtenKeys;
  std::map<std::pair<std::string, std::string>, std::string> expected;
  for (const auto& [where, slot] : old.slots) expected[where] = slot.value;
  for (const Write& w : writes) {
    const std::pair<std::string, std::string> where{foldCase(w.section), foldCase(w.key)};
    if (const auto it = old.slots.find(where); it != old.slots.end()) replaced.insert(it->second.line);
    expected[where] = valueAsRead(w.value);
    writtenSections.insert(foldCase(w.section));
    writtenKeys.insert(foldCase(w.key));
  }

  const std::vector<TextLine> oldLines = splitLines(before);
  const std::vector<TextLine> newLines = splitLines(after);
  std::size_t j = 0;  // next line of `before` to find
  const auto skipReplaced = [&] {
    while (j < oldLines.size() && replaced.count(j) != 0) ++j;
  };
  skipReplaced();
  for (std::size_t i = 0; i < newLines.size(); ++i) {
    const std::string_view text = textOf(after, newLines[i]);
    const std::string_view brk = breakOf(after, newLines[i]);
    if (j < oldLines.size() && text == textOf(before, oldLines[j])) {
      const std::string_view oldBrk = breakOf(before, oldLines[j]);
      if (brk == oldBrk || (oldBrk.empty() && j + 1 == oldLines.size() && brk == "\r\n")) {
        ++j;
        skipReplaced();
        continue;
      }
    }
    const ParsedLine parsed = parseLine(text);
    const bool ours =
        (parsed.kind == LineKind::Header && writtenSections.count(foldCase(parsed.name)) != 0 &&
         text == "[" + std::string(parsed.name) + "]") ||
        (parsed.kind == LineKind::Entry && writtenKeys.count(foldCase(parsed.name)) != 0);
    ZEMLO_FUZZ_CHECK(ours, "line " + std::to_string(i) + " of the saved file, " + printable(text) +
                               ", is neither an old line nor one the save wrote\nbefore: " +
                               printable(before) + "\nafter:  " + printable(after));
  }
  ZEMLO_FUZZ_CHECK(j == oldLines.size(),
                   "line " + std::to_string(j) + " of the old file, " +
                       printable(j < oldLines.size() ? textOf(before, oldLines[j]) : "") +
                       ", did not survive the save\nbefore: " + printable(before) +
                       "\nafter:  " + printable(after));

  const Readable now = readableOf(after);
  std::map<std::pair<std::string, std::string>, std::string> seen;
  for (const auto& [where, slot] : now.slots) seen[where] = slot.value;
  if (seen != expected) {
    std::string detail;
    for (const auto& [where, value] : expected) {
      const auto it = seen.find(where);
      if (it == seen.end() || it->second != value) {
        detail += "[" + where.first + "] " + where.second + ": expected " + printable(value) +
                  ", reads " + (it == seen.end() ? "nothing" : printable(it->second)) + "\n";
      }
    }
    for (const auto& [where, value] : seen) {
      if (expected.count(where) == 0) {
        detail += "[" + where.first + "] " + where.second + ": appeared as " + printable(value) + "\n";
      }
    }
    fail(__FILE__, __LINE__, "what reads see changed only in the written keys",
         detail + "before: " + printable(before) + "\nafter:  " + printable(after));
  }
}

}  // namespace zemlo::fuzz
