// The portable profile store on a real file holding the input's bytes. A hash
// of the input picks, so that the corpus stays plain settings files: one of
// the editor's keys and a value of the kind the editor writes; now and then a
// whole load and save instead, a missing file, or a settings file that is a
// symbolic link to the real one. The store must read and write exactly what
// the in-memory text rules give, leave no temporary file behind and keep a
// link a link.
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
  const zemlo::fuzz::StorePath& path() const override { return path_; }
  const std::string& bytes() const { return bytes_; }

  std::vector<std::pair<std::string, std::string>> keys;  // every (section, key) written

private:
  std::string bytes_;
  zemlo::fuzz::StorePath path_{"config.cfg"};
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
const char* const kValues[] = {"0",      "1",           "512",        "-3",
                               "0.4",    "-0.035",      "1E-5",       "1.5E20",
                               "1E15",   "-2147483648", "2147483647", "1.79769313486232E308",
                               "1234.5", "-0.49",       "0.0001",     "3"};

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
  uint64_t pick = 14695981039346656037u;  // FNV-1a of the input
  for (size_t i = 0; i < size; ++i) pick = (pick ^ data[i]) * 1099511628211u;
  const bool exists = (pick >> 40) % 16 != 0;
  const bool linked = exists && (pick >> 44) % 4 == 0;
  const bool wholeSave = (pick >> 48) % 128 == 0;
  const bool listDirectory = (pick >> 52) % 8 == 0;

  const fs::path settingsFile = workDir / "config.cfg";
  const fs::path linkedFile = workDir / "real.cfg";
  const fs::path realFile = linked ? linkedFile : settingsFile;
  std::error_code ec;
  fs::remove(settingsFile, ec);
  fs::remove(linkedFile, ec);
  const std::string original(reinterpret_cast<const char*>(data), size);
  if (exists) writeFile(realFile, original);
  if (linked) fs::create_symlink("real.cfg", settingsFile);

  const auto& [section, key] = editorKeys[pick % editorKeys.size()];
  const std::string value = kValues[(pick >> 8) % std::size(kValues)];
  const std::string where = "[" + section + "] " + key;
  const std::unique_ptr<zemlo::ProfileStore> store = zemlo::openPortableProfile(settingsFile);

  // A read sees what the text rules see, and creates nothing.
  const std::string read = store->read(section, key);
  const std::string expectedRead = exists ? zemlo::iniLookup(original, section, key) : "";
  ZEMLO_FUZZ_CHECK(read == expectedRead, where + " reads " + printable(read) + ", expected " +
                                             printable(expectedRead) +
                                             "\nfile: " + printable(original));
  if (!exists) {
    ZEMLO_FUZZ_CHECK(!fs::exists(fs::symlink_status(settingsFile)), "a read created the file");
  }

  std::string expected;
  if (wholeSave) {
    // The editor's Save right after loading: the whole record, key by key.
    MemoryStore memory(exists ? original : "");
    zemlo::Settings fromFile{};
    zemlo::Settings fromMemory{};
    zemlo::loadSettings(fromFile, *store);
    zemlo::loadSettings(fromMemory, memory);
    zemlo::saveSettings(fromFile, *store);
    zemlo::saveSettings(fromMemory, memory);
    expected = memory.bytes();
  } else {
    ZEMLO_FUZZ_CHECK(store->write(section, key, value), "writing " + where + " failed");
    expected = zemlo::iniAssign(exists ? original : "", section, key, value);
  }
  const std::string back = store->read(section, key);
  const std::string expectedBack = zemlo::iniLookup(expected, section, key);
  ZEMLO_FUZZ_CHECK(back == expectedBack, where + " reads " + printable(back) +
                                             " after the write, expected " +
                                             printable(expectedBack));

  const std::string written = fileBytes(realFile);
  ZEMLO_FUZZ_CHECK(written == expected, "the file holds\n" + printable(written) + "\nexpected\n" +
                                            printable(expected) + "\nbefore\n" +
                                            printable(original));
  if (linked) {
    ZEMLO_FUZZ_CHECK(fs::is_symlink(settingsFile), "a write replaced the link");
  }
  if (listDirectory) {
    std::string names;
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(workDir)) {
      names += " " + entry.path().filename().string();
      ++entries;
    }
    ZEMLO_FUZZ_CHECK(entries == (linked ? 2u : 1u), "the directory holds" + names);
  }
  return 0;
}
