// A text receiver that collects the pieces it receives into one owned string.
#pragma once

#include <cstddef>
#include <utility>

#include "foundation/CopiedUString.h"
#include "foundation/UTextReceiver.h"

template <class E>
class UStringBuilder : public UTextReceiver<E> {
 public:
  // The expected final length in code units. When the caller knows it exactly, Begin reserves
  // it once and Receive never has to grow the text.
  std::size_t sizeHint = 0;

  UStringBuilder() = default;
  explicit UStringBuilder(std::size_t hint) : sizeHint(hint) {}

  // Starts over with an empty text: a heap block of exactly sizeHint units when the hint
  // exceeds the 64 units inside the string, else the inline units.
  void Begin(unsigned reserved = 0) override { text_ = CopiedUString<E>::WithCapacity(sizeHint); }

  // Copies in place when the piece fits; otherwise the string grows to the largest of the new
  // length, twice the old length and 64 units, which keeps repeated appends linear. A failed
  // allocation leaves the text as it was.
  void Receive(UStringRef<E> piece) override { text_.Append(piece); }

  void End() override {}

  // Counted in code units of E: bytes for UTF-8, 16-bit units for UTF-16.
  std::size_t LengthWith(UStringRef<E> piece) const override { return text_.size() + piece.size(); }

  // The text collected so far.
  const CopiedUString<E>& Text() const { return text_; }

  // Hands the collected text to the caller; the builder is left with an empty text.
  CopiedUString<E> TakeText() { return std::move(text_); }

 private:
  CopiedUString<E> text_;
};
