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

struct Binding {
  Text name;
  Text value;
};

bool operator<(const Binding& a, const Binding& b) {
  const int byName = a.name.view().compare(b.name.view());
  return byName != 0 ? byName < 0 : a.value.view() < b.value.view();
}

// Exactly one slot per value. A few slots live inside the object, so the common calls with
// up to eight values do not touch the heap at all.
class Bindings {
 public:
  explicit Bindings(std::size_t count) : capacity_(count) {
    if (count > kInline) heap_.reset(new Binding[count]);
  }

  bool Full() const { return size_ == capacity_; }
  void Add(Text name, Text value) { Slots()[size_++] = Binding{name, value}; }
  void Sort() { std::sort(Slots(), Slots() + size_); }

  // The value bound to name, or null when it has none.
  const Text* Find(Text name) const {
    const Binding* begin = Slots();
    const Binding* end = begin + size_;
    const Binding* found = std::lower_bound(begin, end, name.view(), [](const Binding& b, std::string_view sought) {
      return b.name.view() < sought;
    });
    return found != end && found->name.view() == name.view() ? &found->value : nullptr;
  }

 private:
  static constexpr std::size_t kInline = 8;
  Binding* Slots() { return heap_ ? heap_.get() : inline_; }
  const Binding* Slots() const { return heap_ ? heap_.get() : inline_; }

  std::size_t capacity_;
  std::size_t size_ = 0;
  std::unique_ptr<Binding[]> heap_;
  Binding inline_[kInline];
};

void CheckValueName(Text name) {
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (!IsNameByte(name[i])) throw ImproperFormatVariableName();
  }
}

// Pairs the key's value variables with the values, in order, and sorts the pairs.
void Bind(Text key, FormatValues values, Bindings& bindings) {
  std::size_t next = 0;
  for (FormatTokenizer tokens(key); !tokens.AtEnd(); tokens.Next()) {
    const FormatToken& token = tokens.Token();
    if (token.kind != FormatTokenKind::Variable) continue;
    const Text name = token.text;
    if (name.empty()) throw ImproperFormatVariableName();
    if (name[0] == '_') {
      if (FindSpecial(name) == nullptr) throw UndefinedFormatVariable();
      continue;
    }
    CheckValueName(name);
    if (next == values.size()) throw TooManyFormatArguments();
    bindings.Add(name, values[next++]);
  }
  if (next != values.size()) throw TooFewFormatArguments();
  bindings.Sort();
}

CopiedUString<UTF8> Render(Text effective, const Bindings& bindings) {
  CopiedUString<UTF8> out;
  for (FormatTokenizer tokens(effective); !tokens.AtEnd(); tokens.Next()) {
    const FormatToken& token = tokens.Token();
    if (token.kind == FormatTokenKind::Literal) {
      out.Append(token.text);
      continue;
    }
    const Text name = token.text;
    if (name.empty()) throw ImproperFormatVariableName();
    if (name[0] == '_') {
      const Special* special = FindSpecial(name);
      if (special == nullptr) throw UndefinedFormatVariable();
      out.Append(Text(special->text));
      continue;
    }
    const Text* value = bindings.Find(name);
    if (value == nullptr) throw UndefinedFormatVariable();
    out.Append(*value);
  }
  return out;
}

}  // namespace

FormatTemplate MakeFormatTemplate(UStringRef<UTF8> text) {
  return FormatTemplate{text, CurrentFormatOverrideContext().Lookup(text, text)};
}

CopiedUString<UTF8> Format(const FormatTemplate& format, FormatValues values) {
  Bindings bindings(values.size());
  Bind(format.key, values, bindings);
  return Render(format.effective, bindings);
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
