// A profile (INI) file: read one value, write one value. Each write changes the
// file itself (the Windows profile API rewrites it in place); making a whole
// save safe is the staged save's work (settings/staged_save.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "settings/file_name.h"

namespace zemlo {

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
// The platform's store: on Windows the profile API (profile_store_win32.cpp), elsewhere
// the portable one.
std::unique_ptr<ProfileStore> openProfile(FileName file);

}  // namespace zemlo
