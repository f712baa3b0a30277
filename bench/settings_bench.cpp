// Load and save timings of config.cfg beside this program, with the platform's
// store (natively the portable one, under Wine the Windows profile API): the
// editor's save (readINI + writeINI, staged) against writing the keys straight
// into the file, as the editor did before its saves were staged.
// Usage: settings_bench; prints one line per figure.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "settings/profile_store.h"
#include "settings/settings.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Median time of `body`; `prepare` runs before each timing, outside it.
double medianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& body) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto start = Clock::now();
    body();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The same keys with a value every save must replace: "0x10" reads as 16 for
// flags and integers (written back as "1" and "16") and as no real at all.
std::string everyValueStale(const std::string& file) {
  std::string out;
  std::size_t pos = 0;
  while (pos < file.size()) {
    std::size_t eol = file.find("\r\n", pos);
    if (eol == std::string::npos) eol = file.size();
    const std::string line = file.substr(pos, eol - pos);
    const std::size_t eq = line.find('=');
    out += eq == std::string::npos ? line : line.substr(0, eq + 1) + "0x10";
    out += "\r\n";
    pos = eol + 2;
  }
  return out;
}

std::string ballast(std::size_t bytes) {
  std::string text = "[Ballast]\r\n";
  for (int i = 0; text.size() < bytes; ++i)
    text += "key" + std::to_string(i) + "=" + std::string(60, 'v') + "\r\n";
  return text;
}

void staged() {
  zemlo::readINI();
  zemlo::writeINI();
}

void direct() {
  zemlo::Settings record{};
  const auto store = zemlo::openProfile(zemlo::settingsFilePath());
  zemlo::loadSettings(record, *store);
  zemlo::saveSettings(record, *store);
}

void compare(const char* what, int runs, const std::function<void()>& prepare) {
  const double a = medianMs(runs, prepare, staged), b = medianMs(runs, prepare, direct);
  std::printf("%s: median %.2f ms (straight into the file: %.2f ms)\n", what, a, b);
}

}  // namespace

int main() {
  const fs::path file = zemlo::settingsFilePath();
  if (fs::exists(file)) {
    std::fprintf(stderr, "%s exists: run from a folder of its own\n", file.string().c_str());
    return 1;
  }
  // A complete 42-key file, as a save writes it.
  staged();
  const std::string saved = readFile(file), stale = everyValueStale(saved);

  compare("load + save of the 42-key file, nothing changed (the usual Save)", 100, [] {});
  compare("load + save of the 42-key file, every value changed", 100,
          [&] { writeFile(file, stale); });
  compare("first save, no file yet", 100, [&] { fs::remove(file); });
  for (const std::size_t size : {std::size_t{1} << 20, std::size_t{10} << 20}) {
    const std::string big = stale + ballast(size - stale.size());
    const std::string what =
        "load + save with a " + std::to_string(size >> 20) + " MiB file, every value changed";
    compare(what.c_str(), 3, [&] { writeFile(file, big); });
  }
  fs::remove(file);
  return 0;
}
