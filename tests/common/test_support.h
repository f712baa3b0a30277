// Helpers shared by the tests: scratch directories, whole-file I/O, the
// profile stores to run a suite through, and the files and faults of players.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "settings/profile_store.h"

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

// True when this user may write `path` now: open an existing file for
// writing, or make a new file in a folder. Root writes read-only ones anyway,
// so the tests of those faults skip unless this says false.
bool writableForMe(const std::filesystem::path& path);

// A player's config.cfg: the editor's sections first, with values every save
// rewrites, then `ownLines` lines of the player's own.
std::string playersConfig(int ownLines);

// A profile store to run a suite through: the portable one everywhere, and on
// Windows the profile API as well.
struct Backend {
  const char* name;
  std::unique_ptr<ProfileStore> (*open)(FileName);
  // The portable store changes only the lines it writes. The Windows profile
  // API rewrites the whole file (blank lines dropped, blanks around '='
  // removed, CRLF everywhere), so exact bytes are asked only of the former,
  // except where the expected file is already in that rewritten form.
  bool preservesBytes;
};

inline const Backend kBackends[] = {
    {"Portable", &openPortableProfile, true},
#ifdef _WIN32
    {"Win32", &openProfile, false},
#endif
};

inline void PrintTo(const Backend& backend, std::ostream* os) { *os << backend.name; }

// The name of a parameterised case: its own name, or its store's and its own
// ("Portable_Empty") for a store and a case.
template <typename Case>
std::string caseName(const Case& c) {
  return std::string(c.name);
}
template <typename Case>
std::string caseName(const std::tuple<Backend, Case>& p) {
  return std::string(std::get<0>(p).name) + "_" + std::string(std::get<1>(p).name);
}
// The last argument of INSTANTIATE_TEST_SUITE_P for such cases.
inline constexpr auto kCaseName = [](const auto& info) { return caseName(info.param); };

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
