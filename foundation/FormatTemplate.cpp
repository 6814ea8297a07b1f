#include "foundation/FormatTemplate.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "foundation/FormatOverrideContext.h"
#include "foundation/FormatTokenizer.h"
#include "foundation/LibraryExceptions.h"

namespace {

using Text = UStringRef<UTF8>;

struct Special {
  std::string_view name;
  std::string_view text;
};

// Sorted by name in byte order ("_cr" before "_crlf"), searched by binary search.
constexpr Special kSpecials[] = {
    {"_cbrace", "}"}, {"_cr", "\r"}, {"_crlf", "\r\n"}, {"_lf", "\n"}, {"_obrace", "{"}, {"_tab", "\t"},
};

const Special* FindSpecial(Text name) {
  const auto found = std::lower_bound(std::begin(kSpecials), std::end(kSpecials), name.view(),
                                      [](const Special& s, std::string_view sought) { return s.name < sought; });
  return found != std::end(kSpecials) && found->name == name.view() ? found : nullptr;
}

bool IsNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Byte order, written out: names are a few bytes long, shorter than a library call.
inline int CompareBytes(Text a, Text b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

inline bool SameBytes(Text a, Text b) { return a.size() == b.size() && CompareBytes(a, b) == 0; }

struct Binding {
  Text name;
  Text value;
};

bool operator<(const Binding& a, const Binding& b) {
  const int byName = CompareBytes(a.name, b.name);
  return byName != 0 ? byName < 0 : CompareBytes(a.value, b.value) < 0;
}

// Exactly one slot per value. A few slots live inside the object, so the common calls with
// up to eight values do not touch the heap at all.
class Bindings {
 public:
  explicit Bindings(std::size_t count) {
    if (count > kInline) heap_.reset(new Binding[count]);
  }

  void Add(Text name, Text value) { Slots()[size_++] = Binding{name, value}; }

  // Insertion sort for the usual handful of pairs.
  void Sort() {
    Binding* slots = Slots();
    if (size_ > 16) {
      std::sort(slots, slots + size_);
      return;
    }
    for (std::size_t i = 1; i < size_; ++i) {
      const Binding moving = slots[i];
      std::size_t j = i;
      for (; j > 0 && moving < slots[j - 1]; --j) slots[j] = slots[j - 1];
      slots[j] = moving;
    }
  }

  // Sorted pairs with equal names sit next to each other.
  bool HasRepeatedName() const {
    const Binding* slots = Slots();
    for (std::size_t i = 1; i < size_; ++i) {
      if (SameBytes(slots[i - 1].name, slots[i].name)) return true;
    }
    return false;
  }

  // The value of the first pair whose name is not less than name, if that pair has name.
  const Text* Find(Text name) const {
    const Binding* begin = Slots();
    const Binding* end = begin + size_;
    const Binding* found = std::lower_bound(
        begin, end, name, [](const Binding& b, Text sought) { return CompareBytes(b.name, sought) < 0; });
    return found != end && SameBytes(found->name, name) ? &found->value : nullptr;
  }

 private:
  static constexpr std::size_t kInline = 8;
  // Raw storage: the pairs are written before they are read, so there is nothing to clear.
  Binding* Slots() { return heap_ ? heap_.get() : reinterpret_cast<Binding*>(inline_); }
  const Binding* Slots() const { return heap_ ? heap_.get() : reinterpret_cast<const Binding*>(inline_); }

  std::size_t size_ = 0;
  std::unique_ptr<Binding[]> heap_;
  alignas(Binding) unsigned char inline_[kInline * sizeof(Binding)];
};

// The tokens of one walk with the text each stands for, kept so that the result can be
// measured before it is built and, when the key is also the effective template, so that it
// is not walked a second time. Templates with more tokens than fit are rendered piece by
// piece instead.
class TokenList {
 public:
  static constexpr std::size_t kCapacity = 32;

  // Adds a token; `resolved` is what it renders as, when that is known already.
  void Add(const FormatToken& token, Text resolved = Text()) {
    if (count_ == kCapacity) {
      overflow_ = true;
      return;
    }
    Piece& piece = pieces_[count_++];
    piece.token = token.text.begin();
    piece.tokenEnd = token.text.begin() + token.text.size();
    piece.variable = token.kind == FormatTokenKind::Variable;
    Set(piece, piece.variable ? resolved : token.text);
  }

  void ResolveLast(Text resolved) {
    if (!overflow_) Set(pieces_[count_ - 1], resolved);
  }

  bool Complete() const { return !overflow_; }
  std::size_t size() const { return count_; }
  bool IsVariable(std::size_t i) const { return pieces_[i].variable; }
  Text Name(std::size_t i) const { return Text(pieces_[i].token, pieces_[i].tokenEnd); }
  Text Resolved(std::size_t i) const { return Text(pieces_[i].text, pieces_[i].textEnd); }
  void Resolve(std::size_t i, Text text) { Set(pieces_[i], text); }

 private:
  struct Piece {
    const char* token;  // the literal, or the variable's name
    const char* tokenEnd;
    const char* text;  // what the token renders as
    const char* textEnd;
    bool variable;
  };
  static void Set(Piece& piece, Text text) {
    piece.text = text.begin();
    piece.textEnd = text.begin() + text.size();
  }
  std::size_t count_ = 0;
  bool overflow_ = false;
  Piece pieces_[kCapacity];  // left uninitialised: a piece is written before it is read
};

void CheckValueName(Text name) {
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (!IsNameByte(name[i])) throw ImproperFormatVariableName();
  }
}

// Pairs the key's value variables with the values, in order, and sorts the pairs. The key's
// tokens are kept in `tokens`, each variable with the text it was paired with.
void Bind(Text key, FormatValues values, Bindings& bindings, TokenList& tokens) {
  std::size_t next = 0;
  for (FormatTokenizer walk(key); !walk.AtEnd(); walk.Next()) {
    const FormatToken& token = walk.Token();
    tokens.Add(token);
    if (token.kind != FormatTokenKind::Variable) continue;
    const Text name = token.text;
    if (name.empty()) throw ImproperFormatVariableName();
    if (name[0] == '_') {
      const Special* special = FindSpecial(name);
      if (special == nullptr) throw UndefinedFormatVariable();
      tokens.ResolveLast(Text(special->text));
      continue;
    }
    CheckValueName(name);
    if (next == values.size()) throw TooManyFormatArguments();
    bindings.Add(name, values[next]);
    tokens.ResolveLast(values[next]);
    ++next;
  }
  if (next != values.size()) throw TooFewFormatArguments();
  bindings.Sort();
}

// The text a variable stands for. No character rule applies to names here.
Text Resolve(Text name, const Bindings& bindings) {
  if (name.empty()) throw ImproperFormatVariableName();
  if (name[0] == '_') {
    const Special* special = FindSpecial(name);
    if (special == nullptr) throw UndefinedFormatVariable();
    return Text(special->text);
  }
  const Text* value = bindings.Find(name);
  if (value == nullptr) throw UndefinedFormatVariable();
  return *value;
}

// Appends as it walks; for templates whose tokens do not fit a TokenList.
CopiedUString<UTF8> RenderStreaming(Text effective, const Bindings& bindings) {
  CopiedUString<UTF8> out;
  for (FormatTokenizer walk(effective); !walk.AtEnd(); walk.Next()) {
    const FormatToken& token = walk.Token();
    out.Append(token.kind == FormatTokenKind::Literal ? token.text : Resolve(token.text, bindings));
  }
  return out;
}

// Builds the result from resolved tokens in storage of its exact size.
CopiedUString<UTF8> Concatenate(const TokenList& tokens) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) length += tokens.Resolved(i).size();
  CopiedUString<UTF8> out = CopiedUString<UTF8>::WithCapacity(length);
  for (std::size_t i = 0; i < tokens.size(); ++i) out.Append(tokens.Resolved(i));
  return out;
}

void ResolveVariables(TokenList& tokens, const Bindings& bindings) {
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens.IsVariable(i)) tokens.Resolve(i, Resolve(tokens.Name(i), bindings));
  }
}

CopiedUString<UTF8> Render(Text key, Text effective, TokenList& keyTokens, const Bindings& bindings) {
  const bool sameText = effective.begin() == key.begin() && effective.size() == key.size();
  if (sameText && keyTokens.Complete()) {
    // Each variable of the key already carries the value paired with it, which is what a
    // lookup by name finds unless a name occurs twice: then the one that sorts first wins.
    if (bindings.HasRepeatedName()) ResolveVariables(keyTokens, bindings);
    return Concatenate(keyTokens);
  }
  TokenList tokens;
  for (FormatTokenizer walk(effective); !walk.AtEnd(); walk.Next()) tokens.Add(walk.Token());
  if (!tokens.Complete()) return RenderStreaming(effective, bindings);
  ResolveVariables(tokens, bindings);
  return Concatenate(tokens);
}

}  // namespace

FormatTemplate MakeFormatTemplate(UStringRef<UTF8> text) {
  return FormatTemplate{text, CurrentFormatOverrideContext().Lookup(text, text)};
}

CopiedUString<UTF8> Format(const FormatTemplate& format, FormatValues values) {
  Bindings bindings(values.size());
  TokenList keyTokens;
  Bind(format.key, values, bindings, keyTokens);
  return Render(format.key, format.effective, keyTokens, bindings);
}

CopiedUString<UTF8> Format(const FormatTemplate& format, std::initializer_list<UStringRef<UTF8>> values) {
  return Format(format, FormatValues(values.begin(), values.size()));
}

CopiedUString<UTF8> Format(UStringRef<UTF8> text, FormatValues values) {
  return Format(FormatTemplate{text, text}, values);
}

CopiedUString<UTF8> Format(UStringRef<UTF8> text, std::initializer_list<UStringRef<UTF8>> values) {
  return Format(FormatTemplate{text, text}, FormatValues(values.begin(), values.size()));
}
