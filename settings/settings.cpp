#include "settings/settings.h"

#include <string>
#include <string_view>

#include "settings/profile_store.h"
#include "settings/staged_save.h"
#include "settings/value_text.h"

namespace zemlo {

Settings settings;

namespace {

// Every setting's default, named in the record's order as designated initialisers must be.
constexpr Settings kDefaults = {
#define ZEMLO_DEFAULT(section, key, type, fallback) .key = fallback,
    ZEMLO_SETTINGS(ZEMLO_DEFAULT, ZEMLO_RECORD_ORDER)
#undef ZEMLO_DEFAULT
};

// A key of config.cfg: where it lives, and its field read from the key's text and
// written as text, by the field's type (readFlagText and formatFlag, and so on).
struct Key {
  const char* section;
  const char* name;
  void (*read)(Settings& record, std::string_view text);
  std::string (*text)(const Settings& record);
};

constexpr Key kKeys[] = {
#define ZEMLO_KEY(section, key, type, fallback)                                               \
  {#section, #key,                                                                            \
   [](Settings& r, std::string_view text) { r.key = read##type##Text(text, kDefaults.key); }, \
   [](const Settings& r) { return format##type(r.key); }},
    ZEMLO_SETTINGS(ZEMLO_KEY, ZEMLO_FILE_ORDER)
#undef ZEMLO_KEY
};

// Only a PAIR can set the record's order apart from the file's: one, no more.
#define ZEMLO_NO_KEY(section, key, type, fallback)
#define ZEMLO_ONE_PAIR(KEY, first, second) +1
static_assert(0 ZEMLO_SETTINGS(ZEMLO_NO_KEY, ZEMLO_ONE_PAIR) == 1, "one pair in another order");

}  // namespace

void loadSettings(Settings& record, const ProfileStore& store) {
  for (const Key& key : kKeys) key.read(record, store.read(key.section, key.name));
}

void saveSettings(const Settings& record, ProfileStore& store) {
  // One write per key: a failure stops the save there, the keys before it written.
  for (const Key& key : kKeys)
    if (!store.write(key.section, key.name, key.text(record))) throw WriteError(store.path());
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
