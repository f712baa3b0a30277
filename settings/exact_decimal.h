// Decimal digits of a double worked out exactly, with no locale and no help
// from the C library's conversions.
#pragma once

#include <string>

namespace zemlo {

struct DecimalDigits {
  std::string digits;  // exactly `count` significant digits, the first non-zero
  int exponent = 0;    // value ~ 0.d1d2d3... x 10^exponent
};

// A positive finite value rounded to `count` significant digits, to nearest
// with ties to even on its exact binary value.
DecimalDigits roundedDigits(double value, int count);

// One unit more in the last digit: 999 carries into a new leading 1, with
// the digit count kept and the exponent one higher.
void roundUpLastDigit(DecimalDigits& number);

}  // namespace zemlo
