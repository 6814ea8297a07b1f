#include "core/UtfCodec.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Utf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
// The high bit of every byte, respectively the bits above 0x7F of every 16-bit unit.
constexpr std::uint64_t kByteHighBits = 0x8080808080808080ull;
constexpr std::uint64_t kUnitHighBits = 0xFF80FF80FF80FF80ull;
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

inline std::uint64_t Load64(const void* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Index of the lowest-addressed byte whose bit is set in `mask` (mask is not 0).
inline unsigned FirstMarkedByte(std::uint64_t mask) {
  return kLittleEndian ? static_cast<unsigned>(std::countr_zero(mask)) / 8
                       : static_cast<unsigned>(std::countl_zero(mask)) / 8;
}

inline bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Where the output goes. Without an output (kWrite false) it only counts and never fills up.
template <bool kWrite, class Unit>
struct Sink {
  Unit* out;
  std::size_t capacity;
  std::size_t n = 0;

  bool Room(std::size_t count) const { return !kWrite || capacity - n >= count; }
};

// ---- UTF-8 to UTF-16 ----

// The second byte of a sequence, by its lead byte: bit (byte >> 4) is set for the high nibbles
// allowed there. 80-BF is nibbles 8-B; E0 allows A0-BF only (below is overlong), ED 80-9F only
// (above encodes surrogates), F0 90-BF (below is overlong), F4 80-8F (above passes U+10FFFF).
constexpr std::uint16_t kAnyContinuation = 0x0F00;
constexpr std::uint16_t kThreeByteSecond[16] = {0x0C00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00,
                                                0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0300, 0x0F00, 0x0F00};
constexpr std::uint16_t kFourByteSecond[5] = {0x0E00, 0x0F00, 0x0F00, 0x0F00, 0x0100};
static_assert(kThreeByteSecond[1] == kAnyContinuation);

inline bool Allowed(std::uint16_t nibbles, unsigned char b) { return (nibbles >> (b >> 4)) & 1; }

// Spreads four bytes of a 32-bit word into the four 16-bit lanes of a 64-bit word.
inline std::uint64_t Spread4(std::uint32_t four) {
  std::uint64_t w = four;
  w = (w | (w << 16)) & 0x0000FFFF0000FFFFull;
  return (w | (w << 8)) & 0x00FF00FF00FF00FFull;
}

// Widens eight bytes to eight units, a word of four units at a time.
inline void Widen8(const unsigned char* p, char16_t* o) {
  if (kLittleEndian) {
    std::uint32_t lo, hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + 4, 4);
    const std::uint64_t a = Spread4(lo), b = Spread4(hi);
    std::memcpy(o, &a, 8);
    std::memcpy(o + 4, &b, 8);
  } else {
    for (int i = 0; i < 8; ++i) o[i] = p[i];
  }
}

// Decodes well-formed UTF-8 while no step can reach the end of the input or of the output,
// so that neither needs a test inside the loop. Every step starts more than 16 bytes before
// the end; a step reads at most 2 + 8 bytes (two single ASCII bytes, then a word) or one
// sequence of 4. Since a step never makes more units than it reads bytes, it also starts more
// than 16 units before the output's end, and writes at most 10. Stops at the first ill-formed
// sequence, or when the stretch is used up.
template <bool kWrite>
void DecodeStretch(const unsigned char*& p, const unsigned char* const end, Sink<kWrite, char16_t>& sink) {
  constexpr std::size_t kMargin = 16;
  for (;;) {
    std::size_t stretch = static_cast<std::size_t>(end - p);
    if (kWrite) stretch = std::min(stretch, sink.capacity - sink.n);
    if (stretch < 2 * kMargin) return;
    stretch -= kMargin;
    const unsigned char* const stop = p + stretch;
    std::size_t n = sink.n;
    char16_t* const out = sink.out;
    while (p < stop) {
      const unsigned b0 = *p;
      if (b0 < 0x80) {
        // The first two bytes of a run one at a time: between other characters most runs
        // are a space or a short word, which a word would cost more than it saves.
        if (kWrite) out[n] = static_cast<char16_t>(b0);
        ++n;
        ++p;
        if (*p >= 0x80) continue;
        if (kWrite) out[n] = static_cast<char16_t>(*p);
        ++n;
        ++p;
        if (*p >= 0x80) continue;
        // An ASCII run, a word at a time. The word that ends the run gives its ASCII head at
        // once, so a run is entered once, never once per character. The word is widened
        // whole: units past its ASCII head are overwritten by what follows.
        for (;;) {
          const std::uint64_t high = Load64(p) & kByteHighBits;
          if (kWrite) Widen8(p, out + n);
          if (high) {
            const unsigned ascii = FirstMarkedByte(high);
            n += ascii;
            p += ascii;
            break;
          }
          n += 8;
          p += 8;
          if (p >= stop) break;
        }
        continue;
      }
      const unsigned b1 = p[1];
      if (b0 >= 0xE0) {
        if (b0 < 0xF0) {
          const unsigned b2 = p[2];
          if (!(Allowed(kThreeByteSecond[b0 & 0x0F], b1) & IsContinuation(b2))) break;
          if (kWrite) out[n] = static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
          ++n;
          p += 3;
          continue;
        }
        const unsigned b2 = p[2], b3 = p[3];
        if (!(b0 < 0xF5 && (Allowed(kFourByteSecond[b0 - 0xF0], b1) & IsContinuation(b2) & IsContinuation(b3)))) break;
        if (kWrite) {
          const std::uint32_t c = ((b0 & 0x07) << 18) | ((b1 & 0x3F) << 12) | ((b2 & 0x3F) << 6) | (b3 & 0x3F);
          out[n] = static_cast<char16_t>(0xD7C0 + (c >> 10));
          out[n + 1] = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
        }
        n += 2;
        p += 4;
        continue;
      }
      if (!(b0 >= 0xC2 && IsContinuation(b1))) break;
      if (kWrite) out[n] = static_cast<char16_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F));
      ++n;
      p += 2;
    }
    sink.n = n;
    if (p < stop) return;  // stopped at an ill-formed sequence
  }
}

// One sequence (or ASCII byte) with every test: near the ends, and where the input is
// ill-formed. `bad` becomes the length of the maximal ill-formed subpart.
template <bool kWrite, bool kStrict>
Outcome Decode(const unsigned char* p, const unsigned char* const end, char16_t* out, std::size_t capacity) {
  Sink<kWrite, char16_t> sink{out, capacity};
  while (p < end) {
    DecodeStretch(p, end, sink);
    if (p == end) break;
    const unsigned b0 = p[0];
    const std::size_t avail = static_cast<std::size_t>(end - p);
    std::size_t bad = 1;
    if (b0 < 0x80) {
      if (!sink.Room(1)) return {Status::Overflow, sink.n};
      if (kWrite) sink.out[sink.n] = static_cast<char16_t>(b0);
      ++sink.n;
      ++p;
      continue;
    }
    if (b0 < 0xE0) {
      // 80-BF without a lead, and C0 and C1 (always overlong), are ill-formed by themselves.
      if (b0 >= 0xC2 && avail >= 2 && IsContinuation(p[1])) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = static_cast<char16_t>(((b0 & 0x1F) << 6) | (p[1] & 0x3F));
        ++sink.n;
        p += 2;
        continue;
      }
    } else if (b0 < 0xF0) {
      if (avail >= 2 && Allowed(kThreeByteSecond[b0 & 0x0F], p[1])) {
        if (avail >= 3 && IsContinuation(p[2])) {
          if (!sink.Room(1)) return {Status::Overflow, sink.n};
          if (kWrite)
            sink.out[sink.n] = static_cast<char16_t>(((b0 & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
          ++sink.n;
          p += 3;
          continue;
        }
        bad = 2;
      }
    } else if (b0 < 0xF5) {
      if (avail >= 2 && Allowed(kFourByteSecond[b0 - 0xF0], p[1])) {
        bad = 2;
        if (avail >= 3 && IsContinuation(p[2])) {
          bad = 3;
          if (avail >= 4 && IsContinuation(p[3])) {
            if (!sink.Room(2)) return {Status::Overflow, sink.n};
            if (kWrite) {
              const std::uint32_t c =
                  ((b0 & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
              sink.out[sink.n] = static_cast<char16_t>(0xD7C0 + (c >> 10));
              sink.out[sink.n + 1] = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
            }
            sink.n += 2;
            p += 4;
            continue;
          }
        }
      }
    }
    // F5-FF would pass U+10FFFF and are ill-formed by themselves too.
    if (kStrict) return {Status::IllFormed, sink.n};
    if (!sink.Room(1)) return {Status::Overflow, sink.n};
    if (kWrite) sink.out[sink.n] = kReplacement;
    ++sink.n;
    p += bad;
  }
  return {Status::Ok, sink.n};
}

// ---- UTF-16 to UTF-8 ----

// Narrows four units held in a word to four bytes; exact for ASCII units only.
inline void Narrow4(std::uint64_t w, const char16_t* p, char* o) {
  if (kLittleEndian) {
    w = (w | (w >> 8)) & 0x0000FFFF0000FFFFull;
    w = w | (w >> 16);
    const auto four = static_cast<std::uint32_t>(w);
    std::memcpy(o, &four, 4);
  } else {
    for (int i = 0; i < 4; ++i) o[i] = static_cast<char>(p[i]);
  }
}

template <bool kWrite, bool kStrict>
Outcome Encode(const char16_t* p, const char16_t* const end, char* out, std::size_t capacity) {
  Sink<kWrite, char> sink{out, capacity};
  while (p < end) {
    unsigned u = *p;
    if (u < 0x80) {
      // An ASCII run, four units (one word) at a time; see Decode.
      while (end - p >= 4) {
        const std::uint64_t w = Load64(p);
        const std::uint64_t high = w & kUnitHighBits;
        if (kWrite) {
          if (!sink.Room(4)) break;
          Narrow4(w, p, sink.out + sink.n);
        }
        if (high) {
          const unsigned ascii = FirstMarkedByte(high) / 2;
          sink.n += ascii;
          p += ascii;
          break;
        }
        sink.n += 4;
        p += 4;
      }
      while (p < end && *p < 0x80) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = static_cast<char>(*p);
        ++sink.n;
        ++p;
      }
      if (p == end) break;
      u = *p;
    }

    if (u < 0x800) {
      if (!sink.Room(2)) return {Status::Overflow, sink.n};
      if (kWrite) {
        sink.out[sink.n] = static_cast<char>(0xC0 | (u >> 6));
        sink.out[sink.n + 1] = static_cast<char>(0x80 | (u & 0x3F));
      }
      sink.n += 2;
      ++p;
      continue;
    }
    if ((u & 0xF800) == 0xD800) {
      if (u <= 0xDBFF && end - p >= 2 && (p[1] & 0xFC00) == 0xDC00) {
        if (!sink.Room(4)) return {Status::Overflow, sink.n};
        if (kWrite) {
          const std::uint32_t c = 0x10000 + ((u - 0xD800) << 10) + (p[1] - 0xDC00u);
          sink.out[sink.n] = static_cast<char>(0xF0 | (c >> 18));
          sink.out[sink.n + 1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
          sink.out[sink.n + 2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
          sink.out[sink.n + 3] = static_cast<char>(0x80 | (c & 0x3F));
        }
        sink.n += 4;
        p += 2;
        continue;
      }
      // An unpaired surrogate: a low one, or a high one not followed by a low one.
      if (kStrict) return {Status::IllFormed, sink.n};
      u = kReplacement;
    }
    if (!sink.Room(3)) return {Status::Overflow, sink.n};
    if (kWrite) {
      sink.out[sink.n] = static_cast<char>(0xE0 | (u >> 12));
      sink.out[sink.n + 1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      sink.out[sink.n + 2] = static_cast<char>(0x80 | (u & 0x3F));
    }
    sink.n += 3;
    ++p;
  }
  return {Status::Ok, sink.n};
}

}  // namespace

Outcome Utf8ToUtf16(const char* in, std::size_t length, char16_t* out, std::size_t capacity, bool strict) {
  const auto* p = reinterpret_cast<const unsigned char*>(in);
  const auto* end = p + length;
  if (out) return strict ? Decode<true, true>(p, end, out, capacity) : Decode<true, false>(p, end, out, capacity);
  return strict ? Decode<false, true>(p, end, nullptr, 0) : Decode<false, false>(p, end, nullptr, 0);
}

Outcome Utf16ToUtf8(const char16_t* in, std::size_t length, char* out, std::size_t capacity, bool strict) {
  const char16_t* end = in + length;
  if (out) return strict ? Encode<true, true>(in, end, out, capacity) : Encode<true, false>(in, end, out, capacity);
  return strict ? Encode<false, true>(in, end, nullptr, 0) : Encode<false, false>(in, end, nullptr, 0);
}

}  // namespace Utf
