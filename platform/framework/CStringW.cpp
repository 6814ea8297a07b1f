// The framework's UTF-16 string.
#include "afxwin.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "WideText.h"

namespace {
WCHAR emptyText[1] = {0};

int Length(LPCWSTR text) {
  int n = 0;
  if (text != nullptr)
    while (text[n] != 0) ++n;
  return n;
}
}  // namespace

CStringW::CStringW() : data_(emptyText), length_(0), capacity_(0) {}

CStringW::CStringW(LPCWSTR text) : CStringW() { Assign(text, Length(text)); }

CStringW::CStringW(LPCWSTR text, int length) : CStringW() { Assign(text, text == nullptr ? 0 : length); }

CStringW::CStringW(const CStringW& other) : CStringW() { Assign(other.data_, other.length_); }

CStringW::CStringW(CStringW&& other) noexcept : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
  other.data_ = emptyText;
  other.length_ = 0;
  other.capacity_ = 0;
}

CStringW& CStringW::operator=(const CStringW& other) {
  if (this != &other) {
    const CStringW copy(other);
    *this = CStringW(copy);
  }
  return *this;
}

CStringW& CStringW::operator=(CStringW&& other) noexcept {
  if (this != &other) {
    if (capacity_ != 0) std::free(data_);
    data_ = other.data_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    other.data_ = emptyText;
    other.length_ = 0;
    other.capacity_ = 0;
  }
  return *this;
}

CStringW& CStringW::operator=(LPCWSTR text) {
  // The text may lie inside this string's own buffer.
  const CStringW copy(text);
  return *this = CStringW(copy);
}

CStringW::~CStringW() {
  if (capacity_ != 0) std::free(data_);
}

void CStringW::Reserve(int capacity) {
  if (capacity <= capacity_) return;
  const int grown = std::max(capacity, capacity_ * 2);
  auto* fresh = static_cast<WCHAR*>(std::malloc(sizeof(WCHAR) * (static_cast<std::size_t>(grown) + 1)));
  if (fresh == nullptr) AfxThrowMemoryException();
  std::memcpy(fresh, data_, sizeof(WCHAR) * (static_cast<std::size_t>(length_) + 1));
  if (capacity_ != 0) std::free(data_);
  data_ = fresh;
  capacity_ = grown;
}

void CStringW::Assign(LPCWSTR text, int length) {
  if (length <= 0) {
    Empty();
    return;
  }
  Reserve(length);
  std::memmove(data_, text, sizeof(WCHAR) * static_cast<std::size_t>(length));
  length_ = length;
  data_[length_] = 0;
}

void CStringW::Empty() {
  length_ = 0;
  if (capacity_ != 0) data_[0] = 0;
}

CStringW& CStringW::operator+=(LPCWSTR text) {
  const CStringW copy(text);
  Reserve(length_ + copy.length_);
  std::memcpy(data_ + length_, copy.data_, sizeof(WCHAR) * static_cast<std::size_t>(copy.length_));
  length_ += copy.length_;
  data_[length_] = 0;
  return *this;
}

CStringW& CStringW::operator+=(WCHAR unit) {
  Reserve(length_ + 1);
  data_[length_++] = unit;
  data_[length_] = 0;
  return *this;
}

CStringW operator+(const CStringW& a, LPCWSTR b) {
  CStringW result(a);
  result += b;
  return result;
}

bool CStringW::operator==(LPCWSTR text) const { return Compare(text) == 0; }

int CStringW::Compare(LPCWSTR text) const {
  const WStringView a(data_, static_cast<std::size_t>(length_));
  const WStringView b(text == nullptr ? WIDE("") : text, static_cast<std::size_t>(Length(text)));
  return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

int CStringW::CompareNoCase(LPCWSTR text) const {
  const int order = ::CompareStringOrdinal(data_, length_, text == nullptr ? WIDE("") : text, -1, TRUE);
  return order == CSTR_LESS_THAN ? -1 : order == CSTR_GREATER_THAN ? 1 : 0;
}

LPWSTR CStringW::GetBuffer(int minLength) {
  Reserve(std::max(minLength, length_));
  if (capacity_ == 0) Reserve(1);
  return data_;
}

void CStringW::ReleaseBuffer(int newLength) {
  if (capacity_ == 0) return;
  if (newLength < 0) {
    newLength = 0;
    while (newLength < capacity_ && data_[newLength] != 0) ++newLength;
  }
  length_ = std::min(newLength, capacity_);
  data_[length_] = 0;
}

void CStringW::Format(LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

namespace {

void AppendPadded(WString& out, const WString& field, int width, bool left, bool zero) {
  const int pad = width - static_cast<int>(field.size());
  if (pad <= 0) {
    out += field;
    return;
  }
  if (left) {
    out += field;
    out.append(static_cast<std::size_t>(pad), WIDE(' '));
  } else if (zero && !field.empty() && field[0] == WIDE('-')) {
    out += WIDE('-');
    out.append(static_cast<std::size_t>(pad), WIDE('0'));
    out.append(field, 1);
  } else {
    out.append(static_cast<std::size_t>(pad), zero ? WIDE('0') : WIDE(' '));
    out += field;
  }
}

WString Digits(unsigned long long value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  WString text;
  do {
    text.insert(text.begin(), static_cast<WCHAR>(digits[value % base]));
    value /= base;
  } while (value != 0);
  return text;
}

}  // namespace

void CStringW::FormatV(LPCWSTR format, va_list args) {
  WString out;
  for (LPCWSTR p = format; p != nullptr && *p != 0; ++p) {
    if (*p != WIDE('%')) {
      out += *p;
      continue;
    }
    ++p;
    bool left = false, zero = false;
    for (; *p == WIDE('-') || *p == WIDE('0'); ++p) (*p == WIDE('-') ? left : zero) = true;
    int width = 0;
    for (; *p >= WIDE('0') && *p <= WIDE('9'); ++p) width = width * 10 + (*p - WIDE('0'));
    bool isLong = false;
    for (; *p == WIDE('l'); ++p) isLong = true;
    WString field;
    switch (*p) {
      case WIDE('d'):
      case WIDE('i'): {
        const long long v = isLong ? va_arg(args, long) : va_arg(args, int);
        field = (v < 0 ? WIDE("-") : WIDE("")) + Digits(v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v), 10, false);
        break;
      }
      case WIDE('u'): field = Digits(isLong ? va_arg(args, unsigned long) : va_arg(args, unsigned), 10, false); break;
      case WIDE('x'): field = Digits(isLong ? va_arg(args, unsigned long) : va_arg(args, unsigned), 16, false); break;
      case WIDE('X'): field = Digits(isLong ? va_arg(args, unsigned long) : va_arg(args, unsigned), 16, true); break;
      case WIDE('c'): field = WString(1, static_cast<WCHAR>(va_arg(args, int))); break;
      case WIDE('s'): {
        LPCWSTR text = va_arg(args, LPCWSTR);
        field = text != nullptr ? WString(text) : WString(WIDE("(null)"));
        break;
      }
      case WIDE('%'): field = WIDE("%"); break;
      case 0: --p; continue;
      default: field = WString(1, *p); break;
    }
    AppendPadded(out, field, width, left, zero && *p != WIDE('s') && *p != WIDE('c'));
  }
  Assign(out.data(), static_cast<int>(out.size()));
}
