// The Windows way of staging a save: the profile API edits files, not text, so
// it writes into a copy staged as the save starts.
#include <windows.h>

#include "settings/staged_save.h"
#include "settings/wide_text.h"

namespace zemlo {

void StagedSave::startWrites() {
  stage(original_.bytes);
  api_ = openProfile(staged_->name);
}

std::string StagedSave::read(std::string_view section, std::string_view key) const {
  return api_->read(section, key);
}

bool StagedSave::writeStaged(std::string_view section, std::string_view key,
                             std::string_view value) {
  return api_->write(section, key, value);
}

// The API lets go of the copy: nothing of it stays cached.
void StagedSave::finishWrites() { api_.reset(); }

// The ANSI function, for Wine 8 prints only that one (WINEDEBUG=+debugstr);
// Windows hands it on to debuggers.
void StagedSave::tellDebugger(const std::string& text) {
  OutputDebugStringA(narrow(widen(text), CP_ACP).c_str());
}

}  // namespace zemlo
