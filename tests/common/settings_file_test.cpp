// The settings record and config.cfg, end to end on real files: the record's
// layout and starting state, the defaults a load applies, how every key's text
// reads and is written back, what a save leaves of a hand-edited file, saves
// that fail, and the file beside the executable that readINI and writeINI use.
// Loads and saves run through every profile store this platform has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "common/test_support.h"
#include "settings/profile_store.h"
#include "settings/settings.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/auxv.h>
#include <sys/resource.h>

#include <csignal>
#endif

namespace fs = std::filesystem;
using zemlo::ProfileStore;
using zemlo::Settings;
using namespace zemlo::test;  // the shared scaffolding

namespace {

constexpr double kIntMin = std::numeric_limits<int32_t>::min();
constexpr double kIntMax = std::numeric_limits<int32_t>::max();

// ---------------------------------------------------------------- the global record at start

// The global record as the tests find it: copied once every static object has
// been built and before the first test runs, so that later loads into the
// global cannot hide what it held at start.
struct StartingRecord {
  bool taken = false;
  unsigned char bytes[sizeof(Settings)] = {};
};

StartingRecord& startingRecord() {
  static StartingRecord record;
  return record;
}

class CopyStartingRecord : public ::testing::Environment {
public:
  void SetUp() override {
    std::memcpy(startingRecord().bytes, &zemlo::settings, sizeof(Settings));
    startingRecord().taken = true;
  }
};

[[maybe_unused]] ::testing::Environment* const kCopyStartingRecord =
    ::testing::AddGlobalTestEnvironment(new CopyStartingRecord);

// ---------------------------------------------------------------- the record's fields

enum class Kind { Flag, Integer, Real };

// A flag is any one-byte integer; integers are signed 32-bit; reals are doubles.
template <Kind kind, typename T>
constexpr bool fitsKind() {
  if constexpr (kind == Kind::Flag) {
    return sizeof(T) == 1 && std::is_integral_v<T>;
  } else if constexpr (kind == Kind::Integer) {
    return std::is_same_v<T, int32_t>;
  } else {
    return std::is_same_v<T, double>;
  }
}

struct Field {
  const char* name;
  Kind kind;
  std::size_t offset;
  std::size_t size;
  std::size_t align;
  bool typeFits;
};

// Declaration order, the add-on's own, as the product's list gives it: what is
// checked here is that the record holds these fields, typed and laid out as listed.
// clang-format off
#define FIELD(section, f, kind, fallback)                                          \
  Field{#f, Kind::kind, offsetof(Settings, f), sizeof(Settings::f),                \
        alignof(decltype(Settings::f)), fitsKind<Kind::kind, decltype(Settings::f)>()},
// clang-format on
const Field kFields[] = {ZEMLO_SETTINGS(FIELD, ZEMLO_RECORD_ORDER)};

// ---------------------------------------------------------------- the keys of config.cfg

// One key: where it lives, its field, its default and the text a save writes
// for it, and a second value (not the default) with its text, which the tests
// use to tell every key's value apart from its default.
struct Key {
  const char* section;
  const char* name;
  Kind kind;
  std::size_t offset;
  double fallback;
  const char* fallbackText;
  double other;
  const char* otherText;
};

void PrintTo(const Key& key, std::ostream* os) { *os << key.name; }

// clang-format off
#define KEY(section, f, kind, fallback, fallbackText, other, otherText)        \
  Key{section, #f, Kind::kind, offsetof(Settings, f), fallback, fallbackText, other, otherText}
// clang-format on

// File order: the order of every load and save.
const Key kKeys[] = {
    KEY("General", showFPS, Flag, 0, "0", 1, "1"),
    KEY("General", showStat, Flag, 0, "0", 1, "1"),
    KEY("General", useTrilinear, Flag, 1, "1", 0, "0"),
    KEY("General", forceNoNightShader, Flag, 0, "0", 1, "1"),
    KEY("General", sharpenUI, Flag, 1, "1", 0, "0"),
    KEY("General", debugOutput, Flag, 0, "0", 1, "1"),
    KEY("General", handlePrintScreen, Flag, 1, "1", 0, "0"),
    KEY("General", LODbias0, Real, 0.0, "0", -1.25, "-1.25"),
    KEY("General", LODbias1, Real, 0.0, "0", 2.5, "2.5"),
    KEY("Postprocessing", UsePostProcessing, Flag, 1, "1", 0, "0"),
    KEY("Postprocessing", Force32bitPostProcessing, Flag, 0, "0", 1, "1"),
    KEY("Postprocessing", DisablePPForMap, Flag, 1, "1", 0, "0"),
    KEY("Postprocessing", UseSpecialNVGPP, Flag, 1, "1", 0, "0"),
    KEY("Postprocessing", HardLight, Flag, 1, "1", 0, "0"),
    KEY("Postprocessing", HardLightSR, Real, 0.4, "0.4", 0.125, "0.125"),
    KEY("Postprocessing", HardLightSG, Real, 0.4, "0.4", 0.25, "0.25"),
    KEY("Postprocessing", HardLightSB, Real, 0.6, "0.6", 0.375, "0.375"),
    KEY("Postprocessing", Desaturate, Flag, 1, "1", 0, "0"),
    KEY("Postprocessing", DesaturateSR, Real, 0.2, "0.2", 0.5, "0.5"),
    KEY("Postprocessing", DesaturateSG, Real, 0.2, "0.2", 0.625, "0.625"),
    KEY("Postprocessing", DesaturateSB, Real, 0.2, "0.2", 0.75, "0.75"),
    KEY("Postprocessing", Glare, Flag, 1, "1", 0, "0"),
    KEY("Postprocessing", GlareStrength, Real, 0.4, "0.4", 0.875, "0.875"),
    KEY("Postprocessing", GlareSize, Real, 3.0, "3", 4.5, "4.5"),
    KEY("Postprocessing", GlareDarkenSky, Flag, 1, "1", 0, "0"),
    KEY("Postprocessing", GlareUseFade, Flag, 0, "0", 1, "1"),
    KEY("Postprocessing", GlareForce32bitBuffer, Flag, 1, "1", 0, "0"),
    KEY("Reflections", useReflections, Flag, 1, "1", 0, "0"),
    KEY("Reflections", reflectTerrain, Flag, 1, "1", 0, "0"),
    KEY("Reflections", reflectObjects, Flag, 0, "0", 1, "1"),
    KEY("Reflections", sizeX, Integer, 512, "512", 1024, "1024"),
    KEY("Reflections", sizeY, Integer, 512, "512", 256, "256"),
    KEY("Reflections", LODbias, Real, -0.5, "-0.5", -0.75, "-0.75"),
    KEY("Reflections", useExpFog, Flag, 1, "1", 0, "0"),
    KEY("Reflections", useLighting, Flag, 1, "1", 0, "0"),
    KEY("Reflections", maxCount, Integer, 512, "512", 100, "100"),
    KEY("Reflections", maxDistance, Integer, 512, "512", 200, "200"),
    KEY("Reflections", maxHeight, Integer, 512, "512", 150, "150"),
    KEY("Reflections", bumpStrength, Integer, 512, "512", 10, "10"),
    KEY("Reflections", clipTolerance, Real, -0.035, "-0.035", -0.0625, "-0.0625"),
    KEY("Reflections", texOffsetX, Real, -0.49, "-0.49", 0.5, "0.5"),
    KEY("Reflections", texOffsetY, Real, -0.49, "-0.49", -0.25, "-0.25"),
};
#undef KEY

const char* const kSections[] = {"General", "Postprocessing", "Reflections"};

// What a save of the defaults makes of a missing file, byte for byte.
const std::string kDefaultFile =
    "[General]\r\n"
    "showFPS=0\r\n"
    "showStat=0\r\n"
    "useTrilinear=1\r\n"
    "forceNoNightShader=0\r\n"
    "sharpenUI=1\r\n"
    "debugOutput=0\r\n"
    "handlePrintScreen=1\r\n"
    "LODbias0=0\r\n"
    "LODbias1=0\r\n"
    "[Postprocessing]\r\n"
    "UsePostProcessing=1\r\n"
    "Force32bitPostProcessing=0\r\n"
    "DisablePPForMap=1\r\n"
    "UseSpecialNVGPP=1\r\n"
    "HardLight=1\r\n"
    "HardLightSR=0.4\r\n"
    "HardLightSG=0.4\r\n"
    "HardLightSB=0.6\r\n"
    "Desaturate=1\r\n"
    "DesaturateSR=0.2\r\n"
    "DesaturateSG=0.2\r\n"
    "DesaturateSB=0.2\r\n"
    "Glare=1\r\n"
    "GlareStrength=0.4\r\n"
    "GlareSize=3\r\n"
    "GlareDarkenSky=1\r\n"
    "GlareUseFade=0\r\n"
    "GlareForce32bitBuffer=1\r\n"
    "[Reflections]\r\n"
    "useReflections=1\r\n"
    "reflectTerrain=1\r\n"
    "reflectObjects=0\r\n"
    "sizeX=512\r\n"
    "sizeY=512\r\n"
    "LODbias=-0.5\r\n"
    "useExpFog=1\r\n"
    "useLighting=1\r\n"
    "maxCount=512\r\n"
    "maxDistance=512\r\n"
    "maxHeight=512\r\n"
    "bumpStrength=512\r\n"
    "clipTolerance=-0.035\r\n"
    "texOffsetX=-0.49\r\n"
    "texOffsetY=-0.49\r\n";

const Key& keyNamed(std::string_view name) {
  for (const Key& key : kKeys) {
    if (name == key.name) return key;
  }
  throw std::logic_error("no key " + std::string(name));
}

// ---------------------------------------------------------------- record access

// A field's value as a double, flags as their raw byte.
double valueOf(const Settings& record, const Key& key) {
  const char* at = reinterpret_cast<const char*>(&record) + key.offset;
  switch (key.kind) {
    case Kind::Flag: {
      uint8_t byte;
      std::memcpy(&byte, at, 1);
      return byte;
    }
    case Kind::Integer: {
      int32_t value;
      std::memcpy(&value, at, sizeof value);
      return value;
    }
    case Kind::Real: {
      double value;
      std::memcpy(&value, at, sizeof value);
      return value;
    }
  }
  return 0;
}

void setValue(Settings& record, const Key& key, double value) {
  char* at = reinterpret_cast<char*>(&record) + key.offset;
  switch (key.kind) {
    case Kind::Flag: {
      const uint8_t byte = static_cast<uint8_t>(value);
      std::memcpy(at, &byte, 1);
      break;
    }
    case Kind::Integer: {
      const int32_t v = static_cast<int32_t>(value);
      std::memcpy(at, &v, sizeof v);
      break;
    }
    case Kind::Real: std::memcpy(at, &value, sizeof value); break;
  }
}

// A record whose every byte is junk, so that a load must set every field.
Settings junkRecord() {
  Settings record;
  std::memset(&record, 0xA5, sizeof record);
  return record;
}

Settings recordOf(double Key::*column) {
  Settings record = junkRecord();
  for (const Key& key : kKeys) setValue(record, key, key.*column);
  return record;
}

const Settings kDefaults = recordOf(&Key::fallback);
const Settings kOthers = recordOf(&Key::other);

// Every field of `record` against `expected` (a value per key).
void expectRecord(const Settings& record, const std::function<double(const Key&)>& expected) {
  for (const Key& key : kKeys) {
    EXPECT_EQ(valueOf(record, key), expected(key)) << key.name;
  }
}

void expectRecord(const Settings& record, const Settings& expected) {
  expectRecord(record, [&](const Key& key) { return valueOf(expected, key); });
}

// ---------------------------------------------------------------- file text

// A file with the three sections in order and, for each key, the line that
// `lineFor` gives (no line for nullopt).
std::string fileWith(const std::function<std::optional<std::string>(const Key&)>& lineFor) {
  std::string bytes;
  for (const char* section : kSections) {
    bytes += "[" + std::string(section) + "]\r\n";
    for (const Key& key : kKeys) {
      if (std::string_view(key.section) != section) continue;
      if (const auto line = lineFor(key)) bytes += *line + "\r\n";
    }
  }
  return bytes;
}

std::string keyLine(const Key& key, const char* text) { return std::string(key.name) + "=" + text; }

// Every key holding its second value: what a save of kOthers writes.
const std::string kOtherFile = fileWith([](const Key& key) { return keyLine(key, key.otherText); });

// kOtherFile with the line of `target` replaced by `line`.
std::string otherFileWith(const Key& target, const std::string& line) {
  return fileWith(
      [&](const Key& key) { return &key == &target ? line : keyLine(key, key.otherText); });
}

// Every key's line, with the text `column` gives, under no section header.
std::string bareKeyLines(const char* Key::*column) {
  std::string bytes;
  for (const Key& key : kKeys) bytes += keyLine(key, key.*column) + "\r\n";
  return bytes;
}

// The lines that hold anything, in order, whatever ends them.
std::vector<std::string> nonBlankLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(pos, end - pos);
    if (line.find_first_not_of(" \t") != std::string_view::npos) lines.emplace_back(line);
    pos = end;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return lines;
}

bool isSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  std::size_t i = 0;
  for (const std::string& line : whole) {
    if (i < part.size() && line == part[i]) ++i;
  }
  return i == part.size();
}

std::string repeated(char c, std::size_t count) { return std::string(count, c); }

// ---------------------------------------------------------------- stores

// The store openProfile gives on this platform.
const Backend& platformBackend() { return kBackends[std::size(kBackends) - 1]; }

Settings loadFrom(const Backend& backend, const fs::path& file) {
  Settings record = junkRecord();
  const auto store = backend.open(file);
  zemlo::loadSettings(record, *store);
  return record;
}

void saveTo(const Backend& backend, const fs::path& file, const Settings& record) {
  const auto store = backend.open(file);
  zemlo::saveSettings(record, *store);
}

// The file holds `expected`: exactly for the portable store, line for line for the other.
void expectFile(const Backend& backend, const fs::path& file, const std::string& expected) {
  const std::string bytes = readBytes(file);
  if (backend.preservesBytes) {
    EXPECT_EQ(bytes, expected);
  } else {
    EXPECT_EQ(nonBlankLines(bytes), nonBlankLines(expected));
  }
}

// The text each key has in the file, read back by the portable store.
void expectTexts(const fs::path& file, const std::function<std::string(const Key&)>& expected) {
  const auto store = zemlo::openPortableProfile(file);
  for (const Key& key : kKeys) {
    EXPECT_EQ(store->read(key.section, key.name), expected(key)) << key.name;
  }
}

// ================================================================ the record

TEST(SettingsRecord, GlobalIsAllZeroBeforeTheFirstLoad) {
  ASSERT_TRUE(startingRecord().taken);
  const unsigned char zeros[sizeof(Settings)] = {};
  EXPECT_EQ(std::memcmp(startingRecord().bytes, zeros, sizeof zeros), 0);
  Settings start;
  std::memcpy(&start, startingRecord().bytes, sizeof start);
  expectRecord(start, [](const Key&) { return 0.0; });
}

// The defaults belong to the load: a record made any other way starts at zero.
TEST(SettingsRecord, HoldsNoDefaultsOfItsOwn) {
  static_assert(std::is_trivially_default_constructible_v<Settings>,
                "a constructor would run before the first load");
  static_assert(std::is_trivially_copyable_v<Settings>);
  static_assert(std::is_standard_layout_v<Settings>);
  static_assert(std::is_same_v<decltype(zemlo::settings), Settings>);

  expectRecord(Settings{}, [](const Key&) { return 0.0; });
  static Settings fresh;
  expectRecord(fresh, [](const Key&) { return 0.0; });
  // They are the load's, which defaultSettings() gives without a file.
  expectRecord(zemlo::defaultSettings(), kDefaults);
}

TEST(SettingsRecord, FieldsHaveTheirTypes) {
  ASSERT_EQ(std::size(kFields), 42u);
  for (const Field& field : kFields) {
    SCOPED_TRACE(field.name);
    const std::size_t size = field.kind == Kind::Flag ? 1 : field.kind == Kind::Integer ? 4 : 8;
    EXPECT_EQ(field.size, size);
    EXPECT_TRUE(field.typeFits);
  }
}

// A plain structure: the fields in their order, each at the next place its
// alignment allows, and nothing else in it.
TEST(SettingsRecord, FieldsLaidOutInDeclarationOrder) {
  std::size_t end = 0;
  std::size_t align = 1;
  for (const Field& field : kFields) {
    const std::size_t at = (end + field.align - 1) / field.align * field.align;
    EXPECT_EQ(field.offset, at) << field.name;
    end = field.offset + field.size;
    align = std::max(align, field.align);
  }
  EXPECT_EQ(alignof(Settings), align);
  EXPECT_EQ(sizeof(Settings), (end + align - 1) / align * align);
}

// The record and the file agree on the order of every key but one pair.
TEST(SettingsRecord, DeclarationOrderDiffersFromFileOrderOnlyAtOnePair) {
  EXPECT_LT(offsetof(Settings, UseSpecialNVGPP), offsetof(Settings, DisablePPForMap));
  EXPECT_LT(offsetof(Settings, Force32bitPostProcessing), offsetof(Settings, UseSpecialNVGPP));
  EXPECT_LT(offsetof(Settings, DisablePPForMap), offsetof(Settings, HardLight));

  ASSERT_EQ(std::size(kKeys), std::size(kFields));
  std::vector<std::string> fileOrder;
  for (const Key& key : kKeys) fileOrder.emplace_back(key.name);
  std::vector<const Key*> byOffset;
  for (const Key& key : kKeys) byOffset.push_back(&key);
  std::sort(byOffset.begin(), byOffset.end(),
            [](const Key* a, const Key* b) { return a->offset < b->offset; });
  std::vector<std::string> declarationOrder;
  for (const Key* key : byOffset) declarationOrder.emplace_back(key->name);

  std::vector<std::string> expected = fileOrder;
  std::swap(expected[11], expected[12]);
  ASSERT_EQ(expected[11], "UseSpecialNVGPP");
  EXPECT_EQ(declarationOrder, expected);

  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    EXPECT_EQ(declarationOrder[i], kFields[i].name);
    EXPECT_EQ(keyNamed(kFields[i].name).kind, kFields[i].kind) << kFields[i].name;
  }
}

// ================================================================ loading: defaults

struct DefaultsCase {
  const char* name;
  std::optional<std::string> file;  // nullopt: no file at all
};

void PrintTo(const DefaultsCase& c, std::ostream* os) { *os << c.name; }

const DefaultsCase kDefaultsCases[] = {
    {"MissingFile", std::nullopt},
    {"EmptyFile", ""},
    {"OnlyAComment", "; nothing here yet\r\n"},
    {"SectionsWithoutKeys", "[General]\r\n[Postprocessing]\r\n[Reflections]\r\n"},
    {"EmptyValues", fileWith([](const Key& key) { return keyLine(key, ""); })},
    {"BlankValues", fileWith([](const Key& key) { return keyLine(key, "   "); })},
    {"QuotedEmptyValues", fileWith([](const Key& key) { return keyLine(key, "\"\""); })},
    {"CommentedOutKeys",
     fileWith([](const Key& key) { return ";" + keyLine(key, key.otherText); })},
    {"KeysInAnotherSection", "[Other]\r\n" + bareKeyLines(&Key::otherText)},
    {"KeysBeforeAnySection",
     bareKeyLines(&Key::otherText) + "[General]\r\n[Postprocessing]\r\n[Reflections]\r\n"},
};

class SettingsLoadDefaults : public ::testing::TestWithParam<std::tuple<Backend, DefaultsCase>> {
protected:
  ScratchDir dir_;
};

TEST_P(SettingsLoadDefaults, EveryFieldTakesItsDefault) {
  const auto& [backend, c] = GetParam();
  const fs::path file = dir_ / "config.cfg";
  if (c.file) writeBytes(file, *c.file);

  expectRecord(loadFrom(backend, file), kDefaults);

  if (c.file) {
    EXPECT_EQ(readBytes(file), *c.file) << "the load changed the file";
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  } else {
    EXPECT_TRUE(fs::is_empty(dir_.path())) << "the load created a file";
  }
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsLoadDefaults,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kDefaultsCases)),
                         kCaseName);

// ================================================================ loading: key by key

class SettingsLoadKey : public ::testing::TestWithParam<std::tuple<Backend, Key>> {
protected:
  const Key& target() const { return keyNamed(std::get<1>(GetParam()).name); }
  ScratchDir dir_;
};

// A file with only this key reaches only this key's field.
TEST_P(SettingsLoadKey, ReachesOnlyItsField) {
  const Backend& backend = std::get<0>(GetParam());
  const Key& target = this->target();
  const fs::path file = dir_ / "config.cfg";
  writeBytes(file, fileWith([&](const Key& key) -> std::optional<std::string> {
               if (&key != &target) return std::nullopt;
               return keyLine(key, key.otherText);
             }));
  expectRecord(loadFrom(backend, file),
               [&](const Key& key) { return &key == &target ? key.other : key.fallback; });
}

// An unreadable value costs this key alone its value; every other key keeps the file's.
TEST_P(SettingsLoadKey, MalformedValueCostsOnlyThisKey) {
  const Backend& backend = std::get<0>(GetParam());
  const Key& target = this->target();
  const fs::path file = dir_ / "config.cfg";
  writeBytes(file, otherFileWith(target, keyLine(target, "#bad")));
  expectRecord(loadFrom(backend, file),
               [&](const Key& key) { return &key == &target ? key.fallback : key.other; });
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsLoadKey,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kKeys)),
                         kCaseName);

// ================================================================ loading and saving: whole files

class SettingsFile : public ::testing::TestWithParam<Backend> {
protected:
  const Backend& backend() const { return GetParam(); }
  fs::path file() const { return dir_ / "config.cfg"; }
  Settings load() const { return loadFrom(backend(), file()); }
  void save(const Settings& record) const { saveTo(backend(), file(), record); }
  ScratchDir dir_;
};

TEST_P(SettingsFile, FullFileReadsEveryKey) {
  writeBytes(file(), kOtherFile);
  expectRecord(load(), kOthers);
}

TEST_P(SettingsFile, SectionAndKeyNamesIgnoreCase) {
  writeBytes(file(),
             "[general]\r\nSHOWFPS=1\r\nlodBIAS1=2.5\r\n"
             "[POSTPROCESSING]\r\nglaresize=4.5\r\nDISABLEPPFORMAP=0\r\n"
             "[reflections]\r\nSizeX=1024\r\nLODBIAS=-0.75\r\n");
  const std::vector<std::string> set = {"showFPS",         "LODbias1", "GlareSize",
                                        "DisablePPForMap", "sizeX",    "LODbias"};
  expectRecord(load(), [&](const Key& key) {
    return std::find(set.begin(), set.end(), key.name) != set.end() ? key.other : key.fallback;
  });
}

TEST_P(SettingsFile, DefaultsIntoMissingFile) {
  save(kDefaults);
  expectFile(backend(), file(), kDefaultFile);
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  const auto lines = nonBlankLines(readBytes(file()));
  ASSERT_EQ(lines.size(), 3u + 42u);
  EXPECT_EQ(lines[0], "[General]");
  EXPECT_EQ(lines[10], "[Postprocessing]");
  EXPECT_EQ(lines[13], "DisablePPForMap=1");
  EXPECT_EQ(lines[14], "UseSpecialNVGPP=1");
  EXPECT_EQ(lines[29], "[Reflections]");
}

// What a save writes reads back as the same record.
TEST_P(SettingsFile, SavedRecordReadsBack) {
  save(kOthers);
  expectFile(backend(), file(), kOtherFile);
  expectRecord(load(), kOthers);
}

// Saving over a file that holds every key changes values where they stand, and
// a second save of the same record changes nothing.
TEST_P(SettingsFile, SaveOverFullFileKeepsItsLayout) {
  writeBytes(file(), kOtherFile);
  save(kDefaults);
  expectFile(backend(), file(), kDefaultFile);
  const std::string once = readBytes(file());
  save(kDefaults);
  EXPECT_EQ(readBytes(file()), once);
  save(kOthers);
  expectFile(backend(), file(), kOtherFile);
}

// Keys that exist are rewritten where they stand (their spelling kept); new
// keys follow the last key of their section in table order; a new section goes
// at the end.
TEST_P(SettingsFile, ReplacesKeysWhereTheyStandAndAddsTheRest) {
  writeBytes(file(),
             "[Reflections]\r\ntexOffsetY=9\r\nSIZEX = 7\r\n\r\n"
             "[General]\r\nshowStat=1\r\nshowFPS=1\r\n; end\r\n");
  save(kDefaults);
  const std::string general = "[General]\r\n";
  const std::string generalKeys =
      kDefaultFile.substr(general.size(), kDefaultFile.find("[Postprocessing]") - general.size());
  const std::string postprocessing = kDefaultFile.substr(
      kDefaultFile.find("[Postprocessing]"),
      kDefaultFile.find("[Reflections]") - kDefaultFile.find("[Postprocessing]"));
  ASSERT_EQ(generalKeys.rfind("showFPS=0\r\nshowStat=0\r\n", 0), 0u);
  const std::string expected =
      "[Reflections]\r\ntexOffsetY=-0.49\r\nSIZEX=512\r\n"
      "useReflections=1\r\nreflectTerrain=1\r\nreflectObjects=0\r\n"
      "sizeY=512\r\nLODbias=-0.5\r\nuseExpFog=1\r\nuseLighting=1\r\n"
      "maxCount=512\r\nmaxDistance=512\r\nmaxHeight=512\r\nbumpStrength=512\r\n"
      "clipTolerance=-0.035\r\ntexOffsetX=-0.49\r\n\r\n"
      "[General]\r\nshowStat=0\r\nshowFPS=0\r\n" +
      generalKeys.substr(sizeof("showFPS=0\r\nshowStat=0\r\n") - 1) + "; end\r\n" + postprocessing;
  if (backend().preservesBytes) {
    EXPECT_EQ(readBytes(file()), expected);
  } else {
    // The profile API puts new keys after a comment that ends the section, not
    // before it; everything else lies as above.
    const auto withoutComment = [](std::vector<std::string> lines) {
      std::erase(lines, "; end");
      return lines;
    };
    const auto lines = nonBlankLines(readBytes(file()));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "; end"), 1);
    EXPECT_EQ(withoutComment(lines), withoutComment(nonBlankLines(expected)));
  }
  expectTexts(file(), [](const Key& key) { return key.fallbackText; });
}

// Comments, blank lines, and sections and keys the editor does not know stay as
// they were when every key is already there.
TEST_P(SettingsFile, ForeignContentSurvivesUnchanged) {
  std::string before =
      "; settings edited by hand\r\n\r\n[Notes]\r\nauthor=someone\r\nempty=\r\n\r\n";
  for (const char* section : kSections) {
    before += "[" + std::string(section) + "]\r\n";
    if (section == std::string_view("General")) before += "; the counter first\r\n";
    for (const Key& key : kKeys) {
      if (section != std::string_view(key.section)) continue;
      before += keyLine(key, key.otherText) + "\r\n";
      if (key.name == std::string_view("HardLightSB")) before += "HardLightSA=0.9\r\n";
    }
    if (section == std::string_view("General"))
      before += "mystery=42\r\n\r\n[Unknown Section]\r\na=b\r\n";
  }
  before += "; the end\r\n";
  writeBytes(file(), before);

  const Settings record = load();
  expectRecord(record, kOthers);
  save(record);

  if (backend().preservesBytes) {
    EXPECT_EQ(readBytes(file()), before);
  } else {
    EXPECT_EQ(nonBlankLines(readBytes(file())), nonBlankLines(before));
  }
  const auto store = zemlo::openPortableProfile(file());
  EXPECT_EQ(store->read("Notes", "author"), "someone");
  EXPECT_EQ(store->read("General", "mystery"), "42");
  EXPECT_EQ(store->read("Postprocessing", "HardLightSA"), "0.9");
  EXPECT_EQ(store->read("Unknown Section", "a"), "b");
}

// The same when every key has to be added: the old lines all stay, in order.
TEST_P(SettingsFile, ForeignContentSurvivesWhenKeysAreAdded) {
  const std::string before =
      "; by hand\r\n[Notes]\r\nauthor=someone\r\n"
      "[General]\r\n; counter below\r\nmystery=42\r\n"
      "[Extra]\r\nx=1\r\n; the end\r\n";
  writeBytes(file(), before);
  const Settings record = load();
  expectRecord(record, kDefaults);
  save(record);

  const std::string general = "[General]\r\n";
  const std::size_t postprocessing = kDefaultFile.find("[Postprocessing]");
  const std::string expected =
      "; by hand\r\n[Notes]\r\nauthor=someone\r\n"
      "[General]\r\n; counter below\r\nmystery=42\r\n" +
      kDefaultFile.substr(general.size(), postprocessing - general.size()) +
      "[Extra]\r\nx=1\r\n; the end\r\n" + kDefaultFile.substr(postprocessing);
  expectFile(backend(), file(), expected);
  EXPECT_TRUE(isSubsequence(nonBlankLines(before), nonBlankLines(readBytes(file()))));
  expectTexts(file(), [](const Key& key) { return key.fallbackText; });
}

// The five fields without a control go from the file to the file by way of the
// record, in the text a save writes for the value read.
TEST_P(SettingsFile, CarriedFieldsKeepTheirValues) {
  struct Carried {
    const char* key;
    const char* text;
    double value;
    const char* written;
  };
  const Carried carried[] = {
      {"reflectTerrain", "0", 0, "0"},
      {"LODbias", "-0.125", -0.125, "-0.125"},
      {"clipTolerance", "-0.0125", -0.0125, "-0.0125"},
      {"texOffsetX", "0.3", 0.3, "0.3"},
      {"texOffsetY", "-0.51", -0.51, "-0.51"},
  };
  const Carried reworded[] = {
      {"reflectTerrain", "7", 1, "1"},           {"LODbias", "\"-.750\"", -0.75, "-0.75"},
      {"clipTolerance", "1e-3", 0.001, "0.001"}, {"texOffsetX", "+0.50", 0.5, "0.5"},
      {"texOffsetY", "-2.5E-1", -0.25, "-0.25"},
  };
  for (const auto* set : {carried, reworded}) {
    const auto lookup = [&](const Key& key) -> const Carried* {
      for (std::size_t i = 0; i < std::size(carried); ++i) {
        if (key.name == std::string_view(set[i].key)) return &set[i];
      }
      return nullptr;
    };
    writeBytes(file(), fileWith([&](const Key& key) {
                 const Carried* c = lookup(key);
                 return keyLine(key, c ? c->text : key.otherText);
               }));
    Settings record = load();
    expectRecord(record, [&](const Key& key) {
      const Carried* c = lookup(key);
      return c ? c->value : key.other;
    });
    // The window changes what it shows; the carried fields it leaves alone.
    setValue(record, keyNamed("showFPS"), 0);
    save(record);
    expectTexts(file(), [&](const Key& key) -> std::string {
      if (key.name == std::string_view("showFPS")) return "0";
      const Carried* c = lookup(key);
      return c ? c->written : key.otherText;
    });
  }
}

// Every real is written in one fixed form, whatever field holds it, and the
// text read back writes the same text again.
struct RealText {
  double value;
  const char* text;
};

const RealText kRealTexts[] = {
    {0.0, "0"},
    {-0.0, "0"},
    {0.4, "0.4"},
    {0.6, "0.6"},
    {-0.035, "-0.035"},
    {-0.49, "-0.49"},
    {3.0, "3"},
    {-0.5, "-0.5"},
    {0.00001, "1E-5"},
    {1e15, "1E15"},
    {1e14, "100000000000000"},
    {123456789012345.0, "123456789012345"},
    {1234.5, "1234.5"},
    {1.5e20, "1.5E20"},
    {0.0001, "0.0001"},
    {0.001, "0.001"},
    {-2.5e-7, "-2.5E-7"},
    {1.0 / 3, "0.333333333333333"},
    {2.0 / 3, "0.666666666666667"},
    {0.1 + 0.2, "0.3"},
    {0.9999999999999999, "1"},
    {999999999999999.9, "1E15"},
    {DBL_MAX, "1.79769313486232E308"},
    {-DBL_MAX, "-1.79769313486232E308"},
    {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
};

void checkRealTexts(const Backend& backend, const fs::path& file) {
  for (const RealText& c : kRealTexts) {
    SCOPED_TRACE(c.text);
    Settings record = kOthers;
    for (const Key& key : kKeys) {
      if (key.kind == Kind::Real) setValue(record, key, c.value);
    }
    fs::remove(file);
    saveTo(backend, file, record);
    expectTexts(file,
                [&](const Key& key) { return key.kind == Kind::Real ? c.text : key.otherText; });

    const Settings again = loadFrom(backend, file);
    fs::remove(file);
    saveTo(backend, file, again);
    expectTexts(file,
                [&](const Key& key) { return key.kind == Kind::Real ? c.text : key.otherText; });
  }
}

TEST_P(SettingsFile, RealsWrittenInOneForm) { checkRealTexts(backend(), file()); }

TEST_P(SettingsFile, IntegersWrittenPlain) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},
      {-3, "-3"},
      {150, "150"},
      {1000000, "1000000"},
      {kIntMax, "2147483647"},
      {kIntMin, "-2147483648"},
  };
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(text);
    Settings record = kOthers;
    for (const Key& key : kKeys) {
      if (key.kind == Kind::Integer) setValue(record, key, value);
    }
    fs::remove(file());
    save(record);
    expectTexts(file(), [&](const Key& key) {
      return key.kind == Kind::Integer ? std::string(text) : key.otherText;
    });
    expectRecord(load(), record);
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsFile, ::testing::ValuesIn(kBackends), kCaseName);

// ================================================================ saving: field by field

class SettingsSaveField : public ::testing::TestWithParam<std::tuple<Backend, Key>> {
protected:
  ScratchDir dir_;
};

// A field that differs from its default changes its own key's text and no other.
TEST_P(SettingsSaveField, WritesOnlyItsKey) {
  const Backend& backend = std::get<0>(GetParam());
  const Key& target = keyNamed(std::get<1>(GetParam()).name);
  const fs::path file = dir_ / "config.cfg";
  Settings record = kDefaults;
  setValue(record, target, target.other);
  saveTo(backend, file, record);

  std::string expected = kDefaultFile;
  const std::string was = "\n" + keyLine(target, target.fallbackText) + "\r";
  const std::size_t at = expected.find(was);
  ASSERT_NE(at, std::string::npos);
  expected.replace(at, was.size(), "\n" + keyLine(target, target.otherText) + "\r");
  expectFile(backend, file, expected);
  expectTexts(file,
              [&](const Key& key) { return &key == &target ? key.otherText : key.fallbackText; });
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsSaveField,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kKeys)),
                         kCaseName);

// ================================================================ value texts

const std::nullopt_t kDefault = std::nullopt;

struct TextCase {
  const char* name;
  const char* key;
  std::string line;                // the key's line as it stands in the file
  std::optional<double> expected;  // kDefault: the key's default
  const char* writtenBack;         // the text a save writes for what was read
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

const TextCase kTextCases[] = {
    // Names.
    {"KeyInCapitals", "showFPS", "SHOWFPS=1", 1, "1"},
    {"KeyInMixedCase", "UsePostProcessing", "usePOSTprocessing=0", 0, "0"},
    {"BlanksAroundKeyAndValue", "bumpStrength", "  bumpStrength =  12  ", 12, "12"},
    // Flags.
    {"FlagTwoIsTrue", "showFPS", "showFPS=2", 1, "1"},
    {"FlagMinusOneIsTrue", "showStat", "showStat=-1", 1, "1"},
    {"FlagHexOneIsTrue", "debugOutput", "debugOutput=0x1", 1, "1"},
    {"FlagDollarHexIsTrue", "forceNoNightShader", "forceNoNightShader=$10", 1, "1"},
    {"FlagZeroIsFalse", "useTrilinear", "useTrilinear=0", 0, "0"},
    {"FlagLeadingZerosRead", "GlareUseFade", "GlareUseFade=007", 1, "1"},
    {"FlagQuotedReads", "reflectObjects", "reflectObjects=\"1\"", 1, "1"},
    {"FlagYesIsDefaultFalse", "showFPS", "showFPS=yes", kDefault, "0"},
    {"FlagYesIsDefaultTrue", "useTrilinear", "useTrilinear=yes", kDefault, "1"},
    {"FlagWordFalseIsDefault", "handlePrintScreen", "handlePrintScreen=false", kDefault, "1"},
    {"FlagFractionIsDefault", "Glare", "Glare=0.5", kDefault, "1"},
    {"FlagBeyondRangeIsDefault", "useTrilinear", "useTrilinear=4294967296", kDefault, "1"},
    {"FlagSpaceInsideIsDefault", "Desaturate", "Desaturate=0 1", kDefault, "1"},
    {"FlagEmptyIsDefault", "sharpenUI", "sharpenUI=", kDefault, "1"},
    // Integers.
    {"ZeroXHexReads", "sizeX", "sizeX=0x200", 512, "512"},
    {"DollarHexReads", "sizeX", "sizeX=$200", 512, "512"},
    {"ZeroXHexOtherValue", "sizeY", "sizeY=0x100", 256, "256"},
    {"CapitalZeroXHex", "sizeY", "sizeY=0X1f", 31, "31"},
    {"LetterXHex", "maxDistance", "maxDistance=x40", 64, "64"},
    {"CapitalLetterXHex", "maxDistance", "maxDistance=X40", 64, "64"},
    {"HexAllOnesIsMinusOne", "maxCount", "maxCount=$FFFFFFFF", -1, "-1"},
    {"HexTopBitIsMinimum", "maxCount", "maxCount=$80000000", kIntMin, "-2147483648"},
    {"HexLeadingZerosNotCounted", "maxCount", "maxCount=$000000100", 256, "256"},
    {"HexNineDigitsIsDefault", "maxCount", "maxCount=$100000000", kDefault, "512"},
    {"HexPrefixAloneIsDefault", "maxCount", "maxCount=0x", kDefault, "512"},
    {"DollarAloneIsDefault", "maxCount", "maxCount=$", kDefault, "512"},
    {"HexBadDigitIsDefault", "maxCount", "maxCount=0x1G", kDefault, "512"},
    {"MinusBeforeDollarIsDefault", "maxCount", "maxCount=-$10", kDefault, "512"},
    {"PlusBeforeDollarIsDefault", "maxCount", "maxCount=+$10", kDefault, "512"},
    {"MinusBeforeZeroXIsDefault", "maxCount", "maxCount=-0x10", kDefault, "512"},
    {"TrailingLettersIsDefault", "sizeX", "sizeX=512abc", kDefault, "512"},
    {"TrailingLettersAfterOtherNumber", "maxCount", "maxCount=100abc", kDefault, "512"},
    {"MaximumReads", "maxCount", "maxCount=2147483647", kIntMax, "2147483647"},
    {"MinimumReads", "maxCount", "maxCount=-2147483648", kIntMin, "-2147483648"},
    {"AboveMaximumIsDefault", "maxCount", "maxCount=2147483648", kDefault, "512"},
    {"BelowMinimumIsDefault", "maxCount", "maxCount=-2147483649", kDefault, "512"},
    {"HugeIsDefault", "maxCount", "maxCount=99999999999999999999", kDefault, "512"},
    {"NegativeReads", "maxDistance", "maxDistance=-3", -3, "-3"},
    {"PlusSignReads", "maxDistance", "maxDistance=+300", 300, "300"},
    {"LeadingZerosRead", "maxHeight", "maxHeight=000123", 123, "123"},
    {"BeyondSliderKept", "maxHeight", "maxHeight=5000", 5000, "5000"},
    {"IntegerWithPointIsDefault", "bumpStrength", "bumpStrength=1.0", kDefault, "512"},
    {"IntegerWithExponentIsDefault", "bumpStrength", "bumpStrength=1e3", kDefault, "512"},
    {"IntegerSpaceInsideIsDefault", "sizeY", "sizeY=1 000", kDefault, "512"},
    {"IntegerEmptyIsDefault", "sizeY", "sizeY=", kDefault, "512"},
    // Reals.
    {"PointReads", "GlareStrength", "GlareStrength=0.6", 0.6, "0.6"},
    {"CommaIsDefault", "GlareSize", "GlareSize=3,5", kDefault, "3"},
    {"CommaIsDefaultNotItsPrefix", "GlareStrength", "GlareStrength=0,5", kDefault, "0.4"},
    {"RealEmptyIsDefaultZero", "LODbias0", "LODbias0=", kDefault, "0"},
    {"RealEmptyIsDefault", "LODbias", "LODbias=", kDefault, "-0.5"},
    {"RealQuotedEmptyIsDefault", "HardLightSR", "HardLightSR=\"\"", kDefault, "0.4"},
    {"LonePointIsZero", "clipTolerance", "clipTolerance=.", 0, "0"},
    {"ExponentWithoutDigits", "clipTolerance", "clipTolerance=2.5e", 2.5, "2.5"},
    {"ExponentSignWithoutDigits", "clipTolerance", "clipTolerance=2.5E+", 2.5, "2.5"},
    {"TrailingLetterIsDefault", "clipTolerance", "clipTolerance=1.5x", kDefault, "-0.035"},
    {"RealSpaceInsideIsDefault", "clipTolerance", "clipTolerance=1 000", kDefault, "-0.035"},
    {"RealTabInsideIsDefault", "clipTolerance", "clipTolerance=1.5\t0", kDefault, "-0.035"},
    {"HugeNegativeExponentIsDefault", "clipTolerance", "clipTolerance=1E-5000", kDefault, "-0.035"},
    {"HugeExponentIsDefault", "clipTolerance", "clipTolerance=1E5000", kDefault, "-0.035"},
    {"BeyondDoubleIsDefault", "clipTolerance", "clipTolerance=1E400", kDefault, "-0.035"},
    {"BeyondDoubleNegativeIsDefault", "texOffsetX", "texOffsetX=-1E400", kDefault, "-0.49"},
    {"TooSmallForDoubleIsZero", "texOffsetY", "texOffsetY=1E-400", 0, "0"},
    {"LeadingPoint", "texOffsetX", "texOffsetX=-.5", -0.5, "-0.5"},
    {"TrailingPoint", "texOffsetX", "texOffsetX=5.", 5, "5"},
    {"SignedExponent", "DesaturateSR", "DesaturateSR=+1.25e+1", 12.5, "12.5"},
    {"SmallWrittenScientific", "DesaturateSG", "DesaturateSG=0.00001", 0.00001, "1E-5"},
    {"LargeWrittenScientific", "DesaturateSB", "DesaturateSB=1e15", 1e15, "1E15"},
    {"NegativeZeroWrittenZero", "GlareStrength", "GlareStrength=-0", 0, "0"},
    {"RealQuotedReads", "HardLightSG", "HardLightSG='0.75'", 0.75, "0.75"},
    {"RealHexIsDefault", "HardLightSB", "HardLightSB=0x10", kDefault, "0.6"},
    {"InfinityIsDefault", "LODbias1", "LODbias1=INF", kDefault, "0"},
    {"NanIsDefault", "LODbias1", "LODbias1=nan", kDefault, "0"},
    {"ExponentAloneIsDefault", "LODbias", "LODbias=e5", kDefault, "-0.5"},
    {"SignAloneIsDefault", "LODbias", "LODbias=-", kDefault, "-0.5"},
    {"LargestDouble", "GlareSize", "GlareSize=1.7976931348623157E308", DBL_MAX,
     "1.79769313486232E308"},
    {"LargestWrittenReadsBack", "GlareSize", "GlareSize=1.79769313486232E308", DBL_MAX,
     "1.79769313486232E308"},
    // Values come through a 2048-byte buffer: the first 2047 characters count.
    {"LongRealCutBeforeGarbage", "clipTolerance", "clipTolerance=2.5" + repeated(' ', 2044) + "x",
     2.5, "2.5"},
    {"RealOf2047KeepsGarbage", "clipTolerance", "clipTolerance=2.5" + repeated(' ', 2043) + "x",
     kDefault, "-0.035"},
    {"LongIntegerCutInsideDigits", "maxCount", "maxCount=" + repeated('0', 2046) + "57", 5, "5"},
    {"IntegerOf2047Whole", "maxCount", "maxCount=" + repeated('0', 2045) + "57", 57, "57"},
    {"LongFlagCutInsideDigits", "useTrilinear", "useTrilinear=" + repeated('0', 2047) + "1", 0,
     "0"},
};

// The case's line in a file where every other key holds its second value: load,
// check every field, save over it and check every key's text.
void checkTextCase(const Backend& backend, const fs::path& file, const TextCase& c) {
  const Key& target = keyNamed(c.key);
  const std::string before = otherFileWith(target, c.line);
  writeBytes(file, before);

  const Settings record = loadFrom(backend, file);
  expectRecord(record, [&](const Key& key) {
    return &key == &target ? c.expected.value_or(key.fallback) : key.other;
  });

  saveTo(backend, file, record);
  expectTexts(file, [&](const Key& key) {
    return &key == &target ? std::string(c.writtenBack) : key.otherText;
  });
  if (backend.preservesBytes) {
    const std::string spelled(c.line.substr(0, c.line.find('=')));
    const std::size_t first = spelled.find_first_not_of(' ');
    const std::size_t last = spelled.find_last_not_of(' ');
    EXPECT_EQ(readBytes(file),
              otherFileWith(target, spelled.substr(first, last - first + 1) + "=" + c.writtenBack));
  }
}

class SettingsValueText : public ::testing::TestWithParam<std::tuple<Backend, TextCase>> {
protected:
  ScratchDir dir_;
};

TEST_P(SettingsValueText, ReadsAndWritesBack) {
  const auto& [backend, c] = GetParam();
  checkTextCase(backend, dir_ / "config.cfg", c);
}

INSTANTIATE_TEST_SUITE_P(Texts, SettingsValueText,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kTextCases)),
                         kCaseName);

// A locale with a decimal comma changes nothing: reals read and write with ".".
class SettingsCommaLocale : public ::testing::TestWithParam<Backend> {
protected:
  ScratchDir dir_;
};

TEST_P(SettingsCommaLocale, RealTextsUnchanged) {
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma here";
  for (const TextCase& c : kTextCases) {
    if (keyNamed(c.key).kind != Kind::Real) continue;
    SCOPED_TRACE(c.name);
    checkTextCase(GetParam(), dir_ / "config.cfg", c);
  }
  checkRealTexts(GetParam(), dir_ / "config.cfg");
  saveTo(GetParam(), dir_ / "defaults.cfg", kDefaults);
  expectFile(GetParam(), dir_ / "defaults.cfg", kDefaultFile);
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsCommaLocale, ::testing::ValuesIn(kBackends), kCaseName);

// ================================================================ failed saves

std::string writeErrorOf(const std::function<void()>& save) {
  try {
    save();
  } catch (const zemlo::WriteError& error) {
    return error.what();
  } catch (const std::exception& other) {
    return std::string("another error: ") + other.what();
  }
  return "no error";
}

class SettingsSaveFailure : public ::testing::TestWithParam<Backend> {
protected:
  ScratchDir dir_;
};

TEST_P(SettingsSaveFailure, DirectoryInTheWayStopsTheSave) {
  const fs::path file = dir_ / "config.cfg";
  ASSERT_TRUE(file.is_absolute());
  fs::create_directory(file);
  writeBytes(file / "inside.txt", "untouched");

  EXPECT_EQ(writeErrorOf([&] { saveTo(GetParam(), file, kDefaults); }),
            "Unable to write to " + zemlo::pathToUtf8(file));

  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(namesIn(file), std::vector<std::string>{"inside.txt"});
  EXPECT_EQ(readBytes(file / "inside.txt"), "untouched");
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
}

TEST_P(SettingsSaveFailure, MissingDirectoryStopsTheSave) {
  const fs::path file = dir_ / "gone" / "config.cfg";
  EXPECT_EQ(writeErrorOf([&] { saveTo(GetParam(), file, kDefaults); }),
            "Unable to write to " + zemlo::pathToUtf8(file));
  EXPECT_TRUE(fs::is_empty(dir_.path()));
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsSaveFailure, ::testing::ValuesIn(kBackends), kCaseName);

#ifndef _WIN32

// What a save of the defaults leaves when no file may grow past `limit`: the
// keys written before the first one that did not fit, their sections with them.
std::string keysThatFit(std::size_t limit) {
  std::string kept;
  for (std::size_t pos = 0; pos < kDefaultFile.size();) {
    const std::size_t end = kDefaultFile.find("\r\n", pos) + 2;
    if (kDefaultFile[pos] != '[') {
      if (end > limit) break;
      kept = kDefaultFile.substr(0, end);
    }
    pos = end;
  }
  return kept;
}

class SettingsSaveStops : public ::testing::TestWithParam<std::size_t> {
protected:
  ScratchDir dir_;
};

TEST_P(SettingsSaveStops, AtTheKeyThatFailsKeepingTheKeysBefore) {
  const fs::path file = dir_ / "config.cfg";
  const std::size_t limit = GetParam();
  const std::string kept = keysThatFit(limit);
  const bool completes = kept == kDefaultFile;

  std::string outcome;
  {
    FileSizeLimit fileSize(limit);
    ASSERT_TRUE(fileSize.active());
    outcome = writeErrorOf([&] { saveTo(kBackends[0], file, kDefaults); });
  }

  EXPECT_EQ(outcome, completes ? "no error" : "Unable to write to " + zemlo::pathToUtf8(file));
  if (kept.empty()) {
    EXPECT_TRUE(fs::is_empty(dir_.path())) << "the first key failed, yet something was made";
  } else {
    EXPECT_EQ(readBytes(file), kept);
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, SettingsSaveStops,
                         ::testing::Values(0, 20, 21, 32, 300, kDefaultFile.find("[Reflections]"),
                                           kDefaultFile.size() - 1, kDefaultFile.size()),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param); });

// With the file held at its size, a key whose text grows cannot be written
// while keys of the same length can: the save must still end at the first
// failure, with the keys before it written and the keys after it not.
TEST(SettingsSaveStopsAtFailure, KeysAfterTheFailedOneStayUnwritten) {
  ScratchDir dir;
  const fs::path file = dir / "config.cfg";
  writeBytes(file, kDefaultFile);
  Settings record = kDefaults;
  setValue(record, keyNamed("showFPS"), 1);         // same length: written
  setValue(record, keyNamed("LODbias0"), -1.25);    // longer: fails
  setValue(record, keyNamed("texOffsetY"), -0.25);  // same length, but after the failure

  std::string outcome;
  {
    FileSizeLimit fileSize(kDefaultFile.size());
    ASSERT_TRUE(fileSize.active());
    outcome = writeErrorOf([&] { saveTo(kBackends[0], file, record); });
  }

  EXPECT_EQ(outcome, "Unable to write to " + zemlo::pathToUtf8(file));
  expectTexts(file, [](const Key& key) {
    return key.name == std::string_view("showFPS") ? "1" : key.fallbackText;
  });
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"config.cfg"});
}

#endif

// ================================================================ the file beside the executable

// The running executable, found another way than the program finds it.
fs::path runningExecutable() {
#ifdef _WIN32
  wchar_t buffer[32768];
  DWORD size = static_cast<DWORD>(std::size(buffer));
  if (!QueryFullProcessImageNameW(GetCurrentProcess(), 0, buffer, &size)) return {};
  return fs::path(std::wstring(buffer, size));
#else
  const char* name = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
  return name ? fs::absolute(name) : fs::path();
#endif
}

// readINI and writeINI work on config.cfg beside the executable. Whatever lay
// there before, the working directory and the global record are put back
// afterwards, so no other test sees a trace of this one.
class BesideExecutable {
public:
  BesideExecutable() : file_(zemlo::settingsFilePath()), cwd_(fs::current_path()) {
    std::memcpy(&record_, &zemlo::settings, sizeof record_);
    if (fs::is_regular_file(file_)) saved_ = readBytes(file_);
    fs::remove_all(file_);
  }
  ~BesideExecutable() {
    std::error_code ignored;
    fs::current_path(cwd_, ignored);
    fs::remove_all(file_, ignored);
    if (saved_) writeBytes(file_, *saved_);
    std::memcpy(&zemlo::settings, &record_, sizeof record_);
  }
  BesideExecutable(const BesideExecutable&) = delete;
  BesideExecutable& operator=(const BesideExecutable&) = delete;

private:
  fs::path file_;
  fs::path cwd_;
  std::optional<std::string> saved_;
  Settings record_;
};

// One test, so that no two processes of a parallel run share the file.
TEST(SettingsBesideExecutable, ReadINIAndWriteINI) {
  const fs::path path = zemlo::settingsFilePath();
  const fs::path exe = runningExecutable();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(path.is_absolute()) << path;
  EXPECT_EQ(path.filename().string(), "config.cfg");
  EXPECT_TRUE(fs::equivalent(path.parent_path(), exe.parent_path())) << path << " vs " << exe;

  BesideExecutable restore;
  // A settings file in the working directory plays no part.
  ScratchDir elsewhere;
  writeBytes(elsewhere / "config.cfg", kOtherFile);
  fs::current_path(elsewhere.path());
  EXPECT_TRUE(fs::path(zemlo::settingsFilePath()) == path) << fs::path(zemlo::settingsFilePath());

  // No file: defaults, and still no file.
  std::memset(&zemlo::settings, 0xA5, sizeof zemlo::settings);
  zemlo::readINI();
  expectRecord(zemlo::settings, kDefaults);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(readBytes(elsewhere / "config.cfg"), kOtherFile);

  // A save makes the file from the global record.
  zemlo::writeINI();
  expectFile(platformBackend(), path, kDefaultFile);
  EXPECT_EQ(readBytes(elsewhere / "config.cfg"), kOtherFile);

  // A load takes every value of the file into the global record.
  writeBytes(path, kOtherFile);
  zemlo::readINI();
  expectRecord(zemlo::settings, kOthers);

  // And a save writes the global record's values over them.
  std::memcpy(&zemlo::settings, &kDefaults, sizeof kDefaults);
  setValue(zemlo::settings, keyNamed("GlareStrength"), 0.6);
  zemlo::writeINI();
  expectTexts(path, [](const Key& key) {
    return key.name == std::string_view("GlareStrength") ? "0.6" : key.fallbackText;
  });
  zemlo::readINI();
  EXPECT_EQ(zemlo::settings.GlareStrength, 0.6);

  // A save that cannot write names the full path.
  fs::remove(path);
  fs::create_directory(path);
  EXPECT_EQ(writeErrorOf([] { zemlo::writeINI(); }),
            "Unable to write to " + zemlo::pathToUtf8(path));
  EXPECT_TRUE(fs::is_empty(path));
}

}  // namespace
