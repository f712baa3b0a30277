// A profile (INI) file: read one value, write one value. Each write changes the
// file itself (the Windows profile API rewrites it in place); making a whole
// save safe is the staged save's work (settings/staged_save.h).
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zemlo {

// Values come back through a 2048-byte buffer: at most this many characters.
inline constexpr std::size_t kMaxValueLength = 2047;

// A file name in the platform's own form: UTF-16 on Windows, bytes elsewhere.
// A std::filesystem::path converts to it by itself (path::string_type). The
// editor does without std::filesystem on Windows: it would bring the whole C++
// locale machinery into the exe.
#ifdef _WIN32
using FileName = std::wstring;
#else
using FileName = std::string;
#endif

// The folder of a path, up to and including its last separator (or drive
// colon); empty when it has none.
FileName folderOf(const FileName& file);

class ProfileStore {
public:
  virtual ~ProfileStore() = default;
  // The value of the first line for `key` in the first `[section]`, both
  // matched without regard to case, blanks and one pair of quotes removed.
  // Empty when the file, section or key is missing. Never creates the file.
  virtual std::string read(std::string_view section, std::string_view key) const = 0;
  // Sets the value, creating file, section and key as needed. False on failure.
  virtual bool write(std::string_view section, std::string_view key, std::string_view value) = 0;

  virtual const FileName& path() const = 0;
};

// The project's own implementation, portable C++.
std::unique_ptr<ProfileStore> openPortableProfile(FileName file);
#ifdef _WIN32
// The Windows profile API, through its wide-character functions.
std::unique_ptr<ProfileStore> openWin32Profile(FileName file);
#endif
// The platform's store: the Windows profile API on Windows, the portable one elsewhere.
std::unique_ptr<ProfileStore> openProfile(FileName file);

// A failed write of the settings file; what() is "Unable to write to <path>" (UTF-8).
class WriteError : public std::runtime_error {
public:
  explicit WriteError(const FileName& file);
};

// UTF-8 text of a path, for messages.
std::string pathToUtf8(const FileName& file);

}  // namespace zemlo
