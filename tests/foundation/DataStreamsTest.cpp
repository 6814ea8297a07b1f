#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "WideText.h"
#include "foundation/CaseFilters.h"
#include "foundation/ConstDataReader.h"
#include "foundation/LibraryExceptions.h"
#include "foundation/StandardStreams.h"
#include "foundation/UStringBuilder.h"

namespace {

ConstByteRange Bytes(std::string_view text) { return BytesOf(UStringRef<UTF8>(text)); }

std::string Text(const unsigned char* begin, const unsigned char* end) {
  return std::string(reinterpret_cast<const char*>(begin), reinterpret_cast<const char*>(end));
}

TEST(ConstDataReaderTest, ReadsSomeAndAllOrNothingFromFiveBytes) {
  const std::string_view block = "12345";
  ConstDataReader reader(Bytes(block));
  unsigned char buffer[3] = {};

  ByteRange range(buffer, 3);
  reader.ReadSome(range);
  EXPECT_EQ(range.begin, buffer + 3);
  EXPECT_EQ(Text(buffer, buffer + 3), "123");
  EXPECT_EQ(reader.Remaining().size(), 2u);

  // Two bytes left for three: nothing is consumed.
  EXPECT_THROW(reader.ReadFully(ByteRange(buffer, 3)), NoMoreData);
  EXPECT_EQ(reader.Remaining().size(), 2u);

  range = ByteRange(buffer, 3);
  reader.ReadSome(range);
  EXPECT_EQ(range.begin, buffer + 2);
  EXPECT_EQ(Text(buffer, buffer + 2), "45");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.HasData());

  reader.Reset();
  unsigned char all[5] = {};
  reader.ReadFully(ByteRange(all, 5));
  EXPECT_EQ(Text(all, all + 5), "12345");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(DataReaderTest, EmptyRangeNeverThrowsAndEmptyReaderRefusesBytes) {
  const std::string_view block = "abc";
  ConstDataReader fresh(Bytes(block));
  ConstDataReader drained(Bytes(block));
  unsigned char sink[3];
  drained.ReadFully(ByteRange(sink, 3));
  ConstDataReader overNothing{ConstByteRange()};
  EmptyDataReader empty;

  DataReader* readers[] = {&fresh, &drained, &overNothing, &empty, &TheEmptyDataReader()};
  for (DataReader* reader : readers) {
    EXPECT_NO_THROW(reader->ReadFully(ByteRange()));
    // A begin beyond the end is an empty range too.
    EXPECT_NO_THROW(reader->ReadFully(ByteRange(sink + 2, sink + 1)));
  }
  EXPECT_EQ(fresh.Remaining().size(), 3u);

  EXPECT_THROW(empty.ReadFully(ByteRange(sink, 1)), NoMoreData);
  ByteRange range(sink, 3);
  empty.ReadSome(range);
  EXPECT_EQ(range.begin, sink);
}

// Hands out at most two bytes per ReadSome, so the default ReadFully has to loop.
class TrickleReader : public DataReader {
 public:
  explicit TrickleReader(std::string data) : data_(std::move(data)) {}
  void Reset() override { position_ = 0; }
  bool AtEnd() const override { return position_ >= data_.size(); }
  void ReadSome(ByteRange& range) override {
    std::size_t n = std::min({range.size(), data_.size() - position_, std::size_t{2}});
    std::memcpy(range.begin, data_.data() + position_, n);
    position_ += n;
    range.begin += n;
  }
  std::size_t position_ = 0;

 private:
  std::string data_;
};

TEST(DataReaderTest, DefaultReadFullyLoopsAndConsumesWhatItGotBeforeThrowing) {
  TrickleReader reader("abcdefg");
  unsigned char buffer[8] = {};
  reader.ReadFully(ByteRange(buffer, 5));
  EXPECT_EQ(Text(buffer, buffer + 5), "abcde");
  EXPECT_EQ(reader.position_, 5u);

  // Only two bytes left for three: they are consumed, then NoMoreData.
  EXPECT_THROW(reader.ReadFully(ByteRange(buffer, 3)), NoMoreData);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(Text(buffer, buffer + 2), "fg");
}

TEST(UStringBuilderTest, GrowsOnlyWhenThePiecesOutgrowTheRoom) {
  struct Row {
    std::size_t hint;
    std::vector<std::size_t> pieces;
    std::size_t capacityAfterBegin;
    std::size_t finalCapacity;
    const char* comment;
  };
  const Row rows[] = {
      {0, {40, 30}, 64, 80, "inline 64, then twice the old length"},
      {100, {40, 30, 30}, 100, 100, "the hint is reserved once and never outgrown"},
      {64, {64}, 64, 64, "a hint of exactly 64 stays inside the object"},
      {65, {10}, 65, 65, "a hint above 64 is a heap block of exactly that size"},
      {0, {10, 100}, 64, 110, "the new length wins over twice the old one"},
      {0, {0, 0}, 64, 64, "empty pieces change nothing"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.comment);
    UStringBuilder<UTF8> builder(row.hint);
    builder.Begin();
    EXPECT_EQ(builder.Text().Capacity(), row.capacityAfterBegin);
    EXPECT_EQ(builder.Text().IsInline(), row.hint <= 64);
    std::string expected;
    for (std::size_t i = 0; i < row.pieces.size(); ++i) {
      const std::string piece(row.pieces[i], static_cast<char>('a' + i));
      builder.Receive(UStringRef<UTF8>(std::string_view(piece)));
      expected += piece;
    }
    builder.End();
    EXPECT_EQ(builder.Text().Capacity(), row.finalCapacity);
    const CopiedUString<UTF8> text = builder.TakeText();
    EXPECT_EQ(text.view(), expected);
    EXPECT_TRUE(builder.Text().empty());
  }
}

TEST(UStringBuilderTest, BeginStartsOverAndLengthWithCountsCodeUnits) {
  UStringBuilder<UTF16> builder(200);
  builder.Begin();
  builder.Receive(WStringView(WIDE("old text")));
  builder.Begin();
  EXPECT_TRUE(builder.Text().empty());
  EXPECT_EQ(builder.Text().Capacity(), 200u);

  builder.Receive(WStringView(WIDE("\u00e9t\u00e9 ")));
  builder.Receive(WStringView(WIDE("\U0001F600")));
  EXPECT_EQ(builder.Text().view(), WIDE("\u00e9t\u00e9 \U0001F600"));
  // Four units so far and a surrogate pair to come.
  EXPECT_EQ(builder.LengthWith(WStringView(WIDE("\U0001F600"))), 8u);

  UStringBuilder<UTF8> bytes;
  bytes.Begin();
  bytes.Receive(std::string_view("\xc3\xa9"));
  EXPECT_EQ(bytes.LengthWith(std::string_view("ab")), 4u);

  // The base receiver keeps nothing.
  UTextReceiver<UTF8> base;
  EXPECT_EQ(base.LengthWith(std::string_view("ab")), 0u);
}

TEST(DataFilterTest, IdentityCopiesWhatBothRangesAllow) {
  const std::string_view input = "0123456789";
  unsigned char out[4] = {};
  ConstByteRange in = Bytes(input);
  ByteRange output(out, 4);
  DataFilter& identity = TheIdentityFilter();
  identity.Filter(in, output);
  EXPECT_EQ(Text(out, out + 4), "0123");
  EXPECT_EQ(output.begin, out + 4);
  EXPECT_EQ(TextOf(in).view(), "456789");
  EXPECT_TRUE(identity.IsIdle());

  // A full output leaves the input as it is; Finish owes nothing.
  identity.Filter(in, output);
  EXPECT_EQ(in.size(), 6u);
  ByteRange room(out, 4);
  identity.Finish(room);
  EXPECT_EQ(room.begin, out);
}

TEST(DataFilterTest, ApplyFilterSkipsEmptyInput) {
  class CountingFilter : public DataFilter {
   public:
    void Filter(ConstByteRange& input, ByteRange& output) override {
      ++calls;
      DataFilter::Filter(input, output);
    }
    int calls = 0;
  } filter;
  unsigned char out[4];
  const unsigned char byte = 'x';
  ConstByteRange empties[] = {ConstByteRange(), ConstByteRange(&byte, &byte), ConstByteRange(&byte + 1, &byte)};
  for (ConstByteRange input : empties) {
    ByteRange output(out, 4);
    ApplyFilter(filter, input, output);
  }
  EXPECT_EQ(filter.calls, 0);

  ConstByteRange input(&byte, 1);
  ByteRange output(out, 4);
  ApplyFilter(filter, input, output);
  EXPECT_EQ(filter.calls, 1);
  EXPECT_EQ(out[0], 'x');
}

TEST(CaseFiltersTest, MapAsciiLettersOnlyAndStopWhenOutputIsFull) {
  struct Row {
    DataFilter* filter;
    std::string_view input;
    std::size_t room;
    std::string_view written;
    std::string_view left;
    const char* comment;
  };
  Ascii::CaseLoweringFilter lower;
  Ascii::CaseRaisingFilter raise;
  const Row rows[] = {
      {&lower, "ABC-\xc3\x89", 16, "abc-\xc3\x89", "", "bytes above 0x7F pass unchanged"},
      {&lower, "ABC-\xc3\xa9", 2, "ab", "C-\xc3\xa9", "a full output stops the filter"},
      {&raise, "az@[`{AZ\xe9", 16, "AZ@[`{AZ\xe9", "", "neighbours of the letters stay"},
      {&lower, "@AZ[`az{", 16, "@az[`az{", "", "neighbours of the letters stay"},
      {&raise, "abc", 0, "", "abc", "no room, nothing consumed"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.comment);
    unsigned char out[16] = {};
    ConstByteRange in = Bytes(row.input);
    ByteRange output(out, row.room);
    row.filter->Filter(in, output);
    EXPECT_EQ(Text(out, output.begin), row.written);
    EXPECT_EQ(TextOf(in).view(), row.left);
    EXPECT_TRUE(row.filter->IsIdle());
  }
}

TEST(CaseFiltersTest, RaiseInPlace) {
  unsigned char buffer[] = {'m', 'i', 'X', '1'};
  ConstByteRange in(buffer, 4);
  ByteRange out(buffer, 4);
  Ascii::CaseRaisingFilter().Filter(in, out);
  EXPECT_EQ(Text(buffer, buffer + 4), "MIX1");
}

}  // namespace
