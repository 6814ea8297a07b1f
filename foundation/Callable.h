// Something that someone else runs: a thread body, a clean-up for a thread that ends.
#pragma once

template <class Signature>
class Callable;

template <>
class Callable<void (*)()> {
 public:
  virtual void operator()() = 0;
  virtual ~Callable() = default;
};
