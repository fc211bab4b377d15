#pragma once

#include "String.h"

#include <cstdint>

namespace platform {

// Truncates toward zero. Defined for every double: NaN gives 0, and values beyond the Int32
// range (infinities included) saturate to its nearest end.
std::int32_t RuntimeCvtReal64ToSInt32(double value) noexcept;
double RuntimeCvtSInt32ToReal64(std::int32_t value) noexcept;

// The number at the start of the text, after blanks: optional sign, digits, optional fraction and
// exponent. Text with no such number gives 0; a number too large for a double gives an infinity.
double Val(const String& text) noexcept;

// Decimal text of the number, with a leading "-" when negative.
String Str(std::int32_t value);

}
