// A save of the settings file as one step. The writes go, through the
// platform's profile store (so its editing rules decide every byte), to a copy
// of the file staged beside it; commit() checks that the copy holds them and
// everything else the file held, sends it to the disk and puts it in the
// file's place at once. Until then the file is untouched: a save that fails
// anywhere leaves it byte for byte as it was and throws WriteError naming it.
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
  // Stages a copy of `file` (none yet: an empty one). Throws WriteError when
  // `file` cannot be read or written, or no copy can be made.
  explicit StagedSave(FileName file);
  // Removes the staged copy if it was not committed.
  ~StagedSave() override;
  StagedSave(const StagedSave&) = delete;
  StagedSave& operator=(const StagedSave&) = delete;

  // The staged copy's values.
  std::string read(std::string_view section, std::string_view key) const override {
    return store_->read(section, key);
  }
  // Writes into the staged copy, and remembers the write for the check.
  bool write(std::string_view section, std::string_view key, std::string_view value) override;
  // The settings file's path, which a WriteError names.
  const FileName& path() const override { return file_; }

  // Puts the save in place; throws WriteError, leaving the file as it was.
  void commit();

private:
  FileName file_;
  files::Contents original_;
  std::optional<FileName> staged_;
  // The copy is in the temporary folder, not beside the file: it can only be
  // written over the file, not renamed onto it.
  bool stagedElsewhere_ = false;
  std::unique_ptr<ProfileStore> store_;
  std::vector<Assignment> written_;
};

}  // namespace zemlo
