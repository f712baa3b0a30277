#include "settings/staged_save.h"

#include "settings/ini_text.h"

namespace zemlo {

StagedSave::StagedSave(FileName file) : file_(std::move(file)) {
  auto original = files::read(file_);
  if (!original || (original->exists && !files::writable(file_))) throw WriteError(file_);
  original_ = std::move(*original);
#ifdef _WIN32
  // The profile API edits files, not text: it writes into a copy made now.
  stage(original_.bytes);
  store_ = openWin32Profile(*staged_);
#else
  text_ = original_.bytes;
#endif
}

StagedSave::~StagedSave() {
  store_.reset();
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

std::string StagedSave::read(std::string_view section, std::string_view key) const {
  return store_ ? store_->read(section, key) : iniLookup(text_, section, key);
}

bool StagedSave::write(std::string_view section, std::string_view key, std::string_view value) {
  written_.push_back({std::string(section), std::string(key), std::string(value)});
  if (store_) return store_->write(section, key, value);
  text_ = iniAssign(text_, section, key, value);
  return true;
}

void StagedSave::commit() {
  if (store_)
    store_.reset();  // the store lets go of the copy: nothing of it stays cached
  else
    stage(text_);  // the one file this save writes before the replace
  const auto staged = files::read(*staged_);
  if (!staged || !staged->exists || !stagedCopyHoldsSave(original_.bytes, staged->bytes, written_))
    throw WriteError(file_);
  if (original_.exists && staged->bytes == original_.bytes) return;  // nothing changed: no write

  if (!stagedElsewhere_ && files::flush(*staged_) && files::replace(*staged_, file_, true)) {
    staged_.reset();
    return;
  }
  // Written, but not replaced: another program holds the file open sharing
  // writing but not deletion (as a running game may), or the folder takes no
  // new file. Then the file, if it can be written itself, is written over in
  // place with the checked copy, and read back.
  if (original_.exists && files::overwrite(file_, staged->bytes, original_.bytes)) {
    const auto now = files::read(file_);
    if (now && now->bytes == staged->bytes) return;
    files::overwrite(file_, original_.bytes, staged->bytes);
  }
  throw WriteError(file_);
}

}  // namespace zemlo
