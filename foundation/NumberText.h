// Decimal and hexadecimal texts of integers, built in fixed buffers without allocation.
// The minimum count pads with leading zeros; a minimum of 1 writes zero as "0".
#pragma once

#include <cstdint>

#include "foundation/ConstData.h"

ConstData<10> ToDecimalText(std::uint32_t value, unsigned minimumDigits = 1);
ConstData<20> ToDecimalText(std::uint64_t value, unsigned minimumDigits = 1);
// A negative value is "-" and the digits of its magnitude.
ConstData<21> ToDecimalText(std::int64_t value, unsigned minimumDigits = 1);
// Lower-case digits, no prefix.
ConstData<8> ToHexText(std::uint32_t value, unsigned minimumDigits = 1);
