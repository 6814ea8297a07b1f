#include "posix/WineHiveParser.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/kernel/UtfCodec.h"
#include "posix/RegistryHiveError.h"
#include "posix/RegularFileContents.h"

namespace posix {

namespace {

using KeyId = core::RegistryHive::KeyId;

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr DWORD kString = 1;
constexpr DWORD kBinary = 3;
constexpr DWORD kDword = 4;

struct HexTable {
  signed char values[256];
  constexpr HexTable() : values() {
    for (int c = 0; c < 256; ++c) {
      values[c] = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    }
  }
};
constexpr HexTable kHex;

// Bytes a string copies as they are: ASCII other than the escape and the terminator.
struct PlainTable {
  bool plain[256];
  constexpr explicit PlainTable(char terminator) : plain() {
    for (int c = 0; c < 0x80; ++c) plain[c] = c != '\\' && c != terminator;
  }
};
constexpr PlainTable kPlainInValue('"');
constexpr PlainTable kPlainInKey(']');

int HexValue(char c) { return kHex.values[static_cast<unsigned char>(c)]; }

// Whether all eight bytes of a word are decimal digits: each has 3 in its high half, and
// still has after adding 6 (which carries 0x3A..0x3F over into 0x40..0x45).
bool AllDigits(std::uint64_t word) {
  constexpr std::uint64_t kHighHalves = 0xF0F0F0F0F0F0F0F0ull;
  constexpr std::uint64_t kThrees = 0x3030303030303030ull;
  return (word & kHighHalves) == kThrees && ((word + 0x0606060606060606ull) & kHighHalves) == kThrees;
}

// The length of the common prefix of two byte ranges of at least `limit` bytes, compared
// eight bytes at a time.
std::size_t CommonPrefix(const char* a, const char* b, std::size_t limit) {
  std::size_t i = 0;
  for (; i + 8 <= limit; i += 8) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    // Bytes are loaded in little-endian order, so the lowest set bit marks the first difference.
    if (x != y) return i + static_cast<std::size_t>(__builtin_ctzll(x ^ y) / 8);
  }
  while (i < limit && a[i] == b[i]) ++i;
  return i;
}

// Decoded text is written through a pointer into a buffer that only grows; a line never
// decodes to more units than it has bytes.
class UnitBuffer {
 public:
  // Plain bytes are widened sixteen at a time, so the buffer takes that many units more than
  // the text can decode to.
  static constexpr std::size_t kSlack = 16;

  char16_t* Begin(std::size_t most) {
    if (units_.size() < most) units_.resize(std::max(most, 2 * units_.size()));
    return units_.data();
  }
  char16_t* Data() { return units_.data(); }

 private:
  std::vector<char16_t> units_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One pass over the text, line by line. A hex list may continue over several lines; the
// parser then takes those lines itself, so line numbers stay exact.
class HiveParser {
 public:
  HiveParser(std::string_view text, const std::string& file, core::RegistryHive& hive)
      : file_(file), hive_(hive), next_(text.data()), end_(text.data() + text.size()) {
    // A prefix's hive has about one key (intermediate keys included) per 160 bytes and a value
    // per 60; a little more room than that spares the child table a late rehash.
    hive_.Reserve(text.size() / 128 + 16, text.size() / 60 + 16);
  }

  void Run() {
    if (!NextLine() || std::string_view(p_, lineEnd_ - p_) != kHeader) {
      line_ = 1;
      Fail("not a Wine registry file: the first line must be \"WINE REGISTRY Version 2\"");
    }
    while (NextLine()) {
      SkipBlanks();
      if (p_ == lineEnd_) continue;
      switch (*p_) {
        case ';':  // comment
        case '#':  // option line (#arch, #time, #class, #link): nothing the reader keeps
          break;
        case '[':
          ParseKey();
          break;
        case '"':
        case '@':
          ParseValue();
          break;
        default:
          Fail("expected a key, a value, a comment or an option");
      }
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const { throw RegistryHiveError(file_, line_, reason); }

  bool NextLine() {
    if (next_ == end_) return false;
    p_ = next_;
    const char* newline = FindNewline(next_);
    lineEnd_ = newline ? newline : end_;
    next_ = newline ? lineEnd_ + 1 : end_;
    if (lineEnd_ > p_ && lineEnd_[-1] == '\r') --lineEnd_;
    ++line_;
    return true;
  }

  // Lines are short, so an inline search beats a call to memchr.
  const char* FindNewline(const char* from) const {
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi8('\n');
    for (; end_ - from >= 16; from += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
      const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)));
      if (mask != 0) return from + __builtin_ctz(mask);
    }
#endif
    return static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end_ - from)));
  }

  void SkipBlanks() {
    while (p_ < lineEnd_ && IsBlank(*p_)) ++p_;
  }

  // The words are short literals: a loop the compiler can unroll beats a call to memcmp.
  bool Take(std::string_view word) {
    if (static_cast<std::size_t>(lineEnd_ - p_) < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (p_[i] != word[i]) return false;
    }
    p_ += word.size();
    return true;
  }

  void Expect(std::string_view word) {
    if (!Take(word)) FailExpecting(word);
  }

  // Out of line, so that Expect stays small enough to be inlined.
  [[noreturn]] [[gnu::noinline]] void FailExpecting(std::string_view word) const {
    Fail("expected \"" + std::string(word) + "\"");
  }

  void ExpectLineEnd() {
    SkipBlanks();
    if (p_ != lineEnd_) Fail("unexpected text after the value");
  }

  // Keys come in tree order, so a key line mostly repeats the components of the line before.
  // Components whose text (and following separator) is byte for byte the same are taken
  // from the chain of keys found for that line; only the rest is decoded and looked up.
  void ParseKey() {
    ++p_;
    const char* name = p_;
    const std::size_t shared = SharedComponents(name);
    chain_.resize(shared);
    ends_.resize(shared);
    p_ = name + (shared == 0 ? 0 : ends_.back() + 2);
    separators_.clear();
    cuts_.clear();
    irregular_ = false;
    const std::u16string_view rest = DecodeString(']', text_, name);
    const auto nameLength = static_cast<std::size_t>(p_ - 1 - name);
    // The modification stamp that follows is of no use to a reader. It has ten digits or so:
    // most of them are passed eight at a time.
    SkipBlanks();
    for (std::uint64_t word; lineEnd_ - p_ >= 8 && (std::memcpy(&word, p_, 8), AllDigits(word));) p_ += 8;
    while (p_ < lineEnd_ && *p_ >= '0' && *p_ <= '9') ++p_;
    SkipBlanks();
    if (p_ != lineEnd_) Fail("unexpected text after the key name");

    std::size_t component = 0;
    // The decoder noted where each backslash of the decoded name is.
    for (std::size_t cut = 0, start = 0; !rest.empty(); ++cut) {
      const std::size_t stop = cut < cuts_.size() ? cuts_[cut] : rest.size();
      const std::u16string_view part = rest.substr(start, stop - start);
      if (part.empty()) {
        irregular_ = true;  // a doubled or outer separator: skipped, so raw offsets no longer match
      } else {
        const KeyId parent = chain_.empty() ? core::RegistryHive::kRoot : chain_.back();
        chain_.push_back(hive_.AddChild(parent, part));
        ends_.push_back(component < separators_.size() ? separators_[component] : nameLength);
        ++component;
      }
      if (stop == rest.size()) break;
      start = stop + 1;
    }
    if (separators_.size() + (component == 0 ? 0 : 1) != component) irregular_ = true;
    previous_ = std::string_view(name, nameLength);
    reusable_ = !irregular_;
    key_ = chain_.empty() ? core::RegistryHive::kRoot : chain_.back();
  }

  // How many leading components of the key name at `name` are those of the previous line.
  std::size_t SharedComponents(const char* name) const {
    if (!reusable_) return 0;
    const auto available = static_cast<std::size_t>(lineEnd_ - name);
    const std::size_t limit = std::min(previous_.size(), available);
    const std::size_t same = CommonPrefix(previous_.data(), name, limit);
    std::size_t shared = 0;
    for (std::size_t end : ends_) {
      const bool separated = end < previous_.size()
                                 ? end + 2 <= same
                                 : same == previous_.size() && available >= end + 2 && name[end] == '\\' &&
                                       name[end + 1] == '\\';
      if (!separated) break;
      ++shared;
    }
    return shared;
  }

  void ParseValue() {
    if (*p_ == '@') {
      name_ = std::u16string_view();
      ++p_;
    } else {
      ++p_;
      name_ = DecodeString('"', nameBuffer_);
    }
    if (!key_) Fail("value before the first key");
    Expect("=");
    if (Take("\"")) {
      ParseStringValue(kString);
    } else if (Take("str(")) {
      const DWORD type = ParseHexNumber();
      Expect("):\"");
      ParseStringValue(type);
    } else if (Take("hex:")) {
      ParseBytes(kBinary);
    } else if (Take("hex(")) {
      const DWORD type = ParseHexNumber();
      Expect("):");
      ParseBytes(type);
    } else if (Take("dword:")) {
      const DWORD value = ParseHexNumber();
      ExpectLineEnd();
      hive_.SetDword(*key_, name_, value);
    } else {
      Fail("unknown value type");
    }
  }

  DWORD ParseHexNumber() {
    // Eight digits at most; a ninth is an error, found once the eight are read.
    const char* const start = p_;
    const char* const stop = p_ + std::min<std::ptrdiff_t>(8, lineEnd_ - p_);
    const char* in = p_;
    DWORD value = 0;
    for (int digit; in < stop && (digit = HexValue(*in)) >= 0; ++in) value = value * 16 + static_cast<DWORD>(digit);
    p_ = in;
    if (p_ == start) Fail("expected a hexadecimal number");
    if (p_ < lineEnd_ && HexValue(*p_) >= 0) Fail("hexadecimal number longer than 8 digits");
    return value;
  }

  void ParseStringValue(DWORD type) {
    // Decoded straight into the hive's storage, which then keeps as much as was written.
    auto* units = reinterpret_cast<char16_t*>(hive_.BeginValue(name_, UnitsForRest() * sizeof(char16_t)));
    const std::size_t length = DecodeString('"', units).size();
    ExpectLineEnd();
    units[length] = u'\0';
    hive_.EndValue(*key_, type, (length + 1) * sizeof(char16_t));
  }

  void ParseBytes(DWORD type) {
    std::size_t count = 0;
    while (true) {
      // Every byte but the last takes a digit and a comma at least, so the rest of the line
      // holds at most half its length, rounded up. Bytes are then written without checks.
      const auto most = count + static_cast<std::size_t>(lineEnd_ - p_ + 1) / 2;
      if (bytes_.size() < most) bytes_.resize(std::max(most, 2 * bytes_.size()));
      BYTE* const out = bytes_.data();
      // The usual form first: two digits and a comma, as the prefix writes them. The cursor is
      // kept in a local: a byte written through `out` could otherwise alias it.
      const char* in = p_;
      const char* const stop = lineEnd_;
      while (stop - in >= 3 && in[2] == ',') {
        const int high = HexValue(in[0]);
        const int low = HexValue(in[1]);
        if ((high | low) < 0) break;
        out[count++] = static_cast<BYTE>(high * 16 + low);
        in += 3;
      }
      p_ = in;
      SkipBlanks();
      if (p_ == lineEnd_) break;
      if (*p_ == '\\') {
        ++p_;
        SkipBlanks();
        if (p_ != lineEnd_) Fail("unexpected text after the line continuation");
        if (!NextLine()) Fail("line continuation at the end of the file");
        continue;
      }
      const int high = HexValue(*p_);
      if (high < 0) Fail("expected a hexadecimal byte");
      ++p_;
      int byte = high;
      if (p_ < lineEnd_ && HexValue(*p_) >= 0) byte = byte * 16 + HexValue(*p_++);
      out[count++] = static_cast<BYTE>(byte);
      SkipBlanks();
      if (p_ == lineEnd_) break;
      if (*p_ == ',') {
        ++p_;
      } else if (*p_ != '\\') {
        Fail("expected \",\" between bytes");
      }
    }
    hive_.SetValue(*key_, name_, type, bytes_.data(), count);
  }

  // Decodes up to the unescaped terminator and leaves the cursor after it. The view stays
  // valid until the buffer is used again; it has room for one more unit.
  // With `keyName`, records where each separator ("\\\\") of a key name starts, relative to
  // `keyName`, notes a backslash written any other way, and puts the place of every
  // backslash in the decoded name into `cuts_`.
  std::u16string_view DecodeString(char terminator, UnitBuffer& buffer, const char* keyName = nullptr) {
    return DecodeString(terminator, buffer.Begin(UnitsForRest()), keyName);
  }

  // The units a string in the rest of the line may need: it never decodes to more units than
  // it has bytes, plus one for a zero unit and the slack that plain bytes are widened into.
  std::size_t UnitsForRest() const { return static_cast<std::size_t>(lineEnd_ - p_) + 1 + UnitBuffer::kSlack; }

  // The same into `begin`, which has room for UnitsForRest() units. Most strings are plain
  // throughout, so their first run reaches the terminator; this part is kept small enough to be
  // inlined, and the rest is out of line.
  [[gnu::always_inline]] std::u16string_view DecodeString(char terminator, char16_t* const begin,
                                                          const char* keyName = nullptr) {
    char16_t* const out = CopyPlain(begin, terminator);
    if (p_ < lineEnd_ && *p_ == terminator) {
      ++p_;
      return std::u16string_view(begin, static_cast<std::size_t>(out - begin));
    }
    return DecodeEscaped(terminator, begin, out, keyName);
  }

  // Goes on from `out` at a byte that is not plain, or at the line's end.
  [[gnu::noinline]] std::u16string_view DecodeEscaped(char terminator, char16_t* const begin, char16_t* out,
                                                      const char* keyName) {
    while (p_ < lineEnd_) {
      const auto c = static_cast<unsigned char>(*p_);
      if (c == static_cast<unsigned char>(terminator)) {
        ++p_;
        return std::u16string_view(begin, static_cast<std::size_t>(out - begin));
      }
      if (c != '\\') {
        out = DecodeUtf8(out);
      } else if (++p_ == lineEnd_) {
        break;
      } else if (*p_ == '\\') {
        if (keyName != nullptr) {
          separators_.push_back(static_cast<std::size_t>(p_ - 1 - keyName));
          cuts_.push_back(static_cast<std::size_t>(out - begin));
        }
        *out++ = u'\\';
        ++p_;
      } else {
        char16_t* const before = out;
        out = DecodeEscape(out);
        if (keyName != nullptr && out > before && *before == u'\\') {
          irregular_ = true;
          cuts_.push_back(static_cast<std::size_t>(before - begin));
        }
      }
      out = CopyPlain(out, terminator);
    }
    Fail("unterminated string");
  }

  // Copies the run of plain bytes at the cursor, widened, and leaves the cursor on the first
  // byte that is not plain or at the line's end. With SSE2, sixteen bytes are looked at and
  // widened at once; a chunk may reach past the line's end, never past the text's, and only
  // its bytes before the first that is not plain are taken. The units written for the others
  // land in the buffer's slack or are written over next.
  char16_t* CopyPlain(char16_t* out, char terminator) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i stop = _mm_set1_epi8(terminator);
    while (p_ < lineEnd_ && end_ - p_ >= 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p_));
      const __m128i special = _mm_or_si128(_mm_cmpeq_epi8(bytes, backslash), _mm_cmpeq_epi8(bytes, stop));
      // A non-ASCII byte has its top bit set, which is what the mask takes.
      const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(bytes, special)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
      const auto run = std::min(static_cast<std::size_t>(mask == 0 ? 16 : __builtin_ctz(mask)),
                                static_cast<std::size_t>(lineEnd_ - p_));
      p_ += run;
      out += run;
      if (run < 16) return out;
    }
#endif
    // The last bytes of the text, or every byte without SSE2.
    const bool* plain = terminator == ']' ? kPlainInKey.plain : kPlainInValue.plain;
    while (p_ < lineEnd_ && plain[static_cast<unsigned char>(*p_)]) *out++ = static_cast<unsigned char>(*p_++);
    return out;
  }

  char16_t* DecodeEscape(char16_t* out) {
    const char c = *p_++;
    switch (c) {
      case 'n': *out++ = u'\n'; return out;
      case 'r': *out++ = u'\r'; return out;
      case 't': *out++ = u'\t'; return out;
      case 'a': *out++ = u'\a'; return out;
      case 'b': *out++ = u'\b'; return out;
      case 'f': *out++ = u'\f'; return out;
      case 'v': *out++ = u'\v'; return out;
      case 'e': *out++ = u'\x1b'; return out;
      case 'x': {
        char16_t unit = 0;
        int digits = 0;
        while (digits < 4 && p_ < lineEnd_ && HexValue(*p_) >= 0) {
          unit = static_cast<char16_t>(unit * 16 + HexValue(*p_++));
          ++digits;
        }
        if (digits == 0) Fail("\\x without hexadecimal digits");
        *out++ = unit;
        return out;
      }
      default:
        break;
    }
    if (c >= '0' && c <= '7') {
      char16_t unit = static_cast<char16_t>(c - '0');
      for (int digits = 1; digits < 3 && p_ < lineEnd_ && *p_ >= '0' && *p_ <= '7'; ++digits) {
        unit = static_cast<char16_t>(unit * 8 + (*p_++ - '0'));
      }
      *out++ = unit;
      return out;
    }
    // Any other escaped character stands for itself (\\, \", \[, \]); a byte of a UTF-8
    // sequence is decoded as such.
    if (static_cast<unsigned char>(c) < 0x80) {
      *out++ = static_cast<char16_t>(c);
      return out;
    }
    --p_;
    return DecodeUtf8(out);
  }

  // Decodes the run of non-ASCII bytes at the cursor.
  char16_t* DecodeUtf8(char16_t* out) {
    const char* run = p_;
    while (p_ < lineEnd_ && static_cast<unsigned char>(*p_) >= 0x80) ++p_;
    const auto length = static_cast<std::size_t>(p_ - run);
    const Utf::Outcome outcome = Utf::Utf8ToUtf16(run, length, out, length, true);
    if (outcome.status != Utf::Status::Ok) Fail("text is not valid UTF-8");
    return out + outcome.units;
  }

  const std::string& file_;
  core::RegistryHive& hive_;
  const char* next_;
  const char* end_;
  const char* p_ = nullptr;
  const char* lineEnd_ = nullptr;
  std::size_t line_ = 0;
  std::optional<KeyId> key_;
  std::vector<KeyId> chain_;         // the keys along the last key line's path
  std::vector<std::size_t> ends_;    // where each of its components ends in the raw name
  std::vector<std::size_t> separators_;
  std::vector<std::size_t> cuts_;    // where the decoded key name has a backslash
  std::string_view previous_;        // the last key line's raw name
  bool reusable_ = false;            // whether ends_ match chain_ for that name
  bool irregular_ = false;
  UnitBuffer text_;
  UnitBuffer nameBuffer_;
  std::u16string_view name_;
  std::vector<BYTE> bytes_;
};

}  // namespace

std::shared_ptr<core::RegistryHive> ParseWineHive(std::string_view text, const std::string& fileName) {
  auto hive = std::make_shared<core::RegistryHive>();
  HiveParser(text, fileName, *hive).Run();
  return hive;
}

std::shared_ptr<core::RegistryHive> LoadWineHive(const std::string& path) {
  const RegularFileContents file = ReadRegularFile(path, kLargestHive);
  if (file.status != RegularFileContents::Status::Read) {
    const bool missing = file.status == RegularFileContents::Status::CannotOpen && file.error == ENOENT;
    throw RegistryHiveError(path, 0, DescribeUnreadFile(file, kLargestHive), missing);
  }
  return ParseWineHive(file.bytes, path);
}

}  // namespace posix
