#include "core/kernel/UtfCodec.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Both directions have two loops. The stretch loop runs over well-formed text far enough from
// the end of the input and of the output that it needs no test of either; it is the one that
// matters for speed. The careful loop takes everything else (the last bytes, a nearly full
// output, ill-formed input) with every test, and hands back to the stretch loop after an
// ill-formed sequence.
//
// ASCII runs go a word (8 bytes) at a time. The word that ends a run gives the run's last
// ASCII units at once, so a run is entered once, never once per character. A word is
// converted whole even when only its head is ASCII: what it writes past the head lies inside
// the capacity and is overwritten by what follows, or lies beyond the result.

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

// ASCII units the stretch loops take one at a time before they go a word at a time.
constexpr int kSingles = 4;

// Where the output goes. Without an output (kWrite false) it only counts and never fills up.
template <bool kWrite, class Unit>
struct Sink {
  Unit* out;
  std::size_t capacity;
  std::size_t n = 0;

  bool Room(std::size_t count) const { return !kWrite || capacity - n >= count; }
  // Units of output the stretch loop may use; unbounded when only counting.
  std::size_t Left() const { return kWrite ? capacity - n : SIZE_MAX; }
};

// ---- UTF-8 to UTF-16 ----

// The second byte of a sequence, by its lead byte: bit (byte >> 4) is set for the high nibbles
// allowed there. 80-BF is nibbles 8-B; E0 allows A0-BF only (below is overlong), ED 80-9F only
// (above encodes surrogates), F0 90-BF (below is overlong), F4 80-8F (above passes U+10FFFF).
constexpr std::uint16_t kThreeByteSecond[16] = {0x0C00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00,
                                                0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0F00, 0x0300, 0x0F00, 0x0F00};
constexpr std::uint16_t kFourByteSecond[5] = {0x0E00, 0x0F00, 0x0F00, 0x0F00, 0x0100};

inline bool Allowed(std::uint16_t nibbles, unsigned char b) { return (nibbles >> (b >> 4)) & 1; }

inline char16_t Two(unsigned b0, unsigned b1) { return static_cast<char16_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F)); }
inline char16_t Three(unsigned b0, unsigned b1, unsigned b2) {
  return static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
}
inline void Four(unsigned b0, unsigned b1, unsigned b2, unsigned b3, char16_t* o) {
  const std::uint32_t c = ((b0 & 0x07) << 18) | ((b1 & 0x3F) << 12) | ((b2 & 0x3F) << 6) | (b3 & 0x3F);
  o[0] = static_cast<char16_t>(0xD7C0 + (c >> 10));
  o[1] = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
}

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

// Every step starts more than 16 bytes before the input's end and reads at most 12 bytes (four
// single ASCII bytes, then a word) or one sequence of 4. A step never makes more units than it
// reads bytes, so it also starts more than 16 units before the output's end, and it writes at
// most 12. Stops at the first ill-formed sequence, or when the stretch is used up.
template <bool kWrite>
void DecodeStretch(const unsigned char*& position, const unsigned char* const end, Sink<kWrite, char16_t>& sink) {
  constexpr std::size_t kMargin = 16;
  // Local copies: the compiler need not fear that the output overwrites them.
  const unsigned char* p = position;
  for (;;) {
    const std::size_t stretch = std::min(static_cast<std::size_t>(end - p), sink.Left());
    if (stretch < 2 * kMargin) break;
    const unsigned char* const stop = p + (stretch - kMargin);
    std::size_t n = sink.n;
    char16_t* const out = sink.out;
    while (p < stop) {
      const unsigned b0 = *p;
      if (b0 < 0x80) {
        // The first four bytes of a run one at a time: between other characters most runs
        // are a space or a short word, for which a word costs more than it saves.
        if (kWrite) out[n] = static_cast<char16_t>(b0);
        ++n;
        ++p;
        int single = 1;
        while (single < kSingles && *p < 0x80) {
          if (kWrite) out[n] = static_cast<char16_t>(*p);
          ++n;
          ++p;
          ++single;
        }
        if (*p >= 0x80) continue;
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
        const unsigned b2 = p[2];
        if (b0 < 0xF0) {
          if (!(Allowed(kThreeByteSecond[b0 & 0x0F], b1) & IsContinuation(b2))) break;
          if (kWrite) out[n] = Three(b0, b1, b2);
          ++n;
          p += 3;
          continue;
        }
        const unsigned b3 = p[3];
        if (!(b0 < 0xF5 && (Allowed(kFourByteSecond[b0 - 0xF0], b1) & IsContinuation(b2) & IsContinuation(b3)))) break;
        if (kWrite) Four(b0, b1, b2, b3, out + n);
        n += 2;
        p += 4;
        continue;
      }
      if (!(b0 >= 0xC2 && IsContinuation(b1))) break;
      if (kWrite) out[n] = Two(b0, b1);
      ++n;
      p += 2;
    }
    sink.n = n;
    if (p < stop) break;  // at an ill-formed sequence
  }
  position = p;
}

template <bool kWrite, bool kStrict>
Outcome Decode(const unsigned char* p, const unsigned char* const end, char16_t* out, std::size_t capacity) {
  Sink<kWrite, char16_t> sink{out, capacity};
  DecodeStretch(p, end, sink);
  while (p < end) {
    const unsigned b0 = p[0];
    const std::size_t avail = static_cast<std::size_t>(end - p);
    if (b0 < 0x80) {
      // A lone ASCII byte between other characters skips the word path.
      if (p + 1 == end || p[1] >= 0x80) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = static_cast<char16_t>(b0);
        ++sink.n;
        ++p;
        continue;
      }
      while (end - p >= 8 && sink.Room(8)) {
        const std::uint64_t high = Load64(p) & kByteHighBits;
        if (kWrite) Widen8(p, sink.out + sink.n);
        const unsigned ascii = high ? FirstMarkedByte(high) : 8;
        sink.n += ascii;
        p += ascii;
        if (ascii != 8) break;
      }
      while (p < end && *p < 0x80) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = *p;
        ++sink.n;
        ++p;
      }
      continue;
    }
    // `bad` becomes the length of the maximal ill-formed subpart.
    std::size_t bad = 1;
    if (b0 < 0xE0) {
      // 80-BF without a lead, and C0 and C1 (always overlong), are ill-formed by themselves.
      if (b0 >= 0xC2 && avail >= 2 && IsContinuation(p[1])) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = Two(b0, p[1]);
        ++sink.n;
        p += 2;
        continue;
      }
    } else if (b0 < 0xF0) {
      if (avail >= 2 && Allowed(kThreeByteSecond[b0 & 0x0F], p[1])) {
        bad = 2;
        if (avail >= 3 && IsContinuation(p[2])) {
          if (!sink.Room(1)) return {Status::Overflow, sink.n};
          if (kWrite) sink.out[sink.n] = Three(b0, p[1], p[2]);
          ++sink.n;
          p += 3;
          continue;
        }
      }
    } else if (b0 < 0xF5) {
      if (avail >= 2 && Allowed(kFourByteSecond[b0 - 0xF0], p[1])) {
        bad = 2;
        if (avail >= 3 && IsContinuation(p[2])) {
          bad = 3;
          if (avail >= 4 && IsContinuation(p[3])) {
            if (!sink.Room(2)) return {Status::Overflow, sink.n};
            if (kWrite) Four(b0, p[1], p[2], p[3], sink.out + sink.n);
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
    DecodeStretch(p, end, sink);
  }
  return {Status::Ok, sink.n};
}

// ---- Counting well-formed UTF-8 ----

// The size query of well-formed text needs no code points: every byte but a continuation byte
// (10xxxxxx) starts a character of one unit, and a four-byte lead adds the second unit of its
// pair. What is left is the check of well-formedness, done here 16 bytes at a time without a
// branch: the continuation bytes must be exactly the 1 to 3 bytes each lead asks for, the
// second byte after E0, ED, F0 and F4 must lie in the narrower range these leads allow, and
// C0, C1 and F5-FF must not occur at all. The text is well-formed if no byte breaks a rule.
#if defined(__SSE2__)

inline __m128i Splat(unsigned b) { return _mm_set1_epi8(static_cast<char>(b)); }

// With the high bit of each byte flipped, the signed byte comparisons order bytes unsigned.
inline __m128i Flip(__m128i v) { return _mm_xor_si128(v, Splat(0x80)); }
inline __m128i Above(__m128i flipped, unsigned b) { return _mm_cmpgt_epi8(flipped, Splat(b ^ 0x80)); }
inline __m128i Below(__m128i flipped, unsigned b) { return _mm_cmplt_epi8(flipped, Splat(b ^ 0x80)); }
inline __m128i Is(__m128i flipped, unsigned b) { return _mm_cmpeq_epi8(flipped, Splat(b ^ 0x80)); }

// For each byte of a block, the byte k places before it, from the block before if need be.
template <int k>
inline __m128i Before(__m128i block, __m128i before) {
  return _mm_or_si128(_mm_slli_si128(block, k), _mm_srli_si128(before, 16 - k));
}

class BlockChecker {
 public:
  void Take(__m128i raw) {
    const __m128i x = Flip(raw);
    const __m128i b1 = Before<1>(x, before_), b2 = Before<2>(x, before_), b3 = Before<3>(x, before_);
    // Signed, the continuation bytes 80-BF are the ones below C0 (ASCII is positive).
    const __m128i continuation = _mm_cmplt_epi8(raw, Splat(0xC0));
    const __m128i expected = _mm_or_si128(Above(b1, 0xBF), _mm_or_si128(Above(b2, 0xDF), Above(b3, 0xEF)));
    __m128i bad = _mm_xor_si128(expected, continuation);
    // Where the byte is not a continuation byte, its range tests may fire too; it is bad anyway.
    bad = _mm_or_si128(bad, _mm_and_si128(Is(b1, 0xE0), Below(x, 0xA0)));  // overlong
    bad = _mm_or_si128(bad, _mm_and_si128(Is(b1, 0xED), Above(x, 0x9F)));  // a surrogate
    bad = _mm_or_si128(bad, _mm_and_si128(Is(b1, 0xF0), Below(x, 0x90)));  // overlong
    bad = _mm_or_si128(bad, _mm_and_si128(Is(b1, 0xF4), Above(x, 0x8F)));  // beyond U+10FFFF
    bad = _mm_or_si128(bad, Above(x, 0xF4));
    bad = _mm_or_si128(bad, _mm_cmpeq_epi8(_mm_and_si128(x, Splat(0xFE)), Splat(0xC0 ^ 0x80)));  // C0, C1
    bad_ = _mm_or_si128(bad_, bad);
    // Units per byte: 1 + (-1 for a continuation byte) - (-1 for a lead of four); summed by pairs of 8.
    const __m128i units = _mm_sub_epi8(_mm_add_epi8(Splat(1), continuation), Above(x, 0xEF));
    units_ = _mm_add_epi64(units_, _mm_sad_epu8(units, _mm_setzero_si128()));
    before_ = x;
  }

  bool WellFormed() const { return _mm_movemask_epi8(bad_) == 0; }

  std::size_t Units() const {
    std::uint64_t halves[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), units_);
    return static_cast<std::size_t>(halves[0] + halves[1]);
  }

 private:
  __m128i before_ = Splat(0x80);  // flipped: as if zero bytes came before the text
  __m128i bad_ = _mm_setzero_si128();
  __m128i units_ = _mm_setzero_si128();
};

// Counts the units of well-formed UTF-8 into `units`; false if the text is ill-formed (the
// caller then takes the way that finds out where, and what a lenient count makes of it).
bool CountWellFormed(const unsigned char* p, const unsigned char* const end, std::size_t& units) {
  BlockChecker checker;
  std::size_t ascii = 0;  // bytes of the blocks of ASCII skipped
  bool afterAscii = true;
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const bool isAscii = _mm_movemask_epi8(block) == 0;
    p += 16;
    // After a block of ASCII nothing is left to continue, so a block of ASCII needs no check
    // (and the checker's block before stays one of ASCII, or the zero bytes it starts with).
    if (isAscii && afterAscii) {
      ascii += 16;
      continue;
    }
    checker.Take(block);
    afterAscii = isAscii;
  }
  // The last bytes (fewer than 16) padded with zero bytes: a sequence cut off by the end meets
  // a zero byte where it needs its next continuation byte. Each zero byte counted 1.
  const auto rest = static_cast<std::size_t>(end - p);
  unsigned char last[16] = {};
  if (rest) std::memcpy(last, p, rest);
  checker.Take(_mm_loadu_si128(reinterpret_cast<const __m128i*>(last)));
  units = ascii + checker.Units() - (16 - rest);
  return checker.WellFormed();
}

#else

// Without vectors the counting loop of Decode does the size query.
bool CountWellFormed(const unsigned char*, const unsigned char*, std::size_t&) { return false; }

#endif

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

inline bool IsLowSurrogate(char16_t u) { return (u & 0xFC00) == 0xDC00; }

inline void TwoBytes(unsigned u, char* o) {
  o[0] = static_cast<char>(0xC0 | (u >> 6));
  o[1] = static_cast<char>(0x80 | (u & 0x3F));
}
inline void ThreeBytes(unsigned u, char* o) {
  o[0] = static_cast<char>(0xE0 | (u >> 12));
  o[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
  o[2] = static_cast<char>(0x80 | (u & 0x3F));
}
inline void FourBytes(unsigned high, unsigned low, char* o) {
  const std::uint32_t c = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
  o[0] = static_cast<char>(0xF0 | (c >> 18));
  o[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  o[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  o[3] = static_cast<char>(0x80 | (c & 0x3F));
}

// Every step starts more than 8 units before the input's end and reads at most 8 units (four
// single ASCII units, then a word of four) or a surrogate pair. A step makes at most 3 bytes
// per unit it reads, so it starts more than 24 bytes before the output's end, and it writes at
// most 8. Stops at the first unpaired surrogate, or when the stretch is used up.
template <bool kWrite>
void EncodeStretch(const char16_t*& position, const char16_t* const end, Sink<kWrite, char>& sink) {
  constexpr std::size_t kMargin = 8;
  // Local copies: bytes written through a char pointer could alias anything in memory, so a
  // position kept behind a reference would be stored and reloaded on every step.
  const char16_t* p = position;
  for (;;) {
    const std::size_t stretch = std::min(static_cast<std::size_t>(end - p), sink.Left() / 3);
    if (stretch < 2 * kMargin) break;
    const char16_t* const stop = p + (stretch - kMargin);
    std::size_t n = sink.n;
    char* const out = sink.out;
    while (p < stop) {
      const unsigned u = *p;
      if (u < 0x80) {
        // The first four units of a run one at a time, as in DecodeStretch.
        if (kWrite) out[n] = static_cast<char>(u);
        ++n;
        ++p;
        int single = 1;
        while (single < kSingles && *p < 0x80) {
          if (kWrite) out[n] = static_cast<char>(*p);
          ++n;
          ++p;
          ++single;
        }
        if (*p >= 0x80) continue;
        for (;;) {
          const std::uint64_t w = Load64(p);
          const std::uint64_t high = w & kUnitHighBits;
          if (kWrite) Narrow4(w, p, out + n);
          if (high) {
            const unsigned ascii = FirstMarkedByte(high) / 2;
            n += ascii;
            p += ascii;
            break;
          }
          n += 4;
          p += 4;
          if (p >= stop) break;
        }
        continue;
      }
      if (u < 0x800) {
        if (kWrite) TwoBytes(u, out + n);
        n += 2;
        ++p;
        continue;
      }
      if ((u & 0xF800) != 0xD800) {
        if (kWrite) ThreeBytes(u, out + n);
        n += 3;
        ++p;
        continue;
      }
      if (!(u <= 0xDBFF && IsLowSurrogate(p[1]))) break;
      if (kWrite) FourBytes(u, p[1], out + n);
      n += 4;
      p += 2;
    }
    sink.n = n;
    if (p < stop) break;  // at an unpaired surrogate
  }
  position = p;
}

template <bool kWrite, bool kStrict>
Outcome Encode(const char16_t* p, const char16_t* const end, char* out, std::size_t capacity) {
  Sink<kWrite, char> sink{out, capacity};
  EncodeStretch(p, end, sink);
  while (p < end) {
    unsigned u = *p;
    if (u < 0x80) {
      while (end - p >= 4 && sink.Room(4)) {
        const std::uint64_t w = Load64(p);
        const std::uint64_t high = w & kUnitHighBits;
        if (kWrite) Narrow4(w, p, sink.out + sink.n);
        const unsigned ascii = high ? FirstMarkedByte(high) / 2 : 4;
        sink.n += ascii;
        p += ascii;
        if (ascii != 4) break;
      }
      while (p < end && *p < 0x80) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = static_cast<char>(*p);
        ++sink.n;
        ++p;
      }
      continue;
    }
    if (u < 0x800) {
      if (!sink.Room(2)) return {Status::Overflow, sink.n};
      if (kWrite) TwoBytes(u, sink.out + sink.n);
      sink.n += 2;
      ++p;
      continue;
    }
    if ((u & 0xF800) == 0xD800) {
      if (u <= 0xDBFF && end - p >= 2 && IsLowSurrogate(p[1])) {
        if (!sink.Room(4)) return {Status::Overflow, sink.n};
        if (kWrite) FourBytes(u, p[1], sink.out + sink.n);
        sink.n += 4;
        p += 2;
        continue;
      }
      // An unpaired surrogate: a low one, or a high one not followed by a low one.
      if (kStrict) return {Status::IllFormed, sink.n};
      u = kReplacement;
      if (!sink.Room(3)) return {Status::Overflow, sink.n};
      if (kWrite) ThreeBytes(u, sink.out + sink.n);
      sink.n += 3;
      ++p;
      EncodeStretch(p, end, sink);
      continue;
    }
    if (!sink.Room(3)) return {Status::Overflow, sink.n};
    if (kWrite) ThreeBytes(u, sink.out + sink.n);
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
  // Text that is well-formed counts the same strict or lenient.
  if (std::size_t units; CountWellFormed(p, end, units)) return {Status::Ok, units};
  return strict ? Decode<false, true>(p, end, nullptr, 0) : Decode<false, false>(p, end, nullptr, 0);
}

Outcome Utf16ToUtf8(const char16_t* in, std::size_t length, char* out, std::size_t capacity, bool strict) {
  const char16_t* end = in + length;
  if (out) return strict ? Encode<true, true>(in, end, out, capacity) : Encode<true, false>(in, end, out, capacity);
  return strict ? Encode<false, true>(in, end, nullptr, 0) : Encode<false, false>(in, end, nullptr, 0);
}

namespace {

// One pass into room for the worst case: a UTF-16 unit takes at most 3 bytes (a replaced
// unpaired surrogate as well), a byte of UTF-8 at most one unit (a replaced one as well), so
// only ill-formed input stops a conversion.
template <typename To, typename From, typename Convert>
std::optional<To> Whole(From text, std::size_t perUnit, Convert convert, bool strict) {
  To out(text.size() * perUnit, typename To::value_type{});
  const Outcome outcome = convert(text.data(), text.size(), out.data(), out.size(), strict);
  if (outcome.status != Status::Ok) return std::nullopt;
  out.resize(outcome.units);
  return out;
}

}  // namespace

std::optional<std::string> StrictUtf8(std::u16string_view text) {
  return Whole<std::string>(text, 3, &Utf16ToUtf8, true);
}

std::optional<std::u16string> StrictUtf16(std::string_view text) {
  return Whole<std::u16string>(text, 1, &Utf8ToUtf16, true);
}

std::string LenientUtf8(std::u16string_view text) { return Whole<std::string>(text, 3, &Utf16ToUtf8, false).value(); }

std::u16string LenientUtf16(std::string_view text) {
  return Whole<std::u16string>(text, 1, &Utf8ToUtf16, false).value();
}

}  // namespace Utf
