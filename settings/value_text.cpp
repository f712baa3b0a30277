#include "settings/value_text.h"

#include "settings/exact_decimal.h"

#include <cfloat>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace zemlo {

// Real texts are evaluated in 80-bit extended precision, which both targets
// (x86-64 and i686) provide as long double.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit extended format");

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::size_t skipSpaces(std::string_view text, std::size_t pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  return pos;
}

std::optional<int32_t> parseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    if (value >> 28) return std::nullopt;  // a ninth significant digit
    value = (value << 4) | static_cast<uint32_t>(d);
  }
  return static_cast<int32_t>(value);  // the bit pattern, read as signed
}

std::optional<int32_t> parseDecimal(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t magnitude = 0;
  for (char c : digits) {
    if (!isDigit(c)) return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;  // also keeps long texts from overflowing
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

// "0x1F" in the file means "$1F"; the short "0x" alone stays as it is.
std::string_view withoutHexPrefix(std::string_view text, std::string& storage) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    storage = "$";
    storage.append(text.substr(2));
    return storage;
  }
  return text;
}

// 10^k for 0 <= k <= 27 is exact in a 64-bit significand (5^27 < 2^64).
constexpr int kExactPow10 = 27;

constexpr std::array<long double, kExactPow10 + 1> makeExactPowers() {
  std::array<long double, kExactPow10 + 1> powers{};
  long double p = 1.0L;
  for (auto& slot : powers) {
    slot = p;
    p *= 10.0L;
  }
  return powers;
}

constexpr auto kPow10 = makeExactPowers();

// 10^k, k >= 0. Exact up to 10^27; beyond that, whole 10^27 chunks by
// squaring, a few extended-precision roundings at most. Infinite once the
// power is past anything the extended range can hold.
long double pow10(int64_t k) {
  if (k > 6000) return std::numeric_limits<long double>::infinity();
  long double result = kPow10[k % kExactPow10];
  long double base = kPow10[kExactPow10];
  for (int64_t chunks = k / kExactPow10; chunks != 0;) {
    if (chunks & 1) result *= base;
    chunks >>= 1;
    if (chunks != 0) base *= base;
  }
  return result;
}

}  // namespace

std::optional<int32_t> parseInteger(std::string_view text) {
  std::size_t pos = skipSpaces(text, 0);
  std::string_view rest = text.substr(pos);
  if (rest.empty()) return std::nullopt;
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') return parseHex(rest.substr(1));
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    return parseHex(rest.substr(2));
  }
  bool negative = false;
  if (rest[0] == '+' || rest[0] == '-') {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  return parseDecimal(rest, negative);
}

std::optional<double> parseReal(std::string_view text) {
  std::size_t pos = skipSpaces(text, 0);
  const std::size_t n = text.size();

  bool negative = false;
  if (pos < n && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }

  // Up to 19 significant digits fit a uint64 exactly; later integer digits
  // only scale the value and later fraction digits are below its precision.
  constexpr int kMaxDigits = 19;
  uint64_t mantissa = 0;
  int significant = 0;
  int64_t scale = 0;  // value = mantissa * 10^(scale + exponent)
  bool seen = false;  // a digit or the point: "." alone is a number

  for (; pos < n && isDigit(text[pos]); ++pos) {
    seen = true;
    if (significant < kMaxDigits) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(text[pos] - '0');
      if (mantissa != 0) ++significant;
    } else {
      ++scale;
    }
  }
  if (pos < n && text[pos] == '.') {
    seen = true;
    for (++pos; pos < n && isDigit(text[pos]); ++pos) {
      if (significant < kMaxDigits) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(text[pos] - '0');
        if (mantissa != 0) ++significant;
        --scale;
      }
    }
  }
  if (!seen) return std::nullopt;

  if (pos < n && (text[pos] == 'E' || text[pos] == 'e')) {
    ++pos;
    bool negativeExponent = false;
    if (pos < n && (text[pos] == '+' || text[pos] == '-')) {
      negativeExponent = text[pos] == '-';
      ++pos;
    }
    // No digits means an exponent of 0. Past 500 a further digit is refused,
    // which also bounds the exponent to four digits.
    int64_t exponent = 0;
    for (; pos < n && isDigit(text[pos]); ++pos) {
      if (exponent >= 500) return std::nullopt;
      exponent = exponent * 10 + (text[pos] - '0');
    }
    scale += negativeExponent ? -exponent : exponent;
  }

  pos = skipSpaces(text, pos);
  if (pos != n) return std::nullopt;

  // Zero times an overflowing power would be NaN; zero is zero at any scale.
  if (mantissa == 0) return negative ? -0.0 : 0.0;

  // Equal values must take the same path whatever their trailing zeros, so
  // that "2.50" and "2.5E0" read alike; powers past 10^27 are inexact.
  while (mantissa % 10 == 0) {
    mantissa /= 10;
    ++scale;
  }
  long double value = static_cast<long double>(mantissa);
  value = scale >= 0 ? value * pow10(scale) : value / pow10(-scale);

  // Past the midpoint between DBL_MAX and 2^1024 a double would round to
  // infinity, which the record cannot hold. Tiny values just round to zero.
  const long double overflowAt = std::ldexp(1.0L, 1024) - std::ldexp(1.0L, 970);
  // Except for the text written for the largest doubles: with 15 digits it
  // lands just above DBL_MAX, and a saved value must read back.
  const long double largestWritten = 1.79769313486232e308L * (1.0L + std::ldexp(1.0L, -60));
  if (value >= overflowAt && value <= largestWritten) value = DBL_MAX;
  if (!(value < overflowAt)) return std::nullopt;

  double result = static_cast<double>(value);
  return negative ? -result : result;
}

bool readFlagText(std::string_view text, bool fallback) {
  return readIntegerText(text, fallback ? 1 : 0) != 0;
}

int32_t readIntegerText(std::string_view text, int32_t fallback) {
  std::string storage;
  return parseInteger(withoutHexPrefix(text, storage)).value_or(fallback);
}

double readRealText(std::string_view text, double fallback) {
  if (text.empty()) return fallback;
  return parseReal(text).value_or(fallback);
}

std::string formatFlag(bool value) { return value ? "1" : "0"; }

std::string formatInteger(int32_t value) {
  char buffer[16];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string formatReal(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  // 18 digits of the exact binary value, rounded to nearest with ties to even,
  // then cut to 15: a sixteenth of 5 or more rounds up.
  DecimalDigits shown = roundedDigits(std::fabs(value), 18);
  const bool roundUp = shown.digits[15] >= '5';
  shown.digits.resize(15);
  if (roundUp) roundUpLastDigit(shown);
  std::string& digits = shown.digits;
  const int exponent = shown.exponent;  // of the form 0.d1d2... x 10^exponent
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  if (std::signbit(value)) out.push_back('-');
  const int count = static_cast<int>(digits.size());
  if (exponent >= 1 && exponent <= 15) {
    out.append(digits, 0, std::min(count, exponent));
    if (count < exponent) out.append(exponent - count, '0');
    if (count > exponent) {
      out.push_back('.');
      out.append(digits, exponent);
    }
  } else if (exponent >= -3 && exponent <= 0) {
    out.append("0.");
    out.append(-exponent, '0');
    out.append(digits);
  } else {
    out.push_back(digits[0]);
    if (count > 1) {
      out.push_back('.');
      out.append(digits, 1);
    }
    out.push_back('E');
    out.append(formatInteger(exponent - 1));
  }
  return out;
}

std::string formatHundredths(int64_t hundredths, std::string_view thousandsSep) {
  // Unsigned magnitude so that the most negative value needs no special case.
  const uint64_t magnitude =
      hundredths < 0 ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
  char buffer[24];
  auto converted = std::to_chars(buffer, buffer + sizeof buffer, magnitude / 100);
  std::string_view whole(buffer, static_cast<std::size_t>(converted.ptr - buffer));

  std::string out;
  if (hundredths < 0) out.push_back('-');
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i != 0 && (whole.size() - i) % 3 == 0) out.append(thousandsSep);
    out.push_back(whole[i]);
  }
  const unsigned cents = static_cast<unsigned>(magnitude % 100);
  out.push_back('.');
  out.push_back(static_cast<char>('0' + cents / 10));
  out.push_back(static_cast<char>('0' + cents % 10));
  return out;
}

}  // namespace zemlo
