// The read-only stream that hands in-memory pages to the browser.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <objidl.h>
#include <ocidl.h>

#include "Shared/Windows/MFC/Dialogs/DataReaderStream.h"
#include "foundation/ConstDataReader.h"

namespace {

ConstByteRange Bytes(std::string_view text) { return BytesOf(UStringRef<UTF8>(text)); }

TEST(DataReaderStream, ReadCopiesWhatIsLeftAndReportsIt) {
  ConstDataReader reader(Bytes("<p>hello</p>"));
  DataReaderStream stream(reader);
  char buffer[8] = {};
  struct Step {
    ULONG asked;
    ULONG expected;
    const char* copied;
  } steps[] = {
      {0, 0, ""},          // nothing asked: nothing copied, S_OK
      {5, 5, "<p>he"},
      {8, 7, "llo</p>"},   // fewer than asked
      {8, 0, ""},          // at the end
  };
  for (const Step& step : steps) {
    ULONG read = 99;
    EXPECT_EQ(stream.Read(buffer, step.asked, &read), S_OK);
    EXPECT_EQ(read, step.expected);
    EXPECT_EQ(std::string(buffer, read), step.copied);
  }
}

TEST(DataReaderStream, ReadWithoutCountStillCopies) {
  ConstDataReader reader(Bytes("abc"));
  DataReaderStream stream(reader);
  char buffer[4] = {};
  EXPECT_EQ(stream.Read(buffer, 4, nullptr), S_OK);
  EXPECT_EQ(std::string(buffer), "abc");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(DataReaderStream, NoBufferForAnyBytesIsRefused) {
  ConstDataReader reader(Bytes("abc"));
  DataReaderStream stream(reader);
  ULONG read = 7;
  EXPECT_EQ(stream.Read(nullptr, 3, &read), STG_E_INVALIDPOINTER);
  EXPECT_EQ(stream.Read(nullptr, 0, &read), S_OK);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(reader.Remaining().size(), 3u);
}

// A reader that fails stands for a source whose bytes are gone.
class FailingReader : public DataReader {
 public:
  void Reset() override {}
  bool AtEnd() const override { return false; }
  void ReadSome(ByteRange&) override { throw std::runtime_error("gone"); }
};

TEST(DataReaderStream, ReaderFailureIsUnexpected) {
  FailingReader reader;
  DataReaderStream stream(reader);
  char buffer[4];
  ULONG read = 7;
  EXPECT_EQ(stream.Read(buffer, 4, &read), E_UNEXPECTED);
}

TEST(DataReaderStream, InterfacesAndCounts) {
  ConstDataReader reader(Bytes(""));
  DataReaderStream stream(reader);
  struct Case {
    const IID* iid;
    HRESULT expected;
  } cases[] = {
      {&IID_IUnknown, S_OK},
      {&IID_IStream, S_OK},
      {&IID_ISequentialStream, S_OK},
      {&IID_IPersistStream, E_NOINTERFACE},
      {&IID_IPersistStreamInit, E_NOINTERFACE},
  };
  for (const Case& c : cases) {
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(stream.QueryInterface(*c.iid, &out), c.expected);
    EXPECT_EQ(out, c.expected == S_OK ? static_cast<void*>(static_cast<IStream*>(&stream)) : nullptr);
  }
  // Nothing is counted: the stream lives on its user's stack.
  EXPECT_EQ(stream.AddRef(), 1u);
  EXPECT_EQ(stream.Release(), 1u);
  EXPECT_EQ(stream.Release(), 1u);
}

TEST(DataReaderStream, EverythingButReadingIsNotImplemented) {
  ConstDataReader reader(Bytes("x"));
  DataReaderStream stream(reader);
  IStream& s = stream;
  LARGE_INTEGER move{};
  ULARGE_INTEGER size{};
  STATSTG stat{};
  IStream* clone = nullptr;
  ULONG written = 0;
  EXPECT_EQ(s.Write("y", 1, &written), E_NOTIMPL);
  EXPECT_EQ(s.Seek(move, STREAM_SEEK_SET, nullptr), E_NOTIMPL);
  EXPECT_EQ(s.SetSize(size), E_NOTIMPL);
  EXPECT_EQ(s.CopyTo(nullptr, size, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(s.Commit(0), E_NOTIMPL);
  EXPECT_EQ(s.Revert(), E_NOTIMPL);
  EXPECT_EQ(s.LockRegion(size, size, 0), E_NOTIMPL);
  EXPECT_EQ(s.UnlockRegion(size, size, 0), E_NOTIMPL);
  EXPECT_EQ(s.Stat(&stat, STATFLAG_DEFAULT), E_NOTIMPL);
  EXPECT_EQ(s.Clone(&clone), E_NOTIMPL);
  // None of them moved the reader.
  char buffer[2] = {};
  ULONG read = 0;
  EXPECT_EQ(s.Read(buffer, 2, &read), S_OK);
  EXPECT_EQ(read, 1u);
}

}  // namespace
