// The profile store in portable C++: the whole file is read, changed in memory
// by the INI text rules and put back whole, through a new file that replaces
// it in one step, so a failed write never leaves a half-written file behind.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "settings/file_system.h"
#include "settings/ini_text.h"
#include "settings/profile_store.h"

namespace fs = std::filesystem;

namespace zemlo {
namespace {

// What identifies one version of a file cheaply: a changed file changes these.
struct Stamp {
  bool exists = false;
  std::uintmax_t size = 0;
  fs::file_time_type modified{};
  bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const fs::path& file) {
  std::error_code ec;
  Stamp stamp;
  stamp.size = fs::file_size(file, ec);
  if (ec) return Stamp{};
  stamp.modified = fs::last_write_time(file, ec);
  stamp.exists = !ec;
  return stamp;
}

class PortableProfileStore final : public ProfileStore {
public:
  explicit PortableProfileStore(FileName file) : name_(std::move(file)), file_(name_) {}

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
    const auto staged = files::createBeside(name_, updated);
    if (!staged) return false;
    if (!files::replace(*staged, name_, false)) {
      files::remove(*staged);
      return false;
    }
    remember(std::move(updated));
    return true;
  }

  const FileName& path() const override { return name_; }

private:
  // The file's bytes, read again only when the file changed since last seen.
  const std::string* current() const {
    const Stamp stamp = stampOf(file_);
    if (cache_ && stamp.exists && stamp == cachedStamp_) return &*cache_;
    const auto contents = files::read(name_);
    cache_.reset();
    if (contents) cache_ = contents->bytes;
    cachedStamp_ = stamp;
    return cache_ ? &*cache_ : nullptr;
  }

  void remember(std::string bytes) {
    cache_ = std::move(bytes);
    cachedStamp_ = stampOf(file_);
  }

  FileName name_;
  fs::path file_;
  mutable std::optional<std::string> cache_;
  mutable Stamp cachedStamp_;
};

}  // namespace

std::unique_ptr<ProfileStore> openPortableProfile(FileName file) {
  return std::make_unique<PortableProfileStore>(std::move(file));
}

}  // namespace zemlo
