// How a check box or slider shows its setting(s): the kinds of binding that
// the control table names for its rows.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "settings/value_text.h"
#include "ui/slider_math.h"

namespace zemlo::ui {

// A control's value is its position, or 1 for a checked box and 0 otherwise.
struct Binding {
  // Record to value, before a slider clamps it to [low, high]; `current` is
  // where the control stands now.
  int (*value)(const Settings& s, int low, int high, int current);
  // Controls to record: from the control's value and its value label's text.
  void (*store)(Settings& s, int value, const std::string& labelText);
  // A slider's value as its value label shows it (or would, for those without
  // one); null for check boxes.
  std::string (*valueText)(int position);
};

// A value label's text as a number; a label only ever holds what its slider wrote.
template <typename T>
T parseLabel(const std::string& text, std::optional<T> (*parse)(std::string_view),
             const char* what) {
  const std::optional<T> value = parse(text);
  if (!value) throw std::runtime_error("'" + text + "' is not a valid " + what + " value");
  return *value;
}

// A flag on a check box: checked is true.
template <uint8_t Settings::*Field>
inline constexpr Binding flag{[](const Settings& s, int, int, int) { return s.*Field ? 1 : 0; },
                              [](Settings& s, int value, const std::string&) { s.*Field = value; },
                              nullptr};

// A real shown as Round(value x Factor), its label two decimals of position / Factor.
template <double Settings::*Field, int Factor>
inline constexpr Binding real{[](const Settings& s, int low, int high, int) {
                                return scaledPosition(s.*Field, Factor, low, high);
                              },
                              [](Settings& s, int, const std::string& text) {
                                s.*Field = parseLabel(text, parseReal, "floating point");
                              },
                              [](int position) { return realLabel(position, Factor); }};

// A per-channel strength on a vertical slider, full strength at the top; no label.
// Its value reads as the strength saved, 1 - position / 10.
template <double Settings::*Field>
inline constexpr Binding strength{
    [](const Settings& s, int, int, int) { return strengthPosition(s.*Field); },
    [](Settings& s, int position, const std::string&) {
      s.*Field = strengthFromPosition(position);
    },
    [](int position) { return realLabel(10 - position, 10); }};

// An integer whose position is the value itself.
template <int32_t Settings::*Field>
inline constexpr Binding count{[](const Settings& s, int, int, int) { return int{s.*Field}; },
                               [](Settings& s, int, const std::string& text) {
                                 s.*Field = parseLabel(text, parseInteger, "integer");
                               },
                               [](int position) { return std::to_string(position); }};

// Both reflection texture sizes on one slider.
inline constexpr Binding textureSize{
    [](const Settings& s, int, int, int now) { return textureSizePosition(s.sizeX, s.sizeY, now); },
    [](Settings& s, int position, const std::string&) {
      s.sizeX = s.sizeY = textureSizeForPosition(position);
    },
    textureSizeLabel};

}  // namespace zemlo::ui
