// The UI-font dialog's two template steps on global blocks: the rewrite gives the template back
// byte for byte, and the message font replaces the template's font at its size in points.
#include "resizable/UIFontDialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/TemplateBytes.h"
#include "app/Resources.h"
#include "foundation/ExceptionPL.h"
#include "support/FixedDesktopFacts.h"

namespace {

std::vector<BYTE> BytesOf(HGLOBAL block) {
  const SIZE_T size = ::GlobalSize(block);
  const BYTE* p = static_cast<const BYTE*>(::GlobalLock(block));
  std::vector<BYTE> bytes(p, p + size);
  ::GlobalUnlock(block);
  return bytes;
}

TEST(UIFontDialog, RewriteGivesTheMainTemplateBackInAnExactBlock) {
  const TemplateBytes t = MainWindowTemplate(u"Setup {1} of {2}");
  HGLOBAL block = CUIFontDialog::RewriteDialogTemplate(t.Bytes().data(), t.Size());
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(::GlobalSize(block), t.Size());
  EXPECT_EQ(BytesOf(block), t.Bytes());
  ::GlobalFree(block);

  EXPECT_THROW(CUIFontDialog::RewriteDialogTemplate(t.Bytes().data(), t.Size() - 1), ExceptionPL);
}

class MessageFontTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = DefaultDesktopFacts(); }
  void TearDown() override { DefaultDesktopFacts() = saved_; }
  FixedDesktopFacts saved_;
};

TEST_F(MessageFontTest, ReplacesTheFontAtTheComputedPoints) {
  struct Case {
    LONG height;
    int dpi;
    std::uint16_t points;
  } const cases[] = {
      {-12, 96, 9},
      {-13, 96, 10},  // 9.75 rounds up
      {-18, 144, 9},
      {16, 96, 12},   // a cell height counts by its size as well
  };
  const TemplateBytes source = MainWindowTemplate();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    DefaultDesktopFacts().SetMessageFont(u"Segoe UI", c.height);
    DefaultDesktopFacts().dpi = c.dpi;
    HGLOBAL rewritten = CUIFontDialog::RewriteDialogTemplate(source.Bytes().data(), source.Size());
    HGLOBAL withFont = CUIFontDialog::ApplyMessageFont(rewritten);
    ASSERT_NE(withFont, nullptr);
    // Face and size replaced; weight 400 and character set 1 kept; the item on its new boundary.
    EXPECT_EQ(BytesOf(withFont), MainWindowTemplate(u"Tessarin Installation Guide", u"Segoe UI", c.points).Bytes());
    ::GlobalFree(withFont);
    ::GlobalFree(rewritten);
  }
}

// The application's own main template, as the resource table holds it.
TEST_F(MessageFontTest, ApplicationMainTemplateThroughBothSteps) {
  ASSERT_TRUE(RegisterApplicationResources());
  HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(131), RT_DIALOG);
  ASSERT_NE(resource, nullptr);
  const DWORD size = ::SizeofResource(nullptr, resource);
  const BYTE* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, resource)));
  ASSERT_EQ(size, 178u);
  const std::vector<BYTE> original(bytes, bytes + size);
  EXPECT_EQ(original, MainWindowTemplate().Bytes());

  HGLOBAL rewritten = CUIFontDialog::RewriteDialogTemplate(bytes, size);
  EXPECT_EQ(BytesOf(rewritten), original);
  DefaultDesktopFacts().SetMessageFont(u"Segoe UI", -12);
  DefaultDesktopFacts().dpi = 96;
  HGLOBAL withFont = CUIFontDialog::ApplyMessageFont(rewritten);
  EXPECT_EQ(BytesOf(withFont), MainWindowTemplate(u"Tessarin Installation Guide", u"Segoe UI", 9).Bytes());
  ::GlobalFree(withFont);
  ::GlobalFree(rewritten);
}

}  // namespace
