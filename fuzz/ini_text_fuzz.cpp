// A settings file of arbitrary bytes, loaded and saved the way the editor does
// it (loadSettings, then saveSettings of what was loaded) through an in-memory
// profile store built on iniLookup and iniAssign:
// - every read returns what an independent reading of the file gives;
// - every write changes the file exactly as the write rules say;
// - over the whole save, the lines the editor does not own survive in order,
//   and reads of other sections and keys see what they saw before;
// - reading the saved file gives back what was written, and saving that again
//   changes no byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "settings/ini_text.h"
#include "settings/profile_store.h"
#include "settings/settings.h"

namespace {

using zemlo::fuzz::printable;

class MemoryStore final : public zemlo::ProfileStore {
public:
  explicit MemoryStore(std::string bytes) : bytes_(std::move(bytes)) {}

  std::string read(std::string_view section, std::string_view key) const override {
    std::string value = zemlo::iniLookup(bytes_, section, key);
    if (!readable_) readable_ = zemlo::fuzz::readableOf(bytes_);
    const std::string expected = readable_->lookup(section, key);
    ZEMLO_FUZZ_CHECK(value == expected, "[" + std::string(section) + "] " + std::string(key) +
                                            " reads " + printable(value) + ", expected " +
                                            printable(expected) + "\nfile: " + printable(bytes_));
    return value;
  }

  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    std::string after = zemlo::iniAssign(bytes_, section, key, value);
    const std::string expected = zemlo::fuzz::expectedAfterWrite(bytes_, section, key, value);
    ZEMLO_FUZZ_CHECK(after == expected, "writing [" + std::string(section) + "] " +
                                            std::string(key) + "=" + std::string(value) +
                                            "\nbefore:   " + printable(bytes_) +
                                            "\ngot:      " + printable(after) +
                                            "\nexpected: " + printable(expected));
    const std::string back = zemlo::iniLookup(after, section, key);
    ZEMLO_FUZZ_CHECK(back == value, "[" + std::string(section) + "] " + std::string(key) +
                                        " reads " + printable(back) + " right after writing " +
                                        printable(value) + "\nfile: " + printable(after));
    writes_.push_back({std::string(section), std::string(key), std::string(value)});
    bytes_ = std::move(after);
    readable_.reset();
    return true;
  }

  const std::filesystem::path& path() const override { return path_; }

  const std::string& bytes() const { return bytes_; }
  const std::vector<zemlo::fuzz::Write>& writes() const { return writes_; }
  void forgetWrites() { writes_.clear(); }

private:
  std::string bytes_;
  std::vector<zemlo::fuzz::Write> writes_;
  mutable std::optional<zemlo::fuzz::Readable> readable_;
  std::filesystem::path path_{"config.cfg"};
};

// Every key that can be read in `bytes`, looked up by its spelling in the file
// and in upper case, reads as the independent reading says.
void checkAllLookups(std::string_view bytes) {
  const zemlo::fuzz::Readable readable = zemlo::fuzz::readableOf(bytes);
  std::size_t checked = 0;
  for (const auto& [where, slot] : readable.slots) {
    if (++checked > 64) break;  // enough for any realistic file; keeps runs fast
    const std::string value = zemlo::iniLookup(bytes, slot.section, slot.key);
    ZEMLO_FUZZ_CHECK(value == slot.value, "[" + slot.section + "] " + slot.key + " reads " +
                                              printable(value) + ", expected " +
                                              printable(slot.value) + "\nfile: " + printable(bytes));
    std::string upperSection = slot.section;
    std::string upperKey = slot.key;
    for (char& c : upperSection) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    for (char& c : upperKey) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    const std::string upper = zemlo::iniLookup(bytes, upperSection, upperKey);
    ZEMLO_FUZZ_CHECK(upper == slot.value, "[" + upperSection + "] " + upperKey + " reads " +
                                              printable(upper) + ", expected " +
                                              printable(slot.value) + "\nfile: " + printable(bytes));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  checkAllLookups(original);

  // Load, then save what was loaded: the editor's Save right after its start.
  MemoryStore store(original);
  zemlo::Settings loaded{};
  zemlo::loadSettings(loaded, store);
  zemlo::saveSettings(loaded, store);
  ZEMLO_FUZZ_CHECK(store.writes().size() == 42,
                   "a save made " + std::to_string(store.writes().size()) + " writes");
  zemlo::fuzz::checkSave(original, store.bytes(), store.writes());
  checkAllLookups(store.bytes());

  // Reading the saved file gives the record that writes the same texts, and
  // saving it again leaves every byte as it is.
  const std::string saved = store.bytes();
  const std::vector<zemlo::fuzz::Write> first = store.writes();
  store.forgetWrites();
  zemlo::Settings reloaded{};
  zemlo::loadSettings(reloaded, store);
  zemlo::saveSettings(reloaded, store);
  const std::vector<zemlo::fuzz::Write>& second = store.writes();
  for (std::size_t i = 0; i < first.size() && i < second.size(); ++i) {
    ZEMLO_FUZZ_CHECK(first[i].value == second[i].value,
                     "[" + first[i].section + "] " + first[i].key + " was saved as " +
                         printable(first[i].value) + ", read back and saved as " +
                         printable(second[i].value));
  }
  ZEMLO_FUZZ_CHECK(store.bytes() == saved, "a second save changed the file\nfirst:  " +
                                               printable(saved) + "\nsecond: " +
                                               printable(store.bytes()));
  return 0;
}
