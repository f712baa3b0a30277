#include "settings/staged_save.h"

namespace zemlo {

StagedSave::StagedSave(FileName file) : file_(std::move(file)) {
  auto original = files::read(file_);
  if (!original || (original->exists && !files::writable(file_))) throw WriteError(file_);
  original_ = std::move(*original);
  files::removeStaleCopies(file_);  // left by a save that was killed
  startWrites();
}

StagedSave::~StagedSave() {
  api_.reset();  // the profile API lets go of the copy first
  if (staged_) files::remove(*staged_);
}

void StagedSave::stage(std::string_view bytes) {
  staged_ = files::createBeside(file_, bytes);
  if (!staged_ && original_.exists) {
    // A folder that takes no new file, around a file that can be written.
    staged_ = files::createBeside(file_, bytes, files::temporaryFolder());
    stagedElsewhere_ = true;
  }
  if (!staged_) throw WriteError(file_);
}

bool StagedSave::write(std::string_view section, std::string_view key, std::string_view value) {
  written_.push_back({std::string(section), std::string(key), std::string(value)});
  return writeStaged(section, key, value);
}

void StagedSave::commit() {
  finishWrites();
  const auto staged = files::read(staged_->name);
  if (!staged || !staged->exists) throw WriteError(file_);
  if (std::string why; !stagedCopyHoldsSave(original_.bytes, staged->bytes, written_, &why)) {
    // The error box's text is fixed: a developer finds the reason in the debugger's output.
    tellDebugger("zemlo: staged copy of " + pathToUtf8(file_) + " refused: " + why);
    throw WriteError(file_);
  }
  if (original_.exists && staged->bytes == original_.bytes) return;  // nothing changed: no write

  if (!stagedElsewhere_ && files::flush(staged_->name) && files::replace(*staged_, file_, true)) {
    staged_.reset();
    return;
  }
  // Written, but not replaced: another program holds the file open sharing
  // writing but not deletion (as a running game may), or the folder takes no
  // new file. Then the file, if it can be written itself, is written over in
  // place with the checked copy, and read back.
  if (!original_.exists) throw WriteError(file_);
  auto result = files::overwrite(file_, staged->bytes, original_.bytes);
  if (result == files::Overwritten::kDone) {
    const auto now = files::read(file_);
    if (now && now->bytes == staged->bytes) return;
    result = files::overwrite(file_, original_.bytes, staged->bytes) == files::Overwritten::kDone
                 ? files::Overwritten::kUntouched
                 : files::Overwritten::kDamaged;
  }
  if (result == files::Overwritten::kDamaged) keepOriginal();
  throw WriteError(file_);
}

void StagedSave::keepOriginal() const {
  // The file may now be neither old nor new: its old bytes go where the player can find them.
  auto copy = files::createBeside(file_, original_.bytes, {}, "old");
  if (!copy) copy = files::createBeside(file_, original_.bytes, files::temporaryFolder(), "old");
  if (!copy) throw WriteError(file_);
  throw WriteError(file_, ".\nThe settings before this save are kept in " + pathToUtf8(copy->name));
}

}  // namespace zemlo
