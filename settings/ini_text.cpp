#include "settings/ini_text.h"

#include <cstddef>
#include <optional>

#include "settings/ini_lines.h"

namespace zemlo {
namespace {

// The name of a section header line, or nullopt when the line is no header.
std::optional<std::string_view> headerName(std::string_view text) {
  text = trimReadBlanks(text);
  if (text.empty() || text.front() != '[') return std::nullopt;
  text.remove_prefix(1);
  return trimReadBlanks(text.substr(0, text.find(']')));
}

// A key line: the trimmed name before the first '=' and the trimmed value after it.
struct Entry {
  std::string_view name;
  std::string_view value;
};

std::optional<Entry> entryOf(std::string_view text) {
  const std::string_view lead = trimReadBlanks(text);
  if (lead.empty() || lead.front() == ';') return std::nullopt;
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Entry{trimReadBlanks(text.substr(0, eq)), trimReadBlanks(text.substr(eq + 1))};
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
  section = trimReadBlanks(section);
  key = trimReadBlanks(key);
  Place place;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const Line line = lineAt(bytes, pos);
    pos = line.next;
    const std::string_view text = line.in(bytes);
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
  const std::string_view name = trimReadBlanks(key);
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
  out.append("[").append(trimReadBlanks(section)).append("]\r\n");
  out.append(name).append("=").append(value).append("\r\n");
  return out;
}

}  // namespace zemlo
