// Well-formed and ill-formed UTF-8 and UTF-16, each with what a lenient conversion makes of
// it: one table for the platform's conversion calls and for core's whole-text codec.
#pragma once

#include <string>
#include <vector>

namespace unicodecases {

struct Utf8Case {
  const char* what;
  std::string bytes;
  bool wellFormed;
  std::u16string lenient;  // the strict result too, when well-formed
};

inline const std::vector<Utf8Case> kUtf8Cases = {
    // Boundaries of each sequence length are accepted.
    {"U+007F, the last one-byte value", "\x7F", true, u"\u007F"},
    {"U+0080, the first two-byte value", "\xC2\x80", true, u"\u0080"},
    {"U+07FF, the last two-byte value", "\xDF\xBF", true, u"\u07FF"},
    {"U+0800, the first three-byte value", "\xE0\xA0\x80", true, u"\u0800"},
    {"U+D7FF, just below the surrogates", "\xED\x9F\xBF", true, u"\uD7FF"},
    {"U+E000, just above the surrogates", "\xEE\x80\x80", true, u"\uE000"},
    {"U+FFFF, a noncharacter is still well-formed", "\xEF\xBF\xBF", true, u"\uFFFF"},
    {"U+10000, the first four-byte value", "\xF0\x90\x80\x80", true, u"\U00010000"},
    {"U+10FFFF, the last code point", "\xF4\x8F\xBF\xBF", true, u"\U0010FFFF"},
    {"an embedded zero byte is text", std::string("a\0b", 3), true, std::u16string(u"a\0b", 3)},
    // Invalid bytes: each one is its own maximal subpart.
    {"a continuation byte without a lead", "\x80", false, u"\uFFFD"},
    {"two stray continuation bytes", "\x80\xBF", false, u"\uFFFD\uFFFD"},
    {"FF never occurs", "a\xFF" "b", false, u"a\uFFFDb"},
    {"FE never occurs", "\xFE", false, u"\uFFFD"},
    // Overlong forms: the lead or the second byte is out of range, so every byte is replaced.
    {"overlong two-byte '/' (C0 AF)", "\xC0\xAF", false, u"\uFFFD\uFFFD"},
    {"overlong two-byte with C1", "\xC1\xBF", false, u"\uFFFD\uFFFD"},
    {"overlong three-byte (E0 80 AF)", "\xE0\x80\xAF", false, u"\uFFFD\uFFFD\uFFFD"},
    {"overlong four-byte (F0 8F BF BF)", "\xF0\x8F\xBF\xBF", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    // Encoded surrogates.
    {"high surrogate D800 (ED A0 80)", "\xED\xA0\x80", false, u"\uFFFD\uFFFD\uFFFD"},
    {"low surrogate DFFF (ED BF BF)", "\xED\xBF\xBF", false, u"\uFFFD\uFFFD\uFFFD"},
    {"an encoded surrogate pair (CESU-8)", "\xED\xA0\xBD\xED\xB8\x80", false, std::u16string(6, u'\uFFFD')},
    // Beyond U+10FFFF.
    {"U+110000 (F4 90 80 80)", "\xF4\x90\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"lead byte F5", "\xF5\x80\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"five-byte form", "\xF8\x88\x80\x80\x80", false, std::u16string(5, u'\uFFFD')},
    // Truncated sequences: the valid prefix is one maximal subpart.
    {"two-byte lead at the end", "a\xC3", false, u"a\uFFFD"},
    {"three-byte sequence cut after two", "\xE2\x82", false, u"\uFFFD"},
    {"four-byte sequence cut after three", "\xF0\x9F\x98", false, u"\uFFFD"},
    {"truncated sequence followed by ASCII", "\xE2\x82" "A", false, u"\uFFFDA"},
    {"truncated sequence followed by a lead", "\xF0\x9F\xC3\xA9", false, u"\uFFFD\u00E9"},
    // The standard's example of maximal subparts, mixed with ASCII.
    {"61 F1 80 80 E1 80 C2 62 80 63 80 BF 64", "a\xF1\x80\x80\xE1\x80\xC2" "b\x80" "c\x80\xBF" "d", false,
     u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
};

struct Utf16Case {
  const char* what;
  std::u16string units;
  bool wellFormed;
  std::string lenient;
};

inline const std::vector<Utf16Case> kUtf16Cases = {
    {"a surrogate pair", u"\U0001F600", true, "\xF0\x9F\x98\x80"},
    {"the last code point", u"\U0010FFFF", true, "\xF4\x8F\xBF\xBF"},
    {"U+FFFF below the surrogates' range end", u"\uFFFF", true, "\xEF\xBF\xBF"},
    {"a lone high surrogate", std::u16string(1, u'\xD83D'), false, "\xEF\xBF\xBD"},
    {"a high surrogate before ASCII", std::u16string{u'\xD83D', u'a'}, false, "\xEF\xBF\xBD" "a"},
    {"a lone low surrogate", std::u16string{u'a', u'\xDE00'}, false, "a\xEF\xBF\xBD"},
    {"a pair in the wrong order", std::u16string{u'\xDE00', u'\xD83D'}, false, "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"two high surrogates, then a low one", std::u16string{u'\xD83D', u'\xD83D', u'\xDE00'}, false,
     "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
};

}  // namespace unicodecases
