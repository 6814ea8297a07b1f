// A non-owning view of text: a begin and an end position of code units, no terminator.
#pragma once

#include <cstddef>
#include <string_view>

#include "foundation/Encoding.h"

template <class E>
class UStringRef {
 public:
  using Unit = typename E::Unit;

  constexpr UStringRef() = default;
  constexpr UStringRef(const Unit* begin, const Unit* end) : begin_(begin), end_(end) {}
  constexpr UStringRef(const Unit* begin, std::size_t length) : begin_(begin), end_(begin + length) {}
  // Views of literals and standard strings; the caller keeps the text alive.
  constexpr UStringRef(std::basic_string_view<Unit> text)
      : begin_(text.data()), end_(text.data() + text.size()) {}

  constexpr const Unit* begin() const { return begin_; }
  constexpr const Unit* end() const { return end_; }
  constexpr const Unit* data() const { return begin_; }
  // A view whose end is not after its begin counts as empty.
  constexpr std::size_t size() const { return end_ > begin_ ? static_cast<std::size_t>(end_ - begin_) : 0; }
  constexpr bool empty() const { return size() == 0; }
  constexpr Unit operator[](std::size_t i) const { return begin_[i]; }
  constexpr std::basic_string_view<Unit> view() const { return {begin_, size()}; }

 private:
  const Unit* begin_ = nullptr;
  const Unit* end_ = nullptr;
};

template <class E>
constexpr bool operator==(UStringRef<E> a, UStringRef<E> b) {
  return a.view() == b.view();
}

using U8Ref = UStringRef<UTF8>;
using U16Ref = UStringRef<UTF16>;
