#include "stringapiset.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "core/kernel/UtfCodec.h"
#include "core/kernel/Windows1252.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

enum class CodePage { Utf8, Ansi, Unsupported };

CodePage Classify(UINT codePage) {
  if (codePage == CP_UTF8) return CodePage::Utf8;
  // The ANSI code page may be named by its alias or by its number.
  if (codePage == CP_ACP || codePage == 1252) return CodePage::Ansi;
  return CodePage::Unsupported;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// The result is an int; an output that an int cannot count cannot be held in any buffer the
// caller can describe either.
int Count(std::size_t units) { return units > static_cast<std::size_t>(INT_MAX) ? Fail(ERROR_INSUFFICIENT_BUFFER) : static_cast<int>(units); }

int Finish(Utf::Outcome outcome) {
  switch (outcome.status) {
    case Utf::Status::Ok:
      return Count(outcome.units);
    case Utf::Status::IllFormed:
      return Fail(ERROR_NO_UNICODE_TRANSLATION);
    case Utf::Status::Overflow:
      break;
  }
  return Fail(ERROR_INSUFFICIENT_BUFFER);
}

// The platform refuses to convert a buffer into itself; any overlap is refused here, since the
// conversion reads ahead of what it writes.
bool Overlap(const void* a, std::size_t aBytes, const void* b, std::size_t bBytes) {
  const auto x = reinterpret_cast<std::uintptr_t>(a);
  const auto y = reinterpret_cast<std::uintptr_t>(b);
  return x < y + bBytes && y < x + aBytes;
}

std::size_t TerminatedLength(const char16_t* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

bool IsBadCall(const void* in, int inLength, const void* out, int outSize) {
  return in == nullptr || inLength == 0 || inLength < -1 || outSize < 0 || (outSize > 0 && out == nullptr);
}

int AnsiToWide(const unsigned char* in, std::size_t n, LPWSTR out, int outSize) {
  if (out) {
    if (static_cast<std::size_t>(outSize) < n) return Fail(ERROR_INSUFFICIENT_BUFFER);
    for (std::size_t i = 0; i < n; ++i) out[i] = Windows1252::ToUnicode(in[i]);
  }
  return Count(n);
}

// One replacement byte per character the code page lacks: a surrogate pair is one character,
// an unpaired surrogate is one too.
int WideToAnsi(const char16_t* in, std::size_t n, LPSTR out, int outSize, char replacement, LPBOOL usedDefault) {
  bool used = false;
  std::size_t written = 0;
  for (std::size_t i = 0; i < n; ++written) {
    const char16_t u = in[i++];
    int byte;
    if (u >= 0xD800 && u <= 0xDFFF) {
      if (u <= 0xDBFF && i < n && in[i] >= 0xDC00 && in[i] <= 0xDFFF) ++i;
      byte = -1;
    } else {
      byte = Windows1252::FromUnicode(u);
    }
    if (byte < 0) {
      byte = static_cast<unsigned char>(replacement);
      used = true;
    }
    if (out) {
      if (written == static_cast<std::size_t>(outSize)) return Fail(ERROR_INSUFFICIENT_BUFFER);
      out[written] = static_cast<char>(byte);
    }
  }
  if (usedDefault) *usedDefault = used ? TRUE : FALSE;
  return Count(written);
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar) {
  if (IsBadCall(lpMultiByteStr, cbMultiByte, lpWideCharStr, cchWideChar)) return Fail(ERROR_INVALID_PARAMETER);
  // -1: the input is zero-terminated and the terminator is converted with it.
  const std::size_t n = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<std::size_t>(cbMultiByte);
  // A size of 0 asks for the size only, whatever the buffer pointer is.
  char16_t* out = cchWideChar > 0 ? lpWideCharStr : nullptr;
  if (out && Overlap(lpMultiByteStr, n, out, static_cast<std::size_t>(cchWideChar) * sizeof(WCHAR)))
    return Fail(ERROR_INVALID_PARAMETER);

  switch (Classify(CodePage)) {
    case CodePage::Utf8:
      if (dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
      return Finish(Utf::Utf8ToUtf16(lpMultiByteStr, n, out, static_cast<std::size_t>(cchWideChar),
                                     (dwFlags & MB_ERR_INVALID_CHARS) != 0));
    case CodePage::Ansi:
      // Every byte of the code page has a character, so MB_ERR_INVALID_CHARS never refuses.
      if (dwFlags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
      return AnsiToWide(reinterpret_cast<const unsigned char*>(lpMultiByteStr), n, out, cchWideChar);
    case CodePage::Unsupported:
      break;
  }
  return Fail(ERROR_INVALID_PARAMETER);
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCCH lpDefaultChar, LPBOOL lpUsedDefaultChar) {
  if (IsBadCall(lpWideCharStr, cchWideChar, lpMultiByteStr, cbMultiByte)) return Fail(ERROR_INVALID_PARAMETER);
  const std::size_t n = cchWideChar == -1 ? TerminatedLength(lpWideCharStr) + 1 : static_cast<std::size_t>(cchWideChar);
  char* out = cbMultiByte > 0 ? lpMultiByteStr : nullptr;
  if (out && Overlap(lpWideCharStr, n * sizeof(WCHAR), out, static_cast<std::size_t>(cbMultiByte)))
    return Fail(ERROR_INVALID_PARAMETER);

  switch (Classify(CodePage)) {
    case CodePage::Utf8:
      if (dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
      // UTF-8 has no default character: everything but an unpaired surrogate can be encoded.
      if (lpDefaultChar || lpUsedDefaultChar) return Fail(ERROR_INVALID_PARAMETER);
      return Finish(Utf::Utf16ToUtf8(lpWideCharStr, n, out, static_cast<std::size_t>(cbMultiByte),
                                     (dwFlags & WC_ERR_INVALID_CHARS) != 0));
    case CodePage::Ansi:
      // WC_ERR_INVALID_CHARS belongs to UTF-8 only. Characters are never replaced by similar
      // ones ("best fit"), so WC_NO_BEST_FIT_CHARS changes nothing.
      if (dwFlags & ~static_cast<DWORD>(WC_NO_BEST_FIT_CHARS)) return Fail(ERROR_INVALID_FLAGS);
      return WideToAnsi(lpWideCharStr, n, out, cbMultiByte, lpDefaultChar ? lpDefaultChar[0] : '?', lpUsedDefaultChar);
    case CodePage::Unsupported:
      break;
  }
  return Fail(ERROR_INVALID_PARAMETER);
}
