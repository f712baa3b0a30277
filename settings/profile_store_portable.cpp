// The profile store in portable C++: the whole file is read, changed in memory
// by the INI text rules and put back whole, through a new file that replaces
// it in one step, so a failed write never leaves a half-written file behind.
#include <optional>

#include "settings/file_system.h"
#include "settings/ini_text.h"
#include "settings/profile_store.h"

namespace zemlo {
namespace {

class PortableProfileStore final : public ProfileStore {
public:
  explicit PortableProfileStore(FileName file) : name_(std::move(file)) {}

  std::string read(std::string_view section, std::string_view key) const override {
    const std::string* bytes = current();
    return bytes ? iniLookup(*bytes, section, key) : std::string();
  }

  // Every write that changes the file replaces it whole at once, so the file is
  // always either the old version or the new one. Nothing is flushed to the disk
  // here: the save of the settings file does that once, for the file it keeps.
  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    const std::string* bytes = current();
    if (!bytes) return false;
    std::string updated = iniAssign(*bytes, section, key, value);
    // A value already written as it stands leaves the file alone, as the
    // Windows profile API does: a save that changes nothing writes nothing.
    // The file must still be one that could be written.
    if (updated == *bytes) return files::writable(name_);
    auto staged = files::createBeside(name_, updated);
    if (!staged) return false;
    if (!files::replace(*staged, name_, false)) {
      files::remove(*staged);
      return false;
    }
    cache_ = std::move(updated);
    return true;
  }

  const FileName& path() const override { return name_; }

private:
  // The file's bytes: read at the first use, then what this store wrote. A
  // store lives for one load or one save.
  const std::string* current() const {
    if (!cache_) {
      const auto contents = files::read(name_);
      if (!contents) return nullptr;
      cache_ = contents->bytes;
    }
    return &*cache_;
  }

  FileName name_;
  mutable std::optional<std::string> cache_;
};

}  // namespace

std::unique_ptr<ProfileStore> openPortableProfile(FileName file) {
  return std::make_unique<PortableProfileStore>(std::move(file));
}
#ifndef _WIN32
std::unique_ptr<ProfileStore> openProfile(FileName file) {
  return openPortableProfile(std::move(file));
}
#endif

}  // namespace zemlo
