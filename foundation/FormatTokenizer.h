// Splits a template into literals and variables. A literal is a run without "{"; a variable
// is the name between a "{" and the next "}". A "}" outside a variable is literal text.
#pragma once

#include "foundation/UStringRef.h"

enum class FormatTokenKind { Literal, Variable };

struct FormatToken {
  FormatTokenKind kind = FormatTokenKind::Literal;
  // The literal's text, or the variable's name without its braces.
  UStringRef<UTF8> text;
};

// Walk a template with
//   for (FormatTokenizer t(text); !t.AtEnd(); t.Next()) use(t.Token());
// The first token is computed on construction, so a template that starts with an unclosed
// "{" throws BadFormatStringError before the walk begins. Inline, because every message and
// every dialog text is walked twice and the templates are short.
class FormatTokenizer {
 public:
  explicit FormatTokenizer(UStringRef<UTF8> text)
      : end_(text.begin() + text.size()), position_(text.begin()), after_(text.begin()) {
    Compute();
  }

  bool AtEnd() const { return position_ == end_; }
  const FormatToken& Token() const { return token_; }
  void Next() {
    position_ = after_;
    Compute();
  }

 private:
  [[noreturn]] static void ThrowUnclosed();

  // A plain loop: templates are short, and a library search costs more to call than to run.
  static const char* Find(const char* from, const char* end, char byte) {
    while (from != end && *from != byte) ++from;
    return from;
  }

  void Compute() {
    if (position_ == end_) {
      token_ = FormatToken{FormatTokenKind::Literal, UStringRef<UTF8>(end_, end_)};
      after_ = end_;
      return;
    }
    if (*position_ != '{') {
      after_ = Find(position_, end_, '{');
      token_ = FormatToken{FormatTokenKind::Literal, UStringRef<UTF8>(position_, after_)};
      return;
    }
    const char* close = Find(position_ + 1, end_, '}');
    if (close == end_) ThrowUnclosed();
    token_ = FormatToken{FormatTokenKind::Variable, UStringRef<UTF8>(position_ + 1, close)};
    after_ = close + 1;
  }

  const char* end_;
  const char* position_;
  const char* after_;
  FormatToken token_;
};
