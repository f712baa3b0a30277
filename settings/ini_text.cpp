#include "settings/ini_text.h"

#include <cstddef>
#include <optional>

#include "settings/profile_store.h"

namespace zemlo {
namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// One line of the file: its text runs [begin, end), its line break [end, next).
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
  bool hasBreak() const { return next > end; }
};

// CRLF, LF and a lone CR all end a line; the last line may have no break.
Line lineAt(std::string_view bytes, std::size_t begin) {
  Line line{begin, bytes.size(), bytes.size()};
  // A plain loop: find_first_of tests every byte against the set one by one.
  std::size_t brk = begin;
  while (brk < bytes.size() && bytes[brk] != '\n' && bytes[brk] != '\r') ++brk;
  if (brk == bytes.size()) return line;
  line.end = brk;
  line.next = brk + 1;
  if (bytes[brk] == '\r' && brk + 1 < bytes.size() && bytes[brk + 1] == '\n') ++line.next;
  return line;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The name of a section header line, or nullopt when the line is no header.
std::optional<std::string_view> headerName(std::string_view text) {
  text = trim(text);
  if (text.empty() || text.front() != '[') return std::nullopt;
  text.remove_prefix(1);
  return trim(text.substr(0, text.find(']')));
}

// A key line: the trimmed name before the first '=' and the trimmed value after it.
struct Entry {
  std::string_view name;
  std::string_view value;
};

std::optional<Entry> entryOf(std::string_view text) {
  const std::string_view lead = trim(text);
  if (lead.empty() || lead.front() == ';') return std::nullopt;
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Entry{trim(text.substr(0, eq)), trim(text.substr(eq + 1))};
}

// What a write needs to know about the file: the key's line if present, and
// otherwise the line a new key goes after (the last key line or the header).
struct Place {
  bool sectionFound = false;
  std::optional<Line> keyLine;
  std::string_view keyName;  // as spelled in the file
  std::string_view value;
  Line anchor;
};

Place locate(std::string_view bytes, std::string_view section, std::string_view key) {
  section = trim(section);
  key = trim(key);
  Place place;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const Line line = lineAt(bytes, pos);
    pos = line.next;
    const std::string_view text = bytes.substr(line.begin, line.end - line.begin);
    if (const auto name = headerName(text)) {
      if (place.sectionFound) break;  // only the first copy of the section counts
      if (sameIniName(*name, section)) {
        place.sectionFound = true;
        place.anchor = line;
      }
      continue;
    }
    if (!place.sectionFound) continue;
    if (const auto entry = entryOf(text)) {
      place.anchor = line;
      if (sameIniName(entry->name, key)) {
        place.keyLine = line;
        place.keyName = entry->name;
        place.value = entry->value;
        break;
      }
    }
  }
  return place;
}

bool endsWithBreak(std::string_view bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

}  // namespace

bool sameIniName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::string iniLookup(std::string_view bytes, std::string_view section, std::string_view key) {
  const Place place = locate(bytes, section, key);
  if (!place.keyLine) return {};
  std::string_view value = place.value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

std::string iniAssign(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value) {
  const Place place = locate(bytes, section, key);
  std::string out;
  out.reserve(bytes.size() + section.size() + key.size() + value.size() + 8);
  if (place.keyLine) {
    // Only the text of the line changes; its line break stays as it was.
    out.append(bytes.substr(0, place.keyLine->begin));
    out.append(place.keyName).append("=").append(value);
    out.append(bytes.substr(place.keyLine->end));
    return out;
  }
  const std::string_view name = trim(key);
  if (place.sectionFound) {
    const Line& after = place.anchor;
    out.append(bytes.substr(0, after.next));
    if (!after.hasBreak()) out.append("\r\n");
    out.append(name).append("=").append(value).append("\r\n");
    out.append(bytes.substr(after.next));
    return out;
  }
  out.append(bytes);
  if (!bytes.empty() && !endsWithBreak(bytes)) out.append("\r\n");
  out.append("[").append(trim(section)).append("]\r\n");
  out.append(name).append("=").append(value).append("\r\n");
  return out;
}

}  // namespace zemlo
