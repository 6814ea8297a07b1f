// UTF-16 text as the API takes it: WCHAR units. WCHAR is char16_t in our own headers and
// wchar_t in the SDK's (16 bits on Windows), so literals and strings of it are spelt through
// these names and never cast at the call.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

// A WCHAR literal: WIDE("text") or WIDE('c'). Only for literals, as it pastes the prefix on.
#ifdef _WIN32
#define WIDE(literal) L##literal
#else
#define WIDE(literal) u##literal
#endif

using WString = std::basic_string<WCHAR>;
using WStringView = std::basic_string_view<WCHAR>;
