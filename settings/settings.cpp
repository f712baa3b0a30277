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

// One key of config.cfg, a row of the key table: where it lives, how it reads and writes, its
// default.
struct KeyRow {
  const char* section;
  const char* key;
  Kind kind;
  std::size_t offset;  // of the field in Settings
  double fallback;     // flags and integers are exact in a double
};

#define ZEMLO_KEY(section, field, kind, fallback) \
  KeyRow { section, #field, Kind::kind, offsetof(Settings, field), fallback }

// File order, which is the order of every load and save.
constexpr KeyRow kKeys[] = {
    ZEMLO_KEY("General", showFPS, Flag, 0),
    ZEMLO_KEY("General", showStat, Flag, 0),
    ZEMLO_KEY("General", useTrilinear, Flag, 1),
    ZEMLO_KEY("General", forceNoNightShader, Flag, 0),
    ZEMLO_KEY("General", sharpenUI, Flag, 1),
    ZEMLO_KEY("General", debugOutput, Flag, 0),
    ZEMLO_KEY("General", handlePrintScreen, Flag, 1),
    ZEMLO_KEY("General", LODbias0, Real, 0.0),
    ZEMLO_KEY("General", LODbias1, Real, 0.0),
    ZEMLO_KEY("Postprocessing", UsePostProcessing, Flag, 1),
    ZEMLO_KEY("Postprocessing", Force32bitPostProcessing, Flag, 0),
    ZEMLO_KEY("Postprocessing", DisablePPForMap, Flag, 1),
    ZEMLO_KEY("Postprocessing", UseSpecialNVGPP, Flag, 1),
    ZEMLO_KEY("Postprocessing", HardLight, Flag, 1),
    ZEMLO_KEY("Postprocessing", HardLightSR, Real, 0.4),
    ZEMLO_KEY("Postprocessing", HardLightSG, Real, 0.4),
    ZEMLO_KEY("Postprocessing", HardLightSB, Real, 0.6),
    ZEMLO_KEY("Postprocessing", Desaturate, Flag, 1),
    ZEMLO_KEY("Postprocessing", DesaturateSR, Real, 0.2),
    ZEMLO_KEY("Postprocessing", DesaturateSG, Real, 0.2),
    ZEMLO_KEY("Postprocessing", DesaturateSB, Real, 0.2),
    ZEMLO_KEY("Postprocessing", Glare, Flag, 1),
    ZEMLO_KEY("Postprocessing", GlareStrength, Real, 0.4),
    ZEMLO_KEY("Postprocessing", GlareSize, Real, 3.0),
    ZEMLO_KEY("Postprocessing", GlareDarkenSky, Flag, 1),
    ZEMLO_KEY("Postprocessing", GlareUseFade, Flag, 0),
    ZEMLO_KEY("Postprocessing", GlareForce32bitBuffer, Flag, 1),
    ZEMLO_KEY("Reflections", useReflections, Flag, 1),
    ZEMLO_KEY("Reflections", reflectTerrain, Flag, 1),
    ZEMLO_KEY("Reflections", reflectObjects, Flag, 0),
    ZEMLO_KEY("Reflections", sizeX, Integer, 512),
    ZEMLO_KEY("Reflections", sizeY, Integer, 512),
    ZEMLO_KEY("Reflections", LODbias, Real, -0.5),
    ZEMLO_KEY("Reflections", useExpFog, Flag, 1),
    ZEMLO_KEY("Reflections", useLighting, Flag, 1),
    ZEMLO_KEY("Reflections", maxCount, Integer, 512),
    ZEMLO_KEY("Reflections", maxDistance, Integer, 512),
    ZEMLO_KEY("Reflections", maxHeight, Integer, 512),
    ZEMLO_KEY("Reflections", bumpStrength, Integer, 512),
    ZEMLO_KEY("Reflections", clipTolerance, Real, -0.035),
    ZEMLO_KEY("Reflections", texOffsetX, Real, -0.49),
    ZEMLO_KEY("Reflections", texOffsetY, Real, -0.49),
};
#undef ZEMLO_KEY
static_assert(std::size(kKeys) == 42);

// The row's field in `record` (a Settings or a const Settings).
template <typename T, typename Record>
auto& field(Record& record, const KeyRow& row) {
  using Field = std::conditional_t<std::is_const_v<Record>, const T, T>;
  using Byte = std::conditional_t<std::is_const_v<Record>, const char, char>;
  return *reinterpret_cast<Field*>(reinterpret_cast<Byte*>(&record) + row.offset);
}

}  // namespace

void loadSettings(Settings& record, const ProfileStore& store) {
  for (const KeyRow& row : kKeys) {
    const std::string text = store.read(row.section, row.key);
    switch (row.kind) {
      case Kind::Flag:
        field<uint8_t>(record, row) = readFlagText(text, row.fallback != 0) ? 1 : 0;
        break;
      case Kind::Integer:
        field<int32_t>(record, row) = readIntegerText(text, static_cast<int32_t>(row.fallback));
        break;
      case Kind::Real: field<double>(record, row) = readRealText(text, row.fallback); break;
    }
  }
}

void saveSettings(const Settings& record, ProfileStore& store) {
  // One write per key: a failure stops the save there, the keys before it written.
  for (const KeyRow& row : kKeys) {
    std::string text;
    switch (row.kind) {
      case Kind::Flag: text = formatFlag(field<uint8_t>(record, row) != 0); break;
      case Kind::Integer: text = formatInteger(field<int32_t>(record, row)); break;
      case Kind::Real: text = formatReal(field<double>(record, row)); break;
    }
    if (!store.write(row.section, row.key, text)) throw WriteError(store.path());
  }
}

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
