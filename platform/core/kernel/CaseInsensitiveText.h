// Text comparison without regard to letter case, as the platform's atom tables, class names
// and resource names compare: full Unicode case folding.
#pragma once

#include <string>
#include <string_view>

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
std::u16string FoldCase(std::u16string_view text);
// The length of a zero-terminated text.
std::size_t TextLength(const char16_t* text);
