// Load and save timings of the settings file, natively with the portable store.
// Usage: settings_bench; prints one line per figure.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "settings/profile_store.h"
#include "settings/settings.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double medianMs(int runs, const std::function<void()>& body) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    body();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ballast(std::size_t bytes) {
  std::string text = "[Ballast]\r\n";
  for (int i = 0; text.size() < bytes; ++i) text += "key" + std::to_string(i) + "=" + std::string(60, 'v') + "\r\n";
  return text;
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / "zemlo-bench";
  fs::create_directories(dir);
  const fs::path file = dir / "config.cfg";

  // A complete 42-key file, as a save writes it.
  fs::remove(file);
  {
    zemlo::Settings record{};
    auto store = zemlo::openPortableProfile(file);
    zemlo::loadSettings(record, *store);
    zemlo::saveSettings(record, *store);
  }
  const double roundTrip = medianMs(200, [&] {
    zemlo::Settings record{};
    auto store = zemlo::openPortableProfile(file);
    zemlo::loadSettings(record, *store);
    zemlo::saveSettings(record, *store);
  });
  std::printf("load + save of the 42-key file: median %.3f ms\n", roundTrip);

  double perSize[2] = {};
  const std::size_t sizes[2] = {1u << 20, 10u << 20};
  for (int i = 0; i < 2; ++i) {
    const std::string bytes = ballast(sizes[i]);
    perSize[i] = medianMs(5, [&] {
      writeFile(file, bytes);
      zemlo::Settings record{};
      auto store = zemlo::openPortableProfile(file);
      zemlo::loadSettings(record, *store);
      zemlo::saveSettings(record, *store);
    });
    std::printf("load + save with a %zu MiB file: median %.1f ms\n", sizes[i] >> 20, perSize[i]);
  }
  std::printf("10 MiB / 1 MiB time ratio: %.1f (linear: about 10)\n", perSize[1] / perSize[0]);
  fs::remove_all(dir);
  return 0;
}
