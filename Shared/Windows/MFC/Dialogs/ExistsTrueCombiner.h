// The combiner of the host's bool signals: the first slot that answers true decides, and the
// slots connected after it are not called.
#pragma once

struct ExistsTrueCombiner {
  typedef bool result_type;

  // Dereferencing the iterator is what calls a slot, so stopping the walk early skips the rest.
  template <class InputIterator>
  bool operator()(InputIterator first, InputIterator last) const {
    for (; first != last; ++first) {
      if (*first) return true;
    }
    return false;
  }
};
