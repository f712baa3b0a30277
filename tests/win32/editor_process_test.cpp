// The editor itself, started as a separate process and driven through its
// window's messages, as a user would drive it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/test_support.h"
#include "win32/ui_test_support.h"

namespace fs = std::filesystem;

namespace zemlo::test {
namespace {

struct Found {
  DWORD pid;
  const wchar_t* className;  // nullptr: any
  const wchar_t* text;       // nullptr: any
  HWND hwnd = nullptr;
};

std::wstring windowText(HWND hwnd) {
  wchar_t buffer[512];
  return std::wstring(buffer, static_cast<std::size_t>(GetWindowTextW(hwnd, buffer, 512)));
}

bool matches(HWND hwnd, const Found& want) {
  wchar_t cls[64];
  GetClassNameW(hwnd, cls, 64);
  return (!want.className || lstrcmpiW(cls, want.className) == 0) &&
         (!want.text || windowText(hwnd) == want.text);
}

// Enumeration callbacks: named functions, as 32-bit code needs them stdcall.
BOOL CALLBACK takeTopLevel(HWND hwnd, LPARAM p) {
  auto& want = *reinterpret_cast<Found*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != want.pid || !IsWindowVisible(hwnd) || !matches(hwnd, want)) return TRUE;
  want.hwnd = hwnd;
  return FALSE;
}

BOOL CALLBACK takeChild(HWND hwnd, LPARAM p) {
  auto& want = *reinterpret_cast<Found*>(p);
  if (!matches(hwnd, want)) return TRUE;
  want.hwnd = hwnd;
  return FALSE;
}

BOOL CALLBACK collectStaticText(HWND hwnd, LPARAM p) {
  wchar_t cls[64];
  GetClassNameW(hwnd, cls, 64);
  if (lstrcmpiW(cls, L"Static") == 0)
    reinterpret_cast<std::vector<std::wstring>*>(p)->push_back(windowText(hwnd));
  return TRUE;
}

// A visible top-level window of the process; waits for it up to ten seconds.
HWND waitForWindow(DWORD pid, const wchar_t* className) {
  Found want{pid, className, nullptr};
  for (int i = 0; i < 200 && !want.hwnd; ++i) {
    EnumWindows(takeTopLevel, reinterpret_cast<LPARAM>(&want));
    if (!want.hwnd) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return want.hwnd;
}

HWND findChild(HWND parent, const wchar_t* className, const wchar_t* text) {
  Found want{0, className, text};
  EnumChildWindows(parent, takeChild, reinterpret_cast<LPARAM>(&want));
  return want.hwnd;
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
    ASSERT_TRUE(fs::exists(shippedEditor())) << shippedEditor();
    fs::copy_file(shippedEditor(), folder_ / "zemlo-config.exe");
  }

  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }

  // Starts the editor and waits until its window is up and idle.
  HWND start() {
    return startEditor(folder_ / "zemlo-config.exe", folder_.parent_path(), process_);
  }

  bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  // Ends the editor as a crash or the task manager would, wherever it is.
  void kill() {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
  }

  // Presses Save, expects the settings saved, and returns how long that took (ms).
  int timedSave(HWND main) {
    const ULONGLONG pressed = GetTickCount64();
    EXPECT_EQ(save(main), L"Settings saved.");
    return static_cast<int>(GetTickCount64() - pressed);
  }

  // Presses Save and kills the editor a random time up to `ms` later.
  void killDuringSave(HWND main, int ms, std::mt19937& random) {
    PostMessageW(findChild(main, L"Button", L"&Сохранить"), BM_CLICK, 0, 0);
    Sleep(static_cast<DWORD>(random() % (ms + 1)));
    kill();
  }

  // Presses a button of the main window and returns the message box that follows.
  HWND pressAndAwaitBox(HWND main, const wchar_t* caption) {
    HWND button = findChild(main, L"Button", caption);
    if (!button) return nullptr;
    PostMessageW(button, BM_CLICK, 0, 0);
    return waitForWindow(process_.dwProcessId, L"#32770");
  }

  void dismiss(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  // Presses Save and answers the message box that follows; its message, or
  // nothing when no box came.
  std::wstring save(HWND main) {
    HWND box = pressAndAwaitBox(main, L"&Сохранить");
    if (!box) return L"";
    const std::wstring message = messageOf(box);
    dismiss(box);
    return message;
  }

  // Closes the editor by its close box and returns its exit code.
  DWORD close(HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) return 0xDEAD;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

  ScratchDir scratch_;
  fs::path folder_;
  PROCESS_INFORMATION process_{};
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
  HWND main = start();
  ASSERT_TRUE(main);
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(process_.hProcess, &wow64));
  EXPECT_TRUE(wow64) << "the editor runs as a 32-bit process in a 64-bit prefix";
  EXPECT_EQ(close(main), 0u);
}

TEST_F(EditorProcess, SavesBesideItselfAndExits) {
  writeBytes(folder_ / "config.cfg", "[General]\r\nshowFPS=1\r\n; mine\r\n");
  HWND main = start();
  ASSERT_TRUE(main);
  EXPECT_EQ(save(main), L"Settings saved.");
  EXPECT_EQ(close(main), 0u);
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
  HWND main = start();
  ASSERT_TRUE(main);
  const fs::path moved = scratch_.path() / "moved";
  if (!MoveFileW(folder_.c_str(), moved.c_str()))
    GTEST_SKIP() << "the folder of a running program cannot be moved here";
  HWND box = pressAndAwaitBox(main, L"&Сохранить");
  ASSERT_TRUE(box);
  EXPECT_EQ(windowText(box), L"ZEMLO Configurator");
  EXPECT_EQ(messageOf(box), L"Unable to write to " + (folder_ / "config.cfg").wstring() + L".");
  dismiss(box);
  EXPECT_TRUE(running());
  EXPECT_TRUE(IsWindow(main));
  EXPECT_FALSE(fs::exists(folder_)) << "the save must not create the folder again";
  ASSERT_TRUE(MoveFileW(moved.c_str(), folder_.c_str()));
  EXPECT_EQ(readBytes(folder_ / "config.cfg"), original);
  // With the folder back, the same editor saves.
  EXPECT_EQ(save(main), L"Settings saved.");
  EXPECT_EQ(close(main), 0u);
}

// Killed at random moments during saves, the editor leaves config.cfg either
// as it was or as the whole save: never a mix, never cut short.
TEST_F(EditorProcess, KilledDuringSavesLeavesTheOldFileOrTheNew) {
  const fs::path config = folder_ / "config.cfg";
  const std::string original = playersConfig(4000);
  writeBytes(config, original);
  // One save to its end: the new file, and how long a save takes.
  HWND main = start();
  ASSERT_TRUE(main);
  const ULONGLONG pressed = GetTickCount64();
  ASSERT_EQ(save(main), L"Settings saved.");
  const int saveMs = static_cast<int>(GetTickCount64() - pressed);
  EXPECT_EQ(close(main), 0u);
  const std::string saved = readBytes(config);
  ASSERT_NE(saved, original);

  std::mt19937 random(20261209);
  int old = 0, whole = 0;
  for (int run = 0; run < 24; ++run) {
    writeBytes(config, original);
    main = start();
    ASSERT_TRUE(main);
    killDuringSave(main, saveMs + saveMs / 4, random);
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
  HWND main = start();
  ASSERT_TRUE(main);
  EXPECT_EQ(save(main), L"Settings saved.");
  EXPECT_EQ(close(main), 0u);
  EXPECT_EQ(namesIn(folder_), expected);
  for (const std::string& name : others) EXPECT_EQ(readBytes(folder_ / name), "the player's");
}

// Run by full_disk.sh: the editor in ZEMLO_FULL_DISK_DIR under a limit on the
// size of the files it writes, which the save of that folder's config.cfg
// outgrows, the way a full disk stops a write part way.
class EditorOnFullDisk : public EditorProcess {
protected:
  // A player's config.cfg 100 bytes short of the limit: its staged copy fits,
  // the keys the save adds do not, and the cut falls in the player's own lines.
  void SetUp() override {
    const char* dir = std::getenv("ZEMLO_FULL_DISK_DIR");
    const char* limit = std::getenv("ZEMLO_FULL_DISK_BYTES");
    if (!dir || !limit) GTEST_SKIP() << "run by full_disk.sh";
    folder_ = fs::path(dir);
    std::string config = playersConfig(4000);
    const std::size_t size = std::strtoul(limit, nullptr, 10) - 100;
    ASSERT_LT(config.size() + 4, size) << "the test file outgrew the limit";
    config += "; " + std::string(size - config.size() - 4, 'x') + "\r\n";
    writeBytes(folder_ / "config.cfg", config);
  }
};

TEST_F(EditorOnFullDisk, SaveFailsKeepsTheFileAndSucceedsOnceThereIsRoom) {
  const fs::path config = folder_ / "config.cfg";
  const std::string original = readBytes(config);
  HWND main = start();
  ASSERT_TRUE(main);
  EXPECT_EQ(save(main), L"Unable to write to " + config.wstring() + L".");
  EXPECT_TRUE(running());
  EXPECT_TRUE(readBytes(config) == original) << "config.cfg changed";
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder_))
    names.push_back(entry.path().filename().wstring());
  EXPECT_EQ(names.size(), 2u) << "a staged copy left behind";
  // Room again: a config.cfg the save fits in.
  writeBytes(config, "[General]\r\nshowFPS=1\r\n");
  EXPECT_EQ(save(main), L"Settings saved.");
  EXPECT_EQ(close(main), 0u);
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
  HWND main = start();
  ASSERT_TRUE(main);
  const int saveMs = timedSave(main);
  writeBytes(config, playersConfig(4000));  // so that the next save writes again
  std::mt19937 random(20261211);
  killDuringSave(main, saveMs, random);
  CloseHandle(held);
  main = start();
  ASSERT_TRUE(main);
  EXPECT_EQ(save(main), L"Settings saved.");
  EXPECT_EQ(close(main), 0u);
  EXPECT_NE(readBytes(config).find("texOffsetY=-0.49\r\n"), std::string::npos);
}

// Run by read_only_folder.sh as an ordinary user: the game's folder takes no
// new file from this user, config.cfg in it may be written. The save stages
// its copy in the temporary folder and writes config.cfg in place.
class EditorInReadOnlyFolder : public EditorProcess {
protected:
  void SetUp() override {
    const std::wstring line = GetCommandLineW(), flag = L"--game-folder=";
    const std::size_t at = line.find(flag);
    if (at == std::wstring::npos) GTEST_SKIP() << "run by read_only_folder.sh";
    const std::size_t from = at + flag.size();
    folder_ = fs::path(line.substr(from, line.find(L' ', from) - from));
  }
};

TEST_F(EditorInReadOnlyFolder, SavesThroughTheTemporaryFolderInPlace) {
  const fs::path config = folder_ / "config.cfg";
  ASSERT_FALSE(writableForMe(folder_)) << "the folder takes new files";
  ASSERT_TRUE(writableForMe(config));
  HWND main = start();
  ASSERT_TRUE(main);
  EXPECT_EQ(save(main), L"Settings saved.");
  EXPECT_EQ(close(main), 0u);
  const std::string saved = readBytes(config);
  EXPECT_NE(saved.find("showFPS=0\r\n; keep\r\n"), std::string::npos);
  EXPECT_NE(saved.find("texOffsetY=-0.49\r\n"), std::string::npos);
  EXPECT_EQ(namesIn(folder_), (std::vector<std::string>{"config.cfg", "zemlo-config.exe"}));
}

// Run by full_disk.sh on a file system that is full, in a folder that takes no
// new file, and whose config.cfg starts with a hole (a page never written): the
// save stages elsewhere, its write in place fails, and so does putting the old
// bytes back, for the hole needs room. The box names where the old bytes are.
class EditorOnFullFileSystem : public EditorProcess {
protected:
  void SetUp() override {
    const char* dir = std::getenv("ZEMLO_FULL_FILE_SYSTEM_DIR");
    if (!dir) GTEST_SKIP() << "run by full_disk.sh";
    folder_ = fs::path(dir);
  }
};

TEST_F(EditorOnFullFileSystem, FailedWriteInPlaceAndFailedUndoKeepTheOldBytesInACopy) {
  const fs::path config = folder_ / "config.cfg";
  const std::string original = readBytes(config);
  HWND main = start();
  ASSERT_TRUE(main);
  const std::wstring message = save(main);
  const std::wstring fixed =
      L"Unable to write to " + config.wstring() + L".\nThe settings before this save are kept in ";
  ASSERT_EQ(message.substr(0, fixed.size()), fixed) << "no copy named";
  ASSERT_EQ(message.back(), L'.');
  const fs::path kept = message.substr(fixed.size(), message.size() - fixed.size() - 1);
  EXPECT_EQ(readBytes(kept), original) << kept;
  fs::remove(kept);
  EXPECT_TRUE(running());
  EXPECT_EQ(close(main), 0u);
}

}  // namespace
}  // namespace zemlo::test
