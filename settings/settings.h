// The settings record shared by the window and the settings file, and the two
// operations that move it between memory and config.cfg.
#pragma once

#include <cstdint>

#include "settings/profile_store.h"
#include "settings/setting_list.h"

namespace zemlo {

// The field types of the list's types.
namespace setting {
using Flag = uint8_t;  // 0 or 1
using Integer = int32_t;
using Real = double;
}  // namespace setting

// One field per key of config.cfg, in the add-on's declaration order. No
// defaults here: the record starts zeroed and readINI applies the defaults.
struct Settings {
#define ZEMLO_FIELD(section, key, type, fallback) setting::type key;
  ZEMLO_SETTINGS(ZEMLO_FIELD, ZEMLO_RECORD_ORDER)
#undef ZEMLO_FIELD
};

// The one process-wide record. Zero-initialised static storage; lives for the run.
extern Settings settings;

// Every setting's default: the record a load of an empty file makes.
const Settings& defaultSettings();
// Loads every key into `record` (defaults for what is missing or unreadable).
void loadSettings(Settings& record, const ProfileStore& store);
// Writes every field of `record`, one write per key in file order. Throws
// WriteError naming the store's path at the first write that fails.
void saveSettings(const Settings& record, ProfileStore& store);

// config.cfg in the directory of the running executable, worked out afresh.
FileName settingsFilePath();

// The global record <-> config.cfg beside the executable. writeINI is all or
// nothing: it throws WriteError naming config.cfg and leaves the file as it
// was, or the file holds every key; a save that changes nothing writes nothing.
void readINI();
void writeINI();

}  // namespace zemlo
