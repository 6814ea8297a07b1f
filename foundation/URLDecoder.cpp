#include "foundation/URLDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>

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

// Marks the bytes of a word that equal "%" by their top bit. The first marked byte is always
// right; bytes after it may be marked wrongly, which is harmless since only the first is used.
inline std::uint64_t PercentMask(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kTops = 0x8080808080808080u;
  const std::uint64_t x = word ^ (kOnes * kPercent);
  return (x - kOnes) & ~x & kTops;
}

// The position in memory order of the first marked byte.
inline std::size_t FirstMarked(std::uint64_t mask) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
  } else {
    return static_cast<std::size_t>(std::countl_zero(mask)) / 8;
  }
}

// Copies bytes up to the next "%" (which stays unread) or until input or output runs out.
// The runs between escapes are short in links, so a few words are scanned before paying for
// memchr. Whole words are stored before the "%" is known, which is only safe when the output
// does not overlap the input; a buffer decoded in place takes memmove instead.
inline void CopyPlainRun(const unsigned char*& in, const unsigned char* inEnd, unsigned char*& out,
                         unsigned char* outEnd, bool separate) {
  const std::size_t inLeft = inEnd > in ? static_cast<std::size_t>(inEnd - in) : 0;
  const std::size_t outLeft = outEnd > out ? static_cast<std::size_t>(outEnd - out) : 0;
  std::size_t n = std::min(inLeft, outLeft);
  if (separate) {
    // Two words per step: a "%" within 16 bytes is likely enough that the branch predicts well.
    for (int steps = 0; steps < 4 && n >= 16; ++steps) {
      std::uint64_t low, high;
      std::memcpy(&low, in, 8);
      std::memcpy(&high, in + 8, 8);
      std::memcpy(out, &low, 8);
      std::memcpy(out + 8, &high, 8);
      const std::uint64_t lowMask = PercentMask(low);
      const std::uint64_t highMask = PercentMask(high);
      if ((lowMask | highMask) != 0) {
        const std::size_t run = lowMask != 0 ? FirstMarked(lowMask) : 8 + FirstMarked(highMask);
        in += run;
        out += run;
        return;
      }
      in += 16;
      out += 16;
      n -= 16;
    }
    if (n < 16) {
      if (n >= 8) {
        std::uint64_t word;
        std::memcpy(&word, in, 8);
        std::memcpy(out, &word, 8);
        if (const std::uint64_t mask = PercentMask(word)) {
          const std::size_t run = FirstMarked(mask);
          in += run;
          out += run;
          return;
        }
        in += 8;
        out += 8;
        n -= 8;
      }
      while (n > 0 && *in != kPercent) {
        *out++ = *in++;
        --n;
      }
      return;
    }
  }
  if (n == 0) return;
  const void* percent = std::memchr(in, kPercent, n);
  const std::size_t run = percent ? static_cast<std::size_t>(static_cast<const unsigned char*>(percent) - in) : n;
  std::memmove(out, in, run);
  in += run;
  out += run;
}

// The ranges show the progress also when DataOverflow leaves early.
[[noreturn]] void Overflow(ConstByteRange& input, ByteRange& output, const unsigned char* consumed,
                           unsigned char* produced) {
  input.begin = consumed;
  output.begin = produced;
  throw DataOverflow();
}

// Whether two byte ranges share no byte.
inline bool Separate(const unsigned char* a, const unsigned char* aEnd, const unsigned char* b,
                     const unsigned char* bEnd) {
  const std::less<const unsigned char*> below;
  return !below(a, bEnd) || !below(b, aEnd);
}

}  // namespace

void URLDecoder::Filter(ConstByteRange& input, ByteRange& output) {
  const unsigned char* in = input.begin;
  const unsigned char* const inEnd = input.end;
  unsigned char* out = output.begin;
  unsigned char* const outEnd = output.end;
  // The positions are passed by value, so that they can stay in registers.
  const auto publish = [&input, &output](const unsigned char* consumed, unsigned char* produced) {
    input.begin = consumed;
    output.begin = produced;
  };
  const bool separate = Separate(in, inEnd, out, outEnd);

  for (;;) {
    switch (state_) {
      case Plain:
        for (;;) {
          CopyPlainRun(in, inEnd, out, outEnd, separate);
          if (!(in < inEnd && out < outEnd)) {
            publish(in, out);
            return;
          }
          // At a "%" with room for one byte: a complete escape goes straight through.
          if (inEnd - in < 3) break;
          const int high = HexValue(in[1]);
          const int low = HexValue(in[2]);
          if ((high | low) < 0) break;
          *out++ = static_cast<unsigned char>(high * 16 + low);
          in += 3;
        }
        ++in;
        state_ = AfterPercent;
        break;

      case AfterPercent:
        if (!(in < inEnd)) {
          publish(in, out);
          return;
        }
        firstDigit_ = *in;
        if (HexValue(*in) >= 0) {
          ++in;
          state_ = AfterFirstDigit;
          break;
        }
        // Not an escape: the "%" stands for itself and the byte is read again as plain text.
        if (!(out < outEnd)) Overflow(input, output, in, out);
        *out++ = kPercent;
        state_ = Plain;
        break;

      case AfterFirstDigit: {
        if (!(in < inEnd)) {
          publish(in, out);
          return;
        }
        const int low = HexValue(*in);
        if (!(out < outEnd)) Overflow(input, output, in, out);
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
          publish(in, out);
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
