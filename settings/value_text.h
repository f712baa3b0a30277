// The text forms of values in config.cfg and in the window's value labels.
// Pure and locale-free: "." is the decimal separator whatever the user's locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zemlo {

// Leading spaces, then [+-]decimal digits in the signed 32-bit range, or a
// "$", "x", "X", "0x", "0X" prefix and at most eight significant hex digits
// (an unsigned pattern read as signed). Nothing may follow. nullopt otherwise.
std::optional<int32_t> parseInteger(std::string_view text);

// Leading spaces, [+-], digits, optional "." and digits (a lone "." is 0),
// optional E/e[+-]digits (no digits counts as 0; an exponent digit read once
// the exponent has reached 500 is an error), trailing spaces. Evaluated in
// extended precision; nullopt when malformed or beyond a double's range.
std::optional<double> parseReal(std::string_view text);

// Loader rules for one value text of config.cfg.
bool readFlagText(std::string_view text, bool fallback);
int32_t readIntegerText(std::string_view text, int32_t fallback);  // "0x.." -> "$.."
double readRealText(std::string_view text, double fallback);

// Writer rules: "1"/"0"; plain decimal; 15 significant digits (see formatReal).
std::string formatFlag(bool value);
std::string formatInteger(int32_t value);
// 18 significant digits (ties to even), cut to 15 rounding up on a 16th digit
// of 5 or more, trailing zeros dropped; fixed form for exponents -3..15,
// otherwise d.dddEx. Zero and negative zero are "0".
std::string formatReal(double value);

// A value label's two-decimal form of hundredths / 100, half away from zero
// already applied by the caller: "-0.30", "2.50". Groups thousands with `sep`.
std::string formatHundredths(int64_t hundredths, std::string_view thousandsSep = ",");

}  // namespace zemlo
