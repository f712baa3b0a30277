// Whole-file operations through the Win32 file API.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "settings/file_system.h"

namespace zemlo::files {
namespace {

class Handle {
public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  HANDLE release() { return std::exchange(h_, INVALID_HANDLE_VALUE); }
  // Closes now; false when the close reports an error (data not written).
  bool close() { return CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)) != FALSE; }

private:
  HANDLE h_;
};

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kShareAll = kShareReadWrite | FILE_SHARE_DELETE;

Handle open(const FileName& file, DWORD access, DWORD share, DWORD disposition) {
  return Handle(CreateFileW(file.c_str(), access, share, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool writeAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() < (1u << 20) ? static_cast<DWORD>(bytes.size()) : (1u << 20);
    DWORD written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool seek(HANDLE h, std::size_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) != FALSE;
}

// A copy's hold: a mutex named after it, made before the file and closed with
// the Copy, or when its process ends, however it ends. Not a handle on the copy
// itself: the profile API opens the copy on its own, with sharing rules Windows
// does not document, and a handle of ours could refuse that open.
std::wstring holdName(const FileName& copy) { return L"Local\\zemlo-config-copy-" + copy; }

bool isHeld(const FileName& copy) {
  const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, holdName(copy).c_str());
  if (mutex) CloseHandle(mutex);
  return mutex != nullptr;
}

// Writes `bytes` at the start of the file and ends the file after them.
bool writeWhole(HANDLE h, std::string_view bytes) {
  return seek(h, 0) && writeAll(h, bytes) && SetEndOfFile(h);
}

}  // namespace

std::optional<Contents> read(const FileName& file) {
  Handle h = open(file, GENERIC_READ, kShareAll, OPEN_EXISTING);
  if (!h.ok()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Contents{};
    return std::nullopt;
  }
  Contents contents{true, {}};
  char buffer[1 << 16];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) return contents;
    contents.bytes.append(buffer, got);
  }
}

bool writable(const FileName& file) {
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  return open(file, GENERIC_WRITE, kShareAll, OPEN_EXISTING).ok();
}

std::optional<Copy> createBeside(const FileName& file, std::string_view bytes,
                                 const FileName& folder, std::string_view extension) {
  const FileName name = file.substr(folderOf(file).size());
  const FileName where = folder.empty() ? folderOf(file) : folder;
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const FileName copy =
        copyName(name, now.LowPart ^ (GetCurrentProcessId() << 16) ^ ++counter, extension);
    const FileName staged = where + copy;
    // Held from before its first byte; a name already held is another save's.
    std::shared_ptr<void> hold(CreateMutexW(nullptr, FALSE, holdName(copy).c_str()),
                               [](void* mutex) {
                                 if (mutex) CloseHandle(mutex);
                               });
    if (hold && GetLastError() == ERROR_ALREADY_EXISTS) continue;
    Handle h = open(staged, GENERIC_WRITE, kShareReadWrite, CREATE_NEW);
    if (!h.ok()) {
      if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return std::nullopt;
    }
    if (writeAll(h.get(), bytes) && h.close()) return Copy{staged, std::move(hold)};
    h.close();
    DeleteFileW(staged.c_str());
    return std::nullopt;
  }
  return std::nullopt;
}

void removeStaleCopies(const FileName& file) {
  const FileName folder = folderOf(file), name = file.substr(folder.size());
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (isStagedCopyOf(found.cFileName, name) && !isHeld(found.cFileName))
      DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

FileName temporaryFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  return n > 0 && n <= MAX_PATH ? FileName(buffer, n) : FileName();
}

bool flush(const FileName& file) {
  Handle h = open(file, GENERIC_WRITE, kShareAll, OPEN_EXISTING);
  return h.ok() && FlushFileBuffers(h.get()) && h.close();
}

bool replace(Copy& staged, const FileName& target, bool durable) {
  // MoveFileEx rather than ReplaceFile: it either replaces the file or leaves
  // it alone, where a ReplaceFile that fails half-way can leave the target
  // renamed away. What the move does not carry over, it is told here: the
  // target's attributes; the staged file has the folder's inherited security,
  // as the target has unless someone set its own. Wine's move would replace a
  // read-only file, which Windows refuses: refuse it here.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                       FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if ((attributes & kept) && !SetFileAttributesW(staged.name.c_str(), attributes & kept))
      return false;
  }
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
  return MoveFileExW(staged.name.c_str(), target.c_str(), flags) != FALSE;
}

Overwritten overwrite(const FileName& target, std::string_view bytes, std::string_view original) {
  if (!writable(target)) return Overwritten::kUntouched;
  // Shares reading and writing with whoever holds the file open: the case this is for.
  Handle h = open(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (!h.ok()) return Overwritten::kUntouched;
  // Room first: a full disk fails here, before the file has changed.
  if (bytes.size() > original.size() && !(seek(h.get(), bytes.size()) && SetEndOfFile(h.get())))
    return seek(h.get(), original.size()) && SetEndOfFile(h.get()) ? Overwritten::kUntouched
                                                                   : Overwritten::kDamaged;
  if (writeWhole(h.get(), bytes) && FlushFileBuffers(h.get()) && h.close())
    return Overwritten::kDone;
  return writeWhole(h.get(), original) && FlushFileBuffers(h.get()) ? Overwritten::kUntouched
                                                                    : Overwritten::kDamaged;
}

void remove(Copy& copy) {
  copy.hold.reset();
  DeleteFileW(copy.name.c_str());
}

}  // namespace zemlo::files
