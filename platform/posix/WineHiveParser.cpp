#include "posix/WineHiveParser.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "core/UtfCodec.h"
#include "posix/RegistryHiveError.h"

namespace posix {

namespace {

using KeyId = core::RegistryHive::KeyId;

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr DWORD kString = 1;
constexpr DWORD kBinary = 3;
constexpr DWORD kDword = 4;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One pass over the text, line by line. A hex list may continue over several lines; the
// parser then takes those lines itself, so line numbers stay exact.
class HiveParser {
 public:
  HiveParser(std::string_view text, const std::string& file, core::RegistryHive& hive)
      : file_(file), hive_(hive), next_(text.data()), end_(text.data() + text.size()) {}

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
    const void* newline = std::memchr(next_, '\n', static_cast<std::size_t>(end_ - next_));
    lineEnd_ = newline ? static_cast<const char*>(newline) : end_;
    next_ = newline ? lineEnd_ + 1 : end_;
    if (lineEnd_ > p_ && lineEnd_[-1] == '\r') --lineEnd_;
    ++line_;
    return true;
  }

  void SkipBlanks() {
    while (p_ < lineEnd_ && IsBlank(*p_)) ++p_;
  }

  bool Take(std::string_view word) {
    if (static_cast<std::size_t>(lineEnd_ - p_) < word.size() || std::memcmp(p_, word.data(), word.size()) != 0) {
      return false;
    }
    p_ += word.size();
    return true;
  }

  void Expect(std::string_view word) {
    if (!Take(word)) Fail("expected \"" + std::string(word) + "\"");
  }

  void ExpectLineEnd() {
    SkipBlanks();
    if (p_ != lineEnd_) Fail("unexpected text after the value");
  }

  void ParseKey() {
    ++p_;
    DecodeString(']', text_);
    // The modification stamp that follows is of no use to a reader.
    SkipBlanks();
    while (p_ < lineEnd_ && *p_ >= '0' && *p_ <= '9') ++p_;
    SkipBlanks();
    if (p_ != lineEnd_) Fail("unexpected text after the key name");
    key_ = ResolveKey(text_);
  }

  // Keys come in tree order, so each path shares most of its components with the one before;
  // those are taken from the chain instead of being looked up again.
  KeyId ResolveKey(std::u16string_view path) {
    std::size_t depth = 0;
    bool sharing = true;
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t stop = path.find(u'\\', start);
      if (stop == std::u16string_view::npos) stop = path.size();
      const std::u16string_view name = path.substr(start, stop - start);
      start = stop + 1;
      if (name.empty()) continue;
      if (sharing && depth < chain_.size() && core::EqualsIgnoringAsciiCase(chain_[depth].first, name)) {
        ++depth;
        continue;
      }
      if (sharing) {
        chain_.resize(depth);
        sharing = false;
      }
      const KeyId parent = depth == 0 ? core::RegistryHive::kRoot : chain_[depth - 1].second;
      chain_.emplace_back(std::u16string(name), hive_.AddChild(parent, name));
      ++depth;
    }
    if (sharing) chain_.resize(depth);
    return depth == 0 ? core::RegistryHive::kRoot : chain_[depth - 1].second;
  }

  void ParseValue() {
    if (*p_ == '@') {
      name_.clear();
      ++p_;
    } else {
      ++p_;
      DecodeString('"', name_);
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
    DWORD value = 0;
    int digits = 0;
    while (p_ < lineEnd_ && HexValue(*p_) >= 0) {
      if (++digits > 8) Fail("hexadecimal number longer than 8 digits");
      value = value * 16 + static_cast<DWORD>(HexValue(*p_));
      ++p_;
    }
    if (digits == 0) Fail("expected a hexadecimal number");
    return value;
  }

  void ParseStringValue(DWORD type) {
    DecodeString('"', text_);
    ExpectLineEnd();
    text_.push_back(u'\0');
    hive_.SetValue(*key_, name_, type, text_.data(), text_.size() * sizeof(char16_t));
  }

  void ParseBytes(DWORD type) {
    bytes_.clear();
    while (true) {
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
      bytes_.push_back(static_cast<BYTE>(byte));
      SkipBlanks();
      if (p_ == lineEnd_) break;
      if (*p_ == ',') {
        ++p_;
      } else if (*p_ != '\\') {
        Fail("expected \",\" between bytes");
      }
    }
    hive_.SetValue(*key_, name_, type, bytes_.data(), bytes_.size());
  }

  // Decodes up to the unescaped terminator and leaves the cursor after it.
  void DecodeString(char terminator, std::u16string& out) {
    out.clear();
    const char* run = p_;
    while (p_ < lineEnd_) {
      const char c = *p_;
      if (c == terminator) {
        AppendUtf8(run, p_, out);
        ++p_;
        return;
      }
      if (c != '\\') {
        ++p_;
        continue;
      }
      AppendUtf8(run, p_, out);
      ++p_;
      if (p_ == lineEnd_) break;
      DecodeEscape(out);
      run = p_;
    }
    Fail("unterminated string");
  }

  void DecodeEscape(std::u16string& out) {
    const char c = *p_++;
    switch (c) {
      case 'n': out.push_back(u'\n'); return;
      case 'r': out.push_back(u'\r'); return;
      case 't': out.push_back(u'\t'); return;
      case 'a': out.push_back(u'\a'); return;
      case 'b': out.push_back(u'\b'); return;
      case 'f': out.push_back(u'\f'); return;
      case 'v': out.push_back(u'\v'); return;
      case 'e': out.push_back(u'\x1b'); return;
      case 'x': {
        char16_t unit = 0;
        int digits = 0;
        while (digits < 4 && p_ < lineEnd_ && HexValue(*p_) >= 0) {
          unit = static_cast<char16_t>(unit * 16 + HexValue(*p_++));
          ++digits;
        }
        if (digits == 0) Fail("\\x without hexadecimal digits");
        out.push_back(unit);
        return;
      }
      default:
        break;
    }
    if (c >= '0' && c <= '7') {
      char16_t unit = static_cast<char16_t>(c - '0');
      for (int digits = 1; digits < 3 && p_ < lineEnd_ && *p_ >= '0' && *p_ <= '7'; ++digits) {
        unit = static_cast<char16_t>(unit * 8 + (*p_++ - '0'));
      }
      out.push_back(unit);
      return;
    }
    // Any other escaped character stands for itself (\\, \", \[, \]); a byte of a UTF-8
    // sequence is decoded with the rest of its run.
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      --p_;
    }
  }

  void AppendUtf8(const char* begin, const char* end, std::u16string& out) {
    if (begin == end) return;
    const std::size_t length = static_cast<std::size_t>(end - begin);
    const std::size_t old = out.size();
    out.resize(old + length);  // never more units than bytes
    const Utf::Outcome outcome = Utf::Utf8ToUtf16(begin, length, out.data() + old, length, true);
    if (outcome.status != Utf::Status::Ok) Fail("text is not valid UTF-8");
    out.resize(old + outcome.units);
  }

  const std::string& file_;
  core::RegistryHive& hive_;
  const char* next_;
  const char* end_;
  const char* p_ = nullptr;
  const char* lineEnd_ = nullptr;
  std::size_t line_ = 0;
  std::optional<KeyId> key_;
  std::vector<std::pair<std::u16string, KeyId>> chain_;
  std::u16string text_;
  std::u16string name_;
  std::vector<BYTE> bytes_;
};

}  // namespace

std::shared_ptr<core::RegistryHive> ParseWineHive(std::string_view text, const std::string& fileName) {
  auto hive = std::make_shared<core::RegistryHive>();
  HiveParser(text, fileName, *hive).Run();
  return hive;
}

std::shared_ptr<core::RegistryHive> LoadWineHive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw RegistryHiveError(path, 0, std::string("cannot be read: ") + std::strerror(errno));
  std::string text;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0) text.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      throw RegistryHiveError(path, 0, std::string("cannot be read: ") + std::strerror(error));
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return ParseWineHive(text, path);
}

}  // namespace posix
