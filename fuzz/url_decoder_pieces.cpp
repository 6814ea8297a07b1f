// Feeds one text to URLDecoder in pieces and with output windows whose sizes come from the
// input, and checks the bytes against the one-shot URLDecode and against a direct model of
// the escape rules: Filter writes exactly what URLDecode writes, and Finish adds exactly the
// incomplete escape at the end of the text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/LibraryExceptions.h"
#include "foundation/URLDecoder.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsHex(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int Value(unsigned char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

struct Model {
  std::string decoded;
  std::string tail;
};

// The rules read straight off the text, with no state carried between bytes.
Model Decode(std::string_view s) {
  Model m;
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c != '%') {
      m.decoded += s[i++];
    } else if (i + 1 == s.size()) {
      m.tail = "%";
      break;
    } else if (!IsHex(s[i + 1])) {
      m.decoded += '%';
      i += 1;
    } else if (i + 2 == s.size()) {
      m.tail = s.substr(i);
      break;
    } else if (!IsHex(s[i + 2])) {
      m.decoded += s.substr(i, 2);
      i += 2;
    } else {
      m.decoded += static_cast<char>(Value(s[i + 1]) * 16 + Value(s[i + 2]));
      i += 3;
    }
  }
  return m;
}

// Sizes for pieces and output windows, taken in turn from the control bytes; ample ones once
// those are used up, so every run ends.
class Sizes {
 public:
  Sizes(const std::uint8_t* bytes, std::size_t count) : bytes_(bytes), count_(count) {}
  bool Exhausted() const { return next_ >= count_; }
  std::size_t Take(std::size_t limit, std::size_t otherwise) {
    return Exhausted() ? otherwise : bytes_[next_++] % (limit + 1);
  }

 private:
  const std::uint8_t* bytes_;
  std::size_t count_;
  std::size_t next_ = 0;
};

constexpr std::size_t kWindow = 8;

// One Filter call into a window of `room` bytes; DataOverflow is allowed only with the
// window full and the decoder in the middle of an escape.
void FilterOnce(URLDecoder& decoder, ConstByteRange& piece, std::size_t room, std::string& written) {
  unsigned char window[kWindow];
  ByteRange output(window, room);
  try {
    decoder.Filter(piece, output);
  } catch (const DataOverflow&) {
    Require(output.empty() && !decoder.IsIdle());
  }
  written.append(reinterpret_cast<char*>(window), reinterpret_cast<char*>(output.begin));
}

void FinishOnce(URLDecoder& decoder, std::size_t room, std::string& written) {
  unsigned char window[kWindow];
  ByteRange output(window, room);
  try {
    decoder.Finish(output);
  } catch (const DataOverflow&) {
    // Only "%" and a digit overflow, and only after the percent went out.
    Require(room == 1 && output.empty() && decoder.CurrentState() == URLDecoder::DigitPending);
  }
  written.append(reinterpret_cast<char*>(window), reinterpret_cast<char*>(output.begin));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t controls = std::min<std::size_t>(data[0] % 32, size - 1);
  Sizes sizes(data + 1, controls);
  const std::string_view text(reinterpret_cast<const char*>(data + 1 + controls), size - 1 - controls);

  const Model model = Decode(text);
  const CopiedUString<UTF8> oneShot = URLDecode(text);
  Require(oneShot.view() == model.decoded);

  URLDecoder decoder;
  std::string filtered;
  ConstByteRange rest = BytesOf(text);
  int stalls = 0;
  while (!rest.empty()) {
    const std::size_t length = sizes.Take(rest.size(), rest.size());
    ConstByteRange piece(rest.begin, rest.begin + length);
    while (!piece.empty()) {
      const auto consumedBefore = piece.begin;
      const std::size_t producedBefore = filtered.size();
      const std::size_t room = sizes.Take(kWindow, kWindow);
      FilterOnce(decoder, piece, room, filtered);
      // With room in the window a call always moves; an empty one may not.
      const bool moved = piece.begin != consumedBefore || filtered.size() != producedBefore;
      Require(moved || room == 0);
      stalls = moved ? 0 : stalls + 1;
      Require(stalls < 1000);
    }
    rest.begin = piece.begin;
  }
  Require(filtered == model.decoded);

  std::string finished;
  while (!decoder.IsIdle()) {
    const std::size_t room = sizes.Take(3, 3);
    FinishOnce(decoder, room, finished);
    Require(room == 0 || !finished.empty());
  }
  Require(finished == model.tail);

  // Decoding a buffer in place gives the same bytes.
  std::string buffer(text);
  auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
  ConstByteRange in(bytes, buffer.size());
  ByteRange out(bytes, buffer.size());
  URLDecoder inPlace;
  inPlace.Filter(in, out);
  inPlace.Finish(out);
  Require(std::string_view(buffer.data(), reinterpret_cast<char*>(out.begin)) == model.decoded + model.tail);
  return 0;
}
