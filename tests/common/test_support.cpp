#include "common/test_support.h"

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <locale>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace zemlo::test {

ScratchDir::ScratchDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("zemlo-test-" + std::to_string(rd()));
    if (fs::create_directory(candidate)) {
      dir_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch directory");
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(dir_, ignored);
}

std::vector<std::string> namesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

bool writableForMe(const fs::path& path) {
  if (!fs::is_directory(path))
    return std::ofstream(path, std::ios::binary | std::ios::app).is_open();
  const fs::path probe = path / "write-probe.tmp";
  if (!std::ofstream(probe, std::ios::binary).is_open()) return false;
  fs::remove(probe);
  return true;
}

std::string playersConfig(int ownLines) {
  std::string text =
      "[General]\r\nshowFPS=yes\r\n[Postprocessing]\r\nGlare=yes\r\n[Reflections]\r\nsizeX="
      "0x100\r\n";
  text += "; the player's own\r\n[Player]\r\n";
  for (int i = 0; i < ownLines; ++i)
    text += "note" + std::to_string(i) + "=line of the player's own, kept\r\n";
  return text;
}

CommaLocale::CommaLocale() {
  savedC_ = std::setlocale(LC_ALL, nullptr);
  static const char* const candidates[] = {"ru_RU.UTF-8", "ru_RU.utf8",
                                           "de_DE.UTF-8", "Russian_Russia.1251",
                                           "ru-RU",       "German_Germany.1252"};
  for (const char* name : candidates) {
    if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
      active_ = true;
      try {
        std::locale::global(std::locale(name));
      } catch (const std::exception&) {
        // The C locale alone is enough for the C library's conversions.
      }
      return;
    }
  }
  std::setlocale(LC_ALL, savedC_.c_str());
}

CommaLocale::~CommaLocale() {
  std::setlocale(LC_ALL, savedC_.c_str());
  std::locale::global(std::locale::classic());
}

#ifndef _WIN32
FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  getrlimit(RLIMIT_FSIZE, &saved_);
  handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit lowered = saved_;
  lowered.rlim_cur = bytes;
  active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &saved_);
  std::signal(SIGXFSZ, handler_);
}
#endif

}  // namespace zemlo::test
