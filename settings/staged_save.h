// A save of the settings file as one step. The writes go into a staged copy of
// the file by the platform's profile rules, so those decide every byte
// (staged_save_win32.cpp, staged_save_posix.cpp). commit() checks that the copy
// holds the writes and everything else the file held, sends it to the disk and
// puts it in the file's place at once. Until then the file is untouched: a save
// that fails anywhere leaves it byte for byte as it was and throws WriteError
// naming it. The one exception is the write in place (see commit()): if it
// fails and putting the old bytes back fails as well, they are kept in a copy
// beside the file, which the error names on a line of its own.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "settings/file_system.h"
#include "settings/profile_store.h"
#include "settings/save_check.h"

namespace zemlo {

class StagedSave final : public ProfileStore {
public:
  // Reads `file` (none yet: empty), removes the copies a killed save left
  // beside it and, on Windows, stages its copy. Throws WriteError when `file`
  // cannot be read or written, or no copy can be made.
  explicit StagedSave(FileName file);
  // Removes the staged copy if it was not committed.
  ~StagedSave() override;
  StagedSave(const StagedSave&) = delete;
  StagedSave& operator=(const StagedSave&) = delete;

  // The staged copy's values.
  std::string read(std::string_view section, std::string_view key) const override;
  // Writes into the staged copy (natively: its text, made at commit), remembered for the check.
  bool write(std::string_view section, std::string_view key, std::string_view value) override;
  // The settings file's path, which a WriteError names.
  const FileName& path() const override { return file_; }

  // Puts the save in place; throws WriteError, leaving the file as it was
  // (or, see above, naming where its old bytes are).
  void commit();

private:
  // This platform's part: where the writes go until commit() finishes them, and
  // how a developer is told why a copy was refused.
  void startWrites();
  bool writeStaged(std::string_view section, std::string_view key, std::string_view value);
  void finishWrites();
  static void tellDebugger(const std::string& text);

  // Copies `bytes` to a new file beside the file, or in the temporary folder
  // when its folder takes no new file; throws WriteError when neither can.
  void stage(std::string_view bytes);
  // Throws WriteError naming a copy of the old bytes, after a write in place that failed
  // and could not be undone.
  [[noreturn]] void keepOriginal() const;

  FileName file_;
  files::Contents original_;
  std::optional<files::Copy> staged_;
  // The copy is in the temporary folder, not beside the file: it can only be
  // written over the file, not renamed onto it.
  bool stagedElsewhere_ = false;
  std::vector<Assignment> written_;
  std::unique_ptr<ProfileStore> api_;  // Windows: the profile API on the staged copy
};

}  // namespace zemlo
