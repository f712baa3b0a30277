// The profile store in portable C++: the whole file is read, changed in memory
// by the INI text rules and written back through a temporary file, so a failed
// write never leaves a half-written settings file behind.
#include <algorithm>
#include <filesystem>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <system_error>

#include "settings/ini_text.h"
#include "settings/profile_store.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace zemlo {
namespace {

// The file's bytes; empty when it does not exist; nullopt when it cannot be read.
std::optional<std::string> loadBytes(const fs::path& file) {
  std::error_code ec;
  const fs::file_status st = fs::status(file, ec);
  if (st.type() == fs::file_type::not_found) return std::string();
  if (ec || fs::is_directory(st)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(out).str();
}

// A write through a symbolic link changes the file it names and leaves the link.
fs::path writeTarget(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_symlink(file, ec)) return file;
  fs::path target = file;
  for (int hops = 0; hops < 40 && fs::is_symlink(target, ec); ++hops) {
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) return file;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  const fs::path resolved = fs::weakly_canonical(target, ec);
  return ec ? target : resolved;
}

// A fresh name beside `target`, so the final rename stays within one directory.
fs::path tempNameFor(const fs::path& target) {
  static std::mt19937 random{std::random_device{}()};
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
  fs::path name(".");
  name += target.filename().native();
  name += ".tmp-";
  name += suffix;
  return target.parent_path() / name;
}

#ifdef _WIN32

// An existing file that the profile API would open for writing.
bool writableFile(const fs::path& target) {
  const DWORD attrs = GetFileAttributesW(target.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES &&
         !(attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

bool replaceFile(const fs::path& target, const std::string& bytes) {
  const DWORD attrs = GetFileAttributesW(target.c_str());
  const bool existed = attrs != INVALID_FILE_ATTRIBUTES;
  if (existed && !writableFile(target)) return false;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const fs::path temp = tempNameFor(target);
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
      DWORD written = 0;
      ok = WriteFile(h, bytes.data() + done, chunk, &written, nullptr) && written > 0;
      done += written;
    }
    ok = CloseHandle(h) && ok;
    // Hidden, system and similar flags of the old file carry over to the new one.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                       FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (ok && existed && (attrs & kept)) SetFileAttributesW(temp.c_str(), attrs & kept);
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
  }
  return false;
}

#else

// An existing file that the profile API would open for writing. Renaming over
// a read-only file would succeed; the profile API refuses.
bool writableFile(const fs::path& target) {
  struct stat st {};
  return ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ::access(target.c_str(), W_OK) == 0;
}

bool replaceFile(const fs::path& target, const std::string& bytes) {
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !writableFile(target)) return false;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const fs::path temp = tempNameFor(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      ok = n > 0;
      if (ok) done += static_cast<std::size_t>(n);
    }
    if (ok && existed) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ::close(fd) == 0 && ok;
    std::error_code ec;
    if (ok) fs::rename(temp, target, ec);
    if (!ok || ec) {
      ::unlink(temp.c_str());
      return false;
    }
    return true;
  }
  return false;
}

#endif

// Makes the file's data and its directory entry durable.
void flushToDisk(const fs::path& file) {
#ifdef _WIN32
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(h);
  CloseHandle(h);
#else
  for (const fs::path& p : {file, file.parent_path().empty() ? fs::path(".") : file.parent_path()}) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ::fsync(fd);
    ::close(fd);
  }
#endif
}

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
    const std::string* bytes = current(file_);
    return bytes ? iniLookup(*bytes, section, key) : std::string();
  }

  // Every write that changes the file replaces it whole at once, so the file is
  // always either the old version or the new one. The data reaches the disk when the store
  // is released: one flush per load or save, not one per key.
  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    const fs::path target = writeTarget(file_);
    const std::string* bytes = current(target);
    if (!bytes) return false;
    std::string updated = iniAssign(*bytes, section, key, value);
    // A value already written as it stands leaves the file alone, as the
    // Windows profile API does: a save that changes nothing writes nothing.
    // The file must still be one that could be written.
    if (updated == *bytes) return writableFile(target);
    if (!replaceFile(target, updated)) return false;
    remember(target, std::move(updated));
    written_ = target;
    return true;
  }

  ~PortableProfileStore() override {
    if (written_) flushToDisk(*written_);
  }

  const FileName& path() const override { return name_; }

private:
  // The file's bytes, read again only when the file changed since last seen.
  const std::string* current(const fs::path& file) const {
    const Stamp stamp = stampOf(file);
    if (cache_ && cachedFile_ == file && stamp == cachedStamp_ && stamp.exists) return &*cache_;
    cache_ = loadBytes(file);
    cachedFile_ = file;
    cachedStamp_ = stamp;
    return cache_ ? &*cache_ : nullptr;
  }

  void remember(const fs::path& file, std::string bytes) {
    cache_ = std::move(bytes);
    cachedFile_ = file;
    cachedStamp_ = stampOf(file);
  }

  FileName name_;
  fs::path file_;
  mutable std::optional<std::string> cache_;
  mutable fs::path cachedFile_;
  mutable Stamp cachedStamp_;
  std::optional<fs::path> written_;
};

}  // namespace

std::unique_ptr<ProfileStore> openPortableProfile(FileName file) {
  return std::make_unique<PortableProfileStore>(std::move(file));
}

}  // namespace zemlo
