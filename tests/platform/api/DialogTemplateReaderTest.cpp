// The one reader of dialog templates and the writer that goes with it: what each form reads
// as, where short or odd bytes are refused, and that an unchanged write gives the bytes back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "DialogTemplateReader.h"
#include "DialogTemplateWriter.h"
#include "support/TemplateBytes.h"

namespace {

// Standard form: a caption, an 8 pt font, a button and a static whose title is a number and
// whose creation data holds two bytes.
TemplateBytes Standard() {
  TemplateBytes t;
  t.Dword(WS_POPUP | WS_CAPTION | DS_SETFONT).Dword(0).Word(2).Word(0).Word(0).Word(100).Word(50);
  t.Word(0).Word(0).Text(u"S").Word(8).Text(u"MS Shell Dlg");
  t.PadTo4().Dword(WS_CHILD | WS_VISIBLE).Dword(0).Word(10).Word(20).Word(40).Word(14).Word(100);
  t.Ordinal(0x0080).Text(u"OK").Word(0);
  t.PadTo4().Dword(WS_CHILD | SS_ICON).Dword(0).Word(0).Word(0).Word(10).Word(10).Word(101);
  t.Ordinal(0x0082).Ordinal(5).Word(4).Byte(0xAB).Byte(0xCD);
  return t;
}

// Extended form: a menu and class by name, a font with weight and character set, creation
// data of odd length followed by an item that starts on its boundary.
TemplateBytes Extended() {
  TemplateBytes t;
  t.Word(1).Word(0xFFFF).Dword(7).Dword(0).Dword(WS_POPUP | DS_SETFONT).Word(2).Word(1).Word(2).Word(60).Word(40);
  t.Text(u"M").Text(u"Cls").Text(u"Title").Word(9).Word(700).Byte(1).Byte(204).Text(u"Tahoma");
  t.PadTo4().Dword(0).Dword(0).Dword(WS_CHILD).Word(0).Word(0).Word(5).Word(5).Dword(0x12345);
  t.Ordinal(0x0081).Text(u"a").Word(3).Byte(1).Byte(2).Byte(3);
  t.PadTo4().Dword(0).Dword(0).Dword(WS_CHILD).Word(0).Word(0).Word(5).Word(5).Dword(2);
  t.Text(u"Button").Text(u"Go").Word(0);
  return t;
}

DialogTemplateReadResult Read(const std::vector<std::uint8_t>& bytes) {
  // An exactly sized heap copy, so that a read past its end is a read past the allocation.
  std::vector<std::uint8_t> exact(bytes);
  exact.shrink_to_fit();
  return ReadDialogTemplate(exact.data(), exact.size());
}

TEST(DialogTemplateReader, ReadsEachFormsFieldsAndEndsAtTheLastItem) {
  TemplateBytes standard = Standard();
  const std::size_t standardSize = standard.Size();
  standard.Dword(0x11111111);  // bytes after the last item are not the template's
  const DialogTemplateReadResult s = Read(standard.Bytes());
  ASSERT_TRUE(s.ok) << s.problem;
  EXPECT_FALSE(s.dialog.extended);
  EXPECT_EQ(s.dialog.size, standardSize);
  EXPECT_EQ(s.dialog.title.text, u"S");
  EXPECT_EQ(s.dialog.faceName, u"MS Shell Dlg");
  ASSERT_EQ(s.dialog.items.size(), 2u);
  EXPECT_EQ(s.dialog.items[0].id, 100u);
  EXPECT_EQ(s.dialog.items[1].title.kind, NameOrNumber::Kind::Number);
  EXPECT_EQ(s.dialog.items[1].title.number, 5);
  EXPECT_EQ(s.dialog.items[1].creationDataSize, 4);

  const DialogTemplateReadResult e = Read(Extended().Bytes());
  ASSERT_TRUE(e.ok) << e.problem;
  EXPECT_TRUE(e.dialog.extended);
  EXPECT_EQ(e.dialog.helpId, 7u);
  EXPECT_EQ(e.dialog.menu.text, u"M");
  EXPECT_EQ(e.dialog.windowClass.text, u"Cls");
  EXPECT_EQ(e.dialog.weight, 700);
  EXPECT_EQ(e.dialog.charSet, 204);
  ASSERT_EQ(e.dialog.items.size(), 2u);
  EXPECT_EQ(e.dialog.items[0].id, 0x12345u);
  EXPECT_EQ(e.dialog.items[0].creationDataSize, 3);
  EXPECT_EQ(e.dialog.itemOffsets[1] % 4, 0u);
  EXPECT_EQ(e.dialog.items[1].windowClass.text, u"Button");
  EXPECT_EQ(e.dialog.size, Extended().Size());
}

TEST(DialogTemplateReader, EveryPrefixOfEitherFormIsRefused) {
  for (const TemplateBytes& t : {Standard(), Extended()}) {
    for (std::size_t n = 0; n < t.Size(); ++n) {
      const std::vector<std::uint8_t> prefix(t.Bytes().begin(), t.Bytes().begin() + n);
      const DialogTemplateReadResult read = Read(prefix);
      EXPECT_FALSE(read.ok) << "prefix of " << n << " bytes";
      EXPECT_FALSE(read.problem.empty()) << "prefix of " << n << " bytes";
    }
  }
}

TEST(DialogTemplateReader, OddTemplatesAreRefusedNamingTheField) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* problem;
  };
  std::vector<Case> cases;
  {
    std::vector<std::uint8_t> b = Standard().Bytes();
    b[8] = 200;  // 200 items in the bytes of two
    cases.push_back({"item count beyond the bytes", b, "item count 200"});
  }
  {
    std::vector<std::uint8_t> b = Extended().Bytes();
    b[0] = 2;  // only version 1 of the extended form exists
    cases.push_back({"extended version 2", b, "header"});
  }
  {
    TemplateBytes t;
    t.Dword(WS_POPUP).Dword(0).Word(0).Word(0).Word(0).Word(10).Word(10).Word(0).Word(0).Word('a').Word('b');
    cases.push_back({"caption without its terminator", t.Bytes(), "title"});
  }
  {
    TemplateBytes t;
    t.Dword(WS_POPUP).Dword(0).Word(1).Word(0).Word(0).Word(10).Word(10).Word(0).Word(0).Text(u"");
    t.PadTo4().Dword(WS_CHILD).Dword(0).Word(0).Word(0).Word(5).Word(5).Word(1).Ordinal(0x0082).Text(u"x").Word(1);
    cases.push_back({"standard creation data count of 1", t.Bytes(), "item 1 of 1: creation data"});
  }
  {
    std::vector<std::uint8_t> b = Standard().Bytes();
    b[b.size() - 4] = 9;  // creation data beyond the end
    cases.push_back({"creation data beyond the end", b, "item 2 of 2: creation data"});
  }
  for (const Case& c : cases) {
    const DialogTemplateReadResult read = Read(c.bytes);
    EXPECT_FALSE(read.ok) << c.what;
    EXPECT_EQ(read.problem, c.problem) << c.what;
  }
  EXPECT_FALSE(ReadDialogTemplate(nullptr, 64).ok);
}

TEST(DialogTemplateWriter, AnUnchangedWriteGivesTheBytesBackAlsoFromAnOddAddress) {
  for (const TemplateBytes& t : {Standard(), Extended()}) {
    // One byte in, so that every field of the template lies at an odd address.
    std::vector<std::uint8_t> shifted(t.Size() + 1);
    std::memcpy(shifted.data() + 1, t.Bytes().data(), t.Size());
    const DialogTemplateReadResult read = ReadDialogTemplate(shifted.data() + 1, t.Size());
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(WriteDialogTemplate(shifted.data() + 1, read.dialog, {}), t.Bytes());
  }
}

TEST(DialogTemplateWriter, ChangesReachOnlyTextsAndTheFont) {
  const TemplateBytes t = Extended();
  // Read in place: the description points into the bytes it was read from, and the writer
  // copies the items' creation data from there.
  const DialogTemplateReadResult read = ReadDialogTemplate(t.Bytes().data(), t.Size());
  ASSERT_TRUE(read.ok);
  DialogTemplateChanges changes;
  changes.retitle = [](std::u16string_view text) { return u"<" + std::u16string(text) + u">"; };
  changes.font = DialogTemplateFont{11, u"Cantarell"};
  const std::vector<BYTE> written = WriteDialogTemplate(t.Bytes().data(), read.dialog, changes);
  const DialogTemplateReadResult again = ReadDialogTemplate(written.data(), written.size());
  ASSERT_TRUE(again.ok) << again.problem;
  EXPECT_EQ(again.dialog.title.text, u"<Title>");
  EXPECT_EQ(again.dialog.menu.text, u"M");  // a menu name is no title
  EXPECT_EQ(again.dialog.pointSize, 11);
  EXPECT_EQ(again.dialog.faceName, u"Cantarell");
  EXPECT_EQ(again.dialog.weight, 700);  // kept from the old font
  EXPECT_EQ(again.dialog.charSet, 204);
  ASSERT_EQ(again.dialog.items.size(), 2u);
  EXPECT_EQ(again.dialog.items[0].title.text, u"<a>");
  EXPECT_EQ(again.dialog.items[0].creationDataSize, 3);
  EXPECT_EQ(again.dialog.items[1].windowClass.text, u"Button");
  EXPECT_EQ(again.dialog.items[1].title.text, u"<Go>");
  EXPECT_EQ(again.dialog.size, written.size());

  // A template without a font gets its font block and DS_SETFONT.
  TemplateBytes bare;
  bare.Dword(WS_POPUP).Dword(0).Word(0).Word(0).Word(0).Word(10).Word(10).Word(0).Word(0).Text(u"T");
  const DialogTemplateReadResult plain = Read(bare.Bytes());
  ASSERT_TRUE(plain.ok);
  DialogTemplateChanges fontOnly;
  fontOnly.font = DialogTemplateFont{9, u"Sans"};
  const std::vector<BYTE> withFont = WriteDialogTemplate(bare.Bytes().data(), plain.dialog, fontOnly);
  const DialogTemplateReadResult fonted = ReadDialogTemplate(withFont.data(), withFont.size());
  ASSERT_TRUE(fonted.ok);
  EXPECT_TRUE(fonted.dialog.hasFont);
  EXPECT_EQ(fonted.dialog.style, static_cast<DWORD>(WS_POPUP | DS_SETFONT));
  EXPECT_EQ(fonted.dialog.faceName, u"Sans");
}

}  // namespace
