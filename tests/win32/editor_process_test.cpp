// The editor itself, started as a separate process and driven through its
// window's messages, as a user would drive it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "win32/running_editor.h"
#include "win32/ui_test_support.h"

namespace fs = std::filesystem;

namespace zemlo::test {
namespace {

std::wstring windowText(HWND hwnd) {
  wchar_t buffer[512];
  return std::wstring(buffer, static_cast<std::size_t>(GetWindowTextW(hwnd, buffer, 512)));
}

// A named function: 32-bit code needs enumeration callbacks stdcall.
BOOL CALLBACK collectStaticText(HWND hwnd, LPARAM p) {
  if (isClass(hwnd, L"Static"))
    reinterpret_cast<std::vector<std::wstring>*>(p)->push_back(windowText(hwnd));
  return TRUE;
}

// The message of a message box: its static control with the longest text.
std::wstring messageOf(HWND box) {
  std::vector<std::wstring> texts;
  EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&texts));
  std::wstring longest;
  for (const auto& t : texts)
    if (t.size() > longest.size()) longest = t;
  return longest;
}

// The names of the DLLs an exe imports, from its PE headers; empty when the
// file is no 32-bit PE.
struct PeFacts {
  WORD machine = 0;
  WORD subsystem = 0;
  std::vector<std::string> imports;
};

PeFacts peFacts(const std::string& bytes) {
  PeFacts facts;
  const auto at = [&](std::size_t offset, std::size_t size) {
    return offset + size <= bytes.size() ? bytes.data() + offset : nullptr;
  };
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return facts;
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS32*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS32)));
  if (!nt || nt->Signature != IMAGE_NT_SIGNATURE ||
      nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
    return facts;
  facts.machine = nt->FileHeader.Machine;
  facts.subsystem = nt->OptionalHeader.Subsystem;
  const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
      at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
             nt->FileHeader.SizeOfOptionalHeader,
         nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
  const auto fileOffset = [&](DWORD rva) -> std::size_t {
    for (WORD i = 0; sections && i < nt->FileHeader.NumberOfSections; ++i)
      if (rva >= sections[i].VirtualAddress &&
          rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
        return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
    return bytes.size();
  };
  std::size_t entry =
      fileOffset(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
  for (;; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        at(entry, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
    if (!d || d->Name == 0) break;
    const char* name = at(fileOffset(d->Name), 1);
    if (name) facts.imports.emplace_back(name, strnlen(name, bytes.data() + bytes.size() - name));
  }
  return facts;
}

class EditorProcess : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = scratch_.path() / "game";
    fs::create_directory(folder_);
    fs::copy_file(shippedEditor(), folder_ / "zemlo-config.exe");  // there before it runs
  }

  // Starts the editor, ending any it started before; its main window once up and idle.
  HWND start() { return editor_.emplace(folder_).window(); }

  // Presses Save, expects the settings saved, and returns how long that took (ms).
  int timedSave() {
    const ULONGLONG pressed = GetTickCount64();
    EXPECT_EQ(save(), L"Settings saved.");
    return static_cast<int>(GetTickCount64() - pressed);
  }

  // Presses Save and kills the editor a random time up to `ms` later.
  void killDuringSave(int ms, std::mt19937& random) {
    PostMessageW(editor_->control(L"BitBtn1"), BM_CLICK, 0, 0);
    Sleep(static_cast<DWORD>(random() % (ms + 1)));
    editor_->kill();
  }

  // Presses Save and returns the message box that follows.
  HWND pressSave() {
    PostMessageW(editor_->control(L"BitBtn1"), BM_CLICK, 0, 0);
    return editor_->messageBox();
  }

  void dismiss(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
  }

  // Presses Save and answers the message box that follows; its message, or
  // nothing when no box came.
  std::wstring save() {
    HWND box = pressSave();
    if (!box) return L"";
    const std::wstring message = messageOf(box);
    dismiss(box);
    return message;
  }

  ScratchDir scratch_;
  fs::path folder_;
  std::optional<RunningEditor> editor_;
};

// What these tests start is what ships: a 32-bit GUI exe that needs no DLL
// beyond Windows' own, running as a 32-bit process.
TEST_F(EditorProcess, IsTheShipped32BitGuiExe) {
  const PeFacts pe = peFacts(readBytes(shippedEditor()));
  EXPECT_EQ(pe.machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(pe.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  ASSERT_FALSE(pe.imports.empty());
  const char* system[] = {"kernel32.dll", "user32.dll", "gdi32.dll",
                          "comctl32.dll", "msvcrt.dll", "advapi32.dll"};
  for (const std::string& dll : pe.imports)
    EXPECT_TRUE(std::any_of(std::begin(system), std::end(system), [&](const char* s) {
      return lstrcmpiA(s, dll.c_str()) == 0;
    })) << dll;
  ASSERT_TRUE(start());
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(editor_->process(), &wow64));
  EXPECT_TRUE(wow64) << "the editor runs as a 32-bit process in a 64-bit prefix";
  EXPECT_EQ(editor_->close(), 0u);
}

TEST_F(EditorProcess, SavesBesideItselfAndExits) {
  writeBytes(folder_ / "config.cfg", "[General]\r\nshowFPS=1\r\n; mine\r\n");
  ASSERT_TRUE(start());
  EXPECT_EQ(save(), L"Settings saved.");
  EXPECT_EQ(editor_->close(), 0u);
  const std::string saved = readBytes(folder_ / "config.cfg");
  EXPECT_NE(saved.find("showFPS=1\r\n"), std::string::npos);
  EXPECT_NE(saved.find("; mine\r\n"), std::string::npos);
  EXPECT_NE(saved.find("texOffsetY=-0.49\r\n"), std::string::npos);
}

// The game folder goes away while the editor runs (a removed drive, a folder
// renamed in Explorer): Save fails with the error box and the editor carries on.
TEST_F(EditorProcess, FolderGoneAtSaveTimeFailsTheSaveAndKeepsRunning) {
  const std::string original = "[General]\r\nshowFPS=1\r\n";
  writeBytes(folder_ / "config.cfg", original);
  ASSERT_TRUE(start());
  const fs::path moved = scratch_.path() / "moved";
  if (!MoveFileW(folder_.c_str(), moved.c_str()))
    GTEST_SKIP() << "the folder of a running program cannot be moved here";
  HWND box = pressSave();
  ASSERT_TRUE(box);
  EXPECT_EQ(windowText(box), L"ZEMLO Configurator");
  EXPECT_EQ(messageOf(box), L"Unable to write to " + (folder_ / "config.cfg").wstring() + L".");
  dismiss(box);
  EXPECT_TRUE(editor_->running());
  EXPECT_TRUE(IsWindow(editor_->window()));
  EXPECT_FALSE(fs::exists(folder_)) << "the save must not create the folder again";
  ASSERT_TRUE(MoveFileW(moved.c_str(), folder_.c_str()));
  EXPECT_EQ(readBytes(folder_ / "config.cfg"), original);
  // With the folder back, the same editor saves.
  EXPECT_EQ(save(), L"Settings saved.");
  EXPECT_EQ(editor_->close(), 0u);
}

// Killed at random moments during saves, the editor leaves config.cfg either
// as it was or as the whole save: never a mix, never cut short.
TEST_F(EditorProcess, KilledDuringSavesLeavesTheOldFileOrTheNew) {
  const fs::path config = folder_ / "config.cfg";
  const std::string original = playersConfig(4000);
  writeBytes(config, original);
  // One save to its end: the new file, and how long a save takes.
  ASSERT_TRUE(start());
  const ULONGLONG pressed = GetTickCount64();
  ASSERT_EQ(save(), L"Settings saved.");
  const int saveMs = static_cast<int>(GetTickCount64() - pressed);
  EXPECT_EQ(editor_->close(), 0u);
  const std::string saved = readBytes(config);
  ASSERT_NE(saved, original);

  std::mt19937 random(20261209);
  int old = 0, whole = 0;
  for (int run = 0; run < 24; ++run) {
    writeBytes(config, original);
    ASSERT_TRUE(start());
    killDuringSave(saveMs + saveMs / 4, random);
    const std::string after = readBytes(config);
    EXPECT_TRUE(after == original || after == saved)
        << "run " << run << ": " << after.size() << " bytes";
    (after == original ? old : whole) += 1;
  }
  std::printf("save %d ms; killed runs left the old file %d times, the new %d times\n", saveMs, old,
              whole);
  EXPECT_GT(old, 0) << "no kill fell before the save was done";
}

// A save killed before its end may leave its staged copy beside config.cfg,
// part written: one is planted here. The next save removes it, and no other
// file, however like one it looks.
TEST_F(EditorProcess, SaveAfterAKilledSaveLeavesNoCopyBehind) {
  const fs::path config = folder_ / "config.cfg";
  const std::vector<std::string> others = {"config.cfg.1234567.tmp", "config.cfg.ABCDEF12.tmp",
                                           "config.cfg.12345678.tmp.txt", "other.cfg.12345678.tmp"};
  for (const std::string& name : others) writeBytes(folder_ / name, "the player's");
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {"config.cfg", "zemlo-config.exe"});
  std::sort(expected.begin(), expected.end());
  writeBytes(config, playersConfig(4000));
  writeBytes(folder_ / "config.cfg.0123abcd.tmp", playersConfig(4000).substr(0, 5000));
  ASSERT_GT(namesIn(folder_).size(), expected.size()) << "no staged copy planted";
  ASSERT_TRUE(start());
  EXPECT_EQ(save(), L"Settings saved.");
  EXPECT_EQ(editor_->close(), 0u);
  EXPECT_EQ(namesIn(folder_), expected);
  for (const std::string& name : others) EXPECT_EQ(readBytes(folder_ / name), "the player's");
}

// The value a script gave this run as --name=value; empty when it gave none.
std::wstring given(const std::wstring& name) {
  const std::wstring line = GetCommandLineW(), flag = L"--" + name + L"=";
  const std::size_t at = line.find(flag);
  if (at == std::wstring::npos) return L"";
  const std::size_t from = at + flag.size();
  return line.substr(from, line.find(L' ', from) - from);
}

// Run by a script (full_disk.sh, read_only_folder.sh) in a game folder no
// scratch folder can stand for, which it makes, puts the editor in, and gives
// as --game-folder.
class EditorInGivenFolder : public EditorProcess {
protected:
  void SetUp() override {
    folder_ = given(L"game-folder");
    if (folder_.empty()) GTEST_SKIP() << "run by full_disk.sh or read_only_folder.sh";
  }
};

// Run by full_disk.sh: the editor under a limit on the size of the files it
// writes, given as --file-size-limit, which the save of its config.cfg
// outgrows, the way a full disk stops a write part way.
class EditorOnFullDisk : public EditorInGivenFolder {
protected:
  // A player's config.cfg 100 bytes short of the limit: its staged copy fits,
  // the keys the save adds do not, and the cut falls in the player's own lines.
  void SetUp() override {
    EditorInGivenFolder::SetUp();
    const std::wstring limit = given(L"file-size-limit");
    if (IsSkipped() || limit.empty()) GTEST_SKIP() << "run by full_disk.sh";
    std::string config = playersConfig(4000);
    const std::size_t size = std::stoul(limit) - 100;
    ASSERT_LT(config.size() + 4, size) << "the test file outgrew the limit";
    config += "; " + std::string(size - config.size() - 4, 'x') + "\r\n";
    writeBytes(folder_ / "config.cfg", config);
  }
};

TEST_F(EditorOnFullDisk, SaveFailsKeepsTheFileAndSucceedsOnceThereIsRoom) {
  const fs::path config = folder_ / "config.cfg";
  const std::string original = readBytes(config);
  ASSERT_TRUE(start());
  EXPECT_EQ(save(), L"Unable to write to " + config.wstring() + L".");
  EXPECT_TRUE(editor_->running());
  EXPECT_TRUE(readBytes(config) == original) << "config.cfg changed";
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder_))
    names.push_back(entry.path().filename().wstring());
  EXPECT_EQ(names.size(), 2u) << "a staged copy left behind";
  // Room again: a config.cfg the save fits in.
  writeBytes(config, "[General]\r\nshowFPS=1\r\n");
  EXPECT_EQ(save(), L"Settings saved.");
  EXPECT_EQ(editor_->close(), 0u);
  EXPECT_NE(readBytes(config).find("texOffsetY=-0.49\r\n"), std::string::npos);
}

// Held open by a running game that shares writing but not deletion, config.cfg
// is written in place, the one write a kill can leave part old, part new. Killed
// there, the editor starts again and its next save writes every key.
TEST_F(EditorProcess, KilledDuringAWriteInPlaceStartsAndSavesAgain) {
  const fs::path config = folder_ / "config.cfg";
  writeBytes(config, playersConfig(4000));
  HANDLE held = CreateFileW(config.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(start());
  const int saveMs = timedSave();
  writeBytes(config, playersConfig(4000));  // so that the next save writes again
  std::mt19937 random(20261211);
  killDuringSave(saveMs, random);
  CloseHandle(held);
  ASSERT_TRUE(start());
  EXPECT_EQ(save(), L"Settings saved.");
  EXPECT_EQ(editor_->close(), 0u);
  EXPECT_NE(readBytes(config).find("texOffsetY=-0.49\r\n"), std::string::npos);
}

// Run by read_only_folder.sh as an ordinary user: the game's folder takes no
// new file from this user, config.cfg in it may be written. The save stages
// its copy in the temporary folder and writes config.cfg in place.
using EditorInReadOnlyFolder = EditorInGivenFolder;

TEST_F(EditorInReadOnlyFolder, SavesThroughTheTemporaryFolderInPlace) {
  const fs::path config = folder_ / "config.cfg";
  ASSERT_FALSE(writableForMe(folder_)) << "the folder takes new files";
  ASSERT_TRUE(writableForMe(config));
  ASSERT_TRUE(start());
  EXPECT_EQ(save(), L"Settings saved.");
  EXPECT_EQ(editor_->close(), 0u);
  const std::string saved = readBytes(config);
  EXPECT_NE(saved.find("showFPS=0\r\n; keep\r\n"), std::string::npos);
  EXPECT_NE(saved.find("texOffsetY=-0.49\r\n"), std::string::npos);
  EXPECT_EQ(namesIn(folder_), (std::vector<std::string>{"config.cfg", "zemlo-config.exe"}));
}

// Run by full_disk.sh on a file system that is full, in a folder that takes no
// new file, and whose config.cfg starts with a hole (a page never written): the
// save stages elsewhere, its write in place fails, and so does putting the old
// bytes back, for the hole needs room. The box names where the old bytes are.
using EditorOnFullFileSystem = EditorInGivenFolder;

TEST_F(EditorOnFullFileSystem, FailedWriteInPlaceAndFailedUndoKeepTheOldBytesInACopy) {
  const fs::path config = folder_ / "config.cfg";
  const std::string original = readBytes(config);
  ASSERT_TRUE(start());
  const std::wstring message = save();
  const std::wstring fixed =
      L"Unable to write to " + config.wstring() + L".\nThe settings before this save are kept in ";
  ASSERT_EQ(message.substr(0, fixed.size()), fixed) << "no copy named";
  ASSERT_EQ(message.back(), L'.');
  const fs::path kept = message.substr(fixed.size(), message.size() - fixed.size() - 1);
  EXPECT_EQ(readBytes(kept), original) << kept;
  fs::remove(kept);
  EXPECT_TRUE(editor_->running());
  EXPECT_EQ(editor_->close(), 0u);
}

}  // namespace
}  // namespace zemlo::test
