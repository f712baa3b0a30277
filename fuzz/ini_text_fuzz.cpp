// A settings file of arbitrary bytes, read and written through iniLookup and
// iniAssign, the text rules of the profile store. A hash of the input picks
// what to do, so that the corpus stays plain settings files:
// - most runs write one of the editor's keys (one of the values the editor
//   writes) and check that the file changed exactly as the write rules say,
//   that the key then reads as written, that the lines the editor does not
//   own survive in order, that every other key reads as before, and that
//   writing the same value again changes nothing;
// - either way the result must pass the check that judges a staged save;
// - one run in 128 does the editor's whole Save right after its load
//   (loadSettings, then saveSettings of what was loaded) through an in-memory
//   store that checks every read and write the same way, then checks that the
//   saved file reads back as written and that saving it again changes no byte.
// Reads are compared with an independent reading of the file throughout.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "settings/ini_text.h"
#include "settings/profile_store.h"
#include "settings/save_check.h"
#include "settings/settings.h"

namespace {

using zemlo::fuzz::printable;

// One write, checked against the write rules and read back.
std::string assignChecked(const std::string& before, std::string_view section, std::string_view key,
                          std::string_view value) {
  std::string after = zemlo::iniAssign(before, section, key, value);
  const std::string expected = zemlo::fuzz::expectedAfterWrite(before, section, key, value);
  ZEMLO_FUZZ_CHECK(after == expected,
                   "writing [" + std::string(section) + "] " + std::string(key) + "=" +
                       std::string(value) + "\nbefore:   " + printable(before) +
                       "\ngot:      " + printable(after) + "\nexpected: " + printable(expected));
  const std::string back = zemlo::iniLookup(after, section, key);
  ZEMLO_FUZZ_CHECK(back == value, "[" + std::string(section) + "] " + std::string(key) + " reads " +
                                      printable(back) + " right after writing " + printable(value) +
                                      "\nfile: " + printable(after));
  return after;
}

// A read, checked against the independent reading.
std::string lookupChecked(const std::string& bytes, const zemlo::fuzz::Readable& readable,
                          std::string_view section, std::string_view key) {
  std::string value = zemlo::iniLookup(bytes, section, key);
  const std::string_view expected = readable.lookup(section, key);
  ZEMLO_FUZZ_CHECK(value == expected, "[" + std::string(section) + "] " + std::string(key) +
                                          " reads " + printable(value) + ", expected " +
                                          printable(expected) + "\nfile: " + printable(bytes));
  return value;
}

class MemoryStore final : public zemlo::ProfileStore {
public:
  explicit MemoryStore(std::string bytes) : bytes_(std::move(bytes)) {}

  std::string read(std::string_view section, std::string_view key) const override {
    if (!readable_) readable_ = zemlo::fuzz::readableOf(bytes_);
    return lookupChecked(bytes_, *readable_, section, key);
  }

  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    bytes_ = assignChecked(bytes_, section, key, value);
    readable_.reset();
    writes_.push_back({std::string(section), std::string(key), std::string(value)});
    return true;
  }

  const zemlo::fuzz::StorePath& path() const override { return path_; }

  const std::string& bytes() const { return bytes_; }
  const std::vector<zemlo::fuzz::Write>& writes() const { return writes_; }
  void forgetWrites() { writes_.clear(); }

private:
  std::string bytes_;
  std::vector<zemlo::fuzz::Write> writes_;
  mutable std::optional<zemlo::fuzz::Readable> readable_;
  zemlo::fuzz::StorePath path_{"config.cfg"};
};

// The editor's keys in the order a save writes them, taken from a save.
const std::vector<zemlo::fuzz::Write>& editorKeys() {
  static const std::vector<zemlo::fuzz::Write> keys = [] {
    MemoryStore recorder("");
    zemlo::Settings record{};
    zemlo::saveSettings(record, recorder);
    return recorder.writes();
  }();
  return keys;
}

// Texts of the kinds the editor writes.
const char* const kValues[] = {
    "0",    "1",     "512",         "-3", "0.4",    "-0.035", "1E-5", "1.5E20",
    "1E15", "-0.49", "-2147483648", "3",  "1234.5", "0.0001", "150",  "1.79769313486232E308"};

// A file changed by the write rules always passes the check that judges a
// staged save: what the rules do is what the check must accept. Not for a file
// marked UTF-16: the check reads it as text, the portable rules edit its bytes.
void checkJudgedWhole(const std::string& before, const std::string& after,
                      const std::vector<zemlo::fuzz::Write>& writes) {
  if (before.rfind("\xFF\xFE", 0) == 0 || before.rfind("\xFE\xFF", 0) == 0) return;
  std::vector<zemlo::Assignment> assignments;
  for (const auto& w : writes) assignments.push_back({w.section, w.key, w.value});
  ZEMLO_FUZZ_CHECK(zemlo::stagedCopyHoldsSave(before, after, assignments),
                   "a save by the write rules is judged incomplete\nbefore: " + printable(before) +
                       "\nafter:  " + printable(after));
}

uint64_t hashOf(const uint8_t* data, size_t size) {
  uint64_t h = 14695981039346656037u;  // FNV-1a
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211u;
  return h;
}

// Every key that can be read in `bytes` reads as the independent reading
// says, looked up by its spelling in the file and in upper case.
void checkAllLookups(const std::string& bytes) {
  const zemlo::fuzz::Readable readable = zemlo::fuzz::readableOf(bytes);
  std::size_t checked = 0;
  for (const auto& slot : readable.slots) {
    if (++checked > 64) break;  // plenty for any realistic file
    lookupChecked(bytes, readable, slot.section, slot.key);
    std::string section(slot.section);
    std::string key(slot.key);
    for (char& c : section) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    for (char& c : key) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    lookupChecked(bytes, readable, section, key);
  }
}

void writeOneKey(const std::string& original, uint64_t pick) {
  const auto& keys = editorKeys();
  const zemlo::fuzz::Write& target = keys[pick % keys.size()];
  const std::string value = kValues[(pick >> 8) % std::size(kValues)];

  const zemlo::fuzz::Readable before = zemlo::fuzz::readableOf(original);
  lookupChecked(original, before, target.section, target.key);
  const std::string after = assignChecked(original, target.section, target.key, value);
  zemlo::fuzz::checkSave(original, before, after, {{target.section, target.key, value}});
  checkJudgedWhole(original, after, {{target.section, target.key, value}});
  const std::string again = zemlo::iniAssign(after, target.section, target.key, value);
  ZEMLO_FUZZ_CHECK(again == after, "writing " + value + " twice changed the file\nonce:  " +
                                       printable(after) + "\ntwice: " + printable(again));
}

void loadAndSave(const std::string& original) {
  checkAllLookups(original);
  MemoryStore store(original);
  zemlo::Settings loaded{};
  zemlo::loadSettings(loaded, store);
  zemlo::saveSettings(loaded, store);
  ZEMLO_FUZZ_CHECK(store.writes().size() == editorKeys().size(),
                   "a save made " + std::to_string(store.writes().size()) + " writes");
  zemlo::fuzz::checkSave(original, zemlo::fuzz::readableOf(original), store.bytes(),
                         store.writes());
  checkAllLookups(store.bytes());
  checkJudgedWhole(original, store.bytes(), store.writes());

  // Reading the saved file gives the record that writes the same texts, and
  // saving it again leaves every byte as it is.
  const std::string saved = store.bytes();
  const std::vector<zemlo::fuzz::Write> first = store.writes();
  store.forgetWrites();
  zemlo::Settings reloaded{};
  zemlo::loadSettings(reloaded, store);
  zemlo::saveSettings(reloaded, store);
  const std::vector<zemlo::fuzz::Write>& second = store.writes();
  ZEMLO_FUZZ_CHECK(second.size() == first.size(),
                   "the second save made a different number of writes");
  for (std::size_t i = 0; i < first.size(); ++i) {
    ZEMLO_FUZZ_CHECK(first[i].value == second[i].value,
                     "[" + first[i].section + "] " + first[i].key + " was saved as " +
                         printable(first[i].value) + ", read back and saved as " +
                         printable(second[i].value));
  }
  ZEMLO_FUZZ_CHECK(store.bytes() == saved,
                   "a second save changed the file\nfirst:  " + printable(saved) +
                       "\nsecond: " + printable(store.bytes()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  const uint64_t pick = hashOf(data, size);
  if ((pick >> 32) % 128 == 0) {
    loadAndSave(original);
  } else {
    writeOneKey(original, pick);
  }
  return 0;
}
