// The real writer on every finite double (the input's first eight bytes, read
// as one; shorter inputs are padded with zero bytes):
// - the text has the written form: fixed for decimal exponents -3..15,
//   d[.ddd]E[-]x otherwise, at most 15 significant digits, no superfluous zeros;
// - it reads back, and reads as the value rounded to 15 significant digits.
//   The writer rounds to 18 digits first, so where those 18 end in 500 it may
//   land one 15-digit step above the direct rounding; a value whose 15 digits
//   lie beyond DBL_MAX reads back as DBL_MAX;
// - writing what was read gives the same text.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "settings/value_text.h"

namespace {

using zemlo::fuzz::printable;
using zemlo::fuzz::sameBits;

// d.ddd...e±xx with `decimals` digits after the point, rounded to nearest from
// the exact binary value.
std::string scientific(double x, int decimals) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, decimals);
  return std::string(buffer, result.ptr);
}

bool allDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void checkForm(const std::string& text, double x) {
  const std::string context = scientific(x, 16) + " is written as " + printable(text);
  std::string_view body = text;
  const bool negative = !body.empty() && body.front() == '-';
  if (negative) body.remove_prefix(1);
  ZEMLO_FUZZ_CHECK(negative == std::signbit(x), context);
  ZEMLO_FUZZ_CHECK(!body.empty(), context);

  const std::size_t e = body.find('E');
  if (e != std::string_view::npos) {
    const std::string_view mantissa = body.substr(0, e);
    std::string_view exponent = body.substr(e + 1);
    ZEMLO_FUZZ_CHECK(!mantissa.empty() && mantissa[0] >= '1' && mantissa[0] <= '9', context);
    if (mantissa.size() > 1) {
      ZEMLO_FUZZ_CHECK(mantissa[1] == '.' && mantissa.size() > 2, context);
      ZEMLO_FUZZ_CHECK(allDigits(mantissa.substr(2)) && mantissa.back() != '0', context);
      ZEMLO_FUZZ_CHECK(mantissa.size() - 1 <= 15, context);
    }
    const bool negativeExponent = !exponent.empty() && exponent.front() == '-';
    if (negativeExponent) exponent.remove_prefix(1);
    ZEMLO_FUZZ_CHECK(
        !exponent.empty() && allDigits(exponent) && exponent.front() != '0' && exponent.size() <= 3,
        context);
    int value = 0;
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), value);
    if (negativeExponent) value = -value;
    ZEMLO_FUZZ_CHECK(value < -4 || value > 14, context);
    return;
  }

  const std::size_t point = body.find('.');
  const std::string_view whole = body.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : body.substr(point + 1);
  ZEMLO_FUZZ_CHECK(!whole.empty() && allDigits(whole) && allDigits(fraction), context);
  if (point != std::string_view::npos) {
    ZEMLO_FUZZ_CHECK(!fraction.empty() && fraction.back() != '0', context);
  }
  if (whole == "0") {
    // 0.000ddd: at most three zeros after the point.
    ZEMLO_FUZZ_CHECK(point != std::string_view::npos, context);
    const std::size_t zeros = fraction.find_first_not_of('0');
    ZEMLO_FUZZ_CHECK(zeros != std::string_view::npos && zeros <= 3, context);
    ZEMLO_FUZZ_CHECK(fraction.size() - zeros <= 15, context);
  } else {
    ZEMLO_FUZZ_CHECK(whole[0] != '0' && whole.size() + fraction.size() <= 15, context);
  }
}

// The 15 significant digits of `rounded` (d.dddddddddddddde±x) one unit up,
// as text parseReal reads.
std::string oneStepUp(const std::string& rounded) {
  std::string digits = rounded.substr(0, 1) + rounded.substr(2, 14);
  int exponent = 0;
  std::string_view exponentText = std::string_view(rounded).substr(17);
  if (exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  // As a whole number: 15 digits fit in 64 bits, and 999... + 1 gains a digit.
  return std::to_string(std::stoull(digits) + 1) + "E" + std::to_string(exponent - 14);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint64_t bits = 0;
  std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
  double x = 0;
  std::memcpy(&x, &bits, sizeof x);
  if (!std::isfinite(x)) return 0;

  const std::string text = zemlo::formatReal(x);
  const std::optional<double> back = zemlo::parseReal(text);
  const std::string context = scientific(x, 16) + " is written as " + printable(text) +
                              ", which reads as " + (back ? scientific(*back, 16) : "nothing");
  ZEMLO_FUZZ_CHECK(back.has_value() && std::isfinite(*back), context);

  if (x == 0) {
    ZEMLO_FUZZ_CHECK(text == "0" && sameBits(*back, 0.0), context);
    return 0;
  }
  checkForm(text, x);

  const double magnitude = std::fabs(x);
  const std::string rounded = scientific(magnitude, 14);  // the direct 15-digit rounding
  const std::optional<double> direct = zemlo::parseReal(rounded);
  ZEMLO_FUZZ_CHECK(direct.has_value(), context + "; " + rounded + " does not read");
  ZEMLO_FUZZ_CHECK(std::signbit(*back) == std::signbit(x), context);

  if (rounded == "1.79769313486232e+308") {
    // Beyond DBL_MAX in 15 digits; read back as the largest double.
    ZEMLO_FUZZ_CHECK(*back == std::copysign(DBL_MAX, x), context);
  } else if (scientific(magnitude, 17).substr(16, 3) == "500") {
    // 18 digits end in 500: the writer rounds up from there, the direct
    // rounding may have gone down.
    const std::optional<double> up = zemlo::parseReal(oneStepUp(rounded));
    const bool asDirect = sameBits(std::fabs(*back), *direct);
    const bool oneUp = up && sameBits(std::fabs(*back), *up);
    ZEMLO_FUZZ_CHECK(asDirect || oneUp,
                     context + "; direct " + rounded + ", one up " + oneStepUp(rounded));
  } else {
    ZEMLO_FUZZ_CHECK(sameBits(std::fabs(*back), *direct), context + "; direct " + rounded);
  }

  const std::string again = zemlo::formatReal(*back);
  ZEMLO_FUZZ_CHECK(again == text, context + ", written again as " + printable(again));
  return 0;
}
