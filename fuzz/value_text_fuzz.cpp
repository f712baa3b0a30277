// The readers of value text on arbitrary bytes. Besides not crashing:
// - an integer reads exactly when an independent reading of the integer rules
//   accepts the text, and reads the same value;
// - a real reads exactly when the text has the shape of a real (and lies in
//   range), is finite, and lies within one unit in the last place of the C
//   library's reading of the same number;
// - the loader's readers apply their fallbacks as the load rules say.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "settings/value_text.h"

namespace {

using zemlo::fuzz::printable;
using zemlo::fuzz::sameBits;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::string_view afterSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// Spaces, then [+-]decimal in the signed 32-bit range, or $/x/X/0x/0X and at
// most eight significant hex digits taken as an unsigned pattern.
std::optional<int32_t> referenceInteger(std::string_view text) {
  text = afterSpaces(text);
  if (text.empty()) return std::nullopt;
  std::string_view hex;
  bool isHex = true;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = text.substr(2);
  } else if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') {
    hex = text.substr(1);
  } else {
    isHex = false;
  }
  if (isHex) {
    if (hex.empty()) return std::nullopt;
    for (char c : hex) {
      if (!isHexDigit(c)) return std::nullopt;
    }
    const std::size_t nonzero = hex.find_first_not_of('0');
    hex = nonzero == std::string_view::npos ? std::string_view() : hex.substr(nonzero);
    if (hex.size() > 8) return std::nullopt;
    uint32_t pattern = 0;
    if (!hex.empty()) std::from_chars(hex.data(), hex.data() + hex.size(), pattern, 16);
    return static_cast<int32_t>(pattern);
  }
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  for (char c : text) {
    if (!isDigit(c)) return std::nullopt;
  }
  const std::size_t nonzero = text.find_first_not_of('0');
  text = nonzero == std::string_view::npos ? std::string_view() : text.substr(nonzero);
  if (text.size() > 10) return std::nullopt;
  int64_t magnitude = 0;
  if (!text.empty()) std::from_chars(text.data(), text.data() + text.size(), magnitude);
  const int64_t value = negative ? -magnitude : magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

// When `text` has the shape of a real (spaces, [+-], digits, optional point
// and digits, at least one digit or the point, optional E/e[+-]digits with the
// 500 rule, spaces), the number in a form strtold reads; otherwise nullopt.
std::optional<std::string> realShape(std::string_view text) {
  const std::size_t n = text.size();
  std::size_t pos = 0;
  while (pos < n && text[pos] == ' ') ++pos;
  std::string number;
  if (pos < n && (text[pos] == '+' || text[pos] == '-')) number.push_back(text[pos++]);
  std::size_t digits = 0;
  for (; pos < n && isDigit(text[pos]); ++pos, ++digits) number.push_back(text[pos]);
  bool point = false;
  if (pos < n && text[pos] == '.') {
    point = true;
    number.push_back('.');
    for (++pos; pos < n && isDigit(text[pos]); ++pos, ++digits) number.push_back(text[pos]);
  }
  if (digits == 0 && !point) return std::nullopt;
  if (digits == 0) number += "0";  // "." and "-." are zero
  if (pos < n && (text[pos] == 'E' || text[pos] == 'e')) {
    ++pos;
    std::string exponent = "e";
    if (pos < n && (text[pos] == '+' || text[pos] == '-')) exponent.push_back(text[pos++]);
    long value = 0;
    bool any = false;
    for (; pos < n && isDigit(text[pos]); ++pos) {
      if (value >= 500) return std::nullopt;
      value = value * 10 + (text[pos] - '0');
      exponent.push_back(text[pos]);
      any = true;
    }
    if (any) number += exponent;
  }
  while (pos < n && text[pos] == ' ') ++pos;
  if (pos != n) return std::nullopt;
  return number;
}

std::string sci(double x) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 16);
  return std::string(buffer, result.ptr);
}

void checkInteger(std::string_view text) {
  const std::optional<int32_t> got = zemlo::parseInteger(text);
  const std::optional<int32_t> expected = referenceInteger(text);
  ZEMLO_FUZZ_CHECK(got == expected, "parseInteger(" + printable(text) + ") gives " +
                                        (got ? std::to_string(*got) : "nothing") + ", expected " +
                                        (expected ? std::to_string(*expected) : "nothing"));
  if (got) {
    const std::string written = zemlo::formatInteger(*got);
    ZEMLO_FUZZ_CHECK(zemlo::parseInteger(written) == got,
                     std::to_string(*got) + " is written as " + printable(written));
  }

  // The loader: "0x.." longer than two characters is read as "$..".
  std::string loaderText(text);
  if (loaderText.size() > 2 && loaderText[0] == '0' &&
      (loaderText[1] == 'x' || loaderText[1] == 'X')) {
    loaderText.replace(0, 2, "$");
  }
  const std::optional<int32_t> loaded = referenceInteger(loaderText);
  for (const int32_t fallback : {int32_t{512}, int32_t{-7}, int32_t{0}, int32_t{1}}) {
    const int32_t value = zemlo::readIntegerText(text, fallback);
    ZEMLO_FUZZ_CHECK(value == loaded.value_or(fallback), "readIntegerText(" + printable(text) +
                                                             ", " + std::to_string(fallback) +
                                                             ") gives " + std::to_string(value));
  }
  for (const bool fallback : {false, true}) {
    const bool value = zemlo::readFlagText(text, fallback);
    ZEMLO_FUZZ_CHECK(value == (loaded.value_or(fallback ? 1 : 0) != 0),
                     "readFlagText(" + printable(text) + ", " + std::to_string(fallback) +
                         ") gives " + std::to_string(value));
  }
}

void checkReal(std::string_view text) {
  const std::optional<double> got = zemlo::parseReal(text);
  if (got) {
    ZEMLO_FUZZ_CHECK(std::isfinite(*got), "parseReal(" + printable(text) + ") gives " + sci(*got));
    const std::string written = zemlo::formatReal(*got);
    ZEMLO_FUZZ_CHECK(zemlo::parseReal(written).has_value(),
                     sci(*got) + " read from " + printable(text) + " is written as " +
                         printable(written) + ", which does not read");
  }

  const std::optional<std::string> shape = realShape(text);
  if (!shape) {
    ZEMLO_FUZZ_CHECK(!got, "parseReal(" + printable(text) + ") gives " + sci(got.value_or(0)) +
                               " for text that is no real");
  } else {
    const long double reference = std::strtold(shape->c_str(), nullptr);
    const long double magnitude = std::fabs(reference);
    const std::string context =
        "parseReal(" + printable(text) + ") gives " + (got ? sci(*got) : std::string("nothing")) +
        "; strtold(" + printable(*shape) + ") gives " + sci(static_cast<double>(reference));
    if (magnitude < 1.7976931348623155e308L) {
      // Within a double's range: the nearest double, give or take one step
      // for the rounding of the extended value.
      ZEMLO_FUZZ_CHECK(got.has_value(), context);
      const double near = static_cast<double>(reference);
      ZEMLO_FUZZ_CHECK(sameBits(*got, near) || *got == std::nextafter(near, HUGE_VAL) ||
                           *got == std::nextafter(near, -HUGE_VAL) || (*got == 0 && near == 0),
                       context);
      ZEMLO_FUZZ_CHECK(std::signbit(*got) == std::signbit(reference), context);
    } else if (magnitude > 1.797693134862321e308L) {
      // Past DBL_MAX and past the text written for it.
      ZEMLO_FUZZ_CHECK(!got.has_value(), context);
    } else if (got) {
      ZEMLO_FUZZ_CHECK(std::fabs(*got) >= std::nextafter(DBL_MAX, 0.0), context);
    }
  }

  for (const double fallback : {3.0, -0.035}) {
    const double value = zemlo::readRealText(text, fallback);
    const double expected = text.empty() ? fallback : got.value_or(fallback);
    ZEMLO_FUZZ_CHECK(sameBits(value, expected), "readRealText(" + printable(text) + ", " +
                                                    sci(fallback) + ") gives " + sci(value));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  checkInteger(text);
  checkReal(text);
  return 0;
}
