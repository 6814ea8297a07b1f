#include "core/UtfCodec.h"

#include <bit>
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

template <bool kWrite, bool kStrict>
Outcome Decode(const unsigned char* p, const unsigned char* const end, char16_t* out, std::size_t capacity) {
  Sink<kWrite, char16_t> sink{out, capacity};
  while (p < end) {
    if (*p < 0x80) {
      // An ASCII run: whole words while they are pure ASCII. The word that ends the run gives
      // its ASCII head at once, so a run is entered once, never once per character.
      while (end - p >= 8) {
        const std::uint64_t high = Load64(p) & kByteHighBits;
        if (high) {
          const unsigned ascii = FirstMarkedByte(high);
          if (kWrite) {
            if (!sink.Room(ascii)) break;  // the byte loop below fills what still fits
            for (unsigned i = 0; i < ascii; ++i) sink.out[sink.n + i] = p[i];
          }
          sink.n += ascii;
          p += ascii;
          break;
        }
        if (kWrite) {
          if (!sink.Room(8)) break;
          for (unsigned i = 0; i < 8; ++i) sink.out[sink.n + i] = p[i];
        }
        sink.n += 8;
        p += 8;
      }
      while (p < end && *p < 0x80) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = *p;
        ++sink.n;
        ++p;
      }
      if (p == end) break;
    }

    // A non-ASCII lead byte. `bad` becomes the length of the maximal ill-formed subpart.
    const unsigned b0 = p[0];
    const std::size_t avail = static_cast<std::size_t>(end - p);
    std::size_t bad;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      if (avail >= 2 && IsContinuation(p[1])) {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = static_cast<char16_t>(((b0 & 0x1F) << 6) | (p[1] & 0x3F));
        ++sink.n;
        p += 2;
        continue;
      }
      bad = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      // E0 would be overlong below A0; ED would encode a surrogate from A0 on.
      const unsigned lo = b0 == 0xE0 ? 0xA0 : 0x80;
      const unsigned hi = b0 == 0xED ? 0x9F : 0xBF;
      if (avail < 2 || p[1] < lo || p[1] > hi) {
        bad = 1;
      } else if (avail < 3 || !IsContinuation(p[2])) {
        bad = 2;
      } else {
        if (!sink.Room(1)) return {Status::Overflow, sink.n};
        if (kWrite) sink.out[sink.n] = static_cast<char16_t>(((b0 & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
        ++sink.n;
        p += 3;
        continue;
      }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      // F0 would be overlong below 90; F4 would pass U+10FFFF from 90 on.
      const unsigned lo = b0 == 0xF0 ? 0x90 : 0x80;
      const unsigned hi = b0 == 0xF4 ? 0x8F : 0xBF;
      if (avail < 2 || p[1] < lo || p[1] > hi) {
        bad = 1;
      } else if (avail < 3 || !IsContinuation(p[2])) {
        bad = 2;
      } else if (avail < 4 || !IsContinuation(p[3])) {
        bad = 3;
      } else {
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
    } else {
      // 80-BF without a lead, C0 and C1 (always overlong), F5-FF (beyond U+10FFFF).
      bad = 1;
    }
    if (kStrict) return {Status::IllFormed, sink.n};
    if (!sink.Room(1)) return {Status::Overflow, sink.n};
    if (kWrite) sink.out[sink.n] = kReplacement;
    ++sink.n;
    p += bad;
  }
  return {Status::Ok, sink.n};
}

// ---- UTF-16 to UTF-8 ----

// Narrows four ASCII units held in a word to four bytes.
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
        if (high) {
          const unsigned ascii = FirstMarkedByte(high) / 2;
          if (kWrite) {
            if (!sink.Room(ascii)) break;
            for (unsigned i = 0; i < ascii; ++i) sink.out[sink.n + i] = static_cast<char>(p[i]);
          }
          sink.n += ascii;
          p += ascii;
          break;
        }
        if (kWrite) {
          if (!sink.Room(4)) break;
          Narrow4(w, p, sink.out + sink.n);
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
