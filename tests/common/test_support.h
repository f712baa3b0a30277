// Helpers shared by the tests: scratch directories and whole-file I/O.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace zemlo::test {

// A fresh empty directory under the system temp folder, removed on destruction.
class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return dir_; }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

private:
  std::filesystem::path dir_;
};

// The names of the files in `dir`, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& dir);

// Exact bytes; readBytes of a missing file is empty.
std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);

// Switches the C and C++ locales (and on Windows the thread/user number format)
// to one with a comma decimal separator for its lifetime. Returns false from
// active() when no such locale exists on this machine.
class CommaLocale {
public:
  CommaLocale();
  ~CommaLocale();
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

private:
  bool active_ = false;
  std::string savedC_;
};

#ifndef _WIN32
// Lowers the largest file this process may write, the way a full disk stops a
// write part way; a write past it fails instead of raising SIGXFSZ.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return active_; }

private:
  rlimit saved_{};
  void (*handler_)(int) = nullptr;
  bool active_ = false;
};
#endif

}  // namespace zemlo::test
