// FormatMessageW and FormatMessageA over the message tables of core/SystemMessageTable.h.
//
// A message is expanded in three steps: its "%" escapes and inserts are interpreted, its
// regular line breaks (the "\r\n" that ends each line of a table text) are kept or turned
// into blanks according to the width bits, and with a width below 255 the result is wrapped.
// Hard breaks written as %n or %r survive every width.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/kernel/SystemMessageTable.h"
#include "errhandlingapi.h"
#include "stringapiset.h"
#include "winbase.h"
#include "winerror.h"

namespace {

constexpr DWORD kSourceFlags = FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM;

// A failed call: the code goes to the thread's last error and the function returns 0.
struct Failure {
  DWORD code;
};

// The tables hold English texts only; the neutral, user-default and system-default
// languages all resolve to them.
bool IsTableLanguage(DWORD language) {
  const DWORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
  const DWORD userDefault = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
  const DWORD systemDefault = MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT);
  const DWORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
  return language == neutral || language == userDefault || language == systemDefault || language == english;
}

std::u16string AcpToWide(const char* text, int length) {
  if (length == 0) return {};
  const int units = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
  if (units <= 0) throw Failure{GetLastError()};
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), units) != units) throw Failure{GetLastError()};
  return wide;
}

std::string WideToAcp(const std::u16string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) throw Failure{GetLastError()};
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, text.data(), length, narrow.data(), bytes, nullptr, nullptr) != bytes) {
    throw Failure{GetLastError()};
  }
  return narrow;
}

std::u16string LookUpMessage(DWORD flags, LPCVOID source, DWORD id, DWORD language) {
  std::optional<std::u16string> text;
  bool moduleHasTable = false;
  if (flags & FORMAT_MESSAGE_FROM_HMODULE) {
    // A null module is the process's own image, which carries no message table here.
    HMODULE module = static_cast<HMODULE>(const_cast<void*>(source));
    if (module != nullptr) {
      moduleHasTable = core::HasModuleMessageTable(module);
      text = core::FindModuleMessage(module, id);
    }
  }
  if (!text && (flags & FORMAT_MESSAGE_FROM_SYSTEM)) {
    if (const WCHAR* system = core::FindSystemMessage(id)) text = std::u16string(system);
  }
  if (!text) {
    const bool onlyModule = !(flags & FORMAT_MESSAGE_FROM_SYSTEM);
    throw Failure{onlyModule && !moduleHasTable ? static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND)
                                                : static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND)};
  }
  // The message exists, but only in English.
  if (!IsTableLanguage(language)) throw Failure{ERROR_RESOURCE_LANG_NOT_FOUND};
  return *text;
}

// The values of the inserts %1 to %99, fetched once as pointer-sized slots.
class InsertValues {
 public:
  InsertValues(DWORD flags, va_list* arguments, std::size_t count) {
    if (arguments == nullptr) throw Failure{ERROR_INVALID_PARAMETER};
    if (flags & FORMAT_MESSAGE_ARGUMENT_ARRAY) {
      const auto* array = reinterpret_cast<const DWORD_PTR*>(arguments);
      values_.assign(array, array + count);
      return;
    }
    va_list copy;
    va_copy(copy, *arguments);
    for (std::size_t i = 0; i < count; ++i) values_.push_back(va_arg(copy, DWORD_PTR));
    va_end(copy);
  }

  DWORD_PTR operator[](std::size_t index) const { return values_.at(index); }

 private:
  std::vector<DWORD_PTR> values_;
};

// Reads "%k" and an optional "!format!" at text[i] (i on the first digit). Returns the
// insert number and leaves i after the insert.
unsigned ReadInsert(const std::u16string& text, std::size_t& i, std::u16string& format) {
  unsigned number = text[i++] - u'0';
  if (i < text.size() && text[i] >= u'0' && text[i] <= u'9') number = number * 10 + (text[i++] - u'0');
  format.clear();
  if (i < text.size() && text[i] == u'!') {
    const std::size_t close = text.find(u'!', i + 1);
    if (close == std::u16string::npos) throw Failure{ERROR_INVALID_PARAMETER};
    format = text.substr(i + 1, close - i - 1);
    i = close + 1;
  }
  return number;
}

std::size_t HighestInsert(const std::u16string& text) {
  std::size_t highest = 0;
  std::u16string format;
  for (std::size_t i = 0; i + 1 < text.size();) {
    if (text[i] != u'%') {
      ++i;
      continue;
    }
    ++i;
    if (text[i] >= u'1' && text[i] <= u'9') {
      highest = std::max<std::size_t>(highest, ReadInsert(text, i, format));
    } else {
      ++i;
    }
  }
  return highest;
}

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// One insert rendered by its printf-style format. Strings take width and precision; numbers
// go through snprintf, with "l" meaning 32 bits and "I64" / "ll" meaning 64, as on the platform.
std::u16string RenderInsert(DWORD_PTR value, const std::u16string& format, bool wideFunction) {
  const std::u16string spec = format.empty() ? u"s" : format;
  const char16_t conversion = spec.back();
  std::string flags;  // everything before the size prefix and the conversion
  std::string size;
  for (std::size_t i = 0; i + 1 < spec.size(); ++i) {
    const char16_t c = spec[i];
    if (c == u'l' || c == u'h' || c == u'w' || c == u'I' || c == u'L') {
      size.assign(spec.begin() + static_cast<std::ptrdiff_t>(i), spec.end() - 1);
      break;
    }
    if (c > 0x7F) throw Failure{ERROR_INVALID_PARAMETER};
    flags += static_cast<char>(c);
  }
  if (conversion == u's' || conversion == u'S') {
    bool wide = conversion == u's' ? wideFunction : !wideFunction;
    if (size == "l" || size == "w") wide = true;
    if (size == "h") wide = false;
    std::u16string text;
    if (value == 0) {
      text = u"(null)";
    } else if (wide) {
      text = reinterpret_cast<const char16_t*>(value);
    } else {
      const char* narrow = reinterpret_cast<const char*>(value);
      text = AcpToWide(narrow, static_cast<int>(std::strlen(narrow)));
    }
    const bool left = flags.find('-') != std::string::npos;
    const std::size_t dot = flags.find('.');
    std::size_t width = 0;
    for (char c : flags.substr(0, dot)) {
      if (c >= '0' && c <= '9') width = width * 10 + static_cast<std::size_t>(c - '0');
    }
    if (dot != std::string::npos) text = text.substr(0, std::strtoul(flags.c_str() + dot + 1, nullptr, 10));
    if (text.size() < width) {
      const std::u16string pad(width - text.size(), u' ');
      text = left ? text + pad : pad + text;
    }
    return text;
  }
  if (std::u16string(u"diouxXc").find(conversion) == std::u16string::npos) throw Failure{ERROR_INVALID_PARAMETER};
  const bool wide64 = size == "I64" || size == "ll" || size == "I";
  char buffer[128];
  std::string printfSpec = "%" + flags;
  if (conversion == u'c') {
    printfSpec += "c";
    std::snprintf(buffer, sizeof buffer, printfSpec.c_str(), static_cast<int>(value & 0xFF));
  } else if (wide64) {
    printfSpec += "ll";
    printfSpec += static_cast<char>(conversion);
    if (conversion == u'd' || conversion == u'i') {
      std::snprintf(buffer, sizeof buffer, printfSpec.c_str(), static_cast<long long>(value));
    } else {
      std::snprintf(buffer, sizeof buffer, printfSpec.c_str(), static_cast<unsigned long long>(value));
    }
  } else {
    printfSpec += static_cast<char>(conversion);
    if (conversion == u'd' || conversion == u'i') {
      std::snprintf(buffer, sizeof buffer, printfSpec.c_str(), static_cast<int>(static_cast<std::int32_t>(value)));
    } else {
      std::snprintf(buffer, sizeof buffer, printfSpec.c_str(), static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    }
  }
  return Widen(buffer);
}

// Escapes and inserts. Regular line breaks are kept when `joinLines` is false and become one
// blank each otherwise.
std::u16string Expand(const std::u16string& text, DWORD flags, va_list* arguments, bool wideFunction) {
  const bool joinLines = (flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != 0;
  const bool ignoreInserts = (flags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0;
  std::optional<InsertValues> values;
  std::u16string out;
  std::u16string format;
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      const std::size_t length = (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
      if (joinLines) {
        out += u' ';
      } else {
        out.append(text, i, length);
      }
      i += length;
      continue;
    }
    if (c != u'%' || i + 1 == text.size()) {
      out += c;
      ++i;
      continue;
    }
    const char16_t e = text[i + 1];
    if (e >= u'1' && e <= u'9') {
      const std::size_t start = i;
      i += 1;
      const unsigned number = ReadInsert(text, i, format);
      if (ignoreInserts) {
        out.append(text, start, i - start);
        continue;
      }
      if (!values) values.emplace(flags, arguments, HighestInsert(text));
      out += RenderInsert((*values)[number - 1], format, wideFunction);
      continue;
    }
    i += 2;
    switch (e) {
      case u'0':
        return out;  // ends the message without a line break
      case u'n':
        out += u"\r\n";
        break;
      case u'r':
        out += u'\r';
        break;
      case u't':
        out += u'\t';
        break;
      default:
        out += e;  // "%%", "% ", "%.", "%!" and the rest stand for the character itself
        break;
    }
  }
  return out;
}

// Greedy wrapping at `width` characters: a line breaks at its last blank, or inside a word
// longer than the width. Existing breaks start a new line.
std::u16string Wrap(const std::u16string& text, std::size_t width) {
  std::u16string out;
  std::size_t lineStart = 0;
  std::size_t lastBlank = std::u16string::npos;
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n') {
      out += c;
      lineStart = out.size();
      lastBlank = std::u16string::npos;
      continue;
    }
    if (out.size() - lineStart == width) {
      if (c == u' ') {
        out += u"\r\n";
        lineStart = out.size();
        lastBlank = std::u16string::npos;
        continue;
      }
      if (lastBlank != std::u16string::npos) {
        out.replace(lastBlank, 1, u"\r\n");
        lineStart = lastBlank + 2;
      } else {
        out += u"\r\n";
        lineStart = out.size();
      }
      lastBlank = std::u16string::npos;
    }
    if (c == u' ') lastBlank = out.size();
    out += c;
  }
  return out;
}

std::u16string Compose(DWORD flags, const std::u16string& source, va_list* arguments, bool wideFunction) {
  std::u16string text = Expand(source, flags, arguments, wideFunction);
  const DWORD width = flags & FORMAT_MESSAGE_MAX_WIDTH_MASK;
  if (width != 0 && width != FORMAT_MESSAGE_MAX_WIDTH_MASK) text = Wrap(text, width);
  return text;
}

void CheckCall(DWORD flags, LPCVOID source, LPCVOID buffer) {
  if (buffer == nullptr) throw Failure{ERROR_INVALID_PARAMETER};
  if ((flags & FORMAT_MESSAGE_FROM_STRING) && source == nullptr) throw Failure{ERROR_INVALID_PARAMETER};
  const DWORD from = flags & kSourceFlags;
  if ((from & FORMAT_MESSAGE_FROM_STRING) && from != FORMAT_MESSAGE_FROM_STRING) throw Failure{ERROR_INVALID_PARAMETER};
  if (from == 0) throw Failure{ERROR_INVALID_PARAMETER};
}

// Stores `count` units of `text` plus a terminator, in the caller's buffer or a new local block.
template <class Unit>
DWORD Store(const Unit* text, std::size_t count, DWORD flags, Unit* buffer, DWORD size) {
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    const std::size_t units = std::max<std::size_t>(count + 1, size);
    auto* block = static_cast<Unit*>(LocalAlloc(LMEM_FIXED, units * sizeof(Unit)));
    if (block == nullptr) throw Failure{ERROR_NOT_ENOUGH_MEMORY};
    std::memcpy(block, text, count * sizeof(Unit));
    block[count] = Unit();
    *reinterpret_cast<Unit**>(buffer) = block;
  } else {
    if (count + 1 > size) throw Failure{ERROR_INSUFFICIENT_BUFFER};
    std::memcpy(buffer, text, count * sizeof(Unit));
    buffer[count] = Unit();
  }
  return static_cast<DWORD>(count);
}

DWORD Fail(const Failure& failure) {
  SetLastError(failure.code);
  return 0;
}

}  // namespace

DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                     DWORD nSize, va_list* Arguments) {
  try {
    CheckCall(dwFlags, lpSource, lpBuffer);
    const std::u16string source = (dwFlags & FORMAT_MESSAGE_FROM_STRING)
                                      ? std::u16string(static_cast<LPCWSTR>(lpSource))
                                      : LookUpMessage(dwFlags, lpSource, dwMessageId, dwLanguageId);
    const std::u16string text = Compose(dwFlags, source, Arguments, true);
    return Store(text.data(), text.size(), dwFlags, lpBuffer, nSize);
  } catch (const Failure& failure) {
    return Fail(failure);
  } catch (...) {
    return Fail(Failure{ERROR_NOT_ENOUGH_MEMORY});
  }
}

DWORD FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                     DWORD nSize, va_list* Arguments) {
  try {
    CheckCall(dwFlags, lpSource, lpBuffer);
    std::u16string source;
    if (dwFlags & FORMAT_MESSAGE_FROM_STRING) {
      const char* narrow = static_cast<const char*>(lpSource);
      source = AcpToWide(narrow, static_cast<int>(std::strlen(narrow)));
    } else {
      source = LookUpMessage(dwFlags, lpSource, dwMessageId, dwLanguageId);
    }
    const std::string text = WideToAcp(Compose(dwFlags, source, Arguments, false));
    return Store(text.data(), text.size(), dwFlags, lpBuffer, nSize);
  } catch (const Failure& failure) {
    return Fail(failure);
  } catch (...) {
    return Fail(Failure{ERROR_NOT_ENOUGH_MEMORY});
  }
}
