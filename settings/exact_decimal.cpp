#include "settings/exact_decimal.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace zemlo {

namespace {

// An unsigned integer in base 10^9, least significant limb first.
class BigDecimal {
public:
  explicit BigDecimal(uint64_t value) {
    do {
      limbs_.push_back(static_cast<uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }

  void multiply(uint32_t factor) {
    uint64_t carry = 0;
    for (uint32_t& limb : limbs_) {
      const uint64_t product = static_cast<uint64_t>(limb) * factor + carry;
      limb = static_cast<uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  // Multiplies by base^power in steps that keep the product within 64 bits.
  void multiplyByPower(uint32_t base, int power, uint32_t step, int stepPower) {
    for (; power >= stepPower; power -= stepPower) multiply(step);
    uint32_t rest = 1;
    while (power-- > 0) rest *= base;
    multiply(rest);
  }

  std::string digits() const {
    std::string text = std::to_string(limbs_.back());
    for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
      const std::string limb = std::to_string(*it);
      text.append(9 - limb.size(), '0');
      text += limb;
    }
    return text;
  }

private:
  static constexpr uint32_t kBase = 1000000000;
  std::vector<uint32_t> limbs_;
};

}  // namespace

DecimalDigits roundedDigits(double value, int count) {
  // value = mantissa x 2^power exactly, with a 53-bit integer mantissa.
  int binaryExponent = 0;
  const double fraction = std::frexp(value, &binaryExponent);
  auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  int power = binaryExponent - 53;
  while (mantissa % 2 == 0 && power < 0) {
    mantissa /= 2;
    ++power;
  }

  // An integer N and a shift with value = N x 10^shift: m x 2^-k = m x 5^k x 10^-k.
  BigDecimal number(mantissa);
  int shift = 0;
  if (power >= 0) {
    number.multiplyByPower(2, power, 1u << 29, 29);
  } else {
    number.multiplyByPower(5, -power, 1220703125u, 13);  // 5^13
    shift = power;
  }
  const std::string all = number.digits();

  DecimalDigits out;
  out.exponent = static_cast<int>(all.size()) + shift;
  if (static_cast<int>(all.size()) <= count) {
    out.digits = all + std::string(count - all.size(), '0');
    return out;
  }
  out.digits = all.substr(0, count);
  const char next = all[count];
  const bool restNonZero = all.find_first_not_of('0', count + 1) != std::string::npos;
  const bool odd = (out.digits.back() - '0') % 2 == 1;
  if (next > '5' || (next == '5' && (restNonZero || odd))) roundUpLastDigit(out);
  return out;
}

void roundUpLastDigit(DecimalDigits& number) {
  std::string& digits = number.digits;
  auto i = digits.size();
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i > 0) {
    ++digits[i - 1];
  } else {
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    ++number.exponent;
  }
}

}  // namespace zemlo
