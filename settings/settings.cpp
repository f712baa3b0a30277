#include "settings/settings.h"

#include <cstddef>
#include <iterator>
#include <string_view>
#include <type_traits>

#include "settings/profile_store.h"
#include "settings/staged_save.h"
#include "settings/value_text.h"

namespace zemlo {

Settings settings;

namespace {

enum class Kind { Flag, Integer, Real };

// One key of config.cfg, a row of the key table: where it lives, how it reads and writes.
struct KeyRow {
  const char* section;
  const char* key;
  Kind kind;
  std::size_t offset;  // of the field in Settings
};

// File order, which is the order of every load and save.
constexpr KeyRow kKeys[] = {
#define ZEMLO_KEY(section, key, type, fallback) \
  {#section, #key, Kind::type, offsetof(Settings, key)},
    ZEMLO_SETTINGS(ZEMLO_KEY, ZEMLO_FILE_ORDER)
#undef ZEMLO_KEY
};

// The record's order is the file's but for one pair: one inversion, no more.
constexpr int orderInversions() {
  int inversions = 0;
  for (std::size_t i = 0; i < std::size(kKeys); ++i)
    for (std::size_t j = i + 1; j < std::size(kKeys); ++j)
      inversions += kKeys[i].offset > kKeys[j].offset;
  return inversions;
}
static_assert(orderInversions() == 1,
              "the record's order differs from the file's at one pair only");

// The row's field in `record` (a Settings or a const Settings).
template <typename T, typename Record>
auto& field(Record& record, const KeyRow& row) {
  using Field = std::conditional_t<std::is_const_v<Record>, const T, T>;
  using Byte = std::conditional_t<std::is_const_v<Record>, const char, char>;
  return *reinterpret_cast<Field*>(reinterpret_cast<Byte*>(&record) + row.offset);
}

// Every setting's default, named in the record's order as designated initialisers must be.
constexpr Settings kDefaults = {
#define ZEMLO_DEFAULT(section, key, type, fallback) .key = fallback,
    ZEMLO_SETTINGS(ZEMLO_DEFAULT, ZEMLO_RECORD_ORDER)
#undef ZEMLO_DEFAULT
};

// The row's field of `record` as `read` makes it of `text`, the default where it does not read.
template <typename T, typename Read>
void load(Settings& record, const KeyRow& row, std::string_view text, Read read) {
  field<T>(record, row) = read(text, field<T>(kDefaults, row));
}

}  // namespace

void loadSettings(Settings& record, const ProfileStore& store) {
  for (const KeyRow& row : kKeys) {
    const std::string text = store.read(row.section, row.key);
    switch (row.kind) {
      case Kind::Flag: load<setting::Flag>(record, row, text, readFlagText); break;
      case Kind::Integer: load<setting::Integer>(record, row, text, readIntegerText); break;
      case Kind::Real: load<setting::Real>(record, row, text, readRealText); break;
    }
  }
}

void saveSettings(const Settings& record, ProfileStore& store) {
  // One write per key: a failure stops the save there, the keys before it written.
  for (const KeyRow& row : kKeys) {
    std::string text;
    switch (row.kind) {
      case Kind::Flag: text = formatFlag(field<setting::Flag>(record, row) != 0); break;
      case Kind::Integer: text = formatInteger(field<setting::Integer>(record, row)); break;
      case Kind::Real: text = formatReal(field<setting::Real>(record, row)); break;
    }
    if (!store.write(row.section, row.key, text)) throw WriteError(store.path());
  }
}

const Settings& defaultSettings() { return kDefaults; }

void readINI() {
  const auto store = openProfile(settingsFilePath());
  loadSettings(settings, *store);
}

void writeINI() {
  // All or nothing: the keys go to a staged copy that replaces config.cfg only
  // once it holds them all, so a failure at any key leaves the file as it was.
  StagedSave file(settingsFilePath());
  saveSettings(settings, file);
  file.commit();
}

}  // namespace zemlo
