// The few file operations the settings file needs, on whole files, with the
// platform's own calls behind them. No exceptions: every failure is a result.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/file_name.h"

namespace zemlo::files {

struct Contents {
  bool exists = false;
  std::string bytes;  // empty when the file does not exist
};

// The whole file. Missing (or its folder missing): exists is false. nullopt
// when it exists but cannot be read: a folder, no permission, or held open by
// a program that shares no reading.
std::optional<Contents> read(const FileName& file);

// An existing regular file that could be opened for writing now: not
// read-only, and not held open by a program that shares no writing.
bool writable(const FileName& file);

// A copy createBeside made, held from before its first byte until let go of:
// while held, it is a copy still being written, which no save's sweep removes.
struct Copy {
  FileName name;
  std::shared_ptr<void> hold;
};

// A new file holding `bytes`, named after `file` by copyName with a unique tag,
// in `folder` (empty: `file`'s own folder). nullopt when it cannot be made whole.
std::optional<Copy> createBeside(const FileName& file, std::string_view bytes,
                                 const FileName& folder = {},
                                 std::string_view extension = kStagedExtension);
// Removes the staged copies createBeside left beside `file` (a save killed
// before it could remove its own) and no longer holds; nothing else.
void removeStaleCopies(const FileName& file);
// The folder for temporary files of this user.
FileName temporaryFolder();

// Sends the file's data to the disk.
bool flush(const FileName& file);

// Puts `staged` in the place of `target` in one step: afterwards `target` is
// either what it was or the staged file, whatever happens. The staged file
// takes the target's attributes (permissions). A symbolic link `target`
// stays a link, its target replaced, on POSIX systems; on Windows the link
// itself is replaced by the file. `durable`: the change of names reaches the
// disk before this returns. False, with both files as they were, on failure.
bool replace(Copy& staged, const FileName& target, bool durable);

// What a write in place did to the file.
enum class Overwritten {
  kDone,       // it holds `bytes`, on the disk
  kUntouched,  // it holds `original` again (or still)
  kDamaged,    // neither: a write failed, and so did putting `original` back
};
// Writes `bytes` over the existing, writable `target` in place, for when it
// cannot be replaced. The space is reserved before a byte is changed; if a
// write fails after that, `original` is put back. The data reaches the disk.
Overwritten overwrite(const FileName& target, std::string_view bytes, std::string_view original);

// Lets go of the copy and removes it.
void remove(Copy& copy);

}  // namespace zemlo::files
