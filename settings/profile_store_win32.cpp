// The profile store through the Windows profile API. Names and values are ANSI
// text; the wide functions are used so that the path may hold any character.
#include <windows.h>

#include <iterator>
#include <string>

#include "settings/ini_text.h"
#include "settings/profile_store.h"
#include "settings/wide_text.h"

namespace zemlo {
namespace {

// Names and values in the ANSI code page, as the profile API's own A functions take them.
std::wstring fromAnsi(std::string_view text) { return widen(text, CP_ACP); }

class Win32ProfileStore final : public ProfileStore {
public:
  explicit Win32ProfileStore(FileName file) : file_(std::move(file)) {}
  // The profile API caches files (Wine keeps the last few): let go of this one,
  // so nothing of it outlives the load or save, nor a file renamed onto it.
  ~Win32ProfileStore() override {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file_.c_str());
  }

  std::string read(std::string_view section, std::string_view key) const override {
    // The 2048-character buffer is what limits a value to kMaxValueLength.
    wchar_t buffer[kMaxValueLength + 1] = {};
    const DWORD n =
        GetPrivateProfileStringW(fromAnsi(section).c_str(), fromAnsi(key).c_str(), L"", buffer,
                                 static_cast<DWORD>(std::size(buffer)), file_.c_str());
    return narrow(std::wstring_view(buffer, n), CP_ACP);
  }

  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    return WritePrivateProfileStringW(fromAnsi(section).c_str(), fromAnsi(key).c_str(),
                                      fromAnsi(value).c_str(), file_.c_str()) != FALSE;
  }

  const FileName& path() const override { return file_; }

private:
  FileName file_;
};

}  // namespace

std::unique_ptr<ProfileStore> openProfile(FileName file) {
  return std::make_unique<Win32ProfileStore>(std::move(file));
}

}  // namespace zemlo
