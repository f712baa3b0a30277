// Load and save timings of the settings file, natively with the portable store.
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
  for (int i = 0; text.size() < bytes; ++i) text += "key" + std::to_string(i) + "=" + std::string(60, 'v') + "\r\n";
  return text;
}

void loadAndSave(const fs::path& file) {
  zemlo::Settings record{};
  auto store = zemlo::openPortableProfile(file);
  zemlo::loadSettings(record, *store);
  zemlo::saveSettings(record, *store);
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / "zemlo-bench";
  fs::create_directories(dir);
  const fs::path file = dir / "config.cfg";

  // A complete 42-key file, as a save writes it.
  fs::remove(file);
  loadAndSave(file);
  const std::string saved = readFile(file);
  const std::string stale = everyValueStale(saved);
  const auto keep = [] {};

  std::printf("load + save of the 42-key file, nothing changed: median %.3f ms\n",
              medianMs(200, keep, [&] { loadAndSave(file); }));
  std::printf("load + save of the 42-key file, every value changed: median %.3f ms\n",
              medianMs(200, [&] { writeFile(file, stale); }, [&] { loadAndSave(file); }));
  std::printf("first save, no file yet: median %.3f ms\n",
              medianMs(200, [&] { fs::remove(file); }, [&] { loadAndSave(file); }));

  double perSize[2] = {};
  const std::size_t sizes[2] = {1u << 20, 10u << 20};
  for (int i = 0; i < 2; ++i) {
    const std::string big = stale + ballast(sizes[i] - stale.size());
    perSize[i] = medianMs(5, [&] { writeFile(file, big); }, [&] { loadAndSave(file); });
    std::printf("load + save with a %zu MiB file, every value changed: median %.1f ms\n", sizes[i] >> 20,
                perSize[i]);
  }
  std::printf("10 MiB / 1 MiB time ratio: %.1f (linear: about 10)\n", perSize[1] / perSize[0]);
  fs::remove_all(dir);
  return 0;
}
