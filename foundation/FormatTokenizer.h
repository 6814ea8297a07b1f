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
// "{" throws BadFormatStringError before the walk begins.
class FormatTokenizer {
 public:
  explicit FormatTokenizer(UStringRef<UTF8> text);

  bool AtEnd() const { return position_ == end_; }
  const FormatToken& Token() const { return token_; }
  void Next();

 private:
  void Compute();

  const char* end_;
  const char* position_;
  const char* after_;
  FormatToken token_;
};
