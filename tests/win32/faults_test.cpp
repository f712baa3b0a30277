// A hostile settings file or disk: the window loads what it can, fails a save
// with the error box, keeps running and loses nothing it does not own.
#include <windows.h>

#include <filesystem>
#include <random>
#include <vector>

#include "common/test_support.h"
#include "settings/profile_store.h"
#include "settings/settings.h"
#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

using FaultsTest = WindowTest;

bool contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}

TEST_F(FaultsTest, FileHeldOpenWithoutSharingFailsTheSaveAndStaysIntact) {
  const std::string original = "[General]\r\nshowFPS=1\r\n; keep\r\n";
  writeConfig(original);
  open();
  HANDLE held =
      CreateFileW(configPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  click(control(L"BitBtn1"));
  CloseHandle(held);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Unable to write to " + configPath().wstring() + L".");
  EXPECT_TRUE(IsWindow(form.handle()));
  EXPECT_EQ(readConfig(), original);
  // Let go of, the same window saves.
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
  EXPECT_TRUE(contains(readConfig(), "; keep\r\n"));
}

// Staged copies the save left beside config.cfg: there should never be any.
std::vector<std::wstring> stagedCopiesBeside(const std::filesystem::path& config) {
  std::vector<std::wstring> found;
  for (const auto& entry : std::filesystem::directory_iterator(config.parent_path())) {
    const std::wstring name = entry.path().filename().wstring();
    if (name.rfind(config.filename().wstring() + L".", 0) == 0) found.push_back(name);
  }
  return found;
}

// A running game may hold config.cfg open for reading and writing without
// letting it be deleted: it cannot be replaced, so it is written in place.
TEST_F(FaultsTest, FileHeldOpenForWritingButNotDeletionIsWrittenInPlace) {
  writeConfig("[General]\r\nshowFPS=1\r\n; keep\r\n");
  open();
  setChecked(control(L"CheckBox1"), false);
  HANDLE held = CreateFileW(configPath().c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::filesystem::path probe = configPath().parent_path() / "replacement.probe";
  writeBytes(probe, "x");
  ASSERT_FALSE(MoveFileExW(probe.c_str(), configPath().c_str(), MOVEFILE_REPLACE_EXISTING))
      << "it can be replaced";
  std::filesystem::remove(probe);
  click(control(L"BitBtn1"));
  CloseHandle(held);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Settings saved.");
  const std::string after = readConfig();
  EXPECT_TRUE(contains(after, "showFPS=0\r\n; keep\r\n"));
  EXPECT_TRUE(contains(after, "texOffsetY=-0.49\r\n"));
  EXPECT_TRUE(stagedCopiesBeside(configPath()).empty());
}

// What Save wrote is what Revert reads, even the same moment: no stale copy
// of the file is kept anywhere.
TEST_F(FaultsTest, RevertRightAfterSaveShowsTheSave) {
  writeConfig("[General]\r\nshowFPS=0\r\n");
  open();
  HWND fps = control(L"CheckBox1");
  setChecked(fps, true);
  click(control(L"BitBtn1"));
  setChecked(fps, false);
  click(control(L"BitBtn2"));
  EXPECT_TRUE(checked(fps));
  const std::string saved = readConfig();
  writeConfig(saved.substr(0, saved.find("showStat=0")) + "showStat=1" +
              saved.substr(saved.find("showStat=0") + 10));
  click(control(L"BitBtn2"));
  EXPECT_TRUE(checked(control(L"CheckBox2")));
  EXPECT_TRUE(stagedCopiesBeside(configPath()).empty());
}

// Root writes read-only files under Wine as well: these run as an ordinary
// user (scripts/unprivileged) and skip for anyone who can write them.
TEST_F(FaultsTest, ReadOnlyConfigFailsTheSaveAndStaysIntact) {
  const std::string original =
      "[General]\r\nshowFPS=1\r\n; keep\r\n[Reflections]\r\nmaxCount=77\r\n";
  writeConfig(original);
  ASSERT_TRUE(SetFileAttributesW(configPath().c_str(), FILE_ATTRIBUTE_READONLY));
  if (writableForMe(configPath())) GTEST_SKIP() << "read-only files are writable for this user";
  open();
  EXPECT_TRUE(checked(control(L"CheckBox1")));
  EXPECT_EQ(text(control(L"Label9")), L"77");
  setChecked(control(L"CheckBox2"), true);
  click(control(L"BitBtn1"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Unable to write to " + configPath().wstring() + L".");
  EXPECT_TRUE(IsWindow(form.handle()));
  EXPECT_TRUE(checked(control(L"CheckBox2")));
  EXPECT_EQ(readConfig(), original);
  // Made writable again, the same window saves.
  ASSERT_TRUE(SetFileAttributesW(configPath().c_str(), FILE_ATTRIBUTE_NORMAL));
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
  EXPECT_TRUE(contains(readConfig(), "showStat=1\r\n"));
  EXPECT_TRUE(contains(readConfig(), "; keep\r\n"));
}

// The editor installed in a folder the user may not write to, with no
// config.cfg yet: it starts with the defaults and a save fails cleanly.
TEST_F(FaultsTest, ReadOnlyFolderFailsTheSaveAndCreatesNothing) {
  const std::filesystem::path folder = configPath().parent_path();
  if (writableForMe(folder)) GTEST_SKIP() << "this folder is writable for this user";
  ASSERT_FALSE(std::filesystem::exists(configPath()));
  open();
  EXPECT_TRUE(checked(control(L"CheckBox3")));  // useTrilinear's default
  click(control(L"BitBtn1"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Unable to write to " + configPath().wstring() + L".");
  EXPECT_TRUE(IsWindow(form.handle()));
  EXPECT_FALSE(std::filesystem::exists(configPath()));
}

TEST_F(FaultsTest, HugeValueIsCutAndTheRestStillLoads) {
  writeConfig("[General]\r\nLODbias0=" + std::string(1 << 20, '7') + "\r\nshowFPS=1\r\n");
  open();
  EXPECT_EQ(text(control(L"LOD1")), L"0.00");  // 2047 sevens: beyond a double, the default
  EXPECT_TRUE(checked(control(L"CheckBox1")));
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
  EXPECT_TRUE(contains(readConfig(), "LODbias0=0\r\n"));
}

TEST_F(FaultsTest, TenMegabyteFileLoadsAndKeepsItsOtherLines) {
  std::string big = "[General]\r\nshowStat=1\r\n[Ballast]\r\n";
  for (int i = 0; big.size() < (10u << 20); ++i)
    big += "k" + std::to_string(i) + "=" + std::string(100, 'x') + "\r\n";
  writeConfig(big);
  open();
  EXPECT_TRUE(checked(control(L"CheckBox2")));
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
  const std::string after = readConfig();
  EXPECT_GT(after.size(), 10u << 20);
  EXPECT_TRUE(contains(after, "k0=" + std::string(100, 'x') + "\r\n"));
  EXPECT_TRUE(contains(after, "k1000=" + std::string(100, 'x') + "\r\n"));
}

TEST_F(FaultsTest, BinaryGarbageLoadsDefaultsAndSaves) {
  std::mt19937 random(42);
  std::string garbage(64 * 1024, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  writeConfig(garbage);
  open();
  EXPECT_TRUE(checked(control(L"CheckBox3")));  // useTrilinear's default
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
  // The editor's keys are all there to be read again.
  Settings reread{};
  loadSettings(reread, *openProfile(configPath()));
  EXPECT_EQ(reread.maxHeight, 150);
  EXPECT_EQ(reread.GlareSize, 3.0);
}

TEST_F(FaultsTest, UnicodeFileIsReadAndStaysUnicode) {
  const std::wstring wide = L"\xFEFF[General]\r\nshowFPS=1\r\n; заметка\r\n";
  writeConfig(
      std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)));
  open();
  EXPECT_TRUE(checked(control(L"CheckBox1")));
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
  const std::string after = readConfig();
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after.substr(0, 2), "\xFF\xFE");
  const std::u16string note = u"; заметка";
  EXPECT_TRUE(
      contains(after, std::string(reinterpret_cast<const char*>(note.data()), note.size() * 2)));
}

TEST_F(FaultsTest, CarriageReturnOnlyLineEndsRead) {
  writeConfig("[General]\rshowFPS=1\rLODbias0=-0.5\r[Reflections]\rmaxCount=77\r");
  open();
  EXPECT_TRUE(checked(control(L"CheckBox1")));
  EXPECT_EQ(text(control(L"LOD1")), L"-0.50");
  EXPECT_EQ(text(control(L"Label9")), L"77");
  click(control(L"BitBtn1"));
  EXPECT_EQ(boxes.back().text, L"Settings saved.");
}

}  // namespace
}  // namespace zemlo::test
