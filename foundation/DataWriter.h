// Byte sinks.
#pragma once

#include "foundation/ByteRange.h"

class DataWriter {
 public:
  virtual void Write(ConstByteRange bytes) = 0;
  virtual ~DataWriter() = default;
};

// A sink told when data starts and stops; Write hands each block to Receive.
class DataReceiver : public DataWriter {
 public:
  void Write(ConstByteRange bytes) override { Receive(bytes); }
  ~DataReceiver() override = default;

  virtual void BeginReceiving() = 0;
  virtual void Receive(ConstByteRange bytes) = 0;
  virtual void EndReceiving() = 0;
};

// Discards everything written to it.
class IgnoreDataReceiver : public DataReceiver {
 public:
  constexpr IgnoreDataReceiver() = default;

  void BeginReceiving() override {}
  void Receive(ConstByteRange bytes) override {}
  void EndReceiving() override {}
};
