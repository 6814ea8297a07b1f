// An owning text string with room for 64 code units inside the object. No terminator
// follows the text; short texts never touch the heap.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "foundation/UStringRef.h"

template <class E>
class CopiedUString {
 public:
  using Unit = typename E::Unit;
  static constexpr std::size_t kInlineUnits = 64;

  CopiedUString() = default;

  explicit CopiedUString(UStringRef<E> text) {
    Allocate(text.size());
    Append(text);
  }

  explicit CopiedUString(std::basic_string_view<Unit> text) : CopiedUString(UStringRef<E>(text)) {}

  CopiedUString(const CopiedUString& other) : CopiedUString(other.Ref()) {}

  CopiedUString(CopiedUString&& other) noexcept { TakeFrom(other); }

  CopiedUString& operator=(const CopiedUString& other) {
    if (this != &other) {
      CopiedUString copy(other);
      *this = std::move(copy);
    }
    return *this;
  }

  // The target frees its own block, then takes over the source's block or copies its inline
  // units; the source is left empty.
  CopiedUString& operator=(CopiedUString&& other) noexcept {
    if (this != &other) {
      FreeHeap();
      TakeFrom(other);
    }
    return *this;
  }

  ~CopiedUString() { FreeHeap(); }

  // Storage for `units` code units, empty: inline up to 64, else a heap block of exactly that size.
  static CopiedUString WithCapacity(std::size_t units) {
    CopiedUString s;
    s.Allocate(units);
    return s;
  }

  const Unit* begin() const { return begin_; }
  const Unit* end() const { return end_; }
  Unit* data() { return begin_; }
  const Unit* data() const { return begin_; }
  std::size_t size() const { return static_cast<std::size_t>(end_ - begin_); }
  bool empty() const { return end_ == begin_; }
  std::size_t Capacity() const { return capacity_; }
  bool IsInline() const { return begin_ == inline_; }
  UStringRef<E> Ref() const { return UStringRef<E>(begin_, end_); }
  operator UStringRef<E>() const { return Ref(); }
  std::basic_string_view<Unit> view() const { return {begin_, size()}; }

  // Appends in place when it fits, else grows to max(n + k, 2n, 64) units.
  void Append(UStringRef<E> text) {
    const std::size_t k = text.size();
    if (k == 0) return;
    const std::size_t n = size();
    if (n + k <= capacity_) {
      std::memmove(end_, text.begin(), k * sizeof(Unit));
      end_ += k;
      return;
    }
    const std::size_t grown = std::max({n + k, 2 * n, kInlineUnits});
    std::unique_ptr<Unit[]> block(new Unit[grown]);
    std::memcpy(block.get(), begin_, n * sizeof(Unit));
    std::memcpy(block.get() + n, text.begin(), k * sizeof(Unit));
    FreeHeap();
    begin_ = block.release();
    end_ = begin_ + n + k;
    capacity_ = grown;
  }

  void Append(Unit unit) { Append(UStringRef<E>(&unit, 1)); }

  // Moves the end within the storage.
  void SetEnd(const Unit* position) {
    if (position < begin_ || position > begin_ + capacity_) throw std::out_of_range("SetEnd out of range");
    end_ = const_cast<Unit*>(position);
  }

 private:
  void Allocate(std::size_t units) {
    FreeHeap();
    if (units <= kInlineUnits) return;
    begin_ = new Unit[units];
    end_ = begin_;
    capacity_ = units;
  }

  void FreeHeap() {
    if (!IsInline()) delete[] begin_;
    ResetInline();
  }

  void ResetInline() {
    begin_ = inline_;
    end_ = inline_;
    capacity_ = kInlineUnits;
  }

  void TakeFrom(CopiedUString& other) noexcept {
    if (other.IsInline()) {
      std::memcpy(inline_, other.inline_, other.size() * sizeof(Unit));
      begin_ = inline_;
      end_ = inline_ + other.size();
      capacity_ = kInlineUnits;
    } else {
      begin_ = other.begin_;
      end_ = other.end_;
      capacity_ = other.capacity_;
    }
    other.ResetInline();
  }

  Unit* begin_ = inline_;
  Unit* end_ = inline_;
  std::size_t capacity_ = kInlineUnits;
  Unit inline_[kInlineUnits];
};

template <class E>
bool operator==(const CopiedUString<E>& a, UStringRef<E> b) {
  return a.view() == b.view();
}

using U8String = CopiedUString<UTF8>;
using U16String = CopiedUString<UTF16>;
