// What every profile store must do, checked on real files for each store this
// platform has: the portable one everywhere, and on Windows the profile API too.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "common/test_support.h"
#include "settings/profile_store.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::string_literals;
using zemlo::ProfileStore;
using namespace zemlo::test;  // the shared scaffolding

namespace {

std::string digits(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('0' + (i * 7 + i / 10) % 10);
  return text;
}

// ---------------------------------------------------------------- reading

struct ReadCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const ReadCase kReadCases[] = {
    // Matching of names.
    {"NamesIgnoreCase", "[general]\r\nSHOWFPS=1\r\n", "General", "showFPS", "1"},
    {"HeaderInCapitals", "[GENERAL]\r\nshowfps=7\r\n", "general", "ShowFps", "7"},
    {"FirstKeyLineWins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
    {"FirstSectionCopyWins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", "S", "k", "1"},
    {"LaterSectionCopyUnread", "[S]\r\na=1\r\n[T]\r\n[S]\r\nb=2\r\n", "S", "b", ""},
    {"KeyOfOtherSection", "[A]\r\nk=1\r\n[B]\r\nj=2\r\n", "B", "k", ""},
    {"KeyBeforeAnySection", "k=1\r\n[S]\r\nj=2\r\n", "S", "k", ""},
    {"KeyPrefixIsNoMatch", "[S]\r\nkey2=1\r\nke=3\r\n", "S", "key", ""},
    {"SectionPrefixIsNoMatch", "[Section]\r\nk=1\r\n", "Sect", "k", ""},
    {"MissingSection", "[A]\r\nk=1\r\n", "B", "k", ""},
    {"MissingKey", "[A]\r\nk=1\r\n", "A", "j", ""},
    {"EmptyFile", "", "A", "k", ""},
    // Blanks.
    {"BlanksAroundKeyAndValue", "[S]\r\n \t\vk \t\v= \t\v1 \t\v\r\n", "S", "k", "1"},
    {"BlanksInsideHeader", "[ \tS\v ]\r\nk=1\r\n", "S", "k", "1"},
    {"IndentedHeader", " \t[S]\r\nk=1\r\n", "S", "k", "1"},
    {"TextAfterHeader", "[S] ; note\r\nk=1\r\n", "S", "k", "1"},
    {"TabInsideValueKept", "[S]\r\nk=1.5\t0\r\n", "S", "k", "1.5\t0"},
    {"SpaceInsideValueKept", "[S]\r\nk=1 000\r\n", "S", "k", "1 000"},
    {"SpaceInsideKeyName", "[S]\r\nmy key = v\r\n", "S", "my key", "v"},
    {"EmptyValue", "[S]\r\nk=   \r\n", "S", "k", ""},
    {"EqualsInsideValue", "[S]\r\nk = a=b\r\n", "S", "k", "a=b"},
    // Quotes: one enclosing pair of the same mark goes.
    {"DoubleQuotes", "[S]\r\nk=\"x\"\r\n", "S", "k", "x"},
    {"SingleQuotes", "[S]\r\nk='x'\r\n", "S", "k", "x"},
    {"QuotesRemovedOnce", "[S]\r\nk=\"\"x\"\"\r\n", "S", "k", "\"x\""},
    {"BlanksInsideQuotesKept", "[S]\r\nk=  \" x \"  \r\n", "S", "k", " x "},
    {"EmptyQuotes", "[S]\r\nk=\"\"\r\n", "S", "k", ""},
    {"MismatchedQuotesKept", "[S]\r\nk=\"x'\r\n", "S", "k", "\"x'"},
    {"LoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
    {"ClosingQuoteOnlyKept", "[S]\r\nk=x\"\r\n", "S", "k", "x\""},
    {"InnerQuoteKept", "[S]\r\nk=\"a\"b\"\r\n", "S", "k", "a\"b"},
    // Comments and other lines.
    {"CommentIsNoKey", "[S]\r\n;k=1\r\n", "S", "k", ""},
    {"IndentedComment", "[S]\r\n \t;k=1\r\nk=2\r\n", "S", "k", "2"},
    {"SemicolonInsideValue", "[S]\r\nk=1 ; two\r\n", "S", "k", "1 ; two"},
    {"CommentedHeader", ";[S]\r\nk=1\r\n", "S", "k", ""},
    {"LineWithoutEqualsIsNoKey", "[S]\r\nk\r\n", "S", "k", ""},
    {"LineWithoutEqualsSkipped", "[S]\r\njunk line\r\nk=2\r\n", "S", "k", "2"},
    {"NulAndHighBytesSkipped", "[S]\r\n\0\x01\xff\xfe"s + " junk\r\nk=2\r\n", "S", "k", "2"},
    // Line ends.
    {"LfFile", "[S]\nk=1\nj=2\n", "S", "j", "2"},
    {"CrFile", "[S]\rk=1\rj=2\r", "S", "j", "2"},
    {"CrFileValueHasNoCr", "[S]\rk=1\rj=2\r", "S", "k", "1"},
    {"CrlfFile", "[S]\r\nk=1\r\nj=2\r\n", "S", "j", "2"},
    {"MixedLineEnds", "[S]\r\na=1\nb=2\rc=3", "S", "c", "3"},
    {"MixedLineEndsFirstLine", "[S]\r\na=1\nb=2\rc=3", "S", "a", "1"},
    {"LastLineWithoutBreak", "[S]\r\nk=1", "S", "k", "1"},
    // Length: values come through a 2048-character buffer.
    {"LongValueCut", "[S]\r\nk=" + digits(3000) + "\r\n", "S", "k", digits(2047)},
    {"ValueOf2048Cut", "[S]\r\nk=" + digits(2048) + "\r\n", "S", "k", digits(2047)},
    {"ValueOf2047Whole", "[S]\r\nk=" + digits(2047) + "\r\nj=1\r\n", "S", "k", digits(2047)},
};

class ProfileStoreRead : public ::testing::TestWithParam<std::tuple<Backend, ReadCase>> {
protected:
  ScratchDir dir_;
};

TEST_P(ProfileStoreRead, FindsTheValue) {
  const auto& [backend, c] = GetParam();
  const fs::path file = dir_ / "config.cfg";
  writeBytes(file, c.file);
  EXPECT_EQ(backend.open(file)->read(c.section, c.key), c.expected);
  EXPECT_EQ(readBytes(file), c.file) << "a read changed the file";
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileStoreRead,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kReadCases)),
                         kCaseName);

// ---------------------------------------------------------------- writing

struct Entry {
  const char* section;
  const char* key;
  const char* value;
};

struct WriteCase {
  const char* name;
  std::optional<std::string> before;  // nullopt: no file yet
  Entry write;
  std::string after;        // the exact result of a store that keeps bytes
  bool sameWhenRewritten;   // `after` is also what a whole-file rewrite gives
  std::vector<Entry> kept;  // other values that must read the same afterwards
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

const WriteCase kWriteCases[] = {
    // Creating file and section.
    {"CreatesFile",
     std::nullopt,
     {"General", "showFPS", "1"},
     "[General]\r\nshowFPS=1\r\n",
     true,
     {}},
    {"FillsEmptyFile", "", {"General", "showFPS", "1"}, "[General]\r\nshowFPS=1\r\n", true, {}},
    {"NewSectionAtEnd",
     "[A]\r\nx=1\r\n",
     {"B", "k", "v"},
     "[A]\r\nx=1\r\n[B]\r\nk=v\r\n",
     true,
     {{"A", "x", "1"}}},
    {"NewSectionAfterUnbrokenLine",
     "[A]\r\nx=1",
     {"B", "k", "v"},
     "[A]\r\nx=1\r\n[B]\r\nk=v\r\n",
     true,
     {{"A", "x", "1"}}},
    {"NewSectionAfterComment",
     "[A]\r\nx=1\r\n\r\n; end\r\n",
     {"B", "k", "v"},
     "[A]\r\nx=1\r\n\r\n; end\r\n[B]\r\nk=v\r\n",
     false,
     {{"A", "x", "1"}}},
    {"NewSectionInLfFile",
     "[A]\nx=1\n",
     {"B", "k", "v"},
     "[A]\nx=1\n[B]\r\nk=v\r\n",
     false,
     {{"A", "x", "1"}}},
    {"NewSectionInCrFile",
     "[A]\rx=1\r",
     {"B", "k", "v"},
     "[A]\rx=1\r[B]\r\nk=v\r\n",
     false,
     {{"A", "x", "1"}}},
    // Adding a key to an existing section.
    {"NewKeyAfterLastKey",
     "[A]\r\nx=1\r\n[B]\r\ny=2\r\n",
     {"A", "k", "v"},
     "[A]\r\nx=1\r\nk=v\r\n[B]\r\ny=2\r\n",
     true,
     {{"A", "x", "1"}, {"B", "y", "2"}}},
    {"NewKeyBeforeBlankAndComment",
     "[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\ny=2\r\n",
     {"A", "k", "v"},
     "[A]\r\nx=1\r\nk=v\r\n\r\n; about B\r\n[B]\r\ny=2\r\n",
     false,
     {{"A", "x", "1"}, {"B", "y", "2"}}},
    {"NewKeyAfterHeaderOfKeylessSection",
     "[A]\r\n; nothing yet\r\n\r\n[B]\r\ny=2\r\n",
     {"A", "k", "v"},
     "[A]\r\nk=v\r\n; nothing yet\r\n\r\n[B]\r\ny=2\r\n",
     false,
     {{"B", "y", "2"}}},
    {"NewKeyAfterUnbrokenHeader",
     "[A]\r\nx=1\r\n[B]",
     {"B", "k", "v"},
     "[A]\r\nx=1\r\n[B]\r\nk=v\r\n",
     true,
     {{"A", "x", "1"}}},
    {"NewKeyAfterUnbrokenKey",
     "[A]\r\nx=1",
     {"A", "k", "v"},
     "[A]\r\nx=1\r\nk=v\r\n",
     true,
     {{"A", "x", "1"}}},
    {"NewKeyInFirstSectionCopy",
     "[A]\r\nx=1\r\n[B]\r\n[a]\r\ny=2\r\n",
     {"A", "k", "v"},
     "[A]\r\nx=1\r\nk=v\r\n[B]\r\n[a]\r\ny=2\r\n",
     true,
     {{"A", "x", "1"}}},
    {"NewKeyInSectionOfOtherCase",
     "[general]\r\nx=1\r\n",
     {"General", "showFPS", "1"},
     "[general]\r\nx=1\r\nshowFPS=1\r\n",
     true,
     {{"General", "x", "1"}}},
    {"CommentedKeyIsNotReplaced",
     "[A]\r\n;k=0\r\n",
     {"A", "k", "1"},
     "[A]\r\nk=1\r\n;k=0\r\n",
     false,
     {}},
    // Replacing a key where it stands.
    {"ReplaceKeepsSpelling",
     "[A]\r\nSHOWFPS=0\r\nz=1\r\n",
     {"a", "showFPS", "1"},
     "[A]\r\nSHOWFPS=1\r\nz=1\r\n",
     true,
     {{"A", "z", "1"}}},
    {"ReplaceWhereItStands",
     "[A]\r\na=1\r\nk=0\r\nb=2\r\n",
     {"A", "k", "9"},
     "[A]\r\na=1\r\nk=9\r\nb=2\r\n",
     true,
     {{"A", "a", "1"}, {"A", "b", "2"}}},
    {"ReplaceBlankedLine",
     "[A]\r\n \tk = old value \r\n",
     {"A", "k", "new"},
     "[A]\r\nk=new\r\n",
     true,
     {}},
    {"ReplaceQuotedValue", "[A]\r\nk=\"old\"\r\n", {"A", "k", "new"}, "[A]\r\nk=new\r\n", true, {}},
    {"ReplaceFirstOfDuplicates",
     "[A]\r\nk=0\r\nK=5\r\n[A]\r\nk=6\r\n",
     {"A", "k", "1"},
     "[A]\r\nk=1\r\nK=5\r\n[A]\r\nk=6\r\n",
     true,
     {}},
    {"ReplaceKeepsLfEnding",
     "[A]\nk=0\nz=1\n",
     {"A", "k", "1"},
     "[A]\nk=1\nz=1\n",
     false,
     {{"A", "z", "1"}}},
    {"ReplaceKeepsCrEnding",
     "[A]\rk=0\rz=1",
     {"A", "k", "1"},
     "[A]\rk=1\rz=1",
     false,
     {{"A", "z", "1"}}},
    {"ReplaceUnbrokenLastLine", "[A]\r\nk=0", {"A", "k", "1"}, "[A]\r\nk=1", false, {}},
    {"ReplaceUnderBlankedHeader",
     "[ A ]\r\nk=0\r\n",
     {"A", "k", "1"},
     "[ A ]\r\nk=1\r\n",
     false,
     {}},
    {"GarbageKept",
     "[A]\r\n\0\x01\xff\xfe"s + " junk\r\nk=0\r\n",
     {"A", "k", "1"},
     "[A]\r\n\0\x01\xff\xfe"s + " junk\r\nk=1\r\n",
     false,
     {}},
};

class ProfileStoreWrite : public ::testing::TestWithParam<std::tuple<Backend, WriteCase>> {
protected:
  ScratchDir dir_;
};

TEST_P(ProfileStoreWrite, SetsTheValue) {
  const auto& [backend, c] = GetParam();
  const fs::path file = dir_ / "config.cfg";
  if (c.before) writeBytes(file, *c.before);

  ASSERT_TRUE(backend.open(file)->write(c.write.section, c.write.key, c.write.value));

  const std::string after = readBytes(file);
  if (backend.preservesBytes || c.sameWhenRewritten) {
    EXPECT_EQ(after, c.after);
  }
  // Read back by a fresh store of this kind and by the portable reader.
  EXPECT_EQ(backend.open(file)->read(c.write.section, c.write.key), c.write.value);
  EXPECT_EQ(zemlo::openPortableProfile(file)->read(c.write.section, c.write.key), c.write.value);
  for (const Entry& e : c.kept) {
    EXPECT_EQ(backend.open(file)->read(e.section, e.key), e.value) << e.section << "/" << e.key;
  }
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"}) << "stray files";
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileStoreWrite,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kWriteCases)),
                         kCaseName);

// ---------------------------------------------------------------- whole files and failures

class ProfileStoreContract : public ::testing::TestWithParam<Backend> {
protected:
  std::unique_ptr<ProfileStore> open(const fs::path& file) const { return GetParam().open(file); }
  fs::path file() const { return dir_ / "config.cfg"; }
  ScratchDir dir_;
};

TEST_P(ProfileStoreContract, ReadOfMissingFileCreatesNothing) {
  EXPECT_EQ(open(file())->read("General", "showFPS"), "");
  EXPECT_FALSE(fs::exists(file()));
  EXPECT_EQ(open(dir_ / "missing" / "config.cfg")->read("General", "showFPS"), "");
  EXPECT_TRUE(fs::is_empty(dir_.path()));
}

TEST_P(ProfileStoreContract, KeepsThePathItWasGiven) { EXPECT_EQ(open(file())->path(), file()); }

// A save visits every key in a fixed order: a new file gets them in that order,
// and saving again replaces each line in place, leaving the layout alone.
TEST_P(ProfileStoreContract, RepeatedSaveKeepsLayout) {
  const Entry first[] = {{"General", "showFPS", "0"},      {"General", "LODbias0", "0.4"},
                         {"Postprocessing", "Glare", "1"}, {"Postprocessing", "GlareSize", "3"},
                         {"Reflections", "sizeX", "512"},  {"Reflections", "texOffsetX", "-0.49"}};
  const Entry second[] = {{"General", "showFPS", "1"},      {"General", "LODbias0", "-1E-5"},
                          {"Postprocessing", "Glare", "0"}, {"Postprocessing", "GlareSize", "3.5"},
                          {"Reflections", "sizeX", "1024"}, {"Reflections", "texOffsetX", "0"}};
  const auto store = open(file());
  for (const Entry& e : first) ASSERT_TRUE(store->write(e.section, e.key, e.value));
  const std::string layout =
      "[General]\r\nshowFPS=0\r\nLODbias0=0.4\r\n"
      "[Postprocessing]\r\nGlare=1\r\nGlareSize=3\r\n"
      "[Reflections]\r\nsizeX=512\r\ntexOffsetX=-0.49\r\n";
  EXPECT_EQ(readBytes(file()), layout);
  for (const Entry& e : second) ASSERT_TRUE(store->write(e.section, e.key, e.value));
  EXPECT_EQ(readBytes(file()),
            "[General]\r\nshowFPS=1\r\nLODbias0=-1E-5\r\n"
            "[Postprocessing]\r\nGlare=0\r\nGlareSize=3.5\r\n"
            "[Reflections]\r\nsizeX=1024\r\ntexOffsetX=0\r\n");
  for (const Entry& e : second) EXPECT_EQ(store->read(e.section, e.key), e.value) << e.key;
}

TEST_P(ProfileStoreContract, UnknownContentSurvives) {
  const std::string before =
      "; written by hand\r\n"
      "[Extra]\r\nfoo = bar\r\n\r\n"
      "[General]\r\n; keep me\r\nshowFPS=0\r\nmystery=42\r\n\r\n"
      "[Reflections]\r\nsizeX=512\r\n";
  writeBytes(file(), before);
  const auto store = open(file());
  ASSERT_TRUE(store->write("General", "showFPS", "1"));
  ASSERT_TRUE(store->write("General", "showStat", "1"));
  ASSERT_TRUE(store->write("Postprocessing", "Glare", "0"));

  const std::string after = readBytes(file());
  for (const char* comment : {"; written by hand", "; keep me"}) {
    EXPECT_NE(after.find(comment), std::string::npos) << comment;
  }
  EXPECT_EQ(store->read("Extra", "foo"), "bar");
  EXPECT_EQ(store->read("General", "mystery"), "42");
  EXPECT_EQ(store->read("Reflections", "sizeX"), "512");
  EXPECT_EQ(store->read("General", "showFPS"), "1");
  EXPECT_EQ(store->read("General", "showStat"), "1");
  EXPECT_EQ(store->read("Postprocessing", "Glare"), "0");
  if (GetParam().preservesBytes) {
    EXPECT_EQ(after,
              "; written by hand\r\n"
              "[Extra]\r\nfoo = bar\r\n\r\n"
              "[General]\r\n; keep me\r\nshowFPS=1\r\nmystery=42\r\nshowStat=1\r\n\r\n"
              "[Reflections]\r\nsizeX=512\r\n"
              "[Postprocessing]\r\nGlare=0\r\n");
  }
}

// Writing the value a key already has succeeds without touching the file, so
// a save that changes nothing costs no disk writes.
TEST_P(ProfileStoreContract, UnchangedValueLeavesTheFileAlone) {
  const std::string before = "[General]\r\nshowFPS=1\r\nLODbias0=-0.25\r\n";
  writeBytes(file(), before);
  const auto longAgo = fs::last_write_time(file()) - std::chrono::hours(24 * 400);
  fs::last_write_time(file(), longAgo);
  const auto store = open(file());
  ASSERT_TRUE(store->write("General", "showFPS", "1"));
  ASSERT_TRUE(store->write("general", "LODBIAS0", "-0.25"));
  EXPECT_EQ(fs::last_write_time(file()), longAgo);
  EXPECT_EQ(readBytes(file()), before);
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  ASSERT_TRUE(store->write("General", "LODbias0", "0.5"));
  EXPECT_NE(fs::last_write_time(file()), longAgo);
}

TEST_P(ProfileStoreContract, WriteToDirectoryFails) {
  fs::create_directory(file());
  writeBytes(file() / "inside.txt", "untouched");
  EXPECT_FALSE(open(file())->write("General", "showFPS", "1"));
  EXPECT_TRUE(fs::is_directory(file()));
  EXPECT_EQ(namesIn(file()), std::vector<std::string>{"inside.txt"});
  EXPECT_EQ(readBytes(file() / "inside.txt"), "untouched");
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  EXPECT_EQ(open(file())->read("General", "showFPS"), "");
}

TEST_P(ProfileStoreContract, WriteIntoMissingDirectoryFails) {
  const fs::path missing = dir_ / "missing";
  EXPECT_FALSE(open(missing / "config.cfg")->write("General", "showFPS", "1"));
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_TRUE(fs::is_empty(dir_.path()));
}

TEST_P(ProfileStoreContract, WriteToReadOnlyFileFails) {
  const std::string before = "[General]\r\nshowFPS=0\r\n";
  writeBytes(file(), before);
  fs::permissions(file(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const bool writable = writableForMe(file());
  if (!writable) {
    EXPECT_FALSE(open(file())->write("General", "showFPS", "1"));
    EXPECT_FALSE(open(file())->write("General", "showFPS", "0")) << "value unchanged";
    EXPECT_EQ(readBytes(file()), before);
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  }
  fs::permissions(file(), fs::perms::owner_write, fs::perm_options::add);
  if (writable) GTEST_SKIP() << "read-only files are writable for this user";
}

// A game folder named in Cyrillic on a Western system: the ANSI code page
// cannot spell it, the file must still load and save.
TEST_P(ProfileStoreContract, FolderNameOutsideTheAnsiCodePage) {
  const fs::path folder = dir_.path() / fs::path(u8"\u0418\u0433\u0440\u044b ZEMLO \u00e9");
  fs::create_directory(folder);
  const fs::path cfg = folder / "config.cfg";
  ASSERT_TRUE(open(cfg)->write("Reflections", "maxCount", "77"));
  EXPECT_TRUE(fs::exists(cfg));
  EXPECT_EQ(open(cfg)->read("reflections", "MAXCOUNT"), "77");
  EXPECT_EQ(readBytes(cfg).find("maxCount=77"), readBytes(cfg).find("maxCount"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ProfileStoreContract, ::testing::ValuesIn(kBackends), kCaseName);

// ---------------------------------------------------------------- errors and the platform choice

TEST(ProfileStoreErrors, WriteErrorNamesTheFile) {
  const fs::path file = fs::path("some dir") / "config.cfg";
  EXPECT_EQ(std::string(zemlo::WriteError(file).what()),
            "Unable to write to " + zemlo::pathToUtf8(file));
  EXPECT_EQ(
      zemlo::pathToUtf8(fs::path(u8"d\u00e9j\u00e0") / "config.cfg"),
      "d\xc3\xa9j\xc3\xa0"s + static_cast<char>(fs::path::preferred_separator) + "config.cfg");
}

TEST(ProfileStoreErrors, PlatformStoreReadsAndWrites) {
  ScratchDir dir;
  const auto store = zemlo::openProfile(dir / "config.cfg");
  ASSERT_TRUE(store->write("General", "showFPS", "1"));
  EXPECT_EQ(store->read("general", "SHOWFPS"), "1");
  EXPECT_EQ(readBytes(dir / "config.cfg"), "[General]\r\nshowFPS=1\r\n");
}

// ---------------------------------------------------------------- arbitrary bytes

// Files made of the characters that matter to the format, NULs and high bytes
// included: a write must always read back, and writing it again changes nothing.
TEST(PortableProfileStore, AnyBytesRoundTrip) {
  static const char* const kPieces[] = {"[", "]",  "=",  ";",    "\r",  "\n", "\r\n",
                                        " ", "\t", "\v", "\"",   "'",   "s",  "S",
                                        "k", "K",  "x",  "\xff", "\x80"};
  ScratchDir dir;
  const fs::path file = dir / "config.cfg";
  std::mt19937 random(20240601);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int pieces = static_cast<int>(random() % 60);
    for (int i = 0; i < pieces; ++i) {
      if (random() % 23 == 0) bytes += '\0';
      bytes += kPieces[random() % std::size(kPieces)];
    }
    writeBytes(file, bytes);
    const auto store = zemlo::openPortableProfile(file);
    store->read("S", "k");
    ASSERT_TRUE(store->write("S", "k", "v1")) << ::testing::PrintToString(bytes);
    ASSERT_EQ(store->read("s", "K"), "v1") << ::testing::PrintToString(bytes);
    const std::string once = readBytes(file);
    EXPECT_LE(once.size(), bytes.size() + 2 + 5 + 6) << ::testing::PrintToString(bytes);
    ASSERT_TRUE(store->write("S", "k", "v1"));
    EXPECT_EQ(readBytes(file), once) << ::testing::PrintToString(bytes);
  }
}

// ---------------------------------------------------------------- the portable store on POSIX

#ifndef _WIN32

mode_t modeOf(const fs::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0);
  return st.st_mode & 07777;
}

TEST(PortableProfileStore, KeepsPermissions) {
  ScratchDir dir;
  for (const mode_t mode : {0600, 0640, 0664, 0604}) {
    const fs::path file = dir / "config.cfg";
    writeBytes(file, "[A]\r\nk=0\r\n");
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    ASSERT_TRUE(zemlo::openPortableProfile(file)->write("A", "k", "1"));
    EXPECT_EQ(modeOf(file), mode) << std::oct << mode;
    EXPECT_EQ(readBytes(file), "[A]\r\nk=1\r\n");
  }
}

TEST(PortableProfileStore, WritesThroughSymlink) {
  ScratchDir dir;
  fs::create_directory(dir / "real");
  writeBytes(dir / "real" / "target.cfg", "[A]\r\nk=0\r\n");
  fs::create_symlink(fs::path("real") / "target.cfg", dir / "config.cfg");
  const auto store = zemlo::openPortableProfile(dir / "config.cfg");
  ASSERT_TRUE(store->write("A", "k", "1"));
  EXPECT_TRUE(fs::is_symlink(dir / "config.cfg"));
  EXPECT_EQ(readBytes(dir / "real" / "target.cfg"), "[A]\r\nk=1\r\n");
  EXPECT_EQ(store->read("A", "k"), "1");
  EXPECT_EQ(namesIn(dir / "real"), std::vector<std::string>{"target.cfg"});
}

TEST(PortableProfileStore, DanglingSymlinkCreatesItsTarget) {
  ScratchDir dir;
  fs::create_symlink("target.cfg", dir / "config.cfg");
  ASSERT_TRUE(zemlo::openPortableProfile(dir / "config.cfg")->write("A", "k", "1"));
  EXPECT_TRUE(fs::is_symlink(dir / "config.cfg"));
  EXPECT_EQ(readBytes(dir / "target.cfg"), "[A]\r\nk=1\r\n");
}

TEST(PortableProfileStore, ReadOnlyDirectoryFails) {
  ScratchDir dir;
  const fs::path file = dir / "config.cfg";
  writeBytes(file, "[A]\r\nk=0\r\n");
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  if (writableForMe(dir.path())) {
    ::chmod(dir.path().c_str(), 0755);
    GTEST_SKIP() << "read-only directories are writable for this user";
  }
  EXPECT_FALSE(zemlo::openPortableProfile(file)->write("A", "k", "1"));
  EXPECT_FALSE(zemlo::openPortableProfile(file)->write("B", "k", "1"));
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(readBytes(file), "[A]\r\nk=0\r\n");
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"config.cfg"});
}

TEST(PortableProfileStore, UnreadableFileIsNotReplaced) {
  ScratchDir dir;
  const fs::path file = dir / "config.cfg";
  writeBytes(file, "[A]\r\nk=0\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0200), 0);
  if (std::ifstream(file).is_open()) {
    ::chmod(file.c_str(), 0600);
    GTEST_SKIP() << "unreadable files are readable for this user";
  }
  EXPECT_EQ(zemlo::openPortableProfile(file)->read("A", "k"), "");
  EXPECT_FALSE(zemlo::openPortableProfile(file)->write("B", "j", "1"));
  ::chmod(file.c_str(), 0600);
  EXPECT_EQ(readBytes(file), "[A]\r\nk=0\r\n");
}

#endif

}  // namespace
