// Shared by the fuzz targets: a failed check that libFuzzer records as a
// crash, and a reading of profile-file text written independently of
// settings/ini_text.cpp, from the rules that its header states.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "settings/ini_text.h"
#include "settings/profile_store.h"

namespace zemlo::fuzz {

// Equal to the bit, so that 0 and -0 differ.
inline bool sameBits(double a, double b) {
  uint64_t x = 0;
  uint64_t y = 0;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

// What a profile store names its file by.
using StorePath = std::remove_cvref_t<decltype(std::declval<const ProfileStore&>().path())>;

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
#define ZEMLO_FUZZ_CHECK(condition, detail)                                          \
  do {                                                                               \
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
inline char foldChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline std::string foldCase(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = foldChar(c);
  return out;
}
inline bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldChar(a[i]) != foldChar(b[i])) return false;
  }
  return true;
}
// An order on names in which names differing only in case are equal.
inline int compareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(foldChar(a[i]));
    const unsigned char y = static_cast<unsigned char>(foldChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
struct LessIgnoringCase {
  bool operator()(std::string_view a, std::string_view b) const {
    return compareIgnoringCase(a, b) < 0;
  }
};

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
inline std::string_view valueAsRead(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value.substr(0, kMaxValueLength);
}

// Everything a read can see in a file: for each section's first copy, the
// first line of each key. Views into the file's bytes, which must outlive it.
struct Readable {
  struct Slot {
    std::string_view section;  // spelled as in the file
    std::string_view key;      // spelled as in the file
    std::string_view value;    // as a read returns it
    std::size_t line = 0;      // index into splitLines()
  };
  std::vector<Slot> slots;  // sorted by section, then key, ignoring case; no repeats

  static int compare(const Slot& slot, std::string_view section, std::string_view key) {
    const int bySection = compareIgnoringCase(slot.section, section);
    return bySection != 0 ? bySection : compareIgnoringCase(slot.key, key);
  }

  const Slot* find(std::string_view section, std::string_view key) const {
    section = trimBlanks(section);
    key = trimBlanks(key);
    std::size_t low = 0;
    std::size_t high = slots.size();
    while (low < high) {
      const std::size_t mid = low + (high - low) / 2;
      const int c = compare(slots[mid], section, key);
      if (c == 0) return &slots[mid];
      if (c < 0) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
    return nullptr;
  }

  std::string_view lookup(std::string_view section, std::string_view key) const {
    const Slot* slot = find(section, key);
    return slot ? slot->value : std::string_view();
  }
};

inline Readable readableOf(std::string_view bytes) {
  Readable readable;
  std::set<std::string_view, LessIgnoringCase> sectionsSeen;
  bool firstCopy = false;
  std::string_view current;
  const std::vector<TextLine> lines = splitLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine parsed = parseLine(textOf(bytes, lines[i]));
    if (parsed.kind == LineKind::Header) {
      current = parsed.name;
      firstCopy = sectionsSeen.insert(current).second;
    } else if (parsed.kind == LineKind::Entry && firstCopy) {
      readable.slots.push_back({current, parsed.name, valueAsRead(parsed.value), i});
    }
  }
  // The first line of a key wins: a stable sort keeps file order among equals.
  std::stable_sort(readable.slots.begin(), readable.slots.end(),
                   [](const Readable::Slot& a, const Readable::Slot& b) {
                     return Readable::compare(a, b.section, b.key) < 0;
                   });
  const auto last = std::unique(readable.slots.begin(), readable.slots.end(),
                                [](const Readable::Slot& a, const Readable::Slot& b) {
                                  return Readable::compare(a, b.section, b.key) == 0;
                                });
  readable.slots.erase(last, readable.slots.end());
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

// After `writes` turned `before` into `after` (`old` being what reads saw in
// `before`):
// - every line of `before` survives, in order and with its line break (the
//   last line may gain a CRLF), except the lines the writes replaced, which
//   are the first line of each written key in its section's first copy;
// - every line of `after` that is not such a survivor is a written key or the
//   header of a written section;
// - what a read sees is what it saw before, with the written keys set.
inline void checkSave(std::string_view before, const Readable& old, std::string_view after,
                      const std::vector<Write>& writes) {
  std::set<std::size_t> replaced;
  std::set<std::string_view, LessIgnoringCase> writtenSections;
  std::set<std::string_view, LessIgnoringCase> writtenKeys;
  for (const Write& w : writes) {
    if (const Readable::Slot* slot = old.find(w.section, w.key)) replaced.insert(slot->line);
    writtenSections.insert(w.section);
    writtenKeys.insert(w.key);
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
    const bool ours = (parsed.kind == LineKind::Header && writtenSections.count(parsed.name) != 0 &&
                       text.size() == parsed.name.size() + 2) ||
                      (parsed.kind == LineKind::Entry && writtenKeys.count(parsed.name) != 0);
    ZEMLO_FUZZ_CHECK(ours, "line " + std::to_string(i) + " of the saved file, " + printable(text) +
                               ", is neither an old line nor one the save wrote\nbefore: " +
                               printable(before) + "\nafter:  " + printable(after));
  }
  ZEMLO_FUZZ_CHECK(j == oldLines.size(),
                   "line " + std::to_string(j) + " of the old file, " +
                       printable(j < oldLines.size() ? textOf(before, oldLines[j]) : "") +
                       ", did not survive the save\nbefore: " + printable(before) +
                       "\nafter:  " + printable(after));

  // Reads: both lists are sorted the same way, so walk them side by side.
  const Readable now = readableOf(after);
  std::vector<Readable::Slot> expected;
  for (const Readable::Slot& slot : old.slots) {
    if (writtenSections.count(slot.section) == 0 || writtenKeys.count(slot.key) == 0) {
      expected.push_back(slot);
      continue;
    }
    bool written = false;
    for (const Write& w : writes)
      written = written || (sameNameIgnoringCase(w.section, slot.section) &&
                            sameNameIgnoringCase(w.key, slot.key));
    if (!written) expected.push_back(slot);
  }
  std::string detail;
  for (const Readable::Slot& slot : expected) {
    const std::string_view value = now.lookup(slot.section, slot.key);
    if (value != slot.value || !now.find(slot.section, slot.key)) {
      detail += "[" + std::string(slot.section) + "] " + std::string(slot.key) + ": was " +
                printable(slot.value) + ", now " + printable(value) + "\n";
    }
  }
  for (const Write& w : writes) {
    const Readable::Slot* slot = now.find(w.section, w.key);
    if (!slot || slot->value != valueAsRead(w.value)) {
      detail += "[" + w.section + "] " + w.key + ": written " + printable(w.value) + ", reads " +
                (slot ? printable(slot->value) : std::string("nothing")) + "\n";
    }
  }
  // Nothing else appeared: every slot now is an old one or a written one.
  std::size_t writtenSlots = 0;
  for (const Readable::Slot& slot : now.slots) {
    bool written = false;
    for (const Write& w : writes)
      written = written || (sameNameIgnoringCase(w.section, slot.section) &&
                            sameNameIgnoringCase(w.key, slot.key));
    writtenSlots += written ? 1 : 0;
  }
  if (now.slots.size() != expected.size() + writtenSlots) {
    detail += std::to_string(now.slots.size()) + " keys read now, expected " +
              std::to_string(expected.size() + writtenSlots) + "\n";
  }
  if (!detail.empty()) {
    fail(__FILE__, __LINE__, "what reads see changed only in the written keys",
         detail + "before: " + printable(before) + "\nafter:  " + printable(after));
  }
}

}  // namespace zemlo::fuzz
