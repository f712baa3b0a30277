// File names in the platform's own form, and the error a failed write of the
// settings file raises.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zemlo {

// A file name in the platform's own form: UTF-16 on Windows, bytes elsewhere.
// A std::filesystem::path converts to it by itself (path::string_type). The
// editor does without std::filesystem on Windows: it would bring the whole C++
// locale machinery into the exe.
#ifdef _WIN32
using FileName = std::wstring;
#else
using FileName = std::string;
#endif

// The folder of a path, up to and including its last separator (or drive
// colon); empty when it has none.
FileName folderOf(const FileName& file);

// UTF-8 text of a path, for messages.
std::string pathToUtf8(const FileName& file);

// The extension of a staged copy: what a save writes before it replaces the file.
inline constexpr std::string_view kStagedExtension = "tmp";

// The name of a copy of the file named `name`: `name`, a dot, `tag` in eight
// lower-case hex digits, a dot and `extension` (config.cfg.0123abcd.tmp).
FileName copyName(const FileName& name, uint32_t tag, std::string_view extension);
// Whether `candidate` is the name of a staged copy of the file named `name`.
bool isStagedCopyOf(const FileName& candidate, const FileName& name);

// A failed write of the settings file; what() is "Unable to write to <path>"
// (UTF-8), followed by `more`: a line that names a copy kept, or a reason.
class WriteError : public std::runtime_error {
public:
  explicit WriteError(const FileName& file, const std::string& more = {});
};

}  // namespace zemlo
