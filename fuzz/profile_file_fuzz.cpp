// The portable profile store on a real file whose bytes are the input (after
// two selector bytes). An empty input means no file at all. The first byte
// picks one of the editor's keys and, now and then, a whole load and save; the
// second picks the value written and whether the settings file is a symbolic
// link to the real one. The store must read and write exactly what the
// in-memory text rules give, leave no temporary file behind and keep a link
// a link.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "settings/ini_text.h"
#include "settings/profile_store.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace {

using zemlo::fuzz::printable;

// A profile store on bytes in memory, the reference for the file store.
class MemoryStore final : public zemlo::ProfileStore {
public:
  explicit MemoryStore(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string read(std::string_view section, std::string_view key) const override {
    return zemlo::iniLookup(bytes_, section, key);
  }
  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    bytes_ = zemlo::iniAssign(bytes_, section, key, value);
    keys.push_back({std::string(section), std::string(key)});
    return true;
  }
  const fs::path& path() const override { return path_; }
  const std::string& bytes() const { return bytes_; }

  std::vector<std::pair<std::string, std::string>> keys;  // every (section, key) written

private:
  std::string bytes_;
  fs::path path_{"config.cfg"};
};

fs::path workDir;
std::vector<std::pair<std::string, std::string>> editorKeys;  // in save order

void removeWorkDir() {
  std::error_code ec;
  if (!workDir.empty()) fs::remove_all(workDir, ec);
}

std::string fileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return std::move(out).str();
}

void writeFile(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    std::abort();
  }
}

// The values the editor writes look like these.
const char* const kValues[] = {"0",       "1",           "512",        "-3",
                               "0.4",     "-0.035",      "1E-5",       "1.5E20",
                               "1E15",    "-2147483648", "2147483647", "1.79769313486232E308",
                               "1234.5",  "-0.49",       "0.0001",     "3"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // tmpfs when there is one: the store syncs every write.
  std::string base = "/dev/shm";
  if (::access(base.c_str(), W_OK) != 0) {
    const char* tmp = std::getenv("TMPDIR");
    base = tmp && *tmp ? tmp : "/tmp";
  }
  std::string pattern = base + "/zemlo-fuzz-XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  workDir = pattern;
  std::atexit(removeWorkDir);

  // The editor's keys, in the order a save writes them.
  MemoryStore recorder("");
  zemlo::Settings record{};
  zemlo::saveSettings(record, recorder);
  editorKeys = recorder.keys;
  if (editorKeys.size() != 42) {
    std::fprintf(stderr, "a save wrote %zu keys\n", editorKeys.size());
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path settingsFile = workDir / "config.cfg";
  const fs::path linkedFile = workDir / "real.cfg";
  std::error_code ec;
  fs::remove(settingsFile, ec);
  fs::remove(linkedFile, ec);

  const unsigned pick = size > 0 ? data[0] : 0;
  const unsigned valuePick = size > 1 ? data[1] : 0;
  const bool exists = size > 0;
  const bool linked = exists && (valuePick & 0x80) != 0;
  const std::string original =
      size > 2 ? std::string(reinterpret_cast<const char*>(data) + 2, size - 2) : std::string();
  const fs::path realFile = linked ? linkedFile : settingsFile;
  if (exists) writeFile(realFile, original);
  if (linked) fs::create_symlink("real.cfg", settingsFile);

  const auto& [section, key] = editorKeys[pick % editorKeys.size()];
  const std::string value = kValues[valuePick % std::size(kValues)];
  const std::string where = "[" + section + "] " + key;
  const std::unique_ptr<zemlo::ProfileStore> store = zemlo::openPortableProfile(settingsFile);

  // A read sees what the text rules see, and touches nothing.
  const std::string read = store->read(section, key);
  const std::string expectedRead = zemlo::iniLookup(original, section, key);
  ZEMLO_FUZZ_CHECK(read == expectedRead, where + " reads " + printable(read) + ", expected " +
                                             printable(expectedRead) + "\nfile: " +
                                             printable(original));
  ZEMLO_FUZZ_CHECK(fs::exists(fs::symlink_status(settingsFile)) == exists,
                   std::string("a read ") + (exists ? "removed" : "created") + " the file");

  std::string expected;
  if (pick >= 248) {
    // The editor's Save right after loading: the whole record, key by key.
    MemoryStore memory(original);
    zemlo::Settings fromFile{};
    zemlo::Settings fromMemory{};
    zemlo::loadSettings(fromFile, *store);
    zemlo::loadSettings(fromMemory, memory);
    zemlo::saveSettings(fromFile, *store);
    zemlo::saveSettings(fromMemory, memory);
    expected = memory.bytes();
  } else {
    ZEMLO_FUZZ_CHECK(store->write(section, key, value), "writing " + where + " failed");
    expected = zemlo::iniAssign(original, section, key, value);
    const std::string back = store->read(section, key);
    ZEMLO_FUZZ_CHECK(back == value, where + " reads " + printable(back) + " after writing " +
                                        printable(value));
  }

  const std::string written = fileBytes(realFile);
  ZEMLO_FUZZ_CHECK(written == expected, "the file holds\n" + printable(written) +
                                            "\nexpected\n" + printable(expected) +
                                            "\nbefore\n" + printable(original));
  if (linked) {
    ZEMLO_FUZZ_CHECK(fs::is_symlink(settingsFile), "a write replaced the link");
  }
  std::size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(workDir)) {
    const std::string name = entry.path().filename().string();
    ZEMLO_FUZZ_CHECK(name == "config.cfg" || name == "real.cfg", "left behind: " + name);
    ++entries;
  }
  ZEMLO_FUZZ_CHECK(entries == (linked ? 2u : 1u), std::to_string(entries) + " files");
  return 0;
}
