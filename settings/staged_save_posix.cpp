// The native way of staging a save: the INI text rules make the writes on the
// text in memory, and commit() stages the copy once, with all of them.
#include <iostream>

#include "settings/ini_text.h"
#include "settings/staged_save.h"

namespace zemlo {
namespace {

std::string withWrites(std::string text, const std::vector<Assignment>& written) {
  for (const Assignment& a : written) text = iniAssign(text, a.section, a.key, a.value);
  return text;
}

}  // namespace

void StagedSave::startWrites() {}

std::string StagedSave::read(std::string_view section, std::string_view key) const {
  return iniLookup(withWrites(original_.bytes, written_), section, key);
}

// The writes wait in written_ until the copy is made.
bool StagedSave::writeStaged(std::string_view, std::string_view, std::string_view) { return true; }

void StagedSave::finishWrites() { stage(withWrites(original_.bytes, written_)); }

// Where a debugger would show it on Windows: standard error.
void StagedSave::tellDebugger(const std::string& text) { std::cerr << text << '\n'; }

}  // namespace zemlo
