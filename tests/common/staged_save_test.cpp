// The save of the settings file as one step: the judgement of a staged copy,
// and the staged save on real files with the platform's own store.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "settings/save_check.h"
#include "settings/staged_save.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace zemlo::test;  // the shared scaffolding

namespace {

// ---------------------------------------------------------------- judging a staged copy

const std::string kOriginal =
    "; mine\r\n[General]\r\nshowFPS=0\r\nnote = kept\r\n\r\n[Extra]\r\nk=v\r\nlast line\r\n";
const zemlo::Assignment kWritten[] = {{"General", "showFPS", "1"}, {"General", "showStat", "1"}};

std::string utf16le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) out += {c, '\0'};
  return out;
}

struct CheckCase {
  const char* name;
  std::string staged;
  bool holds;
};

const CheckCase kCheckCases[] = {
    {"EditedInPlace",
     "; mine\r\n[General]\r\nshowFPS=1\r\nnote = kept\r\nshowStat=1\r\n\r\n[Extra]\r\nk=v\r\nlast "
     "line\r\n",
     true},
    // The profile API's own way of writing a file back.
    {"RewrittenByTheApi",
     "; mine\r\n[General]\r\nshowFPS=1\r\nnote=kept\r\nshowStat=1\r\n[Extra]\r\nk=v\r\nlast "
     "line\r\n",
     true},
    {"Utf16",
     utf16le(
         "; mine\r\n[General]\r\nshowFPS=1\r\nshowStat=1\r\nnote=kept\r\n[Extra]\r\nk=v\r\nlast "
         "line\r\n"),
     true},
    {"KeyMissing",
     "; mine\r\n[General]\r\nshowFPS=1\r\nnote = kept\r\n[Extra]\r\nk=v\r\nlast line\r\n", false},
    {"OldValue",
     "; mine\r\n[General]\r\nshowFPS=0\r\nshowStat=1\r\nnote = kept\r\n[Extra]\r\nk=v\r\nlast "
     "line\r\n",
     false},
    {"CutAfterTheKeys",
     "; mine\r\n[General]\r\nshowFPS=1\r\nnote = kept\r\nshowStat=1\r\n[Extra]\r\nk=", false},
    {"LastLineCut",
     "; mine\r\n[General]\r\nshowFPS=1\r\nnote = kept\r\nshowStat=1\r\n[Extra]\r\nk=v\r\nlast li",
     false},
    {"CommentLost",
     "[General]\r\nshowFPS=1\r\nnote = kept\r\nshowStat=1\r\n[Extra]\r\nk=v\r\nlast line\r\n",
     false},
    {"LinesSwapped",
     "; mine\r\n[General]\r\nshowFPS=1\r\nshowStat=1\r\n[Extra]\r\nk=v\r\nnote = kept\r\nlast "
     "line\r\n",
     false},
    {"Empty", "", false},
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class StagedCopyCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(StagedCopyCheck, JudgesTheCopy) {
  EXPECT_EQ(zemlo::stagedCopyHoldsSave(kOriginal, GetParam().staged, kWritten), GetParam().holds);
}

INSTANTIATE_TEST_SUITE_P(Copies, StagedCopyCheck, ::testing::ValuesIn(kCheckCases),
                         zemlo::test::kCaseName);

// The API keeps a line up to its first NUL; damage it did not do is still seen.
TEST(StagedCopyCheckText, NulsAndByteOrderMarks) {
  const std::string garbage = "[General]\r\nx\0y\r\na\0b=c\0d\r\n"s;
  const zemlo::Assignment one[] = {{"General", "showFPS", "1"}};
  EXPECT_TRUE(zemlo::stagedCopyHoldsSave(garbage, "[General]\r\nx\r\na=c\r\nshowFPS=1\r\n", one));
  EXPECT_FALSE(zemlo::stagedCopyHoldsSave(garbage, "[General]\r\na=c\r\nshowFPS=1\r\n", one));
  EXPECT_EQ(zemlo::profileText("\xEF\xBB\xBFk=v"), "k=v");
  EXPECT_EQ(zemlo::profileText("\xFE\xFF\x04\x10\xD8\x3D\xDE\x00"s), "\xD0\x90\xF0\x9F\x98\x80");
  EXPECT_EQ(zemlo::profileText("\xFF\xFE\x00\xD8"s), "\xEF\xBF\xBD") << "a lone surrogate";
}

// A refused copy says which key or line it lacks, for the developer.
TEST(StagedCopyCheckText, SaysWhatIsMissing) {
  const struct {
    const char* staged;
    const char* why;
  } cases[] = {
      {"; mine\r\n[General]\r\nshowFPS=1\r\nnote = kept\r\n", "[General] showStat does not read 1"},
      {"; mine\r\n[General]\r\nshowFPS=1\r\nshowStat=1\r\nnote=kept\r\n[Extra]\r\nk=v\r\nlast",
       "line 8 is missing: last line"},
  };
  for (const auto& c : cases) {
    std::string why;
    EXPECT_FALSE(zemlo::stagedCopyHoldsSave(kOriginal, c.staged, kWritten, &why));
    EXPECT_EQ(why, c.why);
  }
}

// ---------------------------------------------------------------- the staged save on real files

void save(const fs::path& file, const std::vector<zemlo::Assignment>& writes) {
  zemlo::StagedSave staged(file);
  for (const auto& w : writes)
    if (!staged.write(w.section, w.key, w.value)) throw zemlo::WriteError(file);
  staged.commit();
}

class StagedSaveTest : public ::testing::Test {
protected:
  fs::path file() const { return dir_ / "config.cfg"; }
  ScratchDir dir_;
};

TEST_F(StagedSaveTest, ReplacesTheFileAndLeavesNoCopy) {
  writeBytes(file(), "[General]\r\nshowFPS=0\r\n; mine\r\n");
  save(file(), {{"General", "showFPS", "1"}, {"Reflections", "sizeX", "512"}});
  const std::string after = readBytes(file());
  EXPECT_NE(after.find("showFPS=1"), std::string::npos);
  EXPECT_NE(after.find("; mine"), std::string::npos);
  EXPECT_NE(after.find("sizeX=512"), std::string::npos);
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
}

TEST_F(StagedSaveTest, NothingChangedWritesNothing) {
  writeBytes(file(), "[General]\r\nshowFPS=1\r\n");
  const auto longAgo = fs::last_write_time(file()) - std::chrono::hours(24 * 400);
  fs::last_write_time(file(), longAgo);
  save(file(), {{"General", "showFPS", "1"}});
  EXPECT_EQ(fs::last_write_time(file()), longAgo);
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
}

// Copies a killed save left behind go at the next save; look-alikes stay.
TEST_F(StagedSaveTest, RemovesStaleCopiesOfThisFileAndNothingElse) {
  writeBytes(file(), "[General]\r\nshowFPS=0\r\n");
  const std::vector<std::string> others = {"config.cfg.0123abcd.old", "config.cfg.0123abc.tmp",
                                           "config.cfg.0123abcg.tmp", "config.cfg0123abcd.tmp",
                                           "other.cfg.0123abcd.tmp"};
  for (const std::string& name : others) writeBytes(dir_ / name, "the player's");
  writeBytes(dir_ / "config.cfg.0123abcd.tmp", "a killed save's");
  writeBytes(dir_ / "config.cfg.ffffffff.tmp", "a killed save's");
  save(file(), {{"General", "showFPS", "1"}});
  std::vector<std::string> expected = others;
  expected.push_back("config.cfg");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(namesIn(dir_.path()), expected);
}

// A copy another save is still writing is not stale: a save's sweep leaves it,
// the other save completes, and once nobody holds the copy the next sweep takes it.
// (On Windows a StagedSave holds its copy from the start; natively only while made.)
TEST_F(StagedSaveTest, LeavesACopyAnotherSaveIsStillWriting) {
  writeBytes(file(), "[General]\r\nshowFPS=0\r\n");
  zemlo::StagedSave other(file());
  auto held = zemlo::files::createBeside(file(), "being written");
  ASSERT_TRUE(held);
  save(file(), {{"General", "showFPS", "1"}});
  EXPECT_EQ(readBytes(held->name), "being written");
  ASSERT_TRUE(other.write("General", "showStat", "1"));
  other.commit();
  EXPECT_EQ(readBytes(file()), "[General]\r\nshowFPS=0\r\nshowStat=1\r\n");
  held->hold.reset();  // as a killed save lets go
  save(file(), {{"General", "showFPS", "1"}});
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
}

TEST_F(StagedSaveTest, FailureLeavesTheFileAndNoCopy) {
  fs::create_directory(file());
  EXPECT_THROW(save(file(), {{"General", "showFPS", "1"}}), zemlo::WriteError);
  EXPECT_THROW(save(dir_ / "gone" / "config.cfg", {{"General", "showFPS", "1"}}),
               zemlo::WriteError);
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  EXPECT_TRUE(fs::is_empty(file()));
}

#ifdef _WIN32
std::string debugOutput;

LONG CALLBACK catchDebugOutput(EXCEPTION_POINTERS* e) {
  const EXCEPTION_RECORD& r = *e->ExceptionRecord;
  if (r.ExceptionCode == DBG_PRINTEXCEPTION_C && r.NumberParameters >= 2)
    debugOutput.append(reinterpret_cast<const char*>(r.ExceptionInformation[1]),
                       r.ExceptionInformation[0]);
  return EXCEPTION_CONTINUE_SEARCH;
}
#endif

// What `run` tells a debugger: OutputDebugString's text, caught on its way, on
// Windows; standard error natively.
std::string debuggerOutputOf(const std::function<void()>& run) {
#ifdef _WIN32
  void* handler = AddVectoredExceptionHandler(1, catchDebugOutput);
  debugOutput.clear();
  run();
  RemoveVectoredExceptionHandler(handler);
  return debugOutput;
#else
  ::testing::internal::CaptureStderr();
  run();
  return ::testing::internal::GetCapturedStderr();
#endif
}

// A copy that does not hold the save is refused: the save fails, the file
// stays, and the debugger is told which key or line the copy lacks.
TEST_F(StagedSaveTest, RefusedCopyTellsTheDebuggerWhy) {
  const std::string original = "[General]\r\nshowFPS=0\r\n; mine\r\nlast\r\n";
  const struct {
    const char* value;  // of showFPS
    bool cut;           // another program cuts the staged copy before it is checked
    const char* why;
  } cases[] = {
      {"1 ", false, "refused: [General] showFPS does not read 1 "},  // a blank no read gives back
#ifdef _WIN32
      {"1", true, "refused: line 4 is missing: last"},  // the copy exists before the commit there
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    writeBytes(file(), original);
    const std::string told = debuggerOutputOf([&] {
      zemlo::StagedSave staged(file());
      ASSERT_TRUE(staged.write("General", "showFPS", c.value));
      for (const std::string& name : namesIn(dir_.path()))
        if (c.cut && name != "config.cfg")
          writeBytes(dir_ / name, "[General]\r\nshowFPS=1\r\n; mine\r\n");
      EXPECT_THROW(staged.commit(), zemlo::WriteError);
    });
    EXPECT_NE(told.find(c.why), std::string::npos) << told;
    EXPECT_EQ(readBytes(file()), original);
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
  }
}

#ifndef _WIN32

// Whichever write a full disk stops (the copy, a key, the last key), the
// file stays byte for byte as it was and no copy is left.
TEST_F(StagedSaveTest, FullDiskAtAnyPointLeavesTheFileWhole) {
  std::string original = "[General]\r\nshowFPS=0\r\n[Player]\r\n";
  for (int i = 0; i < 200; ++i) original += "note" + std::to_string(i) + "=kept\r\n";
  for (const std::size_t limit :
       {std::size_t{0}, original.size() - 1, original.size() + 5, original.size() + 20}) {
    writeBytes(file(), original);
    {
      zemlo::test::FileSizeLimit full(limit);
      ASSERT_TRUE(full.active());
      EXPECT_THROW(
          save(file(),
               {{"General", "showFPS", "1"}, {"General", "LODbias0", "-0.25"}, {"New", "k", "v"}}),
          zemlo::WriteError)
          << limit;
    }
    EXPECT_TRUE(readBytes(file()) == original) << limit;
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"}) << limit;
  }
}

// A folder that takes no new file around a file that can be written: staged
// in the temporary folder and written over the file in place.
TEST_F(StagedSaveTest, ReadOnlyFolderWithWritableFileIsWrittenInPlace) {
  writeBytes(file(), "[General]\r\nshowFPS=0\r\n");
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0555), 0);
  if (zemlo::test::writableForMe(dir_.path())) {
    ::chmod(dir_.path().c_str(), 0755);
    GTEST_SKIP() << "read-only folders are writable for this user";
  }
  save(file(), {{"General", "showFPS", "1"}});
  ::chmod(dir_.path().c_str(), 0755);
  EXPECT_EQ(readBytes(file()), "[General]\r\nshowFPS=1\r\n");
  EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"config.cfg"});
}

#endif

}  // namespace
