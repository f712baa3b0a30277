// The text of a profile (INI) file held in memory as raw bytes: finding a
// value and setting one. No I/O; any bytes, NULs included, are accepted.
#pragma once

#include <string>
#include <string_view>

namespace zemlo {

// The profile API reads a value through a 2048-byte buffer: at most this many characters.
inline constexpr std::size_t kMaxValueLength = 2047;

// The value of `key` in `[section]` as the Windows profile functions return it:
// names matched without regard to ASCII case, first section copy and first key
// line win, blanks (space, tab, vertical tab) trimmed, one pair of enclosing
// quotes (" or ') removed, cut to kMaxValueLength. Empty when missing.
std::string iniLookup(std::string_view bytes, std::string_view section, std::string_view key);

// `bytes` with `key` in `[section]` set to `value`. An existing key line is
// rewritten in place (its spelling and line ending kept); a new key follows the
// last key line of its section; a new section goes at the end. All other bytes
// stay as they were; new lines end in CRLF.
std::string iniAssign(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace zemlo
