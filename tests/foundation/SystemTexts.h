// The platform's texts of the error codes that tests print.
#pragma once

#include <string>

#include <windows.h>

#ifdef _WIN32
// The system's own text of a code in the ANSI code page, without its line end, or "" for
// none. Wine words some texts otherwise than Windows ("Access denied." for "Access is
// denied."), so the Windows build expects whatever the system it runs on says.
inline std::string SystemText(DWORD code) {
  char text[512];
  DWORD size = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                              sizeof text, nullptr);
  while (size > 0 && (text[size - 1] == '\r' || text[size - 1] == '\n')) --size;
  return std::string(text, size);
}
// Its customer bit keeps a code out of the system's table.
constexpr DWORD kCodeWithoutText = 0x2000001F;
#else
// The stand-in's table holds Windows' own texts.
inline std::string SystemText(DWORD code) {
  switch (code) {
    case 2:
      return "The system cannot find the file specified.";
    case 5:
      return "Access is denied.";
    case 1113:
      return "No mapping for the Unicode character exists in the target multi-byte code page.";
  }
  return "";
}
// The stand-in has no text for ERROR_GEN_FAILURE.
constexpr DWORD kCodeWithoutText = 0x1F;
#endif
