#include "foundation/URLDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "foundation/LibraryExceptions.h"

namespace {

constexpr unsigned char kPercent = '%';
constexpr signed char kNotHex = -1;

// The value of each of the 22 hexadecimal digit bytes, kNotHex for every other byte.
constexpr std::array<signed char, 256> MakeHexValues() {
  std::array<signed char, 256> values{};
  for (int c = 0; c < 256; ++c) {
    const bool digit = c >= '0' && c <= '9';
    const bool letter = (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    values[c] = digit ? static_cast<signed char>(c - 0x30)
                : letter ? static_cast<signed char>((c | 0x20) - 0x57)
                : kNotHex;
  }
  return values;
}
constexpr std::array<signed char, 256> kHexValues = MakeHexValues();

inline int HexValue(unsigned char c) { return kHexValues[c]; }

// Copies bytes up to the next "%" (which stays unread) or until input or output runs out.
// memmove, because a caller may decode a buffer in place.
inline void CopyPlainRun(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                         unsigned char* outEnd) {
  const std::size_t inLeft = inEnd > in ? static_cast<std::size_t>(inEnd - in) : 0;
  const std::size_t outLeft = outEnd > out ? static_cast<std::size_t>(outEnd - out) : 0;
  const std::size_t n = std::min(inLeft, outLeft);
  if (n == 0) return;
  const void* percent = std::memchr(in, kPercent, n);
  const std::size_t run = percent ? static_cast<std::size_t>(static_cast<const unsigned char*>(percent) - in) : n;
  std::memmove(out, in, run);
  in += run;
  out += run;
}

}  // namespace

void URLDecoder::Filter(ConstByteRange& input, ByteRange& output) {
  const unsigned char* in = input.begin;
  const unsigned char* const inEnd = input.end;
  unsigned char* out = output.begin;
  unsigned char* const outEnd = output.end;
  // The ranges show the progress also when DataOverflow leaves early.
  const auto publish = [&] {
    input.begin = in;
    output.begin = out;
  };
  const auto overflow = [&] {
    publish();
    throw DataOverflow();
  };

  for (;;) {
    switch (state_) {
      case Plain:
        CopyPlainRun(in, inEnd, out, outEnd);
        if (!(in < inEnd && out < outEnd)) {
          publish();
          return;
        }
        // At a "%" with room for one byte: a complete escape goes straight through.
        if (inEnd - in >= 3) {
          const int high = HexValue(in[1]);
          const int low = HexValue(in[2]);
          if ((high | low) >= 0) {
            *out++ = static_cast<unsigned char>(high * 16 + low);
            in += 3;
            break;
          }
        }
        ++in;
        state_ = AfterPercent;
        break;

      case AfterPercent:
        if (!(in < inEnd)) {
          publish();
          return;
        }
        firstDigit_ = *in;
        if (HexValue(*in) >= 0) {
          ++in;
          state_ = AfterFirstDigit;
          break;
        }
        // Not an escape: the "%" stands for itself and the byte is read again as plain text.
        if (!(out < outEnd)) overflow();
        *out++ = kPercent;
        state_ = Plain;
        break;

      case AfterFirstDigit: {
        if (!(in < inEnd)) {
          publish();
          return;
        }
        const int low = HexValue(*in);
        if (!(out < outEnd)) overflow();
        if (low >= 0) {
          *out++ = static_cast<unsigned char>(HexValue(firstDigit_) * 16 + low);
          ++in;
          state_ = Plain;
        } else {
          *out++ = kPercent;
          state_ = DigitPending;
        }
        break;
      }

      case DigitPending:
        if (!(out < outEnd)) {
          publish();
          return;
        }
        *out++ = firstDigit_;
        state_ = Plain;
        break;
    }
  }
}

void URLDecoder::Finish(ByteRange& output) {
  if (state_ == Plain || output.empty()) return;
  switch (state_) {
    case AfterPercent:
      *output.begin++ = kPercent;
      break;
    case AfterFirstDigit:
      *output.begin++ = kPercent;
      // What is written stays written: a later Finish with more room adds only the digit.
      state_ = DigitPending;
      if (output.empty()) throw DataOverflow();
      *output.begin++ = firstDigit_;
      break;
    case DigitPending:
      *output.begin++ = firstDigit_;
      break;
    case Plain:
      break;
  }
  state_ = Plain;
}

CopiedUString<UTF8> URLDecode(UStringRef<UTF8> text) {
  if (text.empty()) return {};
  // Decoding never lengthens a text, so an output as long as the input cannot overflow.
  auto result = CopiedUString<UTF8>::WithCapacity(text.size());
  ConstByteRange input = BytesOf(text);
  ByteRange output(reinterpret_cast<unsigned char*>(result.data()), text.size());
  URLDecoder decoder;
  ApplyFilter(decoder, input, output);
  result.SetEnd(reinterpret_cast<const char*>(output.begin));
  return result;
}
