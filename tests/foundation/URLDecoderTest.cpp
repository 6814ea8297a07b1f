#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "foundation/LibraryExceptions.h"
#include "foundation/URLDecoder.h"

namespace {

struct Case {
  std::string_view text;
  std::string_view decoded;  // URLDecode, and any split of the text fed to one decoder
  std::string_view tail;     // what Finish adds afterwards
  const char* comment;
};

const Case kCases[] = {
    {"", "", "", "empty text"},
    {"%41", "A", "", "one escape"},
    {"%4a%4A", "JJ", "", "lower- and upper-case digits"},
    {"a%20b", "a b", "", "escape between plain bytes"},
    {"a+b", "a+b", "", "plus is a plain byte"},
    {"%zz", "%zz", "", "no digit after the percent"},
    {"%4z", "%4z", "", "broken after one digit: the z is read again"},
    {"%%41", "%A", "", "a percent that starts no escape, then an escape"},
    {"%4%41", "%4A", "", "the percent breaking an escape starts the next one"},
    {"abc%", "abc", "%", "a trailing percent is held"},
    {"abc%4", "abc", "%4", "a trailing percent and digit are held"},
    {"%", "", "%", "a percent alone"},
    {"%%", "%", "%", "the second percent is held"},
    {"%3:%/0%@0%G0%`0%g0", "%3:%/0%@0%G0%`0%g0", "", "bytes next to the digit ranges are not digits"},
    {"%00%ff%FF%7f", std::string_view("\0\xff\xff\x7f", 4), "", "every byte value is written as it is"},
    {"C:%5CProgram%20Files", "C:\\Program Files", "", "a folder link remainder"},
    {"%e2%82%ac%C3", "\xe2\x82\xac\xc3", "", "decoded bytes need not be valid UTF-8"},
    {"100%25%", "100%", "%", "an escaped percent does not start an escape"},
};

std::string_view View(const CopiedUString<UTF8>& text) { return text.view(); }

ConstByteRange Bytes(std::string_view text) { return BytesOf(UStringRef<UTF8>(text)); }

// Feeds the pieces in order into one decoder with ample room; returns what Filter wrote and
// what Finish wrote afterwards.
struct Fed {
  std::string filtered;
  std::string finished;
};

Fed FeedPieces(std::initializer_list<std::string_view> pieces) {
  URLDecoder decoder;
  std::string filtered;
  for (std::string_view piece : pieces) {
    unsigned char out[64];
    ConstByteRange in = Bytes(piece);
    ByteRange output(out, sizeof out);
    decoder.Filter(in, output);
    EXPECT_TRUE(in.empty());
    filtered.append(reinterpret_cast<char*>(out), reinterpret_cast<char*>(output.begin));
  }
  unsigned char out[4];
  ByteRange output(out, sizeof out);
  decoder.Finish(output);
  EXPECT_TRUE(decoder.IsIdle());
  return {filtered, std::string(reinterpret_cast<char*>(out), reinterpret_cast<char*>(output.begin))};
}

TEST(URLDecodeTest, DecodesWholeTexts) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.comment);
    EXPECT_EQ(View(URLDecode(c.text)), c.decoded);
  }
}

TEST(URLDecodeTest, LongTextsLeaveTheInlineStorage) {
  std::string text, expected;
  for (int i = 0; i < 300; ++i) {
    text += "ab%2Fc";
    expected += "ab/c";
  }
  const CopiedUString<UTF8> decoded = URLDecode(std::string_view(text));
  EXPECT_EQ(View(decoded), expected);
  EXPECT_FALSE(decoded.IsInline());
}

TEST(URLDecodeTest, FindsTheEscapeAtEveryOffsetOfALongRun) {
  // Plain runs are scanned in words; the escape may sit anywhere in or after them.
  for (std::size_t offset = 0; offset < 80; ++offset) {
    SCOPED_TRACE(offset);
    const std::string text = std::string(offset, 'a') + "%41%4" + std::string(offset % 19, 'x');
    const std::string expected = std::string(offset, 'a') + "A%4" + std::string(offset % 19, 'x');
    EXPECT_EQ(View(URLDecode(std::string_view(text))), offset % 19 == 0 ? expected.substr(0, offset + 1) : expected);
  }
}

TEST(URLDecoderTest, EverySplitGivesTheOneShotBytesAndFinishAddsTheTail) {
  for (const Case& c : kCases) {
    for (std::size_t split = 0; split <= c.text.size(); ++split) {
      SCOPED_TRACE(std::string(c.comment) + ", split at " + std::to_string(split));
      const Fed fed = FeedPieces({c.text.substr(0, split), c.text.substr(split)});
      EXPECT_EQ(fed.filtered, c.decoded);
      EXPECT_EQ(fed.finished, c.tail);
    }
  }
}

TEST(URLDecoderTest, OneByteOfInputAndOutputAtATime) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.comment);
    URLDecoder decoder;
    std::string written;
    ConstByteRange in = Bytes(c.text);
    // Each call has room for one byte; a call that neither consumes nor produces would hang.
    for (int guard = 0; guard < 100 && !(in.empty() && decoder.IsIdle()); ++guard) {
      unsigned char byte;
      ConstByteRange piece(in.begin, in.empty() ? in.begin : in.begin + 1);
      ByteRange output(&byte, 1);
      if (in.empty()) {
        // "%" and a digit need two calls: the first writes the percent and raises.
        try {
          decoder.Finish(output);
        } catch (const DataOverflow&) {
        }
      } else {
        decoder.Filter(piece, output);
        in.begin = piece.begin;
      }
      if (output.begin != &byte) written += static_cast<char>(byte);
    }
    EXPECT_EQ(written, std::string(c.decoded) + std::string(c.tail));
  }
}

TEST(URLDecoderTest, StateBetweenPieces) {
  URLDecoder decoder;
  EXPECT_TRUE(decoder.IsIdle());
  unsigned char out[8];
  ConstByteRange in = Bytes("a%2");
  ByteRange output(out, sizeof out);
  decoder.Filter(in, output);
  EXPECT_EQ(output.begin, out + 1);
  EXPECT_EQ(decoder.CurrentState(), URLDecoder::AfterFirstDigit);
  EXPECT_FALSE(decoder.IsIdle());

  in = Bytes("0b");
  decoder.Filter(in, output);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), reinterpret_cast<char*>(output.begin)), "a b");
  EXPECT_TRUE(decoder.IsIdle());
}

TEST(URLDecoderTest, FullOutputInMidEscapeOverflows) {
  struct Row {
    std::string_view first;   // leaves the decoder in mid-escape
    std::string_view second;  // needs a byte written before anything else
    std::string_view left;    // input left when DataOverflow is raised
    std::string_view rest;    // written once there is room again
    const char* comment;
  };
  const Row rows[] = {
      {"%", "zz", "zz", "%zz", "a percent that starts no escape"},
      {"%4", "1", "1", "A", "a complete escape"},
      {"%4", "z", "z", "%4z", "an escape broken after its digit"},
      {"x%", "41y", "1y", "Ay", "the first digit is held, the second has no room"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.comment);
    URLDecoder decoder;
    unsigned char out[8];
    ConstByteRange in = Bytes(row.first);
    ByteRange output(out, sizeof out);
    decoder.Filter(in, output);
    EXPECT_FALSE(decoder.IsIdle());

    in = Bytes(row.second);
    ByteRange full(output.begin, output.begin);
    EXPECT_THROW(decoder.Filter(in, full), DataOverflow);
    // The byte that found no room is not consumed, so the decoder goes on once there is room.
    EXPECT_EQ(TextOf(in).view(), row.left);
    EXPECT_FALSE(decoder.IsIdle());

    unsigned char more[8];
    ByteRange room(more, sizeof more);
    decoder.Filter(in, room);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(more), reinterpret_cast<char*>(room.begin)), row.rest);
  }
}

TEST(URLDecoderTest, FullOutputOutsideAnEscapeOnlyStops) {
  // Plain text and a pending digit wait for room without raising.
  URLDecoder decoder;
  unsigned char out[1];
  ConstByteRange in = Bytes("%4zq");
  ByteRange output(out, 1);
  decoder.Filter(in, output);
  EXPECT_EQ(out[0], '%');
  EXPECT_EQ(decoder.CurrentState(), URLDecoder::DigitPending);
  EXPECT_EQ(TextOf(in).view(), "zq");

  ByteRange none(out, out);
  EXPECT_NO_THROW(decoder.Filter(in, none));
  EXPECT_EQ(decoder.CurrentState(), URLDecoder::DigitPending);

  ByteRange one(out, 1);
  decoder.Filter(in, one);
  EXPECT_EQ(out[0], '4');
  EXPECT_EQ(decoder.CurrentState(), URLDecoder::Plain);
  EXPECT_EQ(TextOf(in).view(), "zq");
}

TEST(URLDecoderTest, FinishWithLittleRoom) {
  // A full output keeps the held escape for later.
  URLDecoder decoder;
  unsigned char out[4];
  ConstByteRange in = Bytes("a%4");
  ByteRange output(out, sizeof out);
  decoder.Filter(in, output);
  ByteRange none(output.begin, output.begin);
  decoder.Finish(none);
  EXPECT_EQ(decoder.CurrentState(), URLDecoder::AfterFirstDigit);

  // Room for the percent only: it is written, the digit is owed, and a second Finish pays it
  // without repeating the percent.
  unsigned char one[1];
  ByteRange small(one, 1);
  EXPECT_THROW(decoder.Finish(small), DataOverflow);
  EXPECT_EQ(one[0], '%');
  EXPECT_EQ(small.begin, one + 1);
  EXPECT_EQ(decoder.CurrentState(), URLDecoder::DigitPending);
  ByteRange again(one, 1);
  decoder.Finish(again);
  EXPECT_EQ(one[0], '4');
  EXPECT_TRUE(decoder.IsIdle());
}

TEST(URLDecoderTest, DecodesInPlace) {
  std::string buffer = "a%20b%zz%2";
  auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
  ConstByteRange in(bytes, buffer.size());
  ByteRange out(bytes, buffer.size());
  URLDecoder decoder;
  decoder.Filter(in, out);
  decoder.Finish(out);
  EXPECT_EQ(std::string_view(buffer.data(), reinterpret_cast<char*>(out.begin)), "a b%zz%2");
}

}  // namespace
