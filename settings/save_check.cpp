#include "settings/save_check.h"

#include <cstdint>
#include <vector>

#include "settings/ini_lines.h"
#include "settings/ini_text.h"

namespace zemlo {
namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  const int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;  // continuation bytes
  out += static_cast<char>((0xFF << (7 - extra)) | (c >> (6 * extra)));
  for (int i = extra - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const auto unit = [&](std::size_t i) -> char16_t {
    const auto a = static_cast<uint8_t>(bytes[i]), b = static_cast<uint8_t>(bytes[i + 1]);
    return static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      const char16_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        appendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    appendUtf8(out, (c >= 0xD800 && c < 0xE000) ? U'\uFFFD' : char32_t(c));
  }
  return out;
}

// The profile API keeps a name or value up to its first NUL.
std::string_view upToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// One non-empty line, in the form the profile API writes it back.
struct RewrittenLine {
  std::size_t number = 0;  // in the file, from 1
  bool header = false;
  bool entry = false;
  std::string_view name;  // of an entry
  std::string text;
};

std::vector<RewrittenLine> linesOf(std::string_view text) {
  std::vector<RewrittenLine> lines;
  std::size_t number = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const Line at = lineAt(text, pos);
    pos = at.next;
    const std::string_view raw = trimRewriteBlanks(at.in(text));
    RewrittenLine line;
    line.number = ++number;
    if (!raw.empty() && raw.front() == '[') {
      line.header = true;
    } else if (const std::size_t eq = raw.find('='); eq != std::string_view::npos) {
      line.entry = true;
      line.name = trimRewriteBlanks(upToNul(trimRewriteBlanks(raw.substr(0, eq))));
      line.text = std::string(line.name) + "=" +
                  std::string(trimRewriteBlanks(upToNul(trimRewriteBlanks(raw.substr(eq + 1)))));
    } else {
      line.text = std::string(trimRewriteBlanks(upToNul(raw)));
      if (line.text.empty()) continue;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

std::string profileText(std::string_view bytes) {
  const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  if (starts("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  if (starts("\xFF\xFE")) return utf16ToUtf8(bytes.substr(2), false);
  if (starts("\xFE\xFF")) return utf16ToUtf8(bytes.substr(2), true);
  return std::string(bytes);
}

bool stagedCopyHoldsSave(std::string_view original, std::string_view staged,
                         std::span<const Assignment> written, std::string* why) {
  const auto refuse = [&](std::string reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  const std::string before = profileText(original), after = profileText(staged);
  // Read as text, or as the bytes themselves: a UTF-8 mark is text to Wine,
  // part of the first line to Windows' own profile API.
  for (const Assignment& a : written)
    if (iniLookup(after, a.section, a.key) != a.value &&
        iniLookup(staged, a.section, a.key) != a.value)
      return refuse("[" + a.section + "] " + a.key + " does not read " + a.value);

  // A line of one of the written keys may be rewritten, in whichever section
  // (the API's idea of sections in a damaged file may differ from ours).
  const auto rewritable = [&](const RewrittenLine& line) {
    if (!line.entry) return false;
    for (const Assignment& a : written)
      if (sameIniName(line.name, a.key)) return true;
    return false;
  };
  // Every other line of the original, in order, must be among the copy's lines.
  const std::vector<RewrittenLine> kept = linesOf(after);
  std::size_t next = 0;
  for (const RewrittenLine& line : linesOf(before)) {
    if (line.header || rewritable(line)) continue;
    while (next < kept.size() && (kept[next].header || kept[next].text != line.text)) ++next;
    if (next == kept.size())
      return refuse("line " + std::to_string(line.number) + " is missing: " + line.text);
    ++next;
  }
  return true;
}

}  // namespace zemlo
