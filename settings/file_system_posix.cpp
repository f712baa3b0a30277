// Whole-file operations through POSIX calls (the native build and the fuzz targets).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <utility>

#include "settings/file_system.h"

namespace fs = std::filesystem;

namespace zemlo::files {
namespace {

class Fd {
public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  bool ok() const { return fd_ >= 0; }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes, off_t at) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    at += n;
  }
  return true;
}

// The file a write through `file` changes: a symbolic link is followed (also
// one whose target does not exist yet), so the link itself stays.
fs::path finalTarget(const fs::path& file) {
  std::error_code ec;
  fs::path target = file;
  for (int hops = 0; hops < 40 && fs::is_symlink(target, ec); ++hops) {
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) return file;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

bool syncFolderOf(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  Fd fd(::open(folder.c_str(), O_RDONLY | O_CLOEXEC));
  return fd.ok() && ::fsync(fd.get()) == 0;
}

}  // namespace

std::optional<Contents> read(const FileName& file) {
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) {
    if (errno == ENOENT || errno == ENOTDIR) return Contents{};
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  Contents contents{true, {}};
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return contents;
    contents.bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

bool writable(const FileName& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(file.c_str(), W_OK) == 0;
}

std::optional<Copy> createBeside(const FileName& file, std::string_view bytes,
                                 const FileName& folder, std::string_view extension) {
  static std::mt19937 random{std::random_device{}()};
  const fs::path target = finalTarget(file);
  const fs::path where = folder.empty() ? target.parent_path() : fs::path(folder);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path staged = where / copyName(target.filename().native(), random(), extension);
    Fd fd(::open(staged.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.ok()) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    // Locked before its first byte, the lock kept by a duplicate: a sweep passes a
    // locked copy by. One that a sweep locked first has no name left: the next name.
    struct stat st {};
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.get(), &st) != 0 || !st.st_nlink)
      continue;
    Fd lock(::dup(fd.get()));
    if (lock.ok() && writeAll(fd.get(), bytes, 0) && fd.close())
      return Copy{staged.native(), {nullptr, [held = lock.release()](void*) { ::close(held); }}};
    ::unlink(staged.c_str());
    return std::nullopt;
  }
  return std::nullopt;
}

void removeStaleCopies(const FileName& file) {
  const fs::path target = finalTarget(file);  // where createBeside puts them
  DIR* folder = ::opendir(target.has_parent_path() ? target.parent_path().c_str() : ".");
  if (!folder) return;
  while (const dirent* entry = ::readdir(folder)) {
    if (!isStagedCopyOf(entry->d_name, target.filename().native())) continue;
    Fd copy(::openat(::dirfd(folder), entry->d_name, O_RDONLY | O_CLOEXEC));
    if (copy.ok() && ::flock(copy.get(), LOCK_EX | LOCK_NB) == 0)  // held by none
      ::unlinkat(::dirfd(folder), entry->d_name, 0);
  }
  ::closedir(folder);
}

FileName temporaryFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

bool flush(const FileName& file) {
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  return fd.ok() && ::fsync(fd.get()) == 0;
}

bool replace(Copy& staged, const FileName& target, bool durable) {
  const fs::path real = finalTarget(target);
  struct stat old {};
  if (::stat(real.c_str(), &old) == 0) {
    // A rename would replace a read-only file; the profile API refuses to.
    if (!writable(real)) return false;
    if (::chmod(staged.name.c_str(), old.st_mode & 07777) != 0) return false;
  }
  if (::rename(staged.name.c_str(), real.c_str()) != 0) return false;
  staged.hold.reset();  // renamed, it is no copy any more
  // The rename is done and cannot be undone: a folder that will not sync is
  // left to the system's own write-back, and the target is the staged file.
  if (durable) syncFolderOf(real);
  return true;
}

Overwritten overwrite(const FileName& target, std::string_view bytes, std::string_view original) {
  if (!writable(target)) return Overwritten::kUntouched;
  Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
  if (!fd.ok()) return Overwritten::kUntouched;
  const auto endAt = [&](std::size_t size) { return ::ftruncate(fd.get(), off_t(size)) == 0; };
  // Room first: a full disk fails here, before the file has changed.
  if (bytes.size() > original.size() && ::posix_fallocate(fd.get(), 0, off_t(bytes.size())) != 0)
    return endAt(original.size()) ? Overwritten::kUntouched : Overwritten::kDamaged;
  if (writeAll(fd.get(), bytes, 0) && endAt(bytes.size()) && ::fsync(fd.get()) == 0 && fd.close())
    return Overwritten::kDone;
  return writeAll(fd.get(), original, 0) && endAt(original.size()) && ::fsync(fd.get()) == 0
             ? Overwritten::kUntouched
             : Overwritten::kDamaged;
}

void remove(Copy& copy) {
  ::unlink(copy.name.c_str());
  copy.hold.reset();
}

}  // namespace zemlo::files
