// Whether a staged copy of the settings file really holds a save: what the
// profile API wrote to it, and everything else the file held before. Pure text
// work, no I/O: the API may report success for a write that never reached the
// disk, so the copy is read back and judged here before it replaces the file.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zemlo {

struct Assignment {
  std::string section;
  std::string key;
  std::string value;
};

// The file's text as the profile API reads it: UTF-16 (either byte order) and
// UTF-8 are recognised by their byte-order mark and given as UTF-8 without it;
// anything else is returned as it is.
std::string profileText(std::string_view bytes);

// True when `staged` (the bytes of a copy of `original` after the profile API
// made the `written` assignments) reads back every assignment (as text, or as
// bytes, as Windows reads a UTF-8 file with a mark), and still holds,
// in their order, every line of `original` that no assignment may rewrite. The
// API may rewrite a file in its own way (CRLF line ends, blank lines dropped,
// blanks around a line and around its '=' removed, section headers re-spelt),
// so lines are compared in that form. Two leniencies follow from that: header
// lines are not compared, and a line named like any written key may be
// missing from any section. A truncated or half-written copy fails; `why`, if
// given, then says which key or line of `original` is not in the copy.
bool stagedCopyHoldsSave(std::string_view original, std::string_view staged,
                         std::span<const Assignment> written, std::string* why = nullptr);

}  // namespace zemlo
