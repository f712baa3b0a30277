// The profile store through the Windows profile API. Names and values are ANSI
// text; the wide functions are used so that the path may hold any character.
#include <windows.h>

#include <iterator>
#include <string>

#include "settings/profile_store.h"


namespace zemlo {
namespace {

std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string narrow(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string bytes(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, length, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

class Win32ProfileStore final : public ProfileStore {
public:
  explicit Win32ProfileStore(FileName file) : file_(std::move(file)) {}
  // The profile API caches files (Wine keeps the last few): let go of this one,
  // so nothing of it outlives the load or save, nor a file renamed onto it.
  ~Win32ProfileStore() override { WritePrivateProfileStringW(nullptr, nullptr, nullptr, file_.c_str()); }

  std::string read(std::string_view section, std::string_view key) const override {
    // The 2048-character buffer is what limits a value to kMaxValueLength.
    wchar_t buffer[kMaxValueLength + 1] = {};
    const DWORD n =
        GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"", buffer,
                                 static_cast<DWORD>(std::size(buffer)), file_.c_str());
    return narrow(buffer, static_cast<int>(n));
  }

  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    return WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(),
                                      widen(value).c_str(), file_.c_str()) != FALSE;
  }

  const FileName& path() const override { return file_; }

private:
  FileName file_;
};

}  // namespace

std::unique_ptr<ProfileStore> openWin32Profile(FileName file) {
  return std::make_unique<Win32ProfileStore>(std::move(file));
}

}  // namespace zemlo
