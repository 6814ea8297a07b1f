#include "foundation/NumberText.h"

namespace {

// Digits from the least significant end into a scratch buffer of `Scratch` bytes; the
// result is copied into the ConstData, whose Append enforces the capacity.
template <std::size_t Capacity, std::size_t Scratch = Capacity>
void AppendDigits(ConstData<Capacity>& out, std::uint64_t value, unsigned base, unsigned minimumDigits) {
  static constexpr char kDigits[] = "0123456789abcdef";
  char scratch[Scratch];
  char* position = scratch + Scratch;
  unsigned produced = 0;
  while (value != 0 || produced < minimumDigits) {
    if (position == scratch) throw ConstDataCapacityExceeded();
    *--position = kDigits[value % base];
    value /= base;
    ++produced;
  }
  out.Append(UStringRef<UTF8>(position, scratch + Scratch));
}

}  // namespace

ConstData<10> ToDecimalText(std::uint32_t value, unsigned minimumDigits) {
  ConstData<10> text;
  AppendDigits(text, value, 10, minimumDigits);
  return text;
}

ConstData<20> ToDecimalText(std::uint64_t value, unsigned minimumDigits) {
  ConstData<20> text;
  AppendDigits(text, value, 10, minimumDigits);
  return text;
}

ConstData<21> ToDecimalText(std::int64_t value, unsigned minimumDigits) {
  ConstData<21> text;
  // The magnitude is taken in unsigned arithmetic, so the most negative value has one too.
  std::uint64_t magnitude = static_cast<std::uint64_t>(value);
  if (value < 0) {
    text.Append('-');
    magnitude = 0 - magnitude;
  }
  AppendDigits<21, 20>(text, magnitude, 10, minimumDigits);
  return text;
}

ConstData<8> ToHexText(std::uint32_t value, unsigned minimumDigits) {
  ConstData<8> text;
  AppendDigits<8, 16>(text, value, 16, minimumDigits);
  return text;
}
