// Percent-decoding as a filter, so that a text may arrive in any number of pieces and an
// escape may straddle two of them. "+" has no meaning here, and decoded bytes are written as
// they are, whether or not they form valid UTF-8.
#pragma once

#include "foundation/CopiedUString.h"
#include "foundation/DataFilter.h"

class URLDecoder : public DataFilter {
 public:
  enum State : unsigned char {
    Plain = 0,            // copying bytes
    AfterPercent = 1,     // a "%" was read
    AfterFirstDigit = 2,  // a "%" and one hexadecimal digit were read
    DigitPending = 3,     // the "%" of a broken escape is written, the saved digit is not
  };

  // Stops only when it needs more input or more room. Raises DataOverflow when a broken or
  // complete escape has to be written and the output is full; the ranges then show what was
  // consumed and produced, and the decoder can go on with more room.
  void Filter(ConstByteRange& input, ByteRange& output) override;

  bool IsIdle() const override { return state_ == Plain; }

  // Writes a held incomplete escape as it stood in the input ("%" or "%" and its digit).
  // Does nothing while the output is full; raises DataOverflow when only the "%" of "%x" fits.
  void Finish(ByteRange& output) override;

  State CurrentState() const { return state_; }

 private:
  State state_ = Plain;
  unsigned char firstDigit_ = 0;
};

// Decodes a whole text at once. An incomplete escape at the very end ("%" alone or "%" and
// one digit) is dropped.
CopiedUString<UTF8> URLDecode(UStringRef<UTF8> text);
