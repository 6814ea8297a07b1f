// The template copy: which texts it rewrites, what it copies untouched, and that it never
// reads past the bytes it was given.
#include "resizable/DialogTemplateRewriter.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TemplateBytes.h"
#include "WideText.h"
#include "foundation/ExceptionPL.h"

namespace {

CopiedUString<UTF16> Same(UStringRef<UTF16> text) { return CopiedUString<UTF16>(text); }

std::vector<BYTE> Rewrite(const TemplateBytes& t, DialogTemplateRewriter::TextRewrite rewrite = Same) {
  return DialogTemplateRewriter(std::move(rewrite)).Rewrite(t.Bytes().data(), t.Size());
}

TEST(DialogTemplateRewriter, MainWindowTemplateComesBackByteForByte) {
  const TemplateBytes t = MainWindowTemplate();
  ASSERT_EQ(t.Size(), 178u);
  EXPECT_EQ(Rewrite(t), t.Bytes());
}

TEST(DialogTemplateRewriter, RewritesCaptionAndItemTitlesOnly) {
  std::vector<WString> seen;
  auto record = [&](UStringRef<UTF16> text) {
    seen.emplace_back(text.begin(), text.end());
    return CopiedUString<UTF16>(text);
  };
  Rewrite(MainWindowTemplate(), record);
  EXPECT_EQ(seen, (std::vector<WString>{WIDE("Tessarin Installation Guide"), WIDE("<placeholder>")}));
}

TEST(DialogTemplateRewriter, LongerTextMovesTheItemsToTheirNextBoundary) {
  // One unit more in the caption shifts the item by two bytes, which changes its padding.
  auto longer = [](UStringRef<UTF16> text) {
    CopiedUString<UTF16> out(text);
    if (text.view() == WIDE("Tessarin Installation Guide")) out.Append(WIDE('X'));
    return out;
  };
  EXPECT_EQ(Rewrite(MainWindowTemplate(), longer), MainWindowTemplate(WIDE("Tessarin Installation GuideX")).Bytes());
}

// Standard form: ordinal menu, class by name, no font; an icon item whose title is a number,
// creation data with count 2 (no bytes) and with count 6 (four bytes), then trailing bytes.
TemplateBytes StandardTemplate() {
  TemplateBytes t;
  t.Dword(WS_POPUP | WS_CAPTION).Dword(0).Word(3).Word(1).Word(2).Word(30).Word(40);
  t.Ordinal(7).Text(WIDE("MyClass")).Text(WIDE("Caption"));
  t.PadTo4().Dword(WS_CHILD | WS_VISIBLE | SS_ICON).Dword(0).Word(0).Word(0).Word(10).Word(10).Word(5);  // icon
  t.Ordinal(0x0082).Ordinal(162).Word(2);
  t.PadTo4().Dword(WS_CHILD | WS_VISIBLE).Dword(0).Word(0).Word(0).Word(10).Word(10).Word(6);
  t.Text(WIDE("Custom")).Text(WIDE("Title")).Word(6).Dword(0xDEADBEEF);
  t.PadTo4().Dword(WS_CHILD | WS_VISIBLE).Dword(0).Word(0).Word(0).Word(10).Word(10).Word(7);
  t.Ordinal(0x0080).Text(WIDE("")).Word(0);
  return t;
}

TEST(DialogTemplateRewriter, StandardFormKeepsOrdinalsAndCreationData) {
  TemplateBytes withTrailer = StandardTemplate();
  withTrailer.Dword(0x11111111);
  EXPECT_EQ(Rewrite(withTrailer), StandardTemplate().Bytes());
}

TEST(DialogTemplateRewriter, ExtendedCreationDataOfOddLengthIsFollowedByAnAlignedItem) {
  auto build = [](std::uint16_t firstTitleTail) {
    TemplateBytes t;
    t.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(WS_POPUP | WS_CAPTION).Word(2).Word(0).Word(0).Word(20).Word(20);
    t.Word(0).Word(0).Text(WIDE(""));
    t.PadTo4().Dword(0).Dword(0).Dword(WS_CHILD | WS_VISIBLE).Word(0).Word(0).Word(5).Word(5).Dword(1);
    t.Ordinal(0x0081).Text(firstTitleTail ? WIDE("ab") : WIDE("a")).Word(3).Byte(1).Byte(2).Byte(3);
    t.PadTo4().Dword(0).Dword(0).Dword(WS_CHILD | WS_VISIBLE).Word(0).Word(0).Word(5).Word(5).Dword(2);
    t.Ordinal(0x0080).Text(WIDE("OK")).Word(0);
    return t;
  };
  EXPECT_EQ(Rewrite(build(0)), build(0).Bytes());
  EXPECT_EQ(Rewrite(build(1)), build(1).Bytes());
}

void ExpectRefused(const std::vector<std::uint8_t>& bytes, const char* what) {
  // An exactly sized heap copy, so that a read past its end is a read past the allocation.
  std::vector<std::uint8_t> exact(bytes);
  exact.shrink_to_fit();
  try {
    DialogTemplateRewriter(Same).Rewrite(exact.data(), exact.size());
    ADD_FAILURE() << what << ": accepted";
  } catch (const ExceptionPL& e) {
    EXPECT_NE(std::string(e.MessageUtf8().view()).find("Dialog template"), std::string::npos) << what << ": " << std::string(e.MessageUtf8().view());
  }
}

TEST(DialogTemplateRewriter, EveryTruncationIsRefused) {
  for (const TemplateBytes& t : {MainWindowTemplate(), StandardTemplate()}) {
    for (std::size_t n = 0; n < t.Size(); ++n) {
      std::vector<std::uint8_t> prefix(t.Bytes().begin(), t.Bytes().begin() + n);
      ExpectRefused(prefix, ("prefix of " + std::to_string(n) + " bytes").c_str());
    }
  }
}

TEST(DialogTemplateRewriter, CountsLargerThanTheBytesAreRefused) {
  std::vector<std::uint8_t> moreItems = MainWindowTemplate().Bytes();
  moreItems[16] = 2;  // item count
  ExpectRefused(moreItems, "two items, one present");

  std::vector<std::uint8_t> moreData = MainWindowTemplate().Bytes();
  moreData[176] = 8;  // creation data of the last item
  ExpectRefused(moreData, "creation data beyond the end");

  TemplateBytes countOne;
  countOne.Dword(WS_POPUP | WS_CAPTION).Dword(0).Word(1).Word(0).Word(0).Word(10).Word(10);
  countOne.Word(0).Word(0).Text(WIDE(""));
  countOne.PadTo4().Dword(WS_CHILD | WS_VISIBLE).Dword(0).Word(0).Word(0).Word(5).Word(5).Word(1);
  countOne.Ordinal(0x0082).Text(WIDE("x")).Word(1).Word(0);
  ExpectRefused(countOne.Bytes(), "standard creation data count below its own size");
}

}  // namespace
